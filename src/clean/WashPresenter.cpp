#include "clean/WashPresenter.h"

#include "clean/NumberFormat.h"
#include "core/SettingsKeys.h"
#include "core/platform/WindowServices.h"

namespace quorvane {
namespace {
constexpr int kProgressStep = 9;
constexpr std::uint32_t kRunningBarColor = 255;  // pure red in 0x00BBGGRR
}  // namespace

std::string RestoredSpaceText(double estimateKb) {
  return "  Estimated Drive Space Restored: " + NumberToText(estimateKb) + " Kb";
}

WashPresenter::WashPresenter(Platform& platform, const AppContext& app)
    : WashPresenter(platform, app, CleanTargets()) {}

WashPresenter::WashPresenter(Platform& platform, const AppContext& app,
                             std::span<const CleanTarget> targets)
    : platform_(platform), app_(app), targets_(targets) {
  for (std::size_t i = 0; i < lines_.size() && i < targets_.size(); ++i) {
    lines_[i].checkBoxName = targets_[i].checkBox;
    lines_[i].labelName = targets_[i].label;
    lines_[i].label.SetCaption(std::string(targets_[i].labelText));
  }
  lblRestoreSpace.SetCaption(std::string(kRestoreSpaceIdle));
  lblNotRemoved.SetVisible(false);
  cmdExit.SetCaption("&Exit");
  cmdExit.onClick = [this] { Close(); };
}

WashPresenter::TargetLine* WashPresenter::LineByCheckBox(std::string_view checkBoxName) {
  for (TargetLine& line : lines_) {
    if (line.checkBoxName == checkBoxName) return &line;
  }
  return nullptr;
}

void WashPresenter::Activate() {
  if (activated_ || closed_) return;
  activated_ = true;
  cmdExit.SetCaption("&Continue");
  if (showWindow) showWindow();
  report_ = RunClean(platform_, app_, *this, targets_);
  // A window closed during the run shows nothing more; the run itself went on to its end.
  if (!closed_) ShowReport(*report_);
}

void WashPresenter::ShowReport(const CleanReport& report) {
  progressBar.SetValue(progressBar.Max());
  // Without a measure before and after the run there is nothing honest to estimate.
  lblRestoreSpace.SetCaption(report.estimateKb ? RestoredSpaceText(*report.estimateKb)
                                               : std::string());
  lblRemoved.SetCaption(RemovalSummary(report.removed));
  const std::string notRemoved = NotRemovedSummary(report.removed);
  lblNotRemoved.SetCaption(notRemoved);
  lblNotRemoved.SetVisible(!notRemoved.empty());
  cmdExit.SetCaption("&Done");
  const Settings settings(platform_.profile, app_.settingsFile);
  if (settings.IsOn(keys::AfterClose)) Close();
}

void WashPresenter::Close() {
  if (closed_) return;
  closed_ = true;
  if (onClosed) onClosed();
}

void WashPresenter::TargetDone(std::size_t index) {
  if (progressBar.Max() > progressBar.Value()) {
    progressBar.SetValue(progressBar.Value() + kProgressStep);
    progressBar.SetBarColor(kRunningBarColor);
  }
  if (index < lines_.size()) lines_[index].check.SetValue(1);
}

void WashPresenter::ProcessPendingEvents() { platform_.windows.ProcessPendingEvents(); }

void WashPresenter::ShowWaiting(bool waiting) {
  lblRestoreSpace.SetCaption(std::string(waiting ? kWaitingForClean : kRestoreSpaceIdle));
}

void WashPresenter::ShowLogOffNotice() {
  platform_.windows.MessageBox(kLogOffNotice, kAppTitle,
                               message_box::Ok | message_box::IconInformation);
}

}  // namespace quorvane
