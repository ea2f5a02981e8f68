#include "clean/CustomItems.h"

#include <string>
#include <vector>

#include "clean/Bleach.h"
#include "core/FileServices.h"
#include "custom/CustomItemFile.h"

namespace quorvane {
namespace {

void RemoveKey(CleanContext& context, std::string_view path) {
  std::string subKey;
  // Only a path that begins with a root name and a back-slash names a key.
  const auto root = Reg32::SplitRegistryPath(path, subKey);
  // A sub-key of nothing but separators would be the whole root, which is never deleted.
  if (!root || subKey.find_first_not_of('\\') == std::string::npos) return;
  (void)context.reg.DeleteKeyTree(*root, subKey);
}

void RemoveValue(CleanContext& context, std::string_view path, std::string_view valueName) {
  std::string subKey;
  const auto root = Reg32::SplitRegistryPath(path, subKey);
  if (!root) return;
  context.reg.DeleteValue(*root, subKey, valueName);
}

// "C:\..." or "\\server\share\...": a relative path would be resolved against the
// program's current folder, which nobody chose when writing the item.
bool IsAbsolute(std::string_view path) {
  const bool drivePath = path.size() >= 3 && path[1] == ':' && path[2] == '\\' &&
                         ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return drivePath || path.starts_with("\\\\");
}

// Every file that the user's path or pattern matches, hidden and system ones included;
// folders are never listed, so a pattern does not reach into sub-folders.
void RemoveFiles(CleanContext& context, std::string_view pattern) {
  const std::size_t lastSeparator = pattern.rfind('\\');
  if (lastSeparator == std::string_view::npos || !IsAbsolute(pattern)) return;
  FileSystem& files = context.platform.files;
  const std::string folder(pattern.substr(0, lastSeparator));
  const auto matches =
      ListByPattern(files, pattern, list_attr::Normal | list_attr::Hidden | list_attr::System);
  for (const DirEntry& match : matches) {
    const std::string path = folder + "\\" + match.name;
    // A file that cannot be reset, overwritten or deleted stays, and the next one follows.
    (void)files.SetAttributes(path, file_attr::Normal);
    if (context.settings.IsOn(keys::AddBleach)) {
      BleachFile(context, path);
    } else {
      (void)files.DeleteFile(path);
    }
    context.filesRemoved = true;
  }
}

void CarryOut(CleanContext& context, const ItemRecord& record) {
  if (record.kind == "K") {
    RemoveKey(context, record.target);
  } else if (record.kind == "V") {
    RemoveValue(context, record.target, record.valueName);
  } else if (record.kind == "F") {
    RemoveFiles(context, record.target);
  }
}

}  // namespace

void CleanCustomItems(CleanContext& context) {
  FileSystem& files = context.platform.files;
  const std::string folder = context.app.CustomFolder();
  std::vector<DirEntry> entries;
  if (files.ListDirectory(folder, entries) != FsResult::Ok) return;
  // Every file of the folder is an item file, whatever its extension: the kind of each
  // record decides what it removes.
  for (const DirEntry& entry : entries) {
    if ((entry.attributes & file_attr::Directory) != 0) continue;
    const auto records = ReadItemFile(files, context.platform.codec, folder + "\\" + entry.name);
    for (const ItemRecord& record : records) CarryOut(context, record);
  }
}

}  // namespace quorvane
