#include "clean/NetscapeTargets.h"

#include <cstddef>

#include "clean/Bleach.h"
#include "core/FileServices.h"
#include "netscape/NetscapeDetection.h"
#include "netscape/ProfileList.h"

namespace quorvane {
namespace {

constexpr std::string_view kNavigatorMainKey = "Software\\Netscape\\Netscape Navigator\\Main";
constexpr std::string_view kNavigatorBiffKey = "Software\\Netscape\\Netscape Navigator\\biff";
constexpr std::string_view kNavigatorUrlHistoryKey =
    "Software\\Netscape\\Netscape Navigator\\URL History";

// "|1|3" -> "1", "3". The text before the first "|" is not a row.
std::vector<std::string> SelectedRows(std::string_view selection) {
  std::vector<std::string> rows;
  std::size_t start = selection.find('|');
  while (start != std::string_view::npos) {
    const std::size_t end = selection.find('|', start + 1);
    rows.emplace_back(selection.substr(
        start + 1, end == std::string_view::npos ? std::string_view::npos : end - start - 1));
    start = end;
  }
  return rows;
}

std::vector<std::string> Netscape6Profiles(CleanContext& context) {
  UserSettings& store = context.platform.userSettings;
  std::vector<std::string> profiles;
  const std::string selection = store.GetSetting(kProductName, kProfileSection, kSelectionKey, "");
  for (const std::string& row : SelectedRows(selection)) {
    // A row whose key is missing reads as empty and gives no profile.
    if (row.empty()) continue;
    std::string folder = store.GetSetting(kProductName, kProfileSection, row, "");
    if (!folder.empty()) profiles.push_back(std::move(folder));
  }
  return profiles;
}

// The Netscape folder holds the program folder that the install directory names and the
// "Users" folder beside it.
std::vector<std::string> NavigatorProfile(CleanContext& context) {
  const std::string install =
      context.reg.GetStringValue(reg_root::CurrentUser, kNavigatorMainKey, "Install Directory");
  const std::string user =
      context.reg.GetStringValue(reg_root::CurrentUser, kNavigatorBiffKey, "CurrentUser");
  const std::size_t lastSeparator = install.rfind('\\');
  // Without a back-slash there is no Netscape folder: the profile would become "\Users\"
  // and the user name at the root of the current drive, which is where every user's home
  // folder lies.
  if (install.empty() || user.empty() || lastSeparator == std::string::npos || lastSeparator == 0) {
    return {};
  }
  return {install.substr(0, lastSeparator) + "\\Users\\" + user};
}

bool IsOn(CleanContext& context, SettingKey key) { return context.settings.IsOn(key); }

}  // namespace

std::vector<std::string> NetscapeProfileFolders(CleanContext& context, int generation) {
  std::vector<std::string> profiles =
      generation == kNetscape6 ? Netscape6Profiles(context) : NavigatorProfile(context);
  // Profile folders come from the registry and the settings store: one that names the
  // current folder, a whole drive or a system or home folder is not a browser profile.
  const ProtectedFolderList guarded = context.platform.shell.ProtectedFolders();
  std::erase_if(profiles, [&](const std::string& folder) {
    return !IsSafeToEmpty(context.platform.files, folder, guarded);
  });
  return profiles;
}

void CleanNetscapeCache(CleanContext& context, std::string_view profile) {
  if (!IsOn(context, keys::NetscapeCache)) return;
  FileSystem& files = context.platform.files;
  const std::string cache = std::string(profile) + "\\Cache";
  (void)DeleteFolderForced(files, cache);
  // Created even when the removal failed, so that a profile without a cache folder gets an
  // empty one; a missing profile folder is not created.
  (void)files.CreateDirectory(cache);
}

void CleanNetscapeCookies(CleanContext& context, std::string_view profile) {
  if (!IsOn(context, keys::NetscapeCookies)) return;
  BleachFile(context, std::string(profile) + "\\cookies.txt", DeleteMode::AsFound);
}

void CleanNetscapeHistory(CleanContext& context, std::string_view profile) {
  if (!IsOn(context, keys::NetscapeClean)) return;
  context.reg.DeleteValuesByPrefix(kNavigatorUrlHistoryKey, "URL_");
  BleachFile(context, std::string(profile) + "\\history.dat", DeleteMode::AsFound);
  BleachFile(context, std::string(profile) + "\\netscape.hst", DeleteMode::AsFound);
}

void CleanNetscapeMailTrash(CleanContext& context, std::string_view profile) {
  if (!IsOn(context, keys::MailTrash)) return;
  FileSystem& files = context.platform.files;
  const std::string mail = std::string(profile) + "\\mail\\";
  const std::uint32_t anyFolder = list_attr::Directory | list_attr::Hidden | list_attr::System;
  // Only the mail folder's own sub-folders hold trash; a trash file directly in the mail
  // folder stays, and a folder link is not entered.
  for (const DirEntry& folder : ListByPattern(files, mail + "*", anyFolder)) {
    if ((folder.attributes & file_attr::Directory) == 0 ||
        (folder.attributes & file_attr::ReparsePoint) != 0) {
      continue;
    }
    const std::string trash = mail + folder.name + "\\trash*.*";
    if (ListByPattern(files, trash, list_attr::Hidden).empty()) continue;
    DeleteByWildcard(files, trash);
    context.filesRemoved = true;
  }
}

void CleanNetscape(CleanContext& context) {
  // Detection records the generation in an application context; the run's own is read-only,
  // so this step keeps its own copy for the length of the step.
  AppContext app = context.app;
  (void)NetscapeVersion(context.reg, app);
  for (const std::string& profile : NetscapeProfileFolders(context, app.netscapeGeneration)) {
    CleanNetscapeCache(context, profile);
    CleanNetscapeCookies(context, profile);
    CleanNetscapeHistory(context, profile);
    CleanNetscapeMailTrash(context, profile);
  }
}

}  // namespace quorvane
