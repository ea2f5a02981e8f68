#pragma once
// Counts what a clean run really removed: decorators around the registry, the file system
// and the URL cache that count every successful deletion passing through them, and every
// file deletion refused because the file was in use or denied, and tell an optional
// observer about each removal (the item lists of the companion's reports). The
// shell's own removals (recycle bin, recent documents) do not pass here and are not
// counted.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/platform/ForwardingFileSystem.h"
#include "core/platform/ForwardingRegistry.h"
#include "core/platform/UrlCache.h"

namespace quorvane {

struct RemovalCounts {
  std::uint64_t files = 0;
  std::uint64_t bytes = 0;
  std::uint64_t registryKeys = 0;
  std::uint64_t registryValues = 0;
  // Files that a step meant to delete and could not: in use by another program or denied.
  std::uint64_t filesNotRemoved = 0;
  std::uint64_t folders = 0;
  std::uint64_t urls = 0;  // URL cache entries
};

// One thing a run removed. Registry paths begin with the root's name
// ("HKEY_CURRENT_USER\Software\..."); a value names its key in `path`.
struct RemovedItem {
  enum class Kind { File, Folder, Key, Value, Url };
  Kind kind = Kind::File;
  std::string path;         // the file, folder or key; the cache entry's URL
  std::string name;         // a value's name
  std::uint64_t bytes = 0;  // a file's size
};

class RemovalObserver {
 public:
  virtual ~RemovalObserver() = default;
  virtual void Removed(RemovedItem item) = 0;
};

// "Removed: 12 files (34,567 bytes), 3 registry keys, 5 registry values"
std::string RemovalSummary(const RemovalCounts& counts);
// "Not removed: 3 files in use or denied", or the empty text when every file went.
std::string NotRemovedSummary(const RemovalCounts& counts);

class CountingRegistry : public ForwardingRegistry {
 public:
  CountingRegistry(Registry& inner, RemovalCounts& counts, RemovalObserver* observer = nullptr)
      : ForwardingRegistry(inner), counts_(counts), observer_(observer) {}

  // Opening and closing keep the path of each handle, so that a removal can be named.
  RegStatus OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access,
                    RegKey& opened) override;
  RegStatus CreateKey(RegKey parent, std::string_view subKey, RegKey& opened) override;
  RegStatus CloseKey(RegKey key) override;
  RegStatus DeleteValue(RegKey key, std::string_view name) override;
  RegStatus DeleteKey(RegKey key, std::string_view subKey) override;

 private:
  std::string KeyPath(RegKey key, std::string_view subKey) const;

  RemovalCounts& counts_;
  RemovalObserver* observer_;
  std::unordered_map<RegKey, std::string> paths_;
};

// The size of a deleted file is taken from the listing that found it, which every walk
// makes anyway; only a file deleted by a path that no listing showed costs an extra size
// query. Sizes are kept per folder and dropped when the folder goes, so a walk over a
// large tree holds no more than the folders it is inside.
// An overwrite before deletion keeps the listed size on purpose: what the user loses is the
// content the listing showed, not the blocks that were written over it.
class CountingFileSystem : public ForwardingFileSystem {
 public:
  CountingFileSystem(FileSystem& inner, RemovalCounts& counts, RemovalObserver* observer = nullptr)
      : ForwardingFileSystem(inner), counts_(counts), observer_(observer) {}

  [[nodiscard]] FsResult ListDirectory(std::string_view folder,
                                       std::vector<DirEntry>& entries) override;
  [[nodiscard]] FsResult DeleteFile(std::string_view path, DeleteMode mode) override;
  [[nodiscard]] FsResult RemoveDirectory(std::string_view path) override;
  [[nodiscard]] FsResult MoveFile(std::string_view from, std::string_view to,
                                  IfTargetExists ifExists) override;
  [[nodiscard]] FsResult WriteFile(std::string_view path, std::string_view bytes) override;
  // A file overwritten before deletion is counted when it is deleted through its open.
  std::unique_ptr<WritableFile> OpenForOverwrite(std::string_view path, DeleteMode mode,
                                                 FsResult& result) override;

 private:
  using SizesByName = std::unordered_map<std::string, std::uint64_t>;
  // Folder and name of a path in the form the size table keys them by.
  static void SplitKey(std::string_view path, std::string& folder, std::string& name);
  static std::string FolderKey(std::string_view folder);
  void Forget(std::string_view path);
  // The listed size of a file about to be deleted, if a listing showed it.
  bool ListedSize(std::string_view path, std::uint64_t& size);
  // Counts one deletion: removed with its size, or not removed when it was in use or denied.
  // A file that vanished first counts as neither.
  void Count(std::string_view path, FsResult result, std::uint64_t size);

  RemovalCounts& counts_;
  RemovalObserver* observer_;
  std::unordered_map<std::string, SizesByName> sizes_;
};

class CountingUrlCache final : public UrlCache {
 public:
  CountingUrlCache(UrlCache& inner, RemovalCounts& counts, RemovalObserver* observer = nullptr)
      : inner_(inner), counts_(counts), observer_(observer) {}

  std::unique_ptr<UrlCacheEntryBlock> AllocateEntry(std::uint32_t size) override {
    return inner_.AllocateEntry(size);
  }
  [[nodiscard]] UrlCacheStatus FindFirstEntry(UrlCacheEntryBlock* block, std::uint32_t& size,
                                              UrlCacheFind& find) override {
    return inner_.FindFirstEntry(block, size, find);
  }
  [[nodiscard]] UrlCacheStatus FindNextEntry(UrlCacheFind find, UrlCacheEntryBlock* block,
                                             std::uint32_t& size) override {
    return inner_.FindNextEntry(find, block, size);
  }
  [[nodiscard]] UrlCacheStatus DeleteEntry(std::string_view sourceUrl) override;
  void CloseFind(UrlCacheFind find) override { inner_.CloseFind(find); }

 private:
  UrlCache& inner_;
  RemovalCounts& counts_;
  RemovalObserver* observer_;
};

}  // namespace quorvane
