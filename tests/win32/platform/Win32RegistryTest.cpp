// The registry implementation, the registry layer and the per-user settings against the real
// registry, under a key of the test's own in HKEY_CURRENT_USER.

#include "win32/platform/Win32Registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "core/Reg32.h"
#include "support/CountingWindows.h"
#include "support/TestRegistry.h"
#include "win32/platform/WideText.h"
#include "win32/platform/Win32UserSettings.h"

namespace quorvane::win32 {
namespace {

using namespace std::string_literals;
using namespace quorvane::testing;
constexpr RegKey HKCU = reg_root::CurrentUser;
const std::string kBase = "Software\\QuorvanePlatformTest";
const std::string kCyrillic = "\xD0\x96\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB";  // not ANSI

class Win32RegistryTest : public ::testing::Test {
 protected:
  void TearDown() override { DeleteRegTree(kBase); }
  void Set(const std::string& key, std::string_view name, std::uint32_t type,
           std::string_view data) {
    RegKey opened = 0;
    ASSERT_EQ(registry.CreateKey(HKCU, kBase + "\\" + key, opened), reg_status::Success);
    EXPECT_EQ(registry.SetValue(opened, name, type, data), reg_status::Success);
    registry.CloseKey(opened);
  }
  Win32Registry registry;
  CountingWindows windows;
  Reg32 reg{registry, windows};
};

TEST_F(Win32RegistryTest, ReportsStatusCodesKeepsStringTypesApartAndSizesInUtf8) {
  Set("P\\abc", "Expand", reg_type::ExpandString, "%TEMP%");
  Set("P", "Nul", reg_type::String, "abc\0def"s);
  Set("P", kCyrillic, reg_type::String, kCyrillic + "\0"s);
  reg.SetStringValue(kBase + "\\P", "Tool", "abc");
  EXPECT_EQ(registry.DeleteKey(HKCU, kBase + "\\P"), reg_status::AccessDenied);
  EXPECT_EQ(registry.DeleteKey(HKCU, kBase + "\\Missing"), reg_status::NotFound);
  EXPECT_EQ(reg.GetStringValue(HKCU, kBase + "\\P\\abc", "Expand"), "");
  EXPECT_EQ(reg.GetStringValue(HKCU, kBase + "\\P", "Nul"), "abc");
  // A number or an oversized binary where text is expected reads as no text.
  Set("P", "Number", reg_type::Dword, "\x61\0\0\0"s);
  Set("P", "Huge", reg_type::Binary, std::string(4 << 20, 'h'));
  EXPECT_EQ(reg.GetStringValue(HKCU, kBase + "\\P", "Number"), "");
  EXPECT_EQ(reg.GetStringValue(HKCU, kBase + "\\P", "Huge"), "");
  RegKey key = 0;
  ASSERT_EQ(registry.OpenKey(HKCU, kBase + "\\P", kRegAccessChange, key), reg_status::Success);
  std::string name;
  EXPECT_EQ(registry.EnumKey(key, 0, 3, name), reg_status::MoreData);
  EXPECT_EQ(registry.EnumKey(key, 1, 4, name), reg_status::NoMoreItems);
  // Twelve UTF-8 bytes and the NUL, though the platform stores seven characters.
  std::uint32_t type = 0, size = 12;
  EXPECT_EQ(registry.QueryValue(key, kCyrillic, type, &name, size), reg_status::MoreData);
  EXPECT_EQ(size, 13u);
  EXPECT_EQ(registry.QueryValue(key, "Tool", type, nullptr, size), reg_status::Success);
  EXPECT_EQ(size, 3u);  // written without a NUL
  registry.CloseKey(key);
}

TEST_F(Win32RegistryTest, DeleteKeyTreeAndValuesByPrefixReachLongAndNonAnsiNames) {
  const std::string longName(300, 'L'), longKey(45, 'K');
  Set("T\\" + kCyrillic + "\\" + longKey + "\\" + longKey, "v", reg_type::String, "x");
  for (const std::string& name : {"MRU1"s, "MRU" + longName, "MRU" + kCyrillic, longName}) {
    Set("S", name, reg_type::String, "x");
  }
  Set("S", "Big", reg_type::Binary, std::string(10000, 'b'));
  Set("S", "mruBig", reg_type::Binary, std::string(10000, 'b'));
  EXPECT_EQ(reg.DeleteKeyTree(HKCU, kBase + "\\T"), reg_status::Success);
  EXPECT_FALSE(RegKeyExists(kBase + "\\T"));
  reg.DeleteValuesByPrefix(kBase + "\\S", "MRU");
  EXPECT_EQ(RegValueNames(kBase + "\\S"), (std::vector<std::string>{"Big", longName}));
  EXPECT_EQ(windows.boxes, 0);
}

TEST(Win32UserSettingsTest, SavesReadsListsAndDeletesWhereSuchSettingsLive) {
  const std::string app = "QuorvanePlatformTest", path = "C:\\Users\\J\xC3\xBCrgen";
  const std::string key = "Software\\VB and VBA Program Settings\\" + app;
  Win32UserSettings settings;
  settings.SaveSetting(app, "NProfile", "1", path);
  settings.SaveSetting(app, "NProfile", "Selected", "1");
  EXPECT_EQ(GetRegString(key + "\\NProfile", "1"), path);
  EXPECT_EQ(settings.GetSetting(app, "nprofile", "SELECTED", "0"), "1");
  EXPECT_EQ(settings.GetSetting(app, "NProfile", "Other", "dflt"), "dflt");
  settings.DeleteSetting(app, "NProfile", "1");
  EXPECT_EQ(settings.GetAllSettings(app, "NProfile"),
            (std::vector<std::pair<std::string, std::string>>{{"Selected", "1"}}));
  settings.DeleteSetting(app, "NProfile", "");
  EXPECT_FALSE(RegKeyExists(key + "\\NProfile"));
  DeleteRegTree(key);
}

// The section's key deleted between its measure and its walk: the walk ends, empty-handed.
TEST(Win32UserSettingsTest, AWalkOfADeletedKeyEnds) {
  const std::string key = "Software\\VB and VBA Program Settings\\QuorvanePlatformTest\\Gone";
  Win32UserSettings settings;
  settings.SaveSetting("QuorvanePlatformTest", "Gone", "1", "C:\\x");
  HKEY opened = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, Widen(key).c_str(), 0, KEY_QUERY_VALUE, &opened),
            ERROR_SUCCESS);
  DeleteRegTree("Software\\VB and VBA Program Settings\\QuorvanePlatformTest");
  EXPECT_TRUE(Win32UserSettings::StringValues(opened, 64, 64).empty());
  RegCloseKey(opened);
}

}  // namespace
}  // namespace quorvane::win32
