#pragma once
// Runs the cleaning targets over the real Windows platform, against the real registry of
// the test prefix and real files in a sandbox. Two small decorators keep the targets
// inside the sandbox: the temporary folder is pointed at a sandbox folder (the real one
// holds the sandbox itself), and the drive list is cut down to the drives a test names
// (under Wine, Z: is the host's root folder).

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "clean/CleanContext.h"
#include "core/Reg32.h"
#include "core/SettingsKeys.h"
#include "support/Sandbox.h"
#include "win32/platform/Win32Platform.h"

namespace quorvane::testing {

class TempPathShell final : public Shell {
 public:
  explicit TempPathShell(Shell& inner) : inner_(inner) {}
  std::string tempPath;

  std::string ApplicationFolder() override { return inner_.ApplicationFolder(); }
  std::string GetTempPath() override { return tempPath; }
  std::int32_t EmptyRecycleBin(std::string_view root, std::uint32_t flags) override {
    return inner_.EmptyRecycleBin(root, flags);
  }
  void ClearRecentDocuments() override { inner_.ClearRecentDocuments(); }
  std::vector<std::string> ProtectedFolders() override { return inner_.ProtectedFolders(); }
  bool StartProgram(std::string_view path, WindowStyle style) override {
    return inner_.StartProgram(path, style);
  }
  bool OpenDocument(std::string_view target) override { return inner_.OpenDocument(target); }

 private:
  Shell& inner_;
};

class ChosenDrivesFileSystem final : public FileSystem {
 public:
  explicit ChosenDrivesFileSystem(FileSystem& inner) : inner_(inner) {}
  std::vector<std::string> driveNames;

  std::vector<std::string> DriveNames() override { return driveNames; }
  FsResult GetDrive(std::string_view name, DriveInfo& info) override {
    return inner_.GetDrive(name, info);
  }
  FsResult ListDirectory(std::string_view folder, std::vector<DirEntry>& entries) override {
    return inner_.ListDirectory(folder, entries);
  }
  FsResult GetAttributes(std::string_view path, std::uint32_t& attrs) override {
    return inner_.GetAttributes(path, attrs);
  }
  FsResult SetAttributes(std::string_view path, std::uint32_t attrs) override {
    return inner_.SetAttributes(path, attrs);
  }
  FsResult DeleteFile(std::string_view path) override { return inner_.DeleteFile(path); }
  FsResult CreateDirectory(std::string_view path) override { return inner_.CreateDirectory(path); }
  FsResult RemoveDirectory(std::string_view path) override { return inner_.RemoveDirectory(path); }
  FsResult MoveFile(std::string_view from, std::string_view to) override {
    return inner_.MoveFile(from, to);
  }
  FsResult GetFileSize(std::string_view path, std::uint64_t& size) override {
    return inner_.GetFileSize(path, size);
  }
  FsResult GetLinkCount(std::string_view path, std::uint32_t& links) override {
    return inner_.GetLinkCount(path, links);
  }
  FsResult ReadFile(std::string_view path, std::string& bytes) override {
    return inner_.ReadFile(path, bytes);
  }
  FsResult WriteFile(std::string_view path, std::string_view bytes) override {
    return inner_.WriteFile(path, bytes);
  }
  std::unique_ptr<WritableFile> OpenForOverwrite(std::string_view path, FsResult& result) override {
    return inner_.OpenForOverwrite(path, result);
  }

 private:
  FileSystem& inner_;
};

// --- Direct registry access, so that seeding and checking do not go through the code under
// test. Every path is under HKEY_CURRENT_USER.
void SetRegString(const std::string& key, const std::string& name, const std::string& value);
std::string GetRegString(const std::string& key, const std::string& name);
bool RegKeyExists(const std::string& key);
bool RegValueExists(const std::string& key, const std::string& name);
std::vector<std::string> RegValueNames(const std::string& key);
void DeleteRegTree(const std::string& key);
void DeleteRegValue(const std::string& key, const std::string& name);

// --- Files
void SetAttributesOf(const std::string& path, std::uint32_t attributes);
bool PathExists(const std::string& path);
// The host's path of a Windows path under Wine; empty elsewhere.
std::string UnixPath(const std::string& path);
// A host symbolic link at `link` to `target` (both Windows paths). False when not under
// Wine or when the link was not made.
bool MakeHostSymlink(const std::string& target, const std::string& link);
// A drive name ("q:") that the system does not know.
std::string UnusedDriveName();
// Writes a small file (creating its folders) and gives it the attributes.
void WriteRealFile(const std::string& path, std::uint32_t attributes);
// Removes a file or a folder tree, whatever its attributes; missing paths are fine.
void RemoveTree(const std::string& path);
// Under Wine the recycle bin is the host's trash in XDG_DATA_HOME: points it at `folder`
// (a Windows path), or back at the default when `folder` is empty. False elsewhere.
bool RedirectHostTrash(const std::string& folder);
// Removes a host symbolic link itself, which the Windows calls cannot do under Wine.
void RemoveHostSymlink(const std::string& link);

class TargetsTest : public ::testing::Test {
 protected:
  TargetsTest();

  win32::Win32Platform real;
  Platform base = real.platform();
  TempPathShell shell{base.shell};
  ChosenDrivesFileSystem files{base.files};
  Platform platform{base.registry, base.profile, base.userSettings, files,          shell,
                    base.windows,  base.codec,   base.urlCache,     base.urlHistory};
  Reg32 reg{platform.registry, platform.windows};
  Sandbox sandbox;
  std::string iniFile = sandbox / "Local.Ini";
  Settings settings{platform.profile, iniFile};
  AppContext app;
  CleanContext context{platform, reg, settings, app};
};

}  // namespace quorvane::testing
