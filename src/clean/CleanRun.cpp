#include "clean/CleanRun.h"

#include "clean/BrowserTargets.h"
#include "clean/CustomItems.h"
#include "clean/NetscapeTargets.h"
#include "clean/OfficeTarget.h"
#include "clean/WindowsTargets.h"
#include "core/Reg32.h"

namespace quorvane {
namespace {

void ClearDocumentHistory(CleanContext& context) { context.platform.shell.ClearRecentDocuments(); }

void EmptyAllRecycleBins(CleanContext& context) { EmptyRecycleBin(context, "", true, true, true); }

// How long one wait for the clean turn lasts before the window handles its events again.
constexpr std::uint32_t kCleanTurnPollMs = 200;

struct CleanTurnHeld {
  WindowServices& windows;
  ~CleanTurnHeld() { windows.EndCleanTurn(); }
};

bool GateHolds(const CleanContext& context, const CleanTarget& target) {
  return context.settings.IsOn(target.gate) != target.runsUnlessGateOn;
}

// A failure inside a target ends that target only; the run goes on with the next one.
void RunResumingErrors(CleanContext& context, const CleanTarget& target) {
  try {
    target.run(context);
  } catch (...) {
  }
}

}  // namespace

const std::vector<CleanTarget>& CleanTargets() {
  static const std::vector<CleanTarget> targets{
      {"ChkFindHistory", "lblFindHistory", " Windows Find/Search History", keys::FindHistory, false,
       CleanFindHistory},
      {"ChkDocumentHistory", "lblDocumentHistory", "Document History", keys::DocumentHistory, false,
       ClearDocumentHistory},
      {"ChkRunHistory", "lblRunHistory", " Windows Run History", keys::RunHistory, false,
       CleanRunHistory},
      {"ChkRecycleBin", "lblRecycleBin", "RecycleBin", keys::RecycleBin, false,
       EmptyAllRecycleBins},
      {"ChkMediaPlayer", "lblMediaPlayer", "Windows Media Player", keys::MediaPlayer, false,
       CleanMediaPlayer},
      {"ChkTempFiles", "lblTempFiles", "Temporary Files Directory", keys::TempFiles, false,
       CleanTempFiles},
      {"ChkScanTempFiles", "lblScanTempFiles", "Scandisk Temp Files", keys::ScanTempFiles, false,
       CleanScandiskFiles},
      {"ChkMSOfficeTrack", "lblMSOfficeTrack", " MS-Office Tracks", keys::MSOffice, false,
       CleanOffice},
      {"ChkIE", "lblIE", "Internet Explorer", keys::IE, false, CleanIE},
      {"ChkCustomWash", "lblCustomWash", "Custom Clean Items", keys::SkipAllCustomWashItems, true,
       CleanCustomItems},
      {"ChkNetscape", "lblNetscape", "Netscape", keys::Netscape, false, CleanNetscape},
  };
  return targets;
}

void StartClean(CleanContext& context, CleanWindow& window, std::span<const CleanTarget> targets) {
  context.filesRemoved = false;
  for (std::size_t i = 0; i < targets.size(); ++i) {
    // Read at the moment the target is due, never from what the main window loaded.
    if (!GateHolds(context, targets[i])) continue;
    window.TargetStarting(i);
    RunResumingErrors(context, targets[i]);
    if (window.Closed()) continue;
    window.TargetDone(i);
    window.ProcessPendingEvents();
  }
  if (context.settings.IsOn(keys::RunHistory) && !context.settings.IsOn(keys::SkipMessages) &&
      !window.Closed()) {
    window.ShowLogOffNotice();
  }
}

std::optional<double> MeasureFreeSpace(FileSystem& files) {
  double total = 0;
  for (const std::string& name : files.DriveNames()) {
    DriveInfo drive;
    const FsResult result = files.GetDrive(name, drive);
    // Removable, network, CD and RAM drives are not counted, so an empty card reader that
    // cannot report its space does not spoil the measure; a fixed disk or a drive of
    // unknown kind that cannot be looked up does.
    const bool countable = drive.type == DriveType::Fixed || drive.type == DriveType::Unknown;
    if (result != FsResult::Ok) {
      if (countable) return std::nullopt;
      continue;
    }
    if (drive.type == DriveType::Fixed) total += static_cast<double>(drive.freeBytes);
  }
  return total;
}

double EstimateRestoredKb(double freeBefore, double freeAfter, bool filesRemoved) {
  const double difference = freeAfter - freeBefore;
  if (difference <= 0) return filesRemoved ? 1 : 0;
  return difference / 1024;
}

CleanReport RunClean(Platform& platform, const AppContext& app, CleanWindow& window) {
  return RunClean(platform, app, window, CleanTargets());
}

CleanReport RunClean(Platform& platform, const AppContext& app, CleanWindow& window,
                     std::span<const CleanTarget> targets, RemovalObserver* observer) {
  CleanReport report;
  if (!platform.windows.WaitForCleanTurn(0)) {
    window.ShowWaiting(true);
    while (!platform.windows.WaitForCleanTurn(kCleanTurnPollMs)) {
      window.ProcessPendingEvents();
      if (window.Closed()) return report;
    }
    window.ShowWaiting(false);
  }
  const CleanTurnHeld turn{platform.windows};
  const std::optional<double> freeBefore = MeasureFreeSpace(platform.files);

  CountingRegistry registry(platform.registry, report.removed, observer);
  CountingFileSystem files(platform.files, report.removed, observer);
  CountingUrlCache urlCache(platform.urlCache, report.removed, observer);
  Platform counted{registry,       platform.profile, platform.userSettings,
                   files,          platform.shell,   platform.windows,
                   platform.codec, urlCache,         platform.urlHistory};
  Reg32 reg(registry, platform.windows);
  const Settings settings(platform.profile, app.settingsFile);
  CleanContext context{counted, reg, settings, app};
  StartClean(context, window, targets);
  report.filesRemoved = context.filesRemoved;

  const std::optional<double> freeAfter = MeasureFreeSpace(platform.files);
  if (freeBefore && freeAfter) {
    report.estimateKb = EstimateRestoredKb(*freeBefore, *freeAfter, report.filesRemoved);
  }
  return report;
}

}  // namespace quorvane
