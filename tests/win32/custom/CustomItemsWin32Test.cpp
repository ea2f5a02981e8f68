// The custom items with the bleach on, through the real Windows platform, on real files in
// a sandbox that serves as the application folder.

#include <gtest/gtest.h>

#include <string>

#include "clean/CustomItems.h"
#include "support/CountingWindows.h"
#include "support/Sandbox.h"
#include "win32/platform/WideText.h"
#include "win32/platform/Win32Platform.h"

#include <windows.h>
#undef MessageBox

namespace quorvane::testing {
namespace {

using win32::LongPath;

// A handle that the test holds like another program would.
struct HeldFile {
  HeldFile(const std::string& path, DWORD share)
      : handle(CreateFileW(LongPath(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0,
                           nullptr)) {}
  ~HeldFile() { CloseHandle(handle); }
  HANDLE handle;
};

class CustomItemsWin32Test : public ::testing::Test {
 protected:
  CustomItemsWin32Test() { app.appFolder = sandbox.Path(); }
  ~CustomItemsWin32Test() override { EXPECT_EQ(windows.boxes, 0); }

  Sandbox sandbox;
  const std::string keyPath =
      "Software\\Quorvane Tests\\custom-" + std::to_string(GetCurrentProcessId());
  CountingWindows windows;
  win32::Win32Platform win32Platform{windows};
  Platform platform = win32Platform.platform();
  Reg32 reg{platform.registry, windows};
  Settings settings{platform.profile, sandbox / "Local.Ini"};
  AppContext app;
  CleanContext context{platform, reg, settings, app};
};

// Every matched file is blanked, flushed and deleted; a second name of a file keeps its
// content, and a file another program holds stays as it is while the rest goes on.
TEST_F(CustomItemsWin32Test, BleachBlanksFlushedFilesOnlyUnlinksHardLinksAndLeavesLockedOnes) {
  sandbox.WriteFile("Local.Ini", "[Wash Options]\r\nAddBleach=1\r\n");
  for (const char* name : {"secret.tmp", "hidden.tmp", "readonly.tmp", "linked.tmp"}) {
    sandbox.WriteFile(std::string("Data\\") + name, std::string(5000, name[0]));
  }
  sandbox.WriteFile("Data\\locked.tmp", "locked");
  ASSERT_TRUE(
      SetFileAttributesW(LongPath(sandbox / "Data\\hidden.tmp").c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(SetFileAttributesW(LongPath(sandbox / "Data\\readonly.tmp").c_str(),
                                 FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(CreateHardLinkW(LongPath(sandbox / "kept.bin").c_str(),
                              LongPath(sandbox / "Data\\linked.tmp").c_str(), nullptr));
  sandbox.WriteFile("Custom\\Items.ac1", "\"F\",\"" + (sandbox / "Data\\*.tmp") + "\",\"\"\r\n");
  {
    // A reader that shares everything sees what reached the file before the delete.
    HeldFile reader(sandbox / "Data\\secret.tmp",
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    HeldFile held(sandbox / "Data\\locked.tmp", FILE_SHARE_READ);
    CleanCustomItems(context);
    std::string seen(16384, '\0');
    DWORD got = 0;
    ASSERT_TRUE(
        ::ReadFile(reader.handle, seen.data(), static_cast<DWORD>(seen.size()), &got, nullptr));
    EXPECT_EQ(seen.substr(0, got), std::string(8192, ' '));
  }
  for (const char* gone : {"secret.tmp", "hidden.tmp", "readonly.tmp", "linked.tmp"}) {
    EXPECT_FALSE(sandbox.Exists(std::string("Data\\") + gone)) << gone;
  }
  EXPECT_EQ(sandbox.ReadFile("kept.bin"), std::string(5000, 'l'));
  EXPECT_EQ(sandbox.ReadFile("Data\\locked.tmp"), "locked");
  EXPECT_TRUE(context.filesRemoved);
}

}  // namespace
}  // namespace quorvane::testing
