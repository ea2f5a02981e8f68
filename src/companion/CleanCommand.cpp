#include "companion/CleanCommand.h"

#include "clean/CleanRun.h"
#include "clean/WashPresenter.h"
#include "companion/RecordingPlatform.h"
#include "core/FileServices.h"
#include "core/Text.h"

namespace quorvane::companion {
namespace {

// Tells the item report which target runs, and prints the text of the run as it goes.
class ReportingWindow final : public CleanWindow {
 public:
  ReportingWindow(RunKind kind, bool json, ItemReport& items, LineOutput& out)
      : kind_(kind), json_(json), items_(items), out_(out) {}

  void TargetStarting(std::size_t index) override {
    items_.BeginTarget(CleanTargets()[index].labelText);
  }
  void TargetDone(std::size_t) override {
    if (json_) return;
    const TargetItems& target = items_.Targets().back();
    if (kind_ == RunKind::Clean) {
      out_.Out(target.target + ": done");
      return;
    }
    // The recycle bin and the recent-documents list are emptied by the system as a whole,
    // so their targets list nothing even when something is there.
    out_.Out(target.target + (target.items.empty() ? ": nothing to list" : ":"));
    for (const RemovedItem& item : target.items) out_.Out(ItemLine(item));
  }
  void ProcessPendingEvents() override {}
  // A preview changed nothing, so there is nothing to log off for.
  void ShowLogOffNotice() override {
    if (!json_ && kind_ == RunKind::Clean) out_.Out(kLogOffNotice);
  }
  void ShowWaiting(bool waiting) override {
    if (waiting) out_.Err("Waiting for another clean to end.");
  }
  bool Closed() const override { return false; }

 private:
  RunKind kind_;
  bool json_;
  ItemReport& items_;
  LineOutput& out_;
};

}  // namespace

AppContext CompanionAppContext(Platform& platform) {
  AppContext app;
  app.appFolder = platform.shell.ApplicationFolder();
  if (!app.appFolder.empty() && IsOrdinaryFile(platform.files, app.LocalIniPath())) {
    app.settingsFile = app.LocalIniPath();
  }
  return app;
}

int CompanionWindowServices::MessageBox(std::string_view text, std::string_view, std::uint32_t) {
  out_.Err(text);
  return 1;  // OK: the run goes on as after the user's click
}

void RunCleanCommand(Platform& system, RunKind kind, bool json, LineOutput& out) {
  CompanionWindowServices windows(system.windows, out);
  Platform platform{system.registry, system.profile,  system.userSettings,
                    system.files,    system.shell,    windows,
                    system.codec,    system.urlCache, system.urlHistory};
  const AppContext app = CompanionAppContext(platform);
  ItemReport items;
  ReportingWindow window(kind, json, items, out);

  CleanReport report;
  if (kind == RunKind::Preview) {
    RecordingPlatform recording(platform);
    Platform recorded = recording.platform();
    report = RunClean(recorded, app, window, CleanTargets(), &items);
  } else {
    report = RunClean(platform, app, window, CleanTargets(), &items);
  }

  if (json) {
    out.Out(ReportJson(kind, items.Targets(), report.removed));
    return;
  }
  if (kind == RunKind::Preview) {
    out.Out(PreviewSummary(report.removed));
    out.Out("Preview only: nothing was removed.");
    return;
  }
  if (report.estimateKb) {
    // The label's text without the two blanks that indent it in the window.
    out.Out(Trim(RestoredSpaceText(*report.estimateKb)));
  }
  out.Out(RemovalSummary(report.removed));
  if (const std::string stuck = NotRemovedSummary(report.removed); !stuck.empty()) out.Out(stuck);
}

}  // namespace quorvane::companion
