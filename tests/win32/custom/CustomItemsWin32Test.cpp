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

namespace quorvane {
namespace {

using win32::LongPath;

using quorvane::testing::CountingWindows;
using quorvane::testing::DeleteRegTree;
using quorvane::testing::RegKeyExists;
using quorvane::testing::RegValueExists;
using quorvane::testing::SetRegString;

// A handle that the test holds like another program would.
class HeldFile {
 public:
  HeldFile(const std::string& path, DWORD access, DWORD share)
      : handle_(CreateFileW(LongPath(path).c_str(), access, share, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldFile() {
    if (valid()) CloseHandle(handle_);
  }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  std::string ReadAll() const {
    std::string content;
    char buffer[4096];
    DWORD got = 0;
    SetFilePointer(handle_, 0, nullptr, FILE_BEGIN);
    while (::ReadFile(handle_, buffer, sizeof buffer, &got, nullptr) && got > 0) {
      content.append(buffer, got);
    }
    return content;
  }

 private:
  HANDLE handle_;
};

class CustomItemsWin32Test : public ::testing::Test {
 protected:
  CustomItemsWin32Test() {
    app.appFolder = sandbox.Path();
    sandbox.MakeFolder("Custom");
  }
  ~CustomItemsWin32Test() override {
    DeleteRegTree(keyPath);
    EXPECT_EQ(windows.boxes, 0);
  }

  std::string Data(std::string_view name) const { return sandbox / ("Data\\" + std::string(name)); }
  void Item(std::string_view fileName, std::string_view content) const {
    sandbox.WriteFile("Custom\\" + std::string(fileName), content);
  }
  static std::string Record(std::string_view kind, std::string_view target,
                            std::string_view value = {}) {
    return "\"" + std::string(kind) + "\",\"" + std::string(target) + "\",\"" + std::string(value) +
           "\"\r\n";
  }
  void SetAttributes(const std::string& path, DWORD attributes) const {
    ASSERT_TRUE(SetFileAttributesW(LongPath(path).c_str(), attributes));
  }
  static bool Exists(const std::string& path) {
    return GetFileAttributesW(LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  void Bleach(bool on) const {
    sandbox.WriteFile("Local.Ini",
                      std::string("[Wash Options]\r\nAddBleach=") + (on ? "1" : "0") + "\r\n");
  }

  quorvane::testing::Sandbox sandbox;
  const std::string keyPath =
      "Software\\Quorvane Tests\\custom-" + std::to_string(GetCurrentProcessId());
  const std::string hkcuKey = "HKEY_CURRENT_USER\\" + keyPath;
  CountingWindows windows;
  win32::Win32Platform win32Platform{windows};
  Platform platform = win32Platform.platform();
  Reg32 reg{platform.registry, windows};
  Settings settings{platform.profile, sandbox / "Local.Ini"};
  AppContext app;
  CleanContext context{platform, reg, settings, app};
};

TEST_F(CustomItemsWin32Test, CarriesOutEveryItemFileOfTheFolder) {
  for (bool bleach : {false, true}) {
    SCOPED_TRACE(bleach ? "bleach on" : "bleach off");
    Bleach(bleach);
    context.filesRemoved = false;
    SetRegString(keyPath + "\\Tree\\Inner\\Deeper", "File", "x");
    SetRegString(keyPath + "\\Values", "Gone", "x");
    SetRegString(keyPath + "\\Values", "Kept", "x");
    SetRegString(keyPath + "\\Values", "", "default");
    sandbox.WriteFile("Data\\plain.tmp", std::string(5000, 'p'));
    sandbox.WriteFile("Data\\hidden.tmp", "h");
    sandbox.WriteFile("Data\\readonly.tmp", "r");
    sandbox.WriteFile("Data\\keep.txt", "k");
    sandbox.WriteFile("Data\\Sub\\deeper.tmp", "d");
    SetAttributes(Data("hidden.tmp"), FILE_ATTRIBUTE_HIDDEN);
    SetAttributes(Data("readonly.tmp"), FILE_ATTRIBUTE_READONLY);
    // Kinds decide, not extensions; a binary file and a root without a sub-key do nothing.
    Item("Registry.ac2",
         Record("K", hkcuKey + "\\Tree") + Record("V", hkcuKey + "\\Values", "Gone") +
             Record("V", hkcuKey + "\\Values") + Record("K", "HKEY_CURRENT_USER\\"));
    Item("Files.ac1", Record("F", Data("*.tmp")) + Record("F", sandbox / "Data\\Sub"));
    Item("junk.bin", std::string("\x00\x01\"\xff,\r\n\"F\",\"", 12) + Data("keep.txt"));

    CleanCustomItems(context);

    EXPECT_FALSE(RegKeyExists(keyPath + "\\Tree"));
    EXPECT_FALSE(RegValueExists(keyPath + "\\Values", "Gone"));
    EXPECT_FALSE(RegValueExists(keyPath + "\\Values", ""));
    EXPECT_TRUE(RegValueExists(keyPath + "\\Values", "Kept"));
    EXPECT_FALSE(Exists(Data("plain.tmp")));
    EXPECT_FALSE(Exists(Data("hidden.tmp")));
    EXPECT_FALSE(Exists(Data("readonly.tmp")));
    EXPECT_TRUE(Exists(Data("keep.txt")));
    EXPECT_TRUE(Exists(Data("Sub\\deeper.tmp")));
    EXPECT_TRUE(context.filesRemoved);
    EXPECT_TRUE(Exists(sandbox / "Custom\\Files.ac1")) << "item files are only read";
  }
}

TEST_F(CustomItemsWin32Test, ALockedFileIsLeftAndTheRunGoesOn) {
  for (bool bleach : {false, true}) {
    SCOPED_TRACE(bleach ? "bleach on" : "bleach off");
    Bleach(bleach);
    sandbox.WriteFile("Data\\a-locked.log", "locked");
    sandbox.WriteFile("Data\\b-free.log", "free");
    Item("Logs.ac2", Record("F", Data("*.log")));
    {
      // Held the way another program holds a file it has open: no sharing of deletion.
      HeldFile held(Data("a-locked.log"), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
      ASSERT_TRUE(held.valid());
      CleanCustomItems(context);
    }
    EXPECT_TRUE(Exists(Data("a-locked.log")));
    EXPECT_FALSE(Exists(Data("b-free.log")));
    ASSERT_TRUE(DeleteFileW(LongPath(Data("a-locked.log")).c_str()));
  }
}

TEST_F(CustomItemsWin32Test, BleachLeavesBlanksOnTheDiskAndRemovesTheFile) {
  sandbox.WriteFile("Data\\secret.bin", std::string(5000, 's'));
  {
    // A reader that shares everything sees what reached the file before the delete.
    HeldFile reader(Data("secret.bin"), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_TRUE(reader.valid());
    BleachFile(context, Data("secret.bin"));
    EXPECT_EQ(reader.ReadAll(), std::string(8192, ' '));
  }
  EXPECT_FALSE(Exists(Data("secret.bin")));
  EXPECT_TRUE(context.filesRemoved);

  context.filesRemoved = false;
  BleachFile(context, Data("missing.bin"));
  EXPECT_FALSE(context.filesRemoved);
}

TEST_F(CustomItemsWin32Test, BleachOfAHardLinkedFileKeepsTheOtherName) {
  sandbox.WriteFile("Data\\linked.bin", std::string(5000, 'k'));
  sandbox.MakeFolder("Backup");
  ASSERT_TRUE(CreateHardLinkW(LongPath(sandbox / "Backup\\kept.bin").c_str(),
                              LongPath(Data("linked.bin")).c_str(), nullptr));

  BleachFile(context, Data("linked.bin"));

  EXPECT_FALSE(Exists(Data("linked.bin")));
  EXPECT_EQ(sandbox.ReadFile("Backup\\kept.bin"), std::string(5000, 'k'));
  EXPECT_TRUE(context.filesRemoved);
}

TEST_F(CustomItemsWin32Test, BleachPassesOverHiddenFilesAndLeavesLockedOnes) {
  sandbox.WriteFile("Data\\hidden.bin", "hidden");
  SetAttributes(Data("hidden.bin"), FILE_ATTRIBUTE_HIDDEN);
  BleachFile(context, Data("hidden.bin"));
  EXPECT_EQ(sandbox.ReadFile("Data\\hidden.bin"), "hidden");

  sandbox.WriteFile("Data\\locked.bin", "locked");
  {
    HeldFile held(Data("locked.bin"), GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(held.valid());
    BleachFile(context, Data("locked.bin"));
  }
  EXPECT_EQ(sandbox.ReadFile("Data\\locked.bin"), "locked");
  EXPECT_FALSE(context.filesRemoved);
}

}  // namespace
}  // namespace quorvane
