// The per-user settings store against the real registry of the test prefix.

#include "win32/platform/Win32UserSettings.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "win32/platform/WideText.h"

namespace quorvane::win32 {
namespace {

constexpr char kApp[] = "QuorvaneUserSettingsTest";
constexpr wchar_t kAppKey[] = L"Software\\VB and VBA Program Settings\\QuorvaneUserSettingsTest";

std::wstring ReadRawString(const std::wstring& keyPath, const std::wstring& name, DWORD& type) {
  wchar_t data[512] = {};
  DWORD size = sizeof(data);
  type = REG_NONE;
  if (RegGetValueW(HKEY_CURRENT_USER, keyPath.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                   &type, data, &size) != ERROR_SUCCESS) {
    return L"<missing>";
  }
  return data;
}

class Win32UserSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kAppKey); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kAppKey); }
  Win32UserSettings settings;
};

TEST_F(Win32UserSettingsTest, ValueLandsAtTheKeyWhereSuchSettingsLive) {
  settings.SaveSetting(kApp, "Options", "Showtip", "0");
  DWORD type = 0;
  EXPECT_EQ(ReadRawString(std::wstring(kAppKey) + L"\\Options", L"Showtip", type), L"0");
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(Win32UserSettings::SectionKeyPath("Quorvane", "Options"),
            "Software\\VB and VBA Program Settings\\Quorvane\\Options");
}

TEST_F(Win32UserSettingsTest, ReadsBackWhatWasSavedAndTheDefaultOtherwise) {
  EXPECT_EQ(settings.GetSetting(kApp, "Options", "Showtip", "1"), "1");
  settings.SaveSetting(kApp, "Options", "Showtip", "0");
  EXPECT_EQ(settings.GetSetting(kApp, "Options", "Showtip", "1"), "0");
  EXPECT_EQ(settings.GetSetting(kApp, "options", "SHOWTIP", "1"), "0");
  EXPECT_EQ(settings.GetSetting(kApp, "Options", "Other", "dflt"), "dflt");
  settings.SaveSetting(kApp, "Options", "Showtip", "1");
  EXPECT_EQ(settings.GetSetting(kApp, "Options", "Showtip", "0"), "1");
}

TEST_F(Win32UserSettingsTest, TextOutsideAsciiSurvivesTheRoundTrip) {
  const std::string path = "C:\\Users\\J\xC3\xBCrgen\\Profile \xE2\x82\xAC";
  settings.SaveSetting(kApp, "NProfile", "1", path);
  EXPECT_EQ(settings.GetSetting(kApp, "NProfile", "1", ""), path);
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
  EXPECT_TRUE(settings.GetAllSettings(kApp, "NProfile").empty());
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (std::wstring(kAppKey) + L"\\NProfile").c_str(), 0,
                          KEY_READ, &key),
            ERROR_FILE_NOT_FOUND);
}

TEST_F(Win32UserSettingsTest, ValueOfAnotherTypeReadsAsTheDefault) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(kAppKey) + L"\\Options").c_str(), 0,
                            nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD number = 1;
  RegSetValueExW(key, L"Showtip", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                 sizeof(number));
  RegCloseKey(key);
  EXPECT_EQ(settings.GetSetting(kApp, "Options", "Showtip", "dflt"), "dflt");
}

}  // namespace
}  // namespace quorvane::win32
