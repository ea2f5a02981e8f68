#pragma once
// An in-memory file system that behaves like the platform where the program's safety
// depends on it: names match without regard to case, DeleteFile refuses read-only files,
// RemoveDirectory refuses folders that are not empty, a file in use cannot be deleted, and
// a path that runs through a link reaches the link's target - so a walk that carelessly
// enters a link really does destroy the target here, and a test sees it. The link itself
// shows in its parent's listing as one entry and RemoveDirectory on it removes only the
// link. Paths are "X:\..." with either separator; a relative path names nothing. Deleting
// the last name of a file gives its size back to its drive, so freed space can be measured.
//
// Listings, attribute calls and every call that changes something are logged in order, so
// that a test can check, for example, that an overwrite pass was flushed before the next.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/FileSystem.h"

namespace quorvane::fakes {

enum class FsOp {
  ListDirectory,
  GetAttributes,
  SetAttributes,
  DeleteFile,
  CreateDirectory,
  RemoveDirectory,
  MoveFile,
  ReadFile,
  WriteFile,
  OpenForOverwrite,
  WriteAt,
  Flush
};

struct FsCall {
  FsOp op = FsOp::ListDirectory;
  std::string path;
  std::string bytes;         // WriteAt: what was written
  std::uint64_t offset = 0;  // WriteAt
};

class FakeFileSystem final : public FileSystem {
 public:
  FakeFileSystem();
  ~FakeFileSystem() override;

  // --- Set-up. Missing parent folders are created on the way.
  // A drive the platform reports, in the order added.
  void AddDrive(char letter, DriveType type, std::uint64_t freeBytes, std::uint64_t totalBytes);
  // A drive that is not ready (an empty card reader, say) fails every GetDrive.
  void SetDriveReady(char letter, bool ready);
  // Creates or replaces a file. `attrs` holds read-only, hidden, system, archive.
  void AddFile(std::string_view path, std::string_view content = {}, std::uint32_t attrs = 0);
  void AddFolder(std::string_view path, std::uint32_t attrs = 0);
  // A symbolic link or junction: a file link when the target is a file, else a folder link.
  void AddLink(std::string_view path, std::string_view target);
  // A second name for an existing file: both names share one content and link count.
  void AddHardLink(std::string_view existing, std::string_view path);
  // Held open by another program: it cannot be deleted, removed, moved, written or opened
  // for overwriting.
  void SetInUse(std::string_view path);

  // --- Inspection, not logged. A link at the end of the path is taken as itself.
  bool Exists(std::string_view path) const;
  // As a listing reports them; 0 when nothing is there.
  std::uint32_t Attributes(std::string_view path) const;
  // Through links, as the program would read it.
  std::string Content(std::string_view path) const;
  const std::vector<FsCall>& Calls() const { return calls_; }
  std::size_t CountCalls(FsOp op) const;
  void ClearCalls() { calls_.clear(); }

  // --- FileSystem
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
  struct Node;
  class OpenFile;
  struct Drive {
    DriveInfo info;
    bool ready = true;
  };
  using Names = std::vector<std::string>;  // the drive ("C:") and the names below its root

  // The node a path names. `followLast` decides whether a link at the end is followed (a
  // listing or a read) or taken as itself (attributes, delete, remove, rename).
  Node* Find(std::string_view path, bool followLast) const;
  Node* Find(const Names& names, bool followLast, int depth = 0) const;
  // The folder that would hold `path` (links followed), and the new entry's name.
  Node* FindParent(std::string_view path, std::string& name) const;
  // Set-up: the folder made of the first `count` names, created where missing.
  Node& MakeFolders(const Names& names, std::size_t count);
  Node& Place(std::string_view path, std::uint32_t attrs);
  Drive* FindDrive(char letter);
  FsResult Log(FsOp op, std::string_view path, FsResult result);

  // Holds a file tree for every drive letter; only added drives are reported as drives.
  std::unique_ptr<Node> top_;
  std::vector<Drive> drives_;
  std::vector<FsCall> calls_;
};

}  // namespace quorvane::fakes
