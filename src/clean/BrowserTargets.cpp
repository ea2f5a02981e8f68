#include "clean/BrowserTargets.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "clean/IECache.h"
#include "clean/urlhistory/CURLHistory.h"
#include "core/FileServices.h"
#include "core/PathText.h"

namespace quorvane {
namespace {

constexpr std::string_view kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr std::string_view kInternetSettingsKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr std::string_view kDistributionUnitsKey =
    "SOFTWARE\\Microsoft\\Code Store Database\\Distribution Units";
constexpr std::string_view kTypedUrlsKey = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr std::string_view kCompanionCleaner = "\\kestrine.exe";

// A folder value that is empty or relative would make the pattern name the current drive
// or folder; a drive root or a system folder is nobody's cookie or download folder. Such a
// value leaves the file part of its step undone. The folder comes back with its back-slash.
bool UsableFolder(CleanContext& context, RegKey root, std::string_view key, std::string_view value,
                  std::string& folder) {
  const std::string read = context.reg.GetStringValue(root, key, value);
  if (read.empty() ||
      !IsSafeToEmpty(context.platform.files, read, context.platform.shell.ProtectedFolders())) {
    return false;
  }
  folder = AddBackslash(read);
  return true;
}

// Deletes what the pattern matches when a listing with `presence` attributes finds any file,
// and reports that the step found files to delete.
bool DeleteWhenPresent(CleanContext& context, const std::string& pattern, std::uint32_t presence) {
  if (ListByPattern(context.platform.files, pattern, presence).empty()) return false;
  DeleteByWildcard(context.platform.files, pattern);
  return true;
}

void CleanCookies(CleanContext& context) {
  std::string folder;
  if (!UsableFolder(context, reg_root::CurrentUser, kShellFoldersKey, "Cookies", folder)) return;
  // Hidden cookie files count as found although the deletion leaves them, so a folder of
  // only hidden cookies still shows the run as having removed files.
  if (DeleteWhenPresent(context, folder + "*.txt", list_attr::Hidden)) context.filesRemoved = true;
}

void CleanDownloadedPrograms(CleanContext& context) {
  std::string folder;
  if (UsableFolder(context, reg_root::LocalMachine, kInternetSettingsKey, "ActiveXCache", folder) &&
      DeleteWhenPresent(context, folder + "*.*", list_attr::Normal)) {
    context.filesRemoved = true;
  }
  // The registrations go even when the folder held nothing: they are what lists the
  // programs.
  (void)context.reg.DeleteKeyTree(reg_root::LocalMachine, kDistributionUnitsKey);
}

void CleanHistoryAndTypedUrls(CleanContext& context) {
  // A store that cannot be opened or read ends only the history part of the step; each call
  // stands on its own, as in the rest of the run.
  if (HistoryResult<CURLHistory> history = CURLHistory::Create(context.platform.urlHistory);
      history.ok()) {
    (void)history.value().Refresh();
    (void)history.value().Clear();
  }
  (void)context.reg.DeleteKeyTree(reg_root::CurrentUser, kTypedUrlsKey);
  context.reg.CreateKey(reg_root::CurrentUser, kTypedUrlsKey);
}

// The companion cleaner runs on its own; the run neither waits for it nor misses it when it
// is not installed.
void StartCompanionCleaner(CleanContext& context) {
  const std::string program = context.app.appFolder + std::string(kCompanionCleaner);
  FileSystem& files = context.platform.files;
  if (!PathExists(files, program) || FolderExists(files, program)) return;
  (void)context.platform.shell.StartProgram(program, WindowStyle::MinimizedFocus);
}

}  // namespace

void CleanIE(CleanContext& context) {
  // Each option is read just before its step; "AOL" and "AutoComplete" have no step.
  if (context.settings.IsOn(keys::TempIEFiles)) DeleteCacheURLList(context.platform.urlCache);
  if (context.settings.IsOn(keys::IECookies)) CleanCookies(context);
  if (context.settings.IsOn(keys::DownloadDir)) CleanDownloadedPrograms(context);
  if (context.settings.IsOn(keys::CleanHistory)) CleanHistoryAndTypedUrls(context);
  if (context.settings.IsOn(keys::IEConrolPanel)) StartCompanionCleaner(context);
}

}  // namespace quorvane
