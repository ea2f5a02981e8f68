#include "netscape/ProfileWizardPresenter.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <mutex>
#include <utility>
#include <vector>

#include "netscape/NetscapeDetection.h"
#include "netscape/ProfileList.h"
#include "netscape/ProfileScan.h"

namespace quorvane {

// What the worker has found so far, handed to the window's thread under a lock.
class ProfileWizardPresenter::Search final : public ProfileScanListener {
 public:
  struct Snapshot {
    std::string path;
    std::uint64_t usedBytes = 0;
    std::uint64_t walkedBytes = 0;
    std::vector<ProfileRow> rows;
  };

  std::atomic<bool> stop{false};
  std::atomic<bool> ended{false};

  void DriveStarted(const DriveInfo&, std::uint64_t usedBytes) override {
    const std::lock_guard lock(mutex_);
    state_.usedBytes = usedBytes;
    state_.walkedBytes = 0;
  }
  void FolderEntered(std::string_view path) override {
    const std::lock_guard lock(mutex_);
    state_.path.assign(path);
  }
  void BytesWalked(std::uint64_t bytes) override {
    const std::lock_guard lock(mutex_);
    state_.walkedBytes += bytes;
  }
  void ProfileFound(ProfileRow row) override {
    const std::lock_guard lock(mutex_);
    state_.rows.push_back(std::move(row));
  }

  Snapshot Read() const {
    const std::lock_guard lock(mutex_);
    return state_;
  }

 private:
  mutable std::mutex mutex_;
  Snapshot state_;
};

namespace {

// The bar counts in bytes scaled down just enough that a large drive fits its int range.
int ScaleShift(std::uint64_t usedBytes) {
  int shift = 0;
  while ((usedBytes >> shift) > static_cast<std::uint64_t>(INT_MAX)) ++shift;
  return shift;
}

}  // namespace

ProfileWizardPresenter::ProfileWizardPresenter(const Platform& platform, AppContext& app)
    : platform_(platform), app_(app), reg_(platform.registry, platform.windows) {
  Form.SetCaption(std::string(kWizardCaption));
  Label1.SetCaption("The following Netscape version has been detected on your computer.");
  lblNetscapeVersion.SetCaption("Netscape  ");
  Label2.SetCaption("Click Next to begin the configuration scan.");
  cmdNext.SetCaption("Next >");
  cmdNext.onClick = [this] { Next(); };
  cmdSkip.SetCaption("Skip");
  cmdSkip.onClick = [this] { Close(); };

  Label3.SetCaption("Scan in Progress: ");
  lblScan.SetCaption("A search for Netscape");
  CmdStop.SetCaption("Stop");
  CmdStop.onClick = [this] { Stop(); };

  Label4.SetCaption("Select the Profile Name(s) and Click the Ok Button.");
  ListView1.columns = {"Profile Names", "Directory containing Netscape Profile Information"};
  cmdOK.SetCaption("OK");
  cmdOK.onClick = [this] { Ok(); };
  CmdCancel.SetCaption("Cancel");
  CmdCancel.onClick = [this] { Close(); };

  Frame2.SetVisible(false);
  Frame3.SetVisible(false);
}

ProfileWizardPresenter::~ProfileWizardPresenter() { Shutdown(); }

void ProfileWizardPresenter::Load() {
  lblNetscapeVersion.SetCaption(lblNetscapeVersion.Caption() + NetscapeVersion(reg_, app_));
  Frame1.SetVisible(true);
  Frame2.SetVisible(false);
  Frame3.SetVisible(false);
}

void ProfileWizardPresenter::Next() {
  if (search_) return;  // one search per window
  Frame1.SetVisible(false);
  Frame2.SetVisible(true);
  lblScan.SetCaption(lblScan.Caption() + NetscapeVersion(reg_, app_) +
                     " profile is taking place.\r\nThis may take a few minutes.");
  search_ = std::make_unique<Search>();
  worker_ = std::jthread([search = search_.get(), &files = platform_.files] {
    ScanForProfiles(files, kMarkerPattern, search->stop, *search);
    search->ended = true;
  });
}

void ProfileWizardPresenter::Stop() {
  if (!search_) return;
  stopRequested_ = true;
  search_->stop = true;
  CmdStop.SetEnabled(false);
}

bool ProfileWizardPresenter::Busy() const {
  return search_ && !stopRequested_ && !shutDown_ && !search_->ended && Frame2.Visible();
}

void ProfileWizardPresenter::WaitForScan() {
  if (worker_.joinable()) worker_.join();
}

void ProfileWizardPresenter::Tick() {
  if (!search_ || shutDown_ || !Frame2.Visible()) return;
  const bool ended = search_->ended;
  const Search::Snapshot found = search_->Read();
  lblPath.SetCaption(found.path);
  const int shift = ScaleShift(found.usedBytes);
  // Files that share their data (hard links) or change during the walk can add up to more
  // than the drive holds: the bar then stays full.
  ProgressBar1.SetMax(std::max(1, static_cast<int>(found.usedBytes >> shift)));
  ProgressBar1.SetValue(static_cast<int>(std::min(found.walkedBytes, found.usedBytes) >> shift));
  if (ended) {
    WaitForScan();
    ShowResults();
  }
}

void ProfileWizardPresenter::ShowResults() {
  std::vector<std::vector<std::string>> rows;
  for (ProfileRow& row : search_->Read().rows) {
    rows.push_back({std::move(row.name), std::move(row.markerPath)});
  }
  ListView1.SetRows(std::move(rows));
  Frame2.SetVisible(false);
  Frame3.SetVisible(true);
}

void ProfileWizardPresenter::Ok() {
  const auto& rows = ListView1.Rows();
  std::string selection;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (ListView1.Checked(static_cast<int>(i))) selection += "|" + std::to_string(i + 1);
  }
  // The stored rows are written only together with a selection: new rows under the old
  // selection would make the next clean take profiles that nobody ticked.
  if (selection.empty()) {
    platform_.windows.MessageBox(kNoProfileSelected, kWizardCaption, message_box::IconInformation);
    return;
  }
  UserSettings& store = platform_.userSettings;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    store.SaveSetting(kProductName, kProfileSection, std::to_string(i + 1), rows[i][1]);
  }
  store.SaveSetting(kProductName, kProfileSection, kSelectionKey, selection);
  Close();
}

void ProfileWizardPresenter::Close() {
  if (onClose) onClose();
}

void ProfileWizardPresenter::Shutdown() {
  shutDown_ = true;
  if (search_) search_->stop = true;
  WaitForScan();
}

}  // namespace quorvane
