#pragma once
// The file-system and drive calls the program makes. Paths are UTF-8 in Windows form
// ("C:\Users\x\Temp\a.txt"); the Windows implementation uses the wide-character calls and
// long-path prefixes internally, so no name on disk is out of reach. Nothing here walks a
// tree: the walks live in portable code (core/FileServices) so that their safety rules are
// tested once, natively.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

namespace file_attr {
inline constexpr std::uint32_t ReadOnly = 0x1;
inline constexpr std::uint32_t Hidden = 0x2;
inline constexpr std::uint32_t System = 0x4;
inline constexpr std::uint32_t Directory = 0x10;
inline constexpr std::uint32_t Archive = 0x20;
inline constexpr std::uint32_t Normal = 0x80;
inline constexpr std::uint32_t ReparsePoint = 0x400;
}  // namespace file_attr

enum class FsResult { Ok, NotFound, AccessDenied, NotEmpty, AlreadyExists, Failed };

enum class DriveType { Unknown, NoRootDir, Removable, Fixed, Network, CdRom, RamDisk };

struct DriveInfo {
  std::string name;  // "c:"
  char letter = 0;   // upper case, 'C'
  DriveType type = DriveType::Unknown;
  std::uint64_t freeBytes = 0;  // free space of the whole drive, not the user's quota
  std::uint64_t totalBytes = 0;
};

struct DirEntry {
  std::string name;  // the long name, never "." or ".."
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;
};

// Whether a removal may clear the attributes that stand in its way.
enum class DeleteMode {
  // A read-only file stays, as with the platform's own delete.
  AsFound,
  // A read-only, hidden or system file is made normal first - only after the open has shown
  // that it is the file itself and not a link, and through that same open.
  ResetAttributes,
};

enum class IfTargetExists { Fail, Replace };

// A file opened once, as itself (a link is opened as the link, never as its target), to be
// overwritten in place and then deleted. What it is, its writes and its deletion all go
// through this one open, so the file that was looked at is the file that is written and
// deleted. Closed when destroyed.
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  // As the open found them; ReparsePoint for a link.
  virtual std::uint32_t Attributes() const = 0;
  // Names the file's content has on its volume; more than one means other hard links.
  virtual std::uint32_t LinkCount() const = 0;
  virtual std::uint64_t Size() const = 0;
  // Refused (AccessDenied) for a link: the writes would land in its target.
  [[nodiscard]] virtual FsResult WriteAt(std::uint64_t offset, std::string_view bytes) = 0;
  // Pushes everything written so far to the disk itself, not only to the cache.
  [[nodiscard]] virtual FsResult Flush() = 0;
  // Deletes the file, or the link itself, through this open.
  [[nodiscard]] virtual FsResult Delete() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // The drives the system knows, as "c:" names in the platform's order.
  virtual std::vector<std::string> DriveNames() = 0;
  // `name` is "c", "c:" or "c:\" in any case. Only a fixed drive is asked for its space, so
  // a disconnected network drive or an empty card reader cannot hold up the caller.
  [[nodiscard]] virtual FsResult GetDrive(std::string_view name, DriveInfo& info) = 0;
  // The volume label, for the places that show it; the drive is asked each time.
  [[nodiscard]] virtual FsResult GetVolumeLabel(std::string_view name, std::string& label) = 0;

  // Every entry of one folder with the attributes of the directory listing itself.
  // A reparse point is reported as such and never entered.
  [[nodiscard]] virtual FsResult ListDirectory(std::string_view folder,
                                               std::vector<DirEntry>& entries) = 0;
  [[nodiscard]] virtual FsResult GetAttributes(std::string_view path, std::uint32_t& attrs) = 0;
  // The short 8.3 name of the path's last part; its long name where the volume keeps no
  // short names.
  [[nodiscard]] virtual FsResult GetShortName(std::string_view path, std::string& shortName) = 0;
  [[nodiscard]] virtual FsResult SetAttributes(std::string_view path, std::uint32_t attrs) = 0;
  // Where an existing folder really leads, asked from an open handle: every link, junction
  // and mounted folder on the way resolved, in drive form ("C:\Users\ann", a network
  // folder as "\\server\share\x"; a drive root as "C:\").
  [[nodiscard]] virtual FsResult FinalPath(std::string_view folder, std::string& finalPath) = 0;

  // Removes a file, or a link of either kind as the link, opening it once. A file in use by
  // another program or denied gives AccessDenied, a vanished one NotFound.
  [[nodiscard]] virtual FsResult DeleteFile(std::string_view path, DeleteMode mode) = 0;
  [[nodiscard]] virtual FsResult CreateDirectory(std::string_view path) = 0;
  // Removes an empty folder, or a folder link itself (never its target's content).
  [[nodiscard]] virtual FsResult RemoveDirectory(std::string_view path) = 0;
  // Rename in place. With Replace an existing `to` gives way in the same step, so that at
  // every moment one of the two contents is there under that name.
  [[nodiscard]] virtual FsResult MoveFile(std::string_view from, std::string_view to,
                                          IfTargetExists ifExists) = 0;

  [[nodiscard]] virtual FsResult GetFileSize(std::string_view path, std::uint64_t& size) = 0;
  [[nodiscard]] virtual FsResult ReadFile(std::string_view path, std::string& bytes) = 0;
  // Creates the file or replaces its content.
  [[nodiscard]] virtual FsResult WriteFile(std::string_view path, std::string_view bytes) = 0;
  // Opens an existing file, its content kept, to be overwritten and deleted (see
  // WritableFile). A folder is refused; so is a read-only file unless `mode` resets it.
  virtual std::unique_ptr<WritableFile> OpenForOverwrite(std::string_view path, DeleteMode mode,
                                                         FsResult& result) = 0;
};

}  // namespace quorvane
