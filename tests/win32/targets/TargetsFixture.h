#pragma once
// Runs the cleaning targets over the real Windows platform, against the real registry of
// the test prefix and real files in a sandbox. Two small decorators keep the targets
// inside the sandbox: the temporary folder is pointed at a sandbox folder (the real one
// holds the sandbox itself), and the drive list is cut down to the drives a test names
// (under Wine, Z: is the host's root folder).

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "clean/CleanContext.h"
#include "core/Reg32.h"
#include "core/SettingsKeys.h"
#include "core/platform/ForwardingFileSystem.h"
#include "core/platform/ForwardingShell.h"
#include "support/Sandbox.h"
#include "support/TestRegistry.h"
#include "win32/platform/Win32Platform.h"

namespace quorvane::testing {

class TempPathShell final : public ForwardingShell {
 public:
  using ForwardingShell::ForwardingShell;
  std::string tempPath;

  std::string GetTempPath() override { return tempPath; }
};

class ChosenDrivesFileSystem final : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  std::vector<std::string> driveNames;

  std::vector<std::string> DriveNames() override { return driveNames; }
};

// --- Files
void SetAttributesOf(const std::string& path, std::uint32_t attributes);
bool PathExists(const std::string& path);
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
