#pragma once
// A file system that hands every call to another one. Decorators derive from it and
// override only the calls they change, so a new call on the interface needs one more
// forwarder here and none in them.

#include <memory>
#include <utility>

#include "core/platform/FileSystem.h"

namespace quorvane {

// An opened file that hands every call to another one; decorators of OpenForOverwrite wrap
// the file they return in one of these and override what they change.
class ForwardingWritableFile : public WritableFile {
 public:
  explicit ForwardingWritableFile(std::unique_ptr<WritableFile> inner) : inner_(std::move(inner)) {}

  std::uint32_t Attributes() const override { return inner_->Attributes(); }
  std::uint32_t LinkCount() const override { return inner_->LinkCount(); }
  std::uint64_t Size() const override { return inner_->Size(); }
  [[nodiscard]] FsResult WriteAt(std::uint64_t offset, std::string_view bytes) override {
    return inner_->WriteAt(offset, bytes);
  }
  [[nodiscard]] FsResult Flush() override { return inner_->Flush(); }
  [[nodiscard]] FsResult Delete() override { return inner_->Delete(); }

 protected:
  WritableFile& inner() const { return *inner_; }

 private:
  std::unique_ptr<WritableFile> inner_;
};

class ForwardingFileSystem : public FileSystem {
 public:
  explicit ForwardingFileSystem(FileSystem& inner) : inner_(inner) {}

  std::vector<std::string> DriveNames() override { return inner_.DriveNames(); }
  [[nodiscard]] FsResult GetDrive(std::string_view name, DriveInfo& info) override {
    return inner_.GetDrive(name, info);
  }
  [[nodiscard]] FsResult GetVolumeLabel(std::string_view name, std::string& label) override {
    return inner_.GetVolumeLabel(name, label);
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
  [[nodiscard]] FsResult FinalPath(std::string_view folder, std::string& finalPath) override {
    return inner_.FinalPath(folder, finalPath);
  }
  [[nodiscard]] FsResult DeleteFile(std::string_view path, DeleteMode mode) override {
    return inner_.DeleteFile(path, mode);
  }
  [[nodiscard]] FsResult CreateDirectory(std::string_view path) override {
    return inner_.CreateDirectory(path);
  }
  [[nodiscard]] FsResult RemoveDirectory(std::string_view path) override {
    return inner_.RemoveDirectory(path);
  }
  [[nodiscard]] FsResult MoveFile(std::string_view from, std::string_view to,
                                  IfTargetExists ifExists) override {
    return inner_.MoveFile(from, to, ifExists);
  }
  [[nodiscard]] FsResult GetFileSize(std::string_view path, std::uint64_t& size) override {
    return inner_.GetFileSize(path, size);
  }
  [[nodiscard]] FsResult ReadFile(std::string_view path, std::string& bytes) override {
    return inner_.ReadFile(path, bytes);
  }
  [[nodiscard]] FsResult WriteFile(std::string_view path, std::string_view bytes) override {
    return inner_.WriteFile(path, bytes);
  }
  std::unique_ptr<WritableFile> OpenForOverwrite(std::string_view path, DeleteMode mode,
                                                 FsResult& result) override {
    return inner_.OpenForOverwrite(path, mode, result);
  }

 protected:
  // The decorated file system, for the calls a decorator makes besides the forwarded one.
  FileSystem& inner() const { return inner_; }

 private:
  FileSystem& inner_;
};

}  // namespace quorvane
