// The real Quorvane.exe, started from a sandbox folder with its own settings file and tips
// file, driven from this process as a user would: windows and controls are found by the
// captions the user sees, buttons are pressed, tabs and menus are clicked with the mouse.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "support/GuiDriver.h"
#include "support/Sandbox.h"
#include "win32/platform/WideText.h"

namespace quorvane::testing {
namespace {

using win32::Widen;

constexpr std::string_view kMainCaption = "Quorvane Version 5.0";
constexpr std::string_view kTipCaption = "Tip of the Day";
constexpr std::string_view kWashCaption = "System Cleaning in Progress";
constexpr std::string_view kTips = "First seeded tip.\r\nSecond seeded tip.\r\n";

constexpr int kStandardTab = 0;
constexpr int kOptionsTab = 2;
constexpr int kIETab = 3;
constexpr int kNetscapeTab = 4;

// Only harmless targets are on: the Run history and Media Player's recent list, which the
// tests seed themselves. Custom items are skipped and nothing else runs.
constexpr std::string_view kSettings =
    "[Standard Options]\r\n"
    "FindHistory=0\r\nDocumentHistory=0\r\nRunHistory=1\r\nRecycleBin=0\r\n"
    "MediaPlayer=1\r\nTempFiles=0\r\nScanTempFiles=0\r\n"
    "[IEOptions]\r\nIE=0\r\nCookies=1\r\n"
    "[Netscape Options]\r\nNetscape=0\r\n"
    "[MSOffice]\r\nMSOffice=0\r\n"
    "[Wash Options]\r\nSkipMessages=1\r\nSkipAllCustomWashItems=1\r\nAfterClose=0\r\n";

constexpr wchar_t kUserSettingsKey[] = L"Software\\VB and VBA Program Settings\\Quorvane\\Options";
constexpr wchar_t kRunMruKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
constexpr wchar_t kMediaPlayerKey[] = L"Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList";

void SetUserValue(const wchar_t* key, const wchar_t* name, std::wstring_view value) {
  RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, value.data(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

bool UserValueExists(const wchar_t* key, const wchar_t* name) {
  return RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

std::string UserValue(const wchar_t* key, const wchar_t* name) {
  wchar_t data[256] = {};
  DWORD size = sizeof(data);
  if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  return win32::Narrow(data);
}

class QuorvaneGui : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::wstring source = Widen(ExecutableFolder() + "\\Quorvane.exe");
    ASSERT_TRUE(CopyFileW(source.c_str(), Widen(sandbox_ / "Quorvane.exe").c_str(), FALSE));
    sandbox_.WriteFile("TIPOFDAY.TXT", kTips);
    sandbox_.WriteFile("Local.Ini", kSettings);
    savedShowtip_ = UserValue(kUserSettingsKey, L"Showtip");
    SetUserValue(kUserSettingsKey, L"Showtip", L"0");  // no tip unless a test asks for it
  }

  void TearDown() override {
    if (program_) {
      // The close box, as a user ends the program; the single running copy must be gone
      // before the next test starts one.
      for (HWND main : TopLevelWindows(program_->Id(), kMainCaption)) {
        PostMessageW(main, WM_CLOSE, 0, 0);
      }
      EXPECT_TRUE(program_->WaitForExit(15000)) << "the program did not end on its close box";
      program_.reset();
    }
    SetUserValue(kUserSettingsKey, L"Showtip", Widen(savedShowtip_.empty() ? "1" : savedShowtip_));
  }

  RunningProgram& Start() {
    program_ = std::make_unique<RunningProgram>("\"" + (sandbox_ / "Quorvane.exe") + "\"",
                                                sandbox_.Path());
    return *program_;
  }

  HWND StartToMainWindow() {
    Start();
    if (!program_->Started()) return nullptr;
    return WaitForWindow(program_->Id(), kMainCaption);
  }

  HWND TabStrip(HWND main) {
    const auto tabs = Controls(main, "SysTabControl32");
    return tabs.empty() ? nullptr : tabs.front();
  }

  std::string Setting(std::string_view section, std::string_view key) {
    wchar_t value[256] = {};
    GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"", value, 256,
                             Widen(sandbox_ / "Local.Ini").c_str());
    return win32::Narrow(value);
  }

  // A message box of the program: the window titled `title` that holds `text`.
  HWND WaitForMessageBox(std::string_view title, std::string_view text) {
    HWND box = nullptr;
    WaitUntil([&] {
      for (HWND candidate : TopLevelWindows(program_->Id(), title)) {
        if (FindControl(candidate, text)) box = candidate;
      }
      return box != nullptr;
    });
    return box;
  }

  Sandbox sandbox_;
  std::unique_ptr<RunningProgram> program_;
  std::string savedShowtip_;
};

TEST_F(QuorvaneGui, ShowsTheTipFirstThenTheMainWindow) {
  SetUserValue(kUserSettingsKey, L"Showtip", L"1");
  RunningProgram& program = Start();
  ASSERT_TRUE(program.Started());
  HWND tip = WaitForWindow(program.Id(), kTipCaption);
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(TopLevelWindows(program.Id(), kMainCaption).empty());
  EXPECT_NE(FindControl(tip, "Did you know..."), nullptr);
  const bool showsSeededTip =
      FindControl(tip, "First seeded tip.") || FindControl(tip, "Second seeded tip.");
  EXPECT_TRUE(showsSeededTip);
  HWND startupBox = FindControl(tip, "&Show Tips at Startup");
  ASSERT_NE(startupBox, nullptr);
  EXPECT_TRUE(IsChecked(startupBox));

  // Unticking stores "0" at once; OK closes the tip and the main window follows.
  Press(startupBox);
  EXPECT_TRUE(WaitUntil([&] { return UserValue(kUserSettingsKey, L"Showtip") == "0"; }));
  HWND ok = FindControl(tip, "OK");
  ASSERT_NE(ok, nullptr);
  Press(ok);
  EXPECT_NE(WaitForWindow(program.Id(), kMainCaption), nullptr);
  EXPECT_TRUE(TopLevelWindows(program.Id(), kTipCaption).empty());
}

TEST_F(QuorvaneGui, EscapeClosesTheTip) {
  SetUserValue(kUserSettingsKey, L"Showtip", L"1");
  RunningProgram& program = Start();
  HWND tip = WaitForWindow(program.Id(), kTipCaption);
  ASSERT_NE(tip, nullptr);
  RECT rect{};
  GetWindowRect(tip, &rect);
  ASSERT_TRUE(ClickAt(rect.left + 40, rect.top + 10));  // its caption, to give it the keyboard
  ASSERT_TRUE(PressKeys("Escape"));
  EXPECT_NE(WaitForWindow(program.Id(), kMainCaption), nullptr);
}

TEST_F(QuorvaneGui, OptionBoxesShowAndStoreTheSettings) {
  HWND main = StartToMainWindow();
  ASSERT_NE(main, nullptr);
  HWND runHistory = FindControl(main, "Windows Run History");
  HWND recycleBin = FindControl(main, "Recycle Bin");
  ASSERT_NE(runHistory, nullptr);
  ASSERT_NE(recycleBin, nullptr);
  EXPECT_TRUE(IsShown(runHistory));
  EXPECT_TRUE(IsChecked(runHistory));
  EXPECT_FALSE(IsChecked(recycleBin));

  Press(recycleBin);
  EXPECT_TRUE(WaitUntil([&] { return Setting("Standard Options", "RecycleBin") == "1"; }));
  EXPECT_TRUE(IsChecked(recycleBin));
  Press(runHistory);
  EXPECT_TRUE(WaitUntil([&] { return Setting("Standard Options", "RunHistory") == "0"; }));
  EXPECT_FALSE(IsChecked(runHistory));
}

TEST_F(QuorvaneGui, InternetExplorerMasterEnablesItsGroup) {
  HWND main = StartToMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(ClickTab(TabStrip(main), kIETab));
  HWND master = FindControl(main, "Clean Internet Explorer");
  HWND cookies = FindControl(main, "Cookies");
  ASSERT_NE(master, nullptr);
  ASSERT_NE(cookies, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsShown(master); }));
  EXPECT_FALSE(IsShown(FindControl(main, "Windows Run History")));
  // IE is off: its boxes are disabled but keep their stored state.
  EXPECT_FALSE(IsWindowEnabled(cookies));
  EXPECT_TRUE(IsChecked(cookies));

  Press(master);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(cookies) != FALSE; }));
  EXPECT_EQ(Setting("IEOptions", "IE"), "1");
  Press(master);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(cookies) == FALSE; }));
  EXPECT_EQ(Setting("IEOptions", "IE"), "0");
}

TEST_F(QuorvaneGui, NetscapeTabIsRefusedWhenNetscapeIsAbsent) {
  HWND main = StartToMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(ClickTab(TabStrip(main), kNetscapeTab));
  HWND box = WaitForMessageBox("Quorvane", "Netscape is not installed in your system.");
  ASSERT_NE(box, nullptr);
  HWND ok = FindControl(box, "OK");
  ASSERT_NE(ok, nullptr);
  Press(ok);
  EXPECT_TRUE(WaitUntil([&] { return TopLevelWindows(program_->Id(), "Quorvane").empty(); }));
  // The page shown before stays shown.
  EXPECT_TRUE(IsShown(FindControl(main, "Windows Run History")));
  EXPECT_FALSE(IsShown(FindControl(main, "Clean Netscape")));
}

TEST_F(QuorvaneGui, ScheduleListFollowsItsBox) {
  sandbox_.WriteFile("Local.Ini", std::string(kSettings) + "RunAutowash=1\r\nSchedule=3\r\n");
  HWND main = StartToMainWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(ClickTab(TabStrip(main), kOptionsTab));
  HWND schedule = FindControl(main, "Run Kelverin Every:");
  ASSERT_NE(schedule, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsShown(schedule); }));
  const auto lists = Controls(main, "ComboBox");
  ASSERT_EQ(lists.size(), 1u);
  EXPECT_EQ(Text(lists.front()), "Eight Hours");
  EXPECT_TRUE(IsWindowEnabled(lists.front()));
  Press(schedule);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(lists.front()) == FALSE; }));
  EXPECT_EQ(Setting("Wash Options", "RunAutowash"), "0");
}

TEST_F(QuorvaneGui, CleanNowRunsTheSelectedTargetsAndReports) {
  SetUserValue(kRunMruKey, L"a", L"notepad\\1");
  SetUserValue(kRunMruKey, L"MRUList", L"a");
  SetUserValue(kMediaPlayerKey, L"URL0", L"C:\\music\\seeded.mp3");
  HWND main = StartToMainWindow();
  ASSERT_NE(main, nullptr);
  HWND clean = FindControl(main, "&Clean Now");
  ASSERT_NE(clean, nullptr);
  Press(clean);

  HWND wash = WaitForWindow(program_->Id(), kWashCaption);
  ASSERT_NE(wash, nullptr);
  HWND done = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (done = FindControl(wash, "&Done")) != nullptr; }, 60000));
  HWND estimate = nullptr;
  for (HWND label : Controls(wash, "Static")) {
    if (Text(label).starts_with("  Estimated Drive Space Restored: ")) estimate = label;
  }
  ASSERT_NE(estimate, nullptr);
  EXPECT_TRUE(Text(estimate).ends_with(" Kb")) << Text(estimate);
  EXPECT_FALSE(UserValueExists(kRunMruKey, L"a"));
  EXPECT_FALSE(UserValueExists(kMediaPlayerKey, L"URL0"));

  // The ticks: exactly the two targets that ran.
  int ticked = 0;
  for (HWND box : Controls(wash, "Button")) ticked += IsChecked(box) ? 1 : 0;
  EXPECT_EQ(ticked, 2);

  Press(done);
  EXPECT_TRUE(WaitUntil([&] { return TopLevelWindows(program_->Id(), kWashCaption).empty(); }));
  EXPECT_TRUE(IsWindowEnabled(main));
}

TEST_F(QuorvaneGui, RunHistoryCleanAsksToLogOff) {
  sandbox_.WriteFile("Local.Ini",
                     "[Standard Options]\r\nRunHistory=1\r\n[Wash Options]\r\n"
                     "SkipAllCustomWashItems=1\r\nAfterClose=1\r\n");
  HWND main = StartToMainWindow();
  ASSERT_NE(main, nullptr);
  Press(FindControl(main, "&Clean Now"));
  HWND notice =
      WaitForMessageBox("Quorvane", "Please logoff the machine for effect in Run History.");
  ASSERT_NE(notice, nullptr);
  Press(FindControl(notice, "OK"));
  // With "Close Quorvane after a Clean" on, the clean window closes by itself.
  EXPECT_TRUE(WaitUntil([&] {
    return TopLevelWindows(program_->Id(), kWashCaption).empty() &&
           TopLevelWindows(program_->Id(), "Quorvane").empty();
  }));
  EXPECT_NE(WaitForWindow(program_->Id(), kMainCaption), nullptr);
}

TEST_F(QuorvaneGui, AccessKeysAndMenusReachTheirActions) {
  HWND main = StartToMainWindow();
  ASSERT_NE(main, nullptr);
  RECT rect{};
  GetWindowRect(main, &rect);
  ASSERT_TRUE(ClickAt(rect.left + 60, rect.top + 10));  // its caption, to give it the keyboard

  // File > &Internet Explorer shows the Internet Explorer page.
  ASSERT_TRUE(ClickMenuBar(main, 20));
  ASSERT_TRUE(PressKeys("i"));
  EXPECT_TRUE(WaitUntil([&] { return IsShown(FindControl(main, "Clean Internet Explorer")); }));

  // Alt+C presses "&Clean Now"; Escape leaves the finished clean window.
  ASSERT_TRUE(PressKeys("alt+c"));
  HWND wash = WaitForWindow(program_->Id(), kWashCaption);
  ASSERT_NE(wash, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return FindControl(wash, "&Done") != nullptr; }, 60000));
  ASSERT_TRUE(PressKeys("Escape"));
  EXPECT_TRUE(WaitUntil([&] { return TopLevelWindows(program_->Id(), kWashCaption).empty(); }));

  // Escape on the main window does nothing at all.
  ASSERT_TRUE(PressKeys("Escape"));
  EXPECT_FALSE(TopLevelWindows(program_->Id(), kMainCaption).empty());
}

TEST_F(QuorvaneGui, SecondStartShowsNoSecondWindow) {
  HWND main = StartToMainWindow();
  ASSERT_NE(main, nullptr);
  RunningProgram second("\"" + (sandbox_ / "Quorvane.exe") + "\"", sandbox_.Path());
  ASSERT_TRUE(second.Started());
  DWORD exitCode = 1;
  EXPECT_TRUE(second.WaitForExit(20000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(TopLevelWindows(program_->Id(), kMainCaption).size(), 1u);
  EXPECT_TRUE(TopLevelWindows(second.Id(), kMainCaption).empty());
}

}  // namespace
}  // namespace quorvane::testing
