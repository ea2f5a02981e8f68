// The registry implementation and the registry layer over the real registry, inside a key
// of this test process's own under HKEY_CURRENT_USER that is removed after every test.

#include "win32/platform/Win32Registry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Reg32.h"
#include "support/CountingWindows.h"
#include "support/TestRegistry.h"
#include "win32/platform/WideText.h"

#include <windows.h>
#undef MessageBox

namespace quorvane::win32 {
namespace {

using namespace std::string_literals;
using quorvane::testing::RegKeyExists;
using quorvane::testing::RegValueNames;
constexpr RegKey HKCU = reg_root::CurrentUser;
// "Журнал": six Cyrillic letters, outside the ANSI code page of a Western system.
const std::string kCyrillic = "\xD0\x96\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB";

class Win32RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    quorvane::testing::DeleteRegTree(base);
    EXPECT_EQ(windows.boxes, 0);
  }
  std::string Path(std::string_view relative) const { return base + "\\" + std::string(relative); }
  void Set(std::string_view relative, std::string_view name, std::uint32_t type,
           std::string_view data) {
    RegKey key = 0;
    ASSERT_EQ(registry.CreateKey(HKCU, Path(relative), key), reg_status::Success);
    EXPECT_EQ(registry.SetValue(key, name, type, data), reg_status::Success);
    EXPECT_EQ(registry.CloseKey(key), reg_status::Success);
  }

  const std::string base = "Software\\QuorvaneTest-" + std::to_string(GetCurrentProcessId());
  Win32Registry registry;
  quorvane::testing::CountingWindows windows;
  Reg32 reg{registry, windows};
};

TEST_F(Win32RegistryTest, ReportsThePlatformStatusCodes) {
  Set("Parent\\abc", "v", REG_SZ, "x");
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
  EXPECT_EQ(registry.EnumValue(key, 0, 4, name, &type, &data, 9), reg_status::MoreData);
  EXPECT_EQ(registry.EnumValue(key, 0, 4, name, &type, &data, 10), reg_status::Success);
  EXPECT_EQ(name, "xyz");
  EXPECT_EQ(type, reg_type::Binary);
  EXPECT_EQ(data, std::string(10, 'd'));
  std::uint32_t size = 9;
  EXPECT_EQ(registry.QueryValue(key, "XYZ", type, &data, size), reg_status::MoreData);
  EXPECT_EQ(size, 10u);
  EXPECT_EQ(registry.DeleteValue(key, "missing"), reg_status::NotFound);
  KeyInfo info;
  ASSERT_EQ(registry.QueryInfoKey(key, info), reg_status::Success);
  EXPECT_EQ(info.SubKeyCount, 1u);
  EXPECT_EQ(info.MaxValueNameLen, 3u);
  EXPECT_EQ(registry.CloseKey(key), reg_status::Success);

  // The root itself, opened by the empty path, can be used and closed like any key.
  ASSERT_EQ(registry.OpenKey(HKCU, "", KEY_READ, key), reg_status::Success);
  RegKey child = 0;
  EXPECT_EQ(registry.OpenKey(key, base, 0, child), reg_status::Success);
  EXPECT_EQ(registry.CloseKey(child), reg_status::Success);
  EXPECT_EQ(registry.CloseKey(key), reg_status::Success);
  ASSERT_EQ(registry.OpenKey(reg_root::LocalMachine, "Software", 0, key), reg_status::Success);
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
  // Twelve UTF-8 bytes and the NUL, though the platform stores seven characters.
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

  // Written back without a NUL, and only into a key that exists.
  reg.SetStringValue(Path("K"), "Tool", "abc");
  HKEY raw = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Widen(Path("K")).c_str(), 0, KEY_READ, &raw),
            ERROR_SUCCESS);
  DWORD written = 0;
  EXPECT_EQ(RegQueryValueExW(raw, L"Tool", nullptr, nullptr, nullptr, &written), ERROR_SUCCESS);
  RegCloseKey(raw);
  EXPECT_EQ(written, 3 * sizeof(wchar_t));
  reg.SetStringValue(Path("Missing"), "Tool", "abc");
  EXPECT_FALSE(RegKeyExists(Path("Missing")));
}

TEST_F(Win32RegistryTest, DeleteKeyTreeRemovesDeepLongAndNonAnsiNames) {
  const std::string longName(45, 'L');
  reg.CreateKey(HKCU, Path("T\\A\\A1\\A11"));
  Set("T\\B\\" + longName + "\\" + longName, "v", REG_SZ, "x");
  Set("T\\" + kCyrillic + "\\" + kCyrillic, "v", REG_SZ, "x");
  Set("Sibling", "v", REG_SZ, "x");
  EXPECT_TRUE(RegKeyExists(Path("T\\A\\A1\\A11")));

  EXPECT_EQ(reg.DeleteKeyTree(HKCU, Path("T")), reg_status::Success);
  EXPECT_FALSE(RegKeyExists(Path("T")));
  EXPECT_TRUE(RegKeyExists(Path("Sibling")));
  EXPECT_EQ(reg.DeleteKeyTree(HKCU, Path("T")), reg_status::NotFound);
}

TEST_F(Win32RegistryTest, DeleteValuesByPrefixGoesPastLargeDataAndLongNames) {
  const std::string longKept(300, 'k');
  Set("S", "MRU1", REG_SZ, "a");
  Set("S", "Big", REG_BINARY, std::string(10000, 'b'));
  Set("S", "mruBig", REG_BINARY, std::string(10000, 'b'));
  Set("S", longKept, REG_SZ, "x");
  Set("S", "MRU" + std::string(297, 'n'), REG_SZ, "x");
  Set("S", "MRU" + kCyrillic, REG_SZ, "x");
  Set("S", "Settings", REG_SZ, "x");

  reg.DeleteValuesByPrefix(Path("S"), "MRU");
  EXPECT_EQ(RegValueNames(Path("S")), (std::vector<std::string>{"Big", longKept, "Settings"}));
  reg.DeleteValue(HKCU, Path("S"), "big");
  EXPECT_EQ(RegValueNames(Path("S")), (std::vector<std::string>{longKept, "Settings"}));
}

}  // namespace
}  // namespace quorvane::win32
