#pragma once
// Files, folders and drives of Windows through the wide-character calls, every path in its
// long form ("\\?\C:\...") so that no name is out of reach because of its length.
// DriveNames, GetDrive, ListDirectory and GetShortName keep no state of their own, so a
// walk on a worker thread may call them while the window's thread uses the others.

#include <string>
#include <string_view>

#include "core/platform/FileSystem.h"

namespace quorvane::win32 {

class Win32FileSystem final : public FileSystem {
 public:
  std::vector<std::string> DriveNames() override;
  // A drive that is there but not ready (no disc in the drive) fills in name, letter and
  // type and returns Failed: its free space and label cannot be read.
  [[nodiscard]] FsResult GetDrive(std::string_view name, DriveInfo& info) override;
  [[nodiscard]] FsResult ListDirectory(std::string_view folder,
                                       std::vector<DirEntry>& entries) override;
  [[nodiscard]] FsResult GetAttributes(std::string_view path, std::uint32_t& attrs) override;
  [[nodiscard]] FsResult GetShortName(std::string_view path, std::string& shortName) override;
  [[nodiscard]] FsResult SetAttributes(std::string_view path, std::uint32_t attrs) override;
  [[nodiscard]] FsResult DeleteFile(std::string_view path) override;
  [[nodiscard]] FsResult CreateDirectory(std::string_view path) override;
  [[nodiscard]] FsResult RemoveDirectory(std::string_view path) override;
  [[nodiscard]] FsResult MoveFile(std::string_view from, std::string_view to) override;
  [[nodiscard]] FsResult GetFileSize(std::string_view path, std::uint64_t& size) override;
  [[nodiscard]] FsResult GetLinkCount(std::string_view path, std::uint32_t& links) override;
  [[nodiscard]] FsResult ReadFile(std::string_view path, std::string& bytes) override;
  [[nodiscard]] FsResult WriteFile(std::string_view path, std::string_view bytes) override;
  // Refuses a link (AccessDenied): the writes would land in its target.
  std::unique_ptr<WritableFile> OpenForOverwrite(std::string_view path, FsResult& result) override;

 private:
  // Under Wine, whether an opened file is reached through a Unix link (see the source).
  bool ReachedThroughLink(void* file, std::wstring_view longPath);
  std::wstring checkedFolder_;
  std::wstring checkedFolderName_;
};

}  // namespace quorvane::win32
