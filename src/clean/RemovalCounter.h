#pragma once
// Counts what a clean run really removed: decorators around the registry and the file
// system that count every successful key, value and file deletion passing through them.
// The shell's own removals (recycle bin, recent documents) do not pass here and are not
// counted.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/platform/FileSystem.h"
#include "core/platform/Registry.h"

namespace quorvane {

struct RemovalCounts {
  std::uint64_t files = 0;
  std::uint64_t bytes = 0;
  std::uint64_t registryKeys = 0;
  std::uint64_t registryValues = 0;
};

// "Removed: 12 files (34,567 bytes), 3 registry keys, 5 registry values"
std::string RemovalSummary(const RemovalCounts& counts);

class CountingRegistry : public Registry {
 public:
  CountingRegistry(Registry& inner, RemovalCounts& counts) : inner_(inner), counts_(counts) {}

  RegStatus OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access,
                    RegKey& opened) override;
  RegStatus CreateKey(RegKey parent, std::string_view subKey, RegKey& opened) override;
  RegStatus CloseKey(RegKey key) override;
  RegStatus QueryValue(RegKey key, std::string_view name, std::uint32_t& type, std::string* data,
                       std::uint32_t& size) override;
  RegStatus SetValue(RegKey key, std::string_view name, std::uint32_t type,
                     std::string_view data) override;
  RegStatus DeleteValue(RegKey key, std::string_view name) override;
  RegStatus DeleteKey(RegKey key, std::string_view subKey) override;
  RegStatus QueryInfoKey(RegKey key, KeyInfo& info) override;
  RegStatus EnumKey(RegKey key, std::uint32_t index, std::uint32_t capacity,
                    std::string& name) override;
  RegStatus EnumValue(RegKey key, std::uint32_t index, std::uint32_t nameCapacity,
                      std::string& name, std::uint32_t* type, std::string* data,
                      std::uint32_t dataCapacity) override;

 private:
  Registry& inner_;
  RemovalCounts& counts_;
};

// The size of a deleted file is taken from the listing that found it, which every walk
// makes anyway; only a file deleted by a path that no listing showed costs an extra size
// query. Sizes are kept per folder and dropped when the folder goes, so a walk over a
// large tree holds no more than the folders it is inside.
class CountingFileSystem : public FileSystem {
 public:
  CountingFileSystem(FileSystem& inner, RemovalCounts& counts) : inner_(inner), counts_(counts) {}

  std::vector<std::string> DriveNames() override;
  [[nodiscard]] FsResult GetDrive(std::string_view name, DriveInfo& info) override;
  [[nodiscard]] FsResult ListDirectory(std::string_view folder,
                                       std::vector<DirEntry>& entries) override;
  [[nodiscard]] FsResult GetAttributes(std::string_view path, std::uint32_t& attrs) override;
  [[nodiscard]] FsResult SetAttributes(std::string_view path, std::uint32_t attrs) override;
  [[nodiscard]] FsResult DeleteFile(std::string_view path) override;
  [[nodiscard]] FsResult CreateDirectory(std::string_view path) override;
  [[nodiscard]] FsResult RemoveDirectory(std::string_view path) override;
  [[nodiscard]] FsResult MoveFile(std::string_view from, std::string_view to) override;
  [[nodiscard]] FsResult GetFileSize(std::string_view path, std::uint64_t& size) override;
  [[nodiscard]] FsResult GetLinkCount(std::string_view path, std::uint32_t& links) override;
  [[nodiscard]] FsResult ReadFile(std::string_view path, std::string& bytes) override;
  [[nodiscard]] FsResult WriteFile(std::string_view path, std::string_view bytes) override;
  std::unique_ptr<WritableFile> OpenForOverwrite(std::string_view path, FsResult& result) override;

 private:
  using SizesByName = std::unordered_map<std::string, std::uint64_t>;
  // Folder and name of a path in the form the size table keys them by.
  static void SplitKey(std::string_view path, std::string& folder, std::string& name);
  static std::string FolderKey(std::string_view folder);
  void Forget(std::string_view path);

  FileSystem& inner_;
  RemovalCounts& counts_;
  std::unordered_map<std::string, SizesByName> sizes_;
};

}  // namespace quorvane
