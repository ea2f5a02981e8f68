#pragma once
// A file system that hands every call to another one. Decorators derive from it and
// override only the calls they change, so a new call on the interface needs one more
// forwarder here and none in them.

#include "core/platform/FileSystem.h"

namespace quorvane {

class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& inner) : inner_(inner) {}

  std::vector<std::string> DriveNames() override { return inner_.DriveNames(); }
  [[nodiscard]] FsResult GetDrive(std::string_view name, DriveInfo& info) override {
    return inner_.GetDrive(name, info);
  }
  [[nodiscard]] FsResult ListDirectory(std::string_view folder,
                                       std::vector<DirEntry>& entries) override {
    return inner_.ListDirectory(folder, entries);
  }
  [[nodiscard]] FsResult GetAttributes(std::string_view path, std::uint32_t& attrs) override {
    return inner_.GetAttributes(path, attrs);
  }
  [[nodiscard]] FsResult GetShortName(std::string_view path, std::string& shortName) override {
    return inner_.GetShortName(path, shortName);
  }
  [[nodiscard]] FsResult SetAttributes(std::string_view path, std::uint32_t attrs) override {
    return inner_.SetAttributes(path, attrs);
  }
  [[nodiscard]] FsResult DeleteFile(std::string_view path) override {
    return inner_.DeleteFile(path);
  }
  [[nodiscard]] FsResult CreateDirectory(std::string_view path) override {
    return inner_.CreateDirectory(path);
  }
  [[nodiscard]] FsResult RemoveDirectory(std::string_view path) override {
    return inner_.RemoveDirectory(path);
  }
  [[nodiscard]] FsResult MoveFile(std::string_view from, std::string_view to) override {
    return inner_.MoveFile(from, to);
  }
  [[nodiscard]] FsResult GetFileSize(std::string_view path, std::uint64_t& size) override {
    return inner_.GetFileSize(path, size);
  }
  [[nodiscard]] FsResult GetLinkCount(std::string_view path, std::uint32_t& links) override {
    return inner_.GetLinkCount(path, links);
  }
  [[nodiscard]] FsResult ReadFile(std::string_view path, std::string& bytes) override {
    return inner_.ReadFile(path, bytes);
  }
  [[nodiscard]] FsResult WriteFile(std::string_view path, std::string_view bytes) override {
    return inner_.WriteFile(path, bytes);
  }
  std::unique_ptr<WritableFile> OpenForOverwrite(std::string_view path, FsResult& result) override {
    return inner_.OpenForOverwrite(path, result);
  }

 protected:
  // The decorated file system, for the calls a decorator makes besides the forwarded one.
  FileSystem& inner() const { return inner_; }

 private:
  FileSystem& inner_;
};

}  // namespace quorvane
