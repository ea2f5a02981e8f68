// The per-user settings store against the real registry of the test prefix.

#include "win32/platform/Win32UserSettings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/TestRegistry.h"
#include "win32/platform/WideText.h"

namespace quorvane::win32 {
namespace {

using quorvane::testing::GetRegString;
constexpr char kApp[] = "QuorvaneUserSettingsTest";
const std::string kAppKey = "Software\\VB and VBA Program Settings\\QuorvaneUserSettingsTest";

class Win32UserSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { quorvane::testing::DeleteRegTree(kAppKey); }
  void TearDown() override { quorvane::testing::DeleteRegTree(kAppKey); }
  Win32UserSettings settings;
};

TEST_F(Win32UserSettingsTest, SavesWhereSuchSettingsLiveAndReadsThemBack) {
  EXPECT_EQ(settings.GetSetting(kApp, "Options", "Showtip", "1"), "1");
  settings.SaveSetting(kApp, "Options", "Showtip", "0");
  EXPECT_EQ(GetRegString(kAppKey + "\\Options", "Showtip"), "0");  // a REG_SZ
  EXPECT_EQ(settings.GetSetting(kApp, "options", "SHOWTIP", "1"), "0");
  EXPECT_EQ(settings.GetSetting(kApp, "Options", "Other", "dflt"), "dflt");
  const std::string path = "C:\\Users\\J\xC3\xBCrgen\\Profile \xE2\x82\xAC";
  settings.SaveSetting(kApp, "Options", "Showtip", path);
  EXPECT_EQ(settings.GetSetting(kApp, "Options", "Showtip", ""), path);

  // A value of another type reads as the default.
  const DWORD number = 1;
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Widen(kAppKey + "\\Options").c_str(), L"Showtip",
                            REG_DWORD, &number, sizeof(number)),
            ERROR_SUCCESS);
  EXPECT_EQ(settings.GetSetting(kApp, "Options", "Showtip", "dflt"), "dflt");
}

TEST_F(Win32UserSettingsTest, ListsAndDeletesASection) {
  settings.SaveSetting(kApp, "NProfile", "SelectedNProfile", "2");
  settings.SaveSetting(kApp, "NProfile", "1", "C:\\a");
  settings.SaveSetting(kApp, "NProfile", "2", "C:\\b");
  // The store decides the order (the registry of the test system sorts by name).
  auto all = settings.GetAllSettings(kApp, "NProfile");
  std::sort(all.begin(), all.end());
  EXPECT_EQ(all, (std::vector<std::pair<std::string, std::string>>{
                     {"1", "C:\\a"}, {"2", "C:\\b"}, {"SelectedNProfile", "2"}}));

  settings.DeleteSetting(kApp, "NProfile", "1");
  EXPECT_EQ(settings.GetAllSettings(kApp, "NProfile").size(), 2u);
  settings.DeleteSetting(kApp, "NProfile", "");
  EXPECT_FALSE(quorvane::testing::RegKeyExists(kAppKey + "\\NProfile"));
}

}  // namespace
}  // namespace quorvane::win32
