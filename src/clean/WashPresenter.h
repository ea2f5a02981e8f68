#pragma once
// The clean window (frmWash): one line per target that the run ticks, the progress bar,
// the estimate label with what the run removed under it, and the one button. Opening the
// window makes exactly one run; the view calls Activate once the window exists and Close
// for the button or the close box.

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "clean/CleanRun.h"
#include "core/AppContext.h"
#include "core/platform/Platform.h"
#include "core/ui/Controls.h"

namespace quorvane {

inline constexpr std::string_view kWashCaption = "System Cleaning in Progress";
inline constexpr std::string_view kRestoreSpaceIdle = "Estimated Drive Space Restored: ";
inline constexpr std::string_view kWaitingForClean = "Waiting for another clean to end...";

// "  Estimated Drive Space Restored: 1.5 Kb", as the estimate label shows it.
std::string RestoredSpaceText(double estimateKb);

class WashPresenter : private CleanWindow {
 public:
  static constexpr std::size_t kTargetCount = 11;

  struct TargetLine {
    std::string_view checkBoxName;
    std::string_view labelName;
    ui::CheckBox check;  // a tick that only the run sets
    ui::Label label;
  };

  WashPresenter(Platform& platform, const AppContext& app);
  // The production targets are the default; tests may pass their own table of 11.
  WashPresenter(Platform& platform, const AppContext& app, std::span<const CleanTarget> targets);

  std::string_view Caption() const { return kWashCaption; }
  // Lines in run order (the table's order), whatever their place in the layout.
  std::array<TargetLine, kTargetCount>& Lines() { return lines_; }
  TargetLine* LineByCheckBox(std::string_view checkBoxName);

  ui::ProgressBar progressBar;  // ProgressBar1
  ui::Label lblRestoreSpace;
  // Under the estimate once the run is over: what it removed, and what it could not remove
  // (that line stays hidden when every file went), as the command-line cleaner prints them.
  ui::Label lblRemoved;
  ui::Label lblNotRemoved;
  ui::Button cmdExit;

  // Asked to show and paint the window, after the button reads "&Continue" and before the
  // first target runs, so that the user watches the run tick its targets.
  std::function<void()> showWindow;

  // Raised once when the window closes (button, close box, or AfterClose); the view
  // destroys the window. A close during the run raises it inside Activate, so the
  // presenter itself must live until Activate has returned.
  std::function<void()> onClosed;

  // Form activation: the first call shows the window, performs the run and its report;
  // later calls do nothing.
  void Activate();
  // The button and the close box. During the run this takes effect at the next yield.
  void Close();
  bool IsClosed() const { return closed_; }
  // The run's result; none until a run has finished.
  const std::optional<CleanReport>& Report() const { return report_; }

 private:
  void TargetDone(std::size_t index) override;
  void ProcessPendingEvents() override;
  void ShowLogOffNotice() override;
  void ShowWaiting(bool waiting) override;
  bool Closed() const override { return closed_; }
  void ShowReport(const CleanReport& report);

  Platform& platform_;
  const AppContext& app_;
  std::span<const CleanTarget> targets_;
  std::array<TargetLine, kTargetCount> lines_;
  bool activated_ = false;
  bool closed_ = false;
  std::optional<CleanReport> report_;
};

}  // namespace quorvane
