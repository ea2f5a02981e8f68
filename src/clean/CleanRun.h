#pragma once
// The clean run: the eleven cleaning targets in their fixed order, each gated by the
// settings file at the moment it is due, and the free-space estimate around them. The
// clean window and the command-line cleaner drive the same run through CleanWindow.

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "clean/CleanContext.h"
#include "clean/RemovalCounter.h"
#include "core/AppContext.h"
#include "core/SettingsKeys.h"
#include "core/platform/Platform.h"

namespace quorvane {

struct CleanTarget {
  std::string_view checkBox;   // "ChkFindHistory"
  std::string_view label;      // "lblFindHistory"
  std::string_view labelText;  // " Windows Find/Search History", as the window shows it
  SettingKey gate;
  // The custom items run unless the user asked to skip them; every other target runs only
  // when its option is on.
  bool runsUnlessGateOn = false;
  std::function<void(CleanContext&)> run;
};

// The targets of a clean run, in run order.
const std::vector<CleanTarget>& CleanTargets();

inline constexpr std::string_view kLogOffNotice =
    "Please logoff the machine for effect in Run History.";

// What the run tells the window it reports to.
class CleanWindow {
 public:
  virtual ~CleanWindow() = default;
  // The target at `index` of the table has run; the tick means it ran, not that it
  // succeeded.
  virtual void TargetDone(std::size_t index) = 0;
  // The target at `index` is about to run.
  virtual void TargetStarting(std::size_t) {}
  // True: another program's clean is running and this run waits for it to end; false: the
  // wait is over and the run begins.
  virtual void ShowWaiting(bool) {}
  // Between targets the window handles repaints and the user's clicks.
  virtual void ProcessPendingEvents() = 0;
  virtual void ShowLogOffNotice() = 0;
  // True once the user closed the window during the run: the remaining targets still run,
  // but nothing more reaches the window.
  virtual bool Closed() const = 0;
};

// Runs every target whose gate holds, in table order, and afterwards shows the log-off
// notice when the Run history was cleaned and messages are not skipped. Clears and then
// sets `context.filesRemoved`. A target that fails ends only itself.
void StartClean(CleanContext& context, CleanWindow& window, std::span<const CleanTarget> targets);

// The free bytes of all fixed drives, or none when a drive cannot be looked up.
std::optional<double> MeasureFreeSpace(FileSystem& files);

// The space the run restored, in kilobytes (not rounded). A run that freed nothing
// measurable shows 1 when it deleted files, so the user sees that it did something.
double EstimateRestoredKb(double freeBefore, double freeAfter, bool filesRemoved);

struct CleanReport {
  bool filesRemoved = false;
  // None when the free space could not be measured before or after the run.
  std::optional<double> estimateKb;
  RemovalCounts removed;
};

// A whole run, once no other clean of this user runs (the window says it waits, and a
// window closed while waiting cleans nothing): free space before, the targets over a platform whose
// registry, file system and URL cache count what they remove (and tell `observer` of each item),
// free space after, and the estimate.
CleanReport RunClean(Platform& platform, const AppContext& app, CleanWindow& window);
CleanReport RunClean(Platform& platform, const AppContext& app, CleanWindow& window,
                     std::span<const CleanTarget> targets, RemovalObserver* observer = nullptr);

}  // namespace quorvane
