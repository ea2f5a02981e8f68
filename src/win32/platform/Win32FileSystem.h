#pragma once
// Files, folders and drives of Windows through the wide-character calls, every path in its
// long form ("\\?\C:\...") so that no name is out of reach because of its length.
// DriveNames, GetDrive, ListDirectory and GetShortName keep no state of their own, so a
// walk on a worker thread may call them while the window's thread uses the others.

#include <array>
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
  [[nodiscard]] FsResult GetVolumeLabel(std::string_view name, std::string& label) override;
  [[nodiscard]] FsResult ListDirectory(std::string_view folder,
                                       std::vector<DirEntry>& entries) override;
  [[nodiscard]] FsResult GetAttributes(std::string_view path, std::uint32_t& attrs) override;
  [[nodiscard]] FsResult GetShortName(std::string_view path, std::string& shortName) override;
  [[nodiscard]] FsResult SetAttributes(std::string_view path, std::uint32_t attrs) override;
  [[nodiscard]] FsResult FinalPath(std::string_view folder, std::string& finalPath) override;
  // Under Wine a Unix link to a file is removed as the link; one to a folder stays.
  [[nodiscard]] FsResult DeleteFile(std::string_view path, DeleteMode mode) override;
  [[nodiscard]] FsResult CreateDirectory(std::string_view path) override;
  [[nodiscard]] FsResult RemoveDirectory(std::string_view path) override;
  [[nodiscard]] FsResult MoveFile(std::string_view from, std::string_view to,
                                  IfTargetExists ifExists) override;
  [[nodiscard]] FsResult GetFileSize(std::string_view path, std::uint64_t& size) override;
  [[nodiscard]] FsResult ReadFile(std::string_view path, std::string& bytes) override;
  [[nodiscard]] FsResult WriteFile(std::string_view path, std::string_view bytes) override;
  std::unique_ptr<WritableFile> OpenForOverwrite(std::string_view path, DeleteMode mode,
                                                 FsResult& result) override;

 private:
  // Under Wine, whether an opened file is reached through a Unix link (see the source).
  bool ReachedThroughLink(void* file, std::wstring_view longPath);
  struct CheckedFolder {
    std::wstring path;  // long form, with its trailing back-slash
    std::wstring name;  // the system's name of the opened folder, with a trailing back-slash
  };
  std::array<CheckedFolder, 2> checked_;  // the one looked at last first
};

}  // namespace quorvane::win32
