#pragma once
// The real Quorvane.exe, started from a sandbox folder with its own settings file and tips
// file, for tests that drive it from this process as a user would.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

#include "support/GuiDriver.h"
#include "support/Sandbox.h"

namespace quorvane::testing {

inline constexpr std::string_view kMainCaption = "Quorvane Version 5.0";
inline constexpr std::string_view kTipCaption = "Tip of the Day";
inline constexpr std::string_view kWashCaption = "System Cleaning in Progress";
inline constexpr std::string_view kTips = "First seeded tip.\r\nSecond seeded tip.\r\n";

// Tabs of the main window, from the left.
inline constexpr int kStandardTab = 0;
inline constexpr int kCustomTab = 1;
inline constexpr int kOptionsTab = 2;
inline constexpr int kIETab = 3;
inline constexpr int kNetscapeTab = 4;
inline constexpr int kOfficeTab = 5;
inline constexpr int kAboutTab = 6;

// Only harmless targets are on: the Run history and Media Player's recent list, which the
// tests seed themselves. Custom items are skipped and nothing else runs.
inline constexpr std::string_view kSettings =
    "[Standard Options]\r\n"
    "FindHistory=0\r\nDocumentHistory=0\r\nRunHistory=1\r\nRecycleBin=0\r\n"
    "MediaPlayer=1\r\nTempFiles=0\r\nScanTempFiles=0\r\n"
    "[IEOptions]\r\nIE=0\r\nCookies=1\r\n"
    "[Netscape Options]\r\nNetscape=0\r\n"
    "[MSOffice]\r\nMSOffice=0\r\n"
    "[Wash Options]\r\nSkipMessages=1\r\nSkipAllCustomWashItems=1\r\nAfterClose=0\r\n";

inline constexpr wchar_t kUserSettingsKey[] =
    L"Software\\VB and VBA Program Settings\\Quorvane\\Options";

void SetUserValue(HKEY root, const wchar_t* key, const wchar_t* name, std::wstring_view value);
bool UserValueExists(const wchar_t* key, const wchar_t* name);
std::string UserValue(const wchar_t* key, const wchar_t* name);

class QuorvaneGui : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  RunningProgram& Start();
  HWND StartToMainWindow();
  static HWND TabStrip(HWND main);
  // A value of the sandbox's settings file.
  std::string Setting(std::string_view section, std::string_view key) const;
  // A message box of the program: the window titled `title` that holds `text`.
  HWND WaitForMessageBox(std::string_view title, std::string_view text) const;

  Sandbox sandbox_;
  std::unique_ptr<RunningProgram> program_;

 private:
  bool hadShowtip_ = false;
  std::string savedShowtip_;
};

}  // namespace quorvane::testing
