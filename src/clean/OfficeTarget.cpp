#include "clean/OfficeTarget.h"

#include <array>
#include <string>
#include <string_view>

#include "core/FileServices.h"

namespace quorvane {

namespace {

constexpr std::array<std::string_view, 3> kOfficeVersionKeys = {
    "Software\\Microsoft\\Office\\8.0",
    "Software\\Microsoft\\Office\\9.0",
    "Software\\Microsoft\\Office\\10.0",
};

constexpr std::string_view kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr std::string_view kRecentFolderSuffix = "\\Microsoft\\Office\\Recent";
constexpr std::string_view kPhotoEditorKey =
    "Software\\Microsoft\\Photo Editor\\3.0\\Microsoft Photo Editor";

// What one application leaves under a version key, removed in this order. Access keeps its
// recent list as values beside its other settings, so only those values go.
struct OfficeApplication {
  SettingKey option;
  std::string_view mruValuesKey;  // values whose names begin with "MRU"; empty when none
  std::array<std::string_view, 3> keyTrees;
};

constexpr std::array<OfficeApplication, 5> kApplications = {{
    {keys::MSWord, {}, {"\\Word\\Data", "\\Common\\Open Find\\Microsoft Word\\Settings", {}}},
    {keys::MSPPT,
     {},
     {"\\PowerPoint\\Recent File List", "\\PowerPoint\\Recent Folder List",
      "\\PowerPoint\\Recent Typeface"}},
    {keys::MSExcel,
     {},
     {"\\Excel\\Recent Files", "\\Excel\\Recent File List",
      "\\Common\\Open Find\\Microsoft Excel\\Settings"}},
    {keys::MSAccess,
     "\\Access\\Settings",
     {"\\Common\\Open Find\\Microsoft Access\\Settings", {}, {}}},
    {keys::MSOutlook, {}, {"\\Common\\Open Find\\Microsoft Outlook\\Settings", {}, {}}},
}};

void DeleteRecentShortcuts(CleanContext& context) {
  const std::string appData =
      context.reg.GetStringValue(reg_root::CurrentUser, kShellFoldersKey, "AppData");
  const std::string folder = appData + std::string(kRecentFolderSuffix);
  FileSystem& files = context.platform.files;
  // The folder comes from the registry: one that is relative, or that is or leads to a
  // system or profile folder, is nobody's list of recent documents.
  if (!IsSafeToEmpty(files, folder, context.platform.shell.ProtectedFolders())) return;
  const std::string pattern = folder + "\\*.lnk";
  if (ListByPattern(files, pattern, list_attr::Normal).empty()) return;
  DeleteByWildcard(files, pattern);
  context.filesRemoved = true;
}

void CleanApplication(CleanContext& context, std::string_view versionKey,
                      const OfficeApplication& application) {
  const std::string base(versionKey);
  if (!application.mruValuesKey.empty()) {
    context.reg.DeleteValuesByPrefix(base + std::string(application.mruValuesKey), "MRU");
  }
  for (std::string_view tree : application.keyTrees) {
    if (tree.empty()) continue;
    (void)context.reg.DeleteKeyTree(reg_root::CurrentUser, base + std::string(tree));
  }
}

}  // namespace

void CleanOffice(CleanContext& context) {
  // The shortcuts go whatever the per-application options say: the folder is shared by
  // every application.
  DeleteRecentShortcuts(context);

  for (std::string_view versionKey : kOfficeVersionKeys) {
    for (const OfficeApplication& application : kApplications) {
      // Read anew for every version: the settings file is the only copy of the options.
      if (context.settings.IsOn(application.option)) {
        CleanApplication(context, versionKey, application);
      }
    }
  }

  if (context.settings.IsOn(keys::MSPHEditor)) {
    context.reg.DeleteValuesByPrefix(kPhotoEditorKey, "Last");
  }
}

}  // namespace quorvane
