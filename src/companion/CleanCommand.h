#pragma once
// One clean, or one preview of it, run from the companion: the same targets, order and
// options as the clean window, reported as lines of text or as one JSON document.

#include "companion/ItemReport.h"
#include "companion/Output.h"
#include "core/AppContext.h"
#include "core/platform/Platform.h"

namespace quorvane::companion {

// The application folder and the settings file as the main program fixes them at start:
// the settings file only when "Local.Ini" is an ordinary file beside the program.
AppContext CompanionAppContext(Platform& platform);

// Message boxes of the run become lines of `out`: nobody may be there to click them.
// Everything else goes to the system's own services.
class CompanionWindowServices final : public WindowServices {
 public:
  CompanionWindowServices(WindowServices& system, LineOutput& out) : system_(system), out_(out) {}
  int MessageBox(std::string_view text, std::string_view title, std::uint32_t style) override;
  // The companion has no window to repaint during a run.
  void ProcessPendingEvents() override {}
  [[nodiscard]] bool AcquireSingleInstance(std::string_view name) override {
    return system_.AcquireSingleInstance(name);
  }
  [[nodiscard]] bool InstanceRunning(std::string_view name) override {
    return system_.InstanceRunning(name);
  }
  [[nodiscard]] bool WaitForCleanTurn(std::uint32_t milliseconds) override {
    return system_.WaitForCleanTurn(milliseconds);
  }
  void EndCleanTurn() override { system_.EndCleanTurn(); }

 private:
  WindowServices& system_;
  LineOutput& out_;
};

// Runs the clean (or previews it) and prints the report to `out`. The text of a clean is
// one line per target that ran, the log-off notice, the estimate and the removal summary;
// a preview lists each item under its target and the totals.
void RunCleanCommand(Platform& platform, RunKind kind, bool json, LineOutput& out);

}  // namespace quorvane::companion
