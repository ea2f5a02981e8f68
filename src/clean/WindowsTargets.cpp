#include "clean/WindowsTargets.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/FileServices.h"
#include "core/PathText.h"

namespace quorvane {

namespace {

constexpr std::string_view kExplorerKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
constexpr std::string_view kExplorerBarsKey =
    "Software\\Microsoft\\Internet Explorer\\Explorer Bars";
constexpr std::string_view kSearchAssistantKey = "Software\\Microsoft\\Search Assistant\\ACMru";
constexpr std::string_view kRunMruKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
constexpr std::string_view kMediaPlayerUrlsKey =
    "Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList";
constexpr std::string_view kMediaPlayerFilesKey =
    "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList";

// Media Player numbers its recent addresses from URL0; a list never grows near this long,
// and the bound keeps a damaged key from turning into an endless walk.
constexpr int kLastMediaPlayerUrl = 100;
// Disk checks number their recovered-fragment folders FOUND.000 upwards; the first eleven
// are cleaned.
constexpr int kLastFoundFolder = 10;

// Removes a folder found in a listing. A link is removed as a link: its target belongs to
// someone else and is never emptied.
void RemoveListedFolder(FileSystem& files, const std::string& path, const DirEntry& entry) {
  if ((entry.attributes & file_attr::Directory) == 0) return;
  if ((entry.attributes & file_attr::ReparsePoint) != 0) {
    // Where the platform cannot remove the link itself, it stays.
    (void)files.RemoveDirectory(path);
    return;
  }
  (void)DeleteFolderForced(files, path);
}

}  // namespace

void CleanFindHistory(CleanContext& context) {
  context.reg.DeleteValue(reg_root::CurrentUser, kExplorerKey, kFindHistoryValue);
  (void)context.reg.DeleteKeyTree(reg_root::CurrentUser, kExplorerBarsKey);
  (void)context.reg.DeleteKeyTree(reg_root::CurrentUser, kSearchAssistantKey);
}

void CleanRunHistory(CleanContext& context) {
  const std::string order =
      context.reg.GetStringValue(reg_root::CurrentUser, kRunMruKey, "MRUList");
  for (const std::string& name : SplitCharacters(order)) {
    context.reg.DeleteValue(reg_root::CurrentUser, kRunMruKey, name);
  }
  context.reg.DeleteValue(reg_root::CurrentUser, kRunMruKey, "MRUList");
}

void EmptyRecycleBin(CleanContext& context, std::string_view rootPath, bool noConfirmation,
                     bool noProgressUi, bool noSound) {
  std::string root(rootPath);
  if (!root.empty() && root.substr(1, 2) != ":\\") root = root.substr(0, 1) + ":\\";
  std::uint32_t flags = 0;
  if (noConfirmation) flags |= recycle_flags::NoConfirmation;
  if (noProgressUi) flags |= recycle_flags::NoProgressUi;
  if (noSound) flags |= recycle_flags::NoSound;
  // The shell reports a failure when a bin is already empty or missing; there is nothing
  // to do about either.
  (void)context.platform.shell.EmptyRecycleBin(root, flags);
}

void CleanMediaPlayer(CleanContext& context) {
  for (int i = 0; i <= kLastMediaPlayerUrl; ++i) {
    const std::string name = "URL" + std::to_string(i);
    const std::string url =
        context.reg.GetStringValue(reg_root::CurrentUser, kMediaPlayerUrlsKey, name);
    context.reg.DeleteValue(reg_root::CurrentUser, kMediaPlayerUrlsKey, name);
    if (url.empty()) break;
  }
  (void)context.reg.DeleteKeyTree(reg_root::CurrentUser, kMediaPlayerFilesKey);
}

std::string GetTempDir(CleanContext& context) {
  std::string folder = context.platform.shell.GetTempPath();
  folder.resize(folder.find('\0') == std::string::npos ? folder.size() : folder.find('\0'));
  return folder;
}

void CleanTempFiles(CleanContext& context) {
  FileSystem& files = context.platform.files;
  const std::string folder = WithoutTrailingSeparators(GetTempDir(context));
  // A temporary folder set to "C:\", to a profile or to nothing at all, or one that leads
  // there through a link, is not emptied.
  if (folder.empty() || !IsSafeToEmpty(files, folder, context.platform.shell.ProtectedFolders())) {
    return;
  }
  const std::string prefix = folder + "\\";

  for (const DirEntry& entry : ListByPattern(files, prefix + "*", list_attr::Hidden)) {
    // The attributes are reset, as the clean always has, but only once the platform has seen
    // that the entry is no link.
    (void)files.DeleteFile(prefix + entry.name, DeleteMode::ResetAttributes);
  }
  // Hidden and system folders are not listed: they belong to the system or to a program
  // that hides them on purpose, and stay.
  for (const DirEntry& entry : ListByPattern(files, prefix + "*", list_attr::Directory)) {
    RemoveListedFolder(files, prefix + entry.name, entry);
  }
}

void CleanScandiskFiles(CleanContext& context) {
  FileSystem& files = context.platform.files;
  for (const std::string& driveName : files.DriveNames()) {
    DriveInfo drive;
    if (files.GetDrive(driveName, drive) != FsResult::Ok || drive.type != DriveType::Fixed ||
        drive.letter == 0) {
      continue;
    }
    const std::string root = std::string(1, drive.letter) + ":\\";

    for (const DirEntry& entry : ListByPattern(files, root + "*.chk", list_attr::Normal)) {
      if (files.DeleteFile(root + entry.name, DeleteMode::ResetAttributes) == FsResult::Ok) {
        context.filesRemoved = true;
      }
    }

    for (int n = 0; n <= kLastFoundFolder; ++n) {
      char name[16];
      std::snprintf(name, sizeof(name), "FOUND.%03d", n);
      const std::string path = root + name;
      for (const DirEntry& entry : ListByPattern(files, path, list_attr::Directory)) {
        RemoveListedFolder(files, path, entry);
      }
    }
  }
}

}  // namespace quorvane
