#pragma once
// The file system of a preview: reads go to the real one, and every change is only
// recorded. Later calls see the recorded changes as if they had happened: a deleted file is
// gone from listings, look-ups and opens, a folder made again is there and empty. Nothing
// that writes ever reaches the real file system.
//
// It implements the interface itself rather than forwarding by default, so that a call
// added to the interface later must be judged here: read, or write to be recorded.

#include <map>
#include <optional>
#include <string>

#include "core/platform/FileSystem.h"

namespace quorvane::companion {

class RecordingFileSystem final : public FileSystem {
 public:
  explicit RecordingFileSystem(FileSystem& real) : real_(real) {}

  std::vector<std::string> DriveNames() override { return real_.DriveNames(); }
  [[nodiscard]] FsResult GetDrive(std::string_view name, DriveInfo& info) override {
    return real_.GetDrive(name, info);
  }
  [[nodiscard]] FsResult GetVolumeLabel(std::string_view name, std::string& label) override {
    return real_.GetVolumeLabel(name, label);
  }
  [[nodiscard]] FsResult ListDirectory(std::string_view folder,
                                       std::vector<DirEntry>& entries) override;
  [[nodiscard]] FsResult GetAttributes(std::string_view path, std::uint32_t& attrs) override;
  [[nodiscard]] FsResult SetAttributes(std::string_view path, std::uint32_t attrs) override;
  [[nodiscard]] FsResult GetShortName(std::string_view path, std::string& shortName) override;
  [[nodiscard]] FsResult FinalPath(std::string_view folder, std::string& finalPath) override;
  [[nodiscard]] FsResult DeleteFile(std::string_view path, DeleteMode mode) override;
  [[nodiscard]] FsResult CreateDirectory(std::string_view path) override;
  [[nodiscard]] FsResult RemoveDirectory(std::string_view path) override;
  [[nodiscard]] FsResult MoveFile(std::string_view from, std::string_view to,
                                  IfTargetExists ifExists) override;
  [[nodiscard]] FsResult GetFileSize(std::string_view path, std::uint64_t& size) override;
  [[nodiscard]] FsResult ReadFile(std::string_view path, std::string& bytes) override;
  [[nodiscard]] FsResult WriteFile(std::string_view path, std::string_view bytes) override;
  // The open file records its deletion and discards its writes. It reports one link: a file
  // with more names is only unlinked by the clean, which removes it from its folder all the
  // same, and asking the real file would mean opening it for writing.
  std::unique_ptr<WritableFile> OpenForOverwrite(std::string_view path, DeleteMode mode,
                                                 FsResult& result) override;

 private:
  // A recorded change that stands in for whatever is (or is not) on disk at its path.
  struct Entry {
    bool exists = false;
    std::string name;  // as the caller wrote it, for listings
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    std::optional<std::string> content;  // written content; none: read it from `source`
    std::string source;                  // the real file that holds the content
  };

  class RecordedFile;

  // Whether a deletion in `mode` may remove this entry, as the platform would decide.
  static FsResult MayDelete(const Entry& entry, DeleteMode mode);
  // The path as it looks now: none when it is neither recorded nor on disk.
  std::optional<Entry> Look(std::string_view path);
  void Record(std::string_view path, Entry entry);

  FileSystem& real_;
  std::map<std::string, Entry> changes_;  // by folded path
};

}  // namespace quorvane::companion
