#include "clean/RemovalCounter.h"

#include <functional>
#include <memory>

#include "core/FileServices.h"
#include "core/PathText.h"
#include "core/Reg32.h"
#include "core/Text.h"

namespace quorvane {
namespace {
// A walk keeps only the folders it is inside; more than this many remembered folders means
// listings that were never followed by deletions (a size sum, a scan), so they are dropped
// and later deletions fall back to asking for the size.
constexpr std::size_t kMaxRememberedFolders = 4096;

std::string Grouped(std::uint64_t number) {
  std::string digits = std::to_string(number);
  for (auto i = static_cast<std::ptrdiff_t>(digits.size()) - 3; i > 0; i -= 3) {
    digits.insert(static_cast<std::size_t>(i), 1, ',');
  }
  return digits;
}

std::string Counted(std::uint64_t count, std::string_view singular, std::string_view plural) {
  return std::to_string(count) + " " + std::string(count == 1 ? singular : plural);
}
}  // namespace

std::string RemovalSummary(const RemovalCounts& counts) {
  return "Removed: " + Counted(counts.files, "file", "files") + " (" + Grouped(counts.bytes) +
         (counts.bytes == 1 ? " byte" : " bytes") + "), " +
         Counted(counts.registryKeys, "registry key", "registry keys") + ", " +
         Counted(counts.registryValues, "registry value", "registry values");
}

std::string NotRemovedSummary(const RemovalCounts& counts) {
  if (counts.filesNotRemoved == 0) return {};
  return "Not removed: " + Counted(counts.filesNotRemoved, "file", "files") + " in use or denied";
}

std::string CountingRegistry::KeyPath(RegKey key, std::string_view subKey) const {
  std::string path(RegistryRootName(key));
  if (path.empty()) {
    const auto it = paths_.find(key);
    if (it != paths_.end()) path = it->second;
  }
  if (!subKey.empty()) path += "\\" + std::string(subKey);
  return path;
}

RegStatus CountingRegistry::OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access,
                                    RegKey& opened) {
  const RegStatus status = inner().OpenKey(parent, subKey, access, opened);
  if (status == reg_status::Success) paths_[opened] = KeyPath(parent, subKey);
  return status;
}

RegStatus CountingRegistry::CreateKey(RegKey parent, std::string_view subKey, RegKey& opened) {
  const RegStatus status = inner().CreateKey(parent, subKey, opened);
  if (status == reg_status::Success) paths_[opened] = KeyPath(parent, subKey);
  return status;
}

RegStatus CountingRegistry::CloseKey(RegKey key) {
  paths_.erase(key);
  return inner().CloseKey(key);
}

RegStatus CountingRegistry::DeleteValue(RegKey key, std::string_view name) {
  const RegStatus status = inner().DeleteValue(key, name);
  if (status != reg_status::Success) return status;
  ++counts_.registryValues;
  if (observer_)
    observer_->Removed({RemovedItem::Kind::Value, KeyPath(key, ""), std::string(name), 0});
  return status;
}

RegStatus CountingRegistry::DeleteKey(RegKey key, std::string_view subKey) {
  const RegStatus status = inner().DeleteKey(key, subKey);
  if (status != reg_status::Success) return status;
  ++counts_.registryKeys;
  if (observer_) observer_->Removed({RemovedItem::Kind::Key, KeyPath(key, subKey), {}, 0});
  return status;
}

std::string CountingFileSystem::FolderKey(std::string_view folder) {
  // A drive's root is keyed "c:", as the folder part of "C:\x.chk" reads.
  std::string key = ToLowerAscii(WithoutTrailingSeparators(folder));
  if (IsDriveRoot(key)) key.pop_back();
  return key;
}

void CountingFileSystem::SplitKey(std::string_view path, std::string& folder, std::string& name) {
  SplitFolderAndPattern(path, folder, name);
  folder = FolderKey(folder);
  name = ToLowerAscii(name);
}

void CountingFileSystem::Forget(std::string_view path) {
  std::string folder, name;
  SplitKey(path, folder, name);
  if (auto it = sizes_.find(folder); it != sizes_.end()) it->second.erase(name);
}

FsResult CountingFileSystem::ListDirectory(std::string_view folder,
                                           std::vector<DirEntry>& entries) {
  const FsResult result = inner().ListDirectory(folder, entries);
  if (result != FsResult::Ok) return result;
  if (sizes_.size() >= kMaxRememberedFolders) sizes_.clear();
  SizesByName& sizes = sizes_[FolderKey(folder)];
  sizes.clear();
  for (const DirEntry& entry : entries) {
    if ((entry.attributes & file_attr::Directory) == 0) {
      sizes[ToLowerAscii(entry.name)] = entry.size;
    }
  }
  return result;
}

bool CountingFileSystem::ListedSize(std::string_view path, std::uint64_t& size) {
  std::string folder, name;
  SplitKey(path, folder, name);
  const auto listed = sizes_.find(folder);
  if (listed == sizes_.end()) return false;
  const auto it = listed->second.find(name);
  if (it == listed->second.end()) return false;
  size = it->second;
  return true;
}

void CountingFileSystem::Count(std::string_view path, FsResult result, std::uint64_t size) {
  if (result == FsResult::AccessDenied) ++counts_.filesNotRemoved;
  if (result != FsResult::Ok) return;
  ++counts_.files;
  counts_.bytes += size;
  Forget(path);
  if (observer_) observer_->Removed({RemovedItem::Kind::File, std::string(path), {}, size});
}

FsResult CountingFileSystem::DeleteFile(std::string_view path, DeleteMode mode) {
  std::uint64_t size = 0;
  // Asked before the deletion: afterwards there is nothing left to measure.
  if (!ListedSize(path, size) && inner().GetFileSize(path, size) != FsResult::Ok) size = 0;
  const FsResult result = inner().DeleteFile(path, mode);
  Count(path, result, size);
  return result;
}

namespace {

// Counts the deletion made through an opened file, with the size the listing showed.
class CountedFile final : public ForwardingWritableFile {
 public:
  CountedFile(std::unique_ptr<WritableFile> inner, std::function<void(FsResult)> count)
      : ForwardingWritableFile(std::move(inner)), count_(std::move(count)) {}
  FsResult Delete() override {
    const FsResult result = inner().Delete();
    count_(result);
    return result;
  }

 private:
  std::function<void(FsResult)> count_;
};

}  // namespace

std::unique_ptr<WritableFile> CountingFileSystem::OpenForOverwrite(std::string_view path,
                                                                   DeleteMode mode,
                                                                   FsResult& result) {
  auto file = inner().OpenForOverwrite(path, mode, result);
  // A file that cannot even be opened was not removed either.
  if (!file) {
    if (result == FsResult::AccessDenied) ++counts_.filesNotRemoved;
    return file;
  }
  std::uint64_t size = file->Size();
  (void)ListedSize(path, size);
  return std::make_unique<CountedFile>(
      std::move(file),
      [this, key = std::string(path), size](FsResult deleted) { Count(key, deleted, size); });
}

FsResult CountingFileSystem::RemoveDirectory(std::string_view path) {
  const FsResult result = inner().RemoveDirectory(path);
  if (result == FsResult::Ok) {
    sizes_.erase(FolderKey(path));
    ++counts_.folders;
    if (observer_) observer_->Removed({RemovedItem::Kind::Folder, std::string(path), {}, 0});
  }
  return result;
}

FsResult CountingFileSystem::MoveFile(std::string_view from, std::string_view to,
                                      IfTargetExists ifExists) {
  const FsResult result = inner().MoveFile(from, to, ifExists);
  if (result == FsResult::Ok) {
    Forget(from);
    Forget(to);
  }
  return result;
}

FsResult CountingFileSystem::WriteFile(std::string_view path, std::string_view bytes) {
  // A replaced content makes the listed size stale.
  Forget(path);
  return inner().WriteFile(path, bytes);
}

UrlCacheStatus CountingUrlCache::DeleteEntry(std::string_view sourceUrl) {
  const UrlCacheStatus status = inner_.DeleteEntry(sourceUrl);
  if (status == url_cache_status::Success) {
    ++counts_.urls;
    if (observer_) observer_->Removed({RemovedItem::Kind::Url, std::string(sourceUrl), {}, 0});
  }
  return status;
}

}  // namespace quorvane
