#pragma once
// The clean run's own table of targets for tests of what drives it (the run, the clean
// window): every target keeps its gate, names and place, only its work is replaced.

#include <cstddef>
#include <functional>
#include <vector>

#include "clean/CleanRun.h"

namespace quorvane::fakes {

// The production table, each target's work replaced by `record(its index, context)`.
inline std::vector<CleanTarget> RecordingTargets(
    const std::function<void(std::size_t, CleanContext&)>& record) {
  std::vector<CleanTarget> recording = CleanTargets();
  for (std::size_t i = 0; i < recording.size(); ++i) {
    recording[i].run = [record, i](CleanContext& context) { record(i, context); };
  }
  return recording;
}

// Turns on the option of every target that runs only when its option is on; false when the
// settings file refused a value.
[[nodiscard]] inline bool TurnOnEveryTarget(const Settings& settings) {
  bool written = true;
  for (const CleanTarget& target : CleanTargets()) {
    if (!target.runsUnlessGateOn) written = settings.Write(target.gate, "1") && written;
  }
  return written;
}

}  // namespace quorvane::fakes
