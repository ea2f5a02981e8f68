// The custom items and the bleach through the real Windows platform: real files in a
// sandbox that serves as the application folder, real registry keys under a key of this
// test process's own beneath HKEY_CURRENT_USER.

#include <gtest/gtest.h>

#include <string>

#include "clean/Bleach.h"
#include "clean/CustomItems.h"
#include "support/CountingWindows.h"
#include "support/Sandbox.h"
#include "support/TestRegistry.h"
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
  std::string ReadAll() const {
    std::string content(16384, '\0');
    DWORD got = 0;
    SetFilePointer(handle, 0, nullptr, FILE_BEGIN);
    ::ReadFile(handle, content.data(), static_cast<DWORD>(content.size()), &got, nullptr);
    return content.substr(0, got);
  }
  HANDLE handle;
};

class CustomItemsWin32Test : public ::testing::Test {
 protected:
  CustomItemsWin32Test() { app.appFolder = sandbox.Path(); }
  ~CustomItemsWin32Test() override {
    DeleteRegTree(keyPath);
    EXPECT_EQ(windows.boxes, 0);
  }

  std::string Data(std::string_view name) const { return sandbox / ("Data\\" + std::string(name)); }
  static std::string Record(std::string_view kind, std::string_view target,
                            std::string_view value = {}) {
    return "\"" + std::string(kind) + "\",\"" + std::string(target) + "\",\"" + std::string(value) +
           "\"\r\n";
  }
  void Seed(const std::string& name, std::string_view content, DWORD attributes = 0) const {
    sandbox.WriteFile("Data\\" + name, content);
    if (attributes) ASSERT_TRUE(SetFileAttributesW(LongPath(Data(name)).c_str(), attributes));
  }
  bool Exists(const std::string& name) const { return sandbox.Exists("Data\\" + name); }
  void Bleach(bool on) const {
    sandbox.WriteFile("Local.Ini", std::string("[Wash Options]\r\nAddBleach=") + (on ? "1" : "0"));
  }

  Sandbox sandbox;
  const std::string keyPath = "Software\\Quorvane Tests\\custom-" + std::to_string(GetCurrentProcessId());
  const std::string hkcuKey = "HKEY_CURRENT_USER\\" + keyPath;
  CountingWindows windows;
  win32::Win32Platform win32Platform{windows};
  Platform platform = win32Platform.platform();
  Reg32 reg{platform.registry, windows};
  Settings settings{platform.profile, sandbox / "Local.Ini"};
  AppContext app;
  CleanContext context{platform, reg, settings, app};
};

TEST_F(CustomItemsWin32Test, CarriesOutEveryItemFileAndLeavesALockedFile) {
  for (bool bleach : {false, true}) {
    SCOPED_TRACE(bleach ? "bleach on" : "bleach off");
    Bleach(bleach);
    context.filesRemoved = false;
    SetRegString(keyPath + "\\Tree\\Inner\\Deeper", "File", "x");
    SetRegString(keyPath + "\\Values", "Gone", "x");
    SetRegString(keyPath + "\\Values", "Kept", "x");
    SetRegString(keyPath + "\\Values", "", "default");
    Seed("plain.tmp", std::string(5000, 'p'));
    Seed("hidden.tmp", "h", FILE_ATTRIBUTE_HIDDEN);
    Seed("readonly.tmp", "r", FILE_ATTRIBUTE_READONLY);
    Seed("locked.tmp", "l");
    Seed("keep.txt", "k");
    Seed("Sub\\deeper.tmp", "d");
    // Kinds decide, not extensions; a binary file and a root without a sub-key do nothing.
    sandbox.WriteFile("Custom\\Registry.ac2",
                      Record("K", hkcuKey + "\\Tree") + Record("V", hkcuKey + "\\Values", "Gone") +
                          Record("V", hkcuKey + "\\Values") + Record("K", "HKEY_CURRENT_USER\\"));
    sandbox.WriteFile("Custom\\Files.ac1", Record("F", Data("*.tmp")) + Record("F", Data("Sub")));
    sandbox.WriteFile("Custom\\junk.bin",
                      std::string("\x00\x01\"\xff,\r\n\"F\",\"", 12) + Data("keep.txt"));
    {
      // Held the way another program holds a file it has open: no sharing of deletion.
      HeldFile held(Data("locked.tmp"), FILE_SHARE_READ | FILE_SHARE_WRITE);
      CleanCustomItems(context);
    }

    EXPECT_FALSE(RegKeyExists(keyPath + "\\Tree"));
    EXPECT_FALSE(RegValueExists(keyPath + "\\Values", "Gone"));
    EXPECT_FALSE(RegValueExists(keyPath + "\\Values", ""));
    EXPECT_TRUE(RegValueExists(keyPath + "\\Values", "Kept"));
    for (const char* gone : {"plain.tmp", "hidden.tmp", "readonly.tmp"}) EXPECT_FALSE(Exists(gone));
    for (const char* kept : {"locked.tmp", "keep.txt", "Sub\\deeper.tmp"}) EXPECT_TRUE(Exists(kept));
    EXPECT_TRUE(context.filesRemoved);
    EXPECT_TRUE(sandbox.Exists("Custom\\Files.ac1")) << "item files are only read";
  }
}

// The overwrite reaches the disk before the delete, and a second name of the file keeps its
// content; hidden and locked files are passed over.
TEST_F(CustomItemsWin32Test, BleachBlanksFlushedFilesAndOnlyUnlinksHardLinkedOnes) {
  Seed("secret.bin", std::string(5000, 's'));
  Seed("linked.bin", std::string(5000, 'k'));
  Seed("hidden.bin", "hidden", FILE_ATTRIBUTE_HIDDEN);
  Seed("locked.bin", "locked");
  ASSERT_TRUE(CreateHardLinkW(LongPath(sandbox / "kept.bin").c_str(),
                              LongPath(Data("linked.bin")).c_str(), nullptr));
  {
    // A reader that shares everything sees what reached the file before the delete.
    HeldFile reader(Data("secret.bin"), FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    HeldFile held(Data("locked.bin"), FILE_SHARE_READ);
    for (const char* name : {"secret.bin", "linked.bin", "hidden.bin", "locked.bin"}) {
      BleachFile(context, Data(name));
    }
    EXPECT_EQ(reader.ReadAll(), std::string(8192, ' '));
  }
  EXPECT_FALSE(Exists("secret.bin"));
  EXPECT_FALSE(Exists("linked.bin"));
  EXPECT_EQ(sandbox.ReadFile("kept.bin"), std::string(5000, 'k'));
  EXPECT_EQ(sandbox.ReadFile("Data\\hidden.bin"), "hidden");
  EXPECT_EQ(sandbox.ReadFile("Data\\locked.bin"), "locked");
  EXPECT_TRUE(context.filesRemoved);
}

}  // namespace
}  // namespace quorvane::testing
