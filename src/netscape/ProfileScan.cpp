#include "netscape/ProfileScan.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "core/FileServices.h"
#include "core/Text.h"

namespace quorvane {
namespace {

// One folder on the walk's stack: its listing and the next entry to look at. The stack
// stands in for recursion, so that no depth of folders can exhaust the thread's stack.
struct Frame {
  std::string path;  // ends in a back-slash
  std::vector<DirEntry> entries;
  std::size_t next = 0;
};

bool IsFolder(const DirEntry& entry) { return (entry.attributes & file_attr::Directory) != 0; }

// Hidden and system entries do not mark a profile, and neither does a file. Nor does a link
// named like a marker: the folder it leads to is found where it lies, if it is a profile.
bool IsMarker(const DirEntry& entry, std::string_view pattern) {
  constexpr std::uint32_t kUnmatched =
      file_attr::Hidden | file_attr::System | file_attr::ReparsePoint;
  return IsFolder(entry) && (entry.attributes & kUnmatched) == 0 &&
         MatchesWildcard(entry.name, pattern);
}

class DriveWalk {
 public:
  DriveWalk(FileSystem& files, std::string_view pattern, const std::atomic<bool>& stop,
            ProfileScanListener& listener)
      : files_(files), pattern_(pattern), stop_(stop), listener_(listener) {}

  void Run(const std::string& root) {
    Enter(root, true);
    while (!stack_.empty()) {
      if (stop_.load(std::memory_order_relaxed)) return;
      Frame& folder = stack_.back();
      if (folder.next == folder.entries.size()) {
        stack_.pop_back();
        continue;
      }
      const DirEntry& entry = folder.entries[folder.next++];
      if (!IsFolder(entry) || (entry.attributes & file_attr::ReparsePoint) != 0) continue;
      Enter(folder.path + entry.name + '\\', false);
    }
  }

 private:
  // Lists the folder once: its files' bytes, its marker and, later, its sub-folders all
  // come from this one listing.
  void Enter(std::string path, bool isRoot) {
    listener_.FolderEntered(path);
    Frame frame{std::move(path), {}, 0};
    // A folder that cannot be read is passed over with what its listing gave, if anything.
    (void)files_.ListDirectory(frame.path, frame.entries);
    std::uint64_t bytes = 0;
    const DirEntry* marker = nullptr;
    for (const DirEntry& entry : frame.entries) {
      if (!IsFolder(entry)) {
        bytes += entry.size;
      } else if (marker == nullptr && IsMarker(entry, pattern_)) {
        marker = &entry;
      }
    }
    listener_.BytesWalked(bytes);
    if (marker != nullptr) {
      listener_.ProfileFound(
          {isRoot ? std::string() : ShortName(frame.path), frame.path + marker->name});
    }
    stack_.push_back(std::move(frame));
  }

  std::string ShortName(std::string_view folderPath) {
    const std::string_view path = folderPath.substr(0, folderPath.size() - 1);
    std::string shortName;
    if (files_.GetShortName(path, shortName) == FsResult::Ok && !shortName.empty()) {
      return shortName;
    }
    return std::string(path.substr(path.rfind('\\') + 1));
  }

  FileSystem& files_;
  std::string_view pattern_;
  const std::atomic<bool>& stop_;
  ProfileScanListener& listener_;
  std::vector<Frame> stack_;
};

}  // namespace

void ScanForProfiles(FileSystem& files, std::string_view markerPattern,
                     const std::atomic<bool>& stop, ProfileScanListener& listener) {
  std::vector<std::string> drives = files.DriveNames();
  std::sort(drives.begin(), drives.end(), [](const std::string& a, const std::string& b) {
    return ToLowerAscii(a) < ToLowerAscii(b);
  });
  for (const std::string& name : drives) {
    DriveInfo drive;
    if (files.GetDrive(name, drive) != FsResult::Ok || drive.type != DriveType::Fixed) continue;
    if (stop.load(std::memory_order_relaxed)) return;
    listener.DriveStarted(
        drive, drive.totalBytes > drive.freeBytes ? drive.totalBytes - drive.freeBytes : 0);
    DriveWalk(files, markerPattern, stop, listener).Run(std::string(1, drive.letter) + ":\\");
  }
}

}  // namespace quorvane
