#include "clean/CustomItems.h"

#include <string>
#include <vector>

#include "clean/Bleach.h"
#include "core/FileServices.h"
#include "core/PathText.h"
#include "custom/CustomItemFile.h"

namespace quorvane {
namespace {

void RemoveKey(CleanContext& context, std::string_view path) {
  std::string subKey;
  // Only a path that begins with a root name and a back-slash names a key.
  const auto root = Reg32::SplitRegistryPath(path, subKey);
  if (!root) return;
  (void)context.reg.DeleteKeyTree(*root, subKey);
}

void RemoveValue(CleanContext& context, std::string_view path, std::string_view valueName) {
  std::string subKey;
  const auto root = Reg32::SplitRegistryPath(path, subKey);
  if (!root) return;
  context.reg.DeleteValue(*root, subKey, valueName);
}

// Every file that the user's path or pattern matches, hidden and system ones included;
// folders are never listed, so a pattern does not reach into sub-folders.
void RemoveFiles(CleanContext& context, std::string_view pattern) {
  const std::size_t lastSeparator = pattern.rfind('\\');
  // A relative path would be resolved against the program's current folder, which nobody
  // chose when writing the item.
  if (lastSeparator == std::string_view::npos || !IsAbsolutePath(pattern)) return;
  FileSystem& files = context.platform.files;
  const std::string folder(pattern.substr(0, lastSeparator));
  const auto matches =
      ListByPattern(files, pattern, list_attr::Normal | list_attr::Hidden | list_attr::System);
  for (const DirEntry& match : matches) {
    const std::string path = folder + "\\" + match.name;
    // A file that cannot be reset, overwritten or deleted stays, and the next one follows.
    // The platform resets the attributes once it has seen that the file is no link.
    if (context.settings.IsOn(keys::AddBleach)) {
      BleachFile(context, path, DeleteMode::ResetAttributes);
    } else {
      (void)files.DeleteFile(path, DeleteMode::ResetAttributes);
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
