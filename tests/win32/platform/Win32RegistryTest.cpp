// The registry implementation and the registry layer over the real registry, inside a key
// of this test process's own under HKEY_CURRENT_USER that is removed after every test.

#include "win32/platform/Win32Registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Reg32.h"
#include "support/CountingWindows.h"
#include "win32/platform/WideText.h"

#include <windows.h>
#undef MessageBox

namespace quorvane::win32 {
namespace {

using namespace std::string_literals;
constexpr RegKey HKCU = reg_root::CurrentUser;
// "Журнал": six Cyrillic letters, outside the ANSI code page of a Western system.
const std::string kCyrillic = "\xD0\x96\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB";

using quorvane::testing::CountingWindows;

class Win32RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegKey key = 0;
    ASSERT_EQ(registry.CreateKey(HKCU, base, key), reg_status::Success);
    EXPECT_EQ(registry.CloseKey(key), reg_status::Success);
  }
  void TearDown() override {
    EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, Widen(base).c_str()), ERROR_SUCCESS);
    EXPECT_EQ(windows.boxes, 0);
  }

  std::string Path(std::string_view relative) const { return base + "\\" + std::string(relative); }
  void MakeKey(std::string_view relative) {
    RegKey key = 0;
    ASSERT_EQ(registry.CreateKey(HKCU, Path(relative), key), reg_status::Success);
    EXPECT_EQ(registry.CloseKey(key), reg_status::Success);
  }
  void Set(std::string_view relative, std::string_view name, std::uint32_t type,
           std::string_view data) {
    RegKey key = 0;
    ASSERT_EQ(registry.CreateKey(HKCU, Path(relative), key), reg_status::Success);
    EXPECT_EQ(registry.SetValue(key, name, type, data), reg_status::Success);
    EXPECT_EQ(registry.CloseKey(key), reg_status::Success);
  }
  bool KeyExists(std::string_view relative) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(Path(relative)).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS) {
      return false;
    }
    RegCloseKey(key);
    return true;
  }
  std::vector<std::string> ValueNames(std::string_view relative) {
    std::vector<std::string> names;
    RegKey key = 0;
    if (registry.OpenKey(HKCU, Path(relative), KEY_READ, key) != reg_status::Success) return names;
    std::string name;
    for (std::uint32_t i = 0;
         registry.EnumValue(key, i, 16384, name, nullptr, nullptr, 0) == reg_status::Success; ++i) {
      names.push_back(name);
    }
    EXPECT_EQ(registry.CloseKey(key), reg_status::Success);
    return names;
  }

  const std::string base = "Software\\QuorvaneTest-" + std::to_string(GetCurrentProcessId());
  Win32Registry registry;
  CountingWindows windows;
  Reg32 reg{registry, windows};
};

TEST_F(Win32RegistryTest, ReportsThePlatformStatusCodes) {
  MakeKey("Parent\\abc");
  Set("Parent", "xyz", REG_BINARY, std::string(10, 'd'));

  EXPECT_EQ(registry.DeleteKey(HKCU, Path("Parent")), reg_status::AccessDenied);
  EXPECT_EQ(registry.DeleteKey(HKCU, Path("Missing")), reg_status::NotFound);
  RegKey key = 0;
  EXPECT_EQ(registry.OpenKey(HKCU, Path("Missing"), 0, key), reg_status::NotFound);
  ASSERT_EQ(registry.OpenKey(HKCU, Path("Parent"), kRegAccessChange, key), reg_status::Success);

  std::string name;
  EXPECT_EQ(registry.EnumKey(key, 0, 3, name), reg_status::MoreData);
  EXPECT_EQ(registry.EnumKey(key, 0, 4, name), reg_status::Success);
  EXPECT_EQ(name, "abc");
  EXPECT_EQ(registry.EnumKey(key, 1, 256, name), reg_status::NoMoreItems);

  std::uint32_t type = 0;
  std::string data;
  EXPECT_EQ(registry.EnumValue(key, 0, 3, name, nullptr, nullptr, 0), reg_status::MoreData);
  EXPECT_EQ(registry.EnumValue(key, 0, 4, name, &type, &data, 9), reg_status::MoreData);
  EXPECT_EQ(registry.EnumValue(key, 0, 4, name, &type, &data, 10), reg_status::Success);
  EXPECT_EQ(name, "xyz");
  EXPECT_EQ(type, reg_type::Binary);
  EXPECT_EQ(data, std::string(10, 'd'));
  EXPECT_EQ(registry.EnumValue(key, 1, 256, name, nullptr, nullptr, 0), reg_status::NoMoreItems);

  std::uint32_t size = 0;
  EXPECT_EQ(registry.QueryValue(key, "missing", type, nullptr, size), reg_status::NotFound);
  size = 9;
  EXPECT_EQ(registry.QueryValue(key, "XYZ", type, &data, size), reg_status::MoreData);
  EXPECT_EQ(size, 10u);
  EXPECT_EQ(registry.DeleteValue(key, "missing"), reg_status::NotFound);

  KeyInfo info;
  ASSERT_EQ(registry.QueryInfoKey(key, info), reg_status::Success);
  EXPECT_EQ(info.SubKeyCount, 1u);
  EXPECT_EQ(info.MaxSubKeyLen, 3u);
  EXPECT_EQ(info.ValueCount, 1u);
  EXPECT_EQ(info.MaxValueNameLen, 3u);
  EXPECT_GE(info.MaxValueLen, 10u);
  EXPECT_EQ(registry.CloseKey(key), reg_status::Success);
}

TEST_F(Win32RegistryTest, RootsMapToThePredefinedKeys) {
  RegKey key = 0;
  ASSERT_EQ(registry.OpenKey(HKCU, base, KEY_READ, key), reg_status::Success);
  EXPECT_GT(key, 0u);
  EXPECT_EQ(registry.CloseKey(key), reg_status::Success);
  ASSERT_EQ(registry.OpenKey(reg_root::LocalMachine, "Software", 0, key), reg_status::Success);
  EXPECT_EQ(registry.CloseKey(key), reg_status::Success);
  // The root itself, opened by the empty path, can be used and closed like any key.
  ASSERT_EQ(registry.OpenKey(HKCU, "", KEY_READ, key), reg_status::Success);
  RegKey child = 0;
  EXPECT_EQ(registry.OpenKey(key, base, 0, child), reg_status::Success);
  EXPECT_EQ(registry.CloseKey(child), reg_status::Success);
  EXPECT_EQ(registry.CloseKey(key), reg_status::Success);
}

TEST_F(Win32RegistryTest, StringTypesAreKeptApartAndConvertedToUtf8) {
  Set("K", "Plain", REG_SZ, "C:\\x");
  Set("K", "Expand", REG_EXPAND_SZ, "%TEMP%\\x");
  Set("K", "Nul", REG_SZ, "abc\0def"s);
  Set("K", kCyrillic, REG_SZ, kCyrillic + "\0"s);

  RegKey key = 0;
  ASSERT_EQ(registry.OpenKey(HKCU, Path("K"), 0, key), reg_status::Success);
  std::uint32_t type = 0, size = 0;
  std::string data;
  ASSERT_EQ(registry.QueryValue(key, "Expand", type, nullptr, size), reg_status::Success);
  EXPECT_EQ(type, reg_type::ExpandString);
  ASSERT_EQ(registry.QueryValue(key, "Nul", type, nullptr, size), reg_status::Success);
  EXPECT_EQ(type, reg_type::String);
  EXPECT_EQ(size, 7u);

  // Twelve UTF-8 bytes and the NUL, though the platform stores seven characters.
  ASSERT_EQ(registry.QueryValue(key, kCyrillic, type, nullptr, size), reg_status::Success);
  EXPECT_EQ(size, 13u);
  size = 12;
  EXPECT_EQ(registry.QueryValue(key, kCyrillic, type, &data, size), reg_status::MoreData);
  EXPECT_EQ(size, 13u);
  ASSERT_EQ(registry.QueryValue(key, kCyrillic, type, &data, size), reg_status::Success);
  EXPECT_EQ(data, kCyrillic + "\0"s);
  EXPECT_EQ(registry.CloseKey(key), reg_status::Success);

  EXPECT_EQ(reg.GetStringValue(HKCU, Path("K"), "Plain"), "C:\\x");
  EXPECT_EQ(reg.GetStringValue(HKCU, Path("K"), "Expand"), "");
  EXPECT_EQ(reg.GetStringValue(HKCU, Path("K"), "Nul"), "abc");
  EXPECT_EQ(reg.GetStringValue(HKCU, Path("K"), kCyrillic), kCyrillic);
  EXPECT_EQ(reg.GetStringValue(HKCU, Path("K"), "Missing"), "");
  EXPECT_EQ(reg.GetStringValue(HKCU, Path("Missing"), "Plain"), "");
}

TEST_F(Win32RegistryTest, SetStringValueStoresTheTextWithoutANul) {
  MakeKey("Run");
  reg.SetStringValue(Path("Run"), "Tool", "abc");

  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, Path("Run").c_str(), 0, KEY_READ, &key),
            ERROR_SUCCESS);
  char buffer[16] = {};
  DWORD type = 0, size = sizeof(buffer);
  ASSERT_EQ(RegQueryValueExA(key, "Tool", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(std::string(buffer, 3), "abc");
  RegCloseKey(key);

  reg.SetStringValue(Path("Missing"), "Tool", "abc");
  EXPECT_FALSE(KeyExists("Missing"));
}

TEST_F(Win32RegistryTest, DeleteKeyTreeRemovesDeepLongAndNonAnsiNames) {
  const std::string longName(45, 'L');
  MakeKey("T\\A\\A1\\A11");
  MakeKey("T\\A\\A2");
  MakeKey("T\\B\\" + longName + "\\" + longName);
  MakeKey("T\\" + kCyrillic + "\\" + kCyrillic);
  Set("T\\A\\A1\\A11", "v", REG_SZ, "x");
  MakeKey("Sibling");

  EXPECT_EQ(reg.DeleteKeyTree(HKCU, Path("T")), reg_status::Success);
  EXPECT_FALSE(KeyExists("T"));
  EXPECT_TRUE(KeyExists("Sibling"));
  EXPECT_EQ(reg.DeleteKeyTree(HKCU, Path("T")), reg_status::NotFound);
  EXPECT_EQ(reg.DeleteKeyTree(HKCU, Path("Sibling")), reg_status::Success);
  EXPECT_FALSE(KeyExists("Sibling"));
}

TEST_F(Win32RegistryTest, CreateKeyCreatesEveryLevel) {
  reg.CreateKey(HKCU, Path("A\\B\\C"));
  EXPECT_TRUE(KeyExists("A\\B\\C"));
}

TEST_F(Win32RegistryTest, DeleteValuesByPrefixGoesPastLargeDataAndLongNames) {
  const std::string longMatch = "MRU" + std::string(297, 'n');
  const std::string longKept(300, 'k');
  Set("S", "MRU1", REG_SZ, "a");
  Set("S", "Big", REG_BINARY, std::string(10000, 'b'));
  Set("S", "mruBig", REG_BINARY, std::string(10000, 'b'));
  Set("S", longKept, REG_SZ, "x");
  Set("S", longMatch, REG_SZ, "x");
  Set("S", "MRUList", REG_SZ, "ab");
  Set("S", "MRU" + kCyrillic, REG_SZ, "x");
  Set("S", "Settings", REG_SZ, "x");

  reg.DeleteValuesByPrefix(Path("S"), "MRU");
  EXPECT_EQ(ValueNames("S"), (std::vector<std::string>{"Big", longKept, "Settings"}));

  reg.DeleteValue(HKCU, Path("S"), "big");
  EXPECT_EQ(ValueNames("S"), (std::vector<std::string>{longKept, "Settings"}));
}

}  // namespace
}  // namespace quorvane::win32
