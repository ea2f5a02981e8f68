// The real Quorvane.exe driven as a user would: windows and controls are found by the
// captions the user sees, buttons are pressed, tabs and menus are clicked with the mouse.

#include <string>
#include <vector>

#include "GuiFixture.h"
#include "win32/platform/WideText.h"

namespace quorvane::testing {
namespace {

constexpr wchar_t kRunMruKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
constexpr wchar_t kMediaPlayerKey[] = L"Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList";

// Gives the window the keyboard by a click on its caption.
bool Activate(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return ClickAt(rect.left + 60, rect.top + 10);
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(win32::Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(QuorvaneGui, TipFirstThenASingleMainWindowWhoseMenusReachTheirActions) {
  SetUserValue(HKEY_CURRENT_USER, kUserSettingsKey, L"Showtip", L"1");
  RunningProgram& program = Start();
  HWND tip = WaitForWindow(program.Id(), kTipCaption);
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(TopLevelWindows(program.Id(), kMainCaption).empty());
  EXPECT_NE(FindControl(tip, "Did you know..."), nullptr);
  EXPECT_TRUE(FindControl(tip, "First seeded tip.") || FindControl(tip, "Second seeded tip."));
  HWND startupBox = FindControl(tip, "&Show Tips at Startup");
  ASSERT_NE(startupBox, nullptr);
  EXPECT_TRUE(IsChecked(startupBox));

  // Unticking stores "0" at once; Escape closes the tip and the main window follows.
  Press(startupBox);
  EXPECT_TRUE(WaitUntil([&] { return UserValue(kUserSettingsKey, L"Showtip") == "0"; }));
  ASSERT_TRUE(Activate(tip));
  ASSERT_TRUE(PressKeys("Escape"));
  HWND main = WaitForWindow(program.Id(), kMainCaption);
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(TopLevelWindows(program.Id(), kTipCaption).empty());
  EXPECT_TRUE(IsFolder(sandbox_ / "Custom"));  // start-up makes the custom-item folder

  // A second copy ends by itself and shows nothing.
  RunningProgram second("\"" + (sandbox_ / "Quorvane.exe") + "\"", sandbox_.Path());
  ASSERT_TRUE(second.Started());
  DWORD exitCode = 1;
  EXPECT_TRUE(second.WaitForExit(30000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(TopLevelWindows(second.Id(), kMainCaption).empty());
  EXPECT_EQ(TopLevelWindows(program.Id(), kMainCaption).size(), 1u);

  // Help > Tip of the Day, by the keyboard once the File menu is open. Opening the tip
  // stores "show at start-up" again, as it always has, and the tip is modal.
  ASSERT_TRUE(ClickMenuBar(main, 20));
  ASSERT_TRUE(PressKeys("Right Down Return"));
  tip = WaitForWindow(program.Id(), kTipCaption);
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return UserValue(kUserSettingsKey, L"Showtip") == "1"; }));
  EXPECT_FALSE(IsWindowEnabled(main));
  Press(FindControl(tip, "OK"));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }));

  // File > E&xit ends the program.
  ASSERT_TRUE(ClickMenuBar(main, 20));
  ASSERT_TRUE(PressKeys("x"));
  EXPECT_TRUE(program.WaitForExit(15000));
}

TEST_F(QuorvaneGui, OptionsReachTheSettingsFileAndAnAbsentNetscapeIsRefused) {
  sandbox_.WriteFile("Local.Ini", std::string(kSettings) + "RunAutowash=1\r\nSchedule=3\r\n");
  HWND main = StartToMainWindow();
  ASSERT_NE(main, nullptr);

  // Tab walks the visible page in reading order, round again, and Space ticks.
  ASSERT_TRUE(Activate(main));
  ASSERT_TRUE(WaitUntil([&] { return FocusedControl(main) != nullptr; }));
  EXPECT_EQ(Text(FocusedControl(main)), "Windows Find/Search History");
  const std::vector<std::string> expected = {
      "Document History",    "Windows Run History",  "Recycle Bin",
      "Temporary Files Directory", "Scandisk Temp Files", "Windows Media Player",
      "&Clean Now",          "&Help",                "<tabs>",
      "Windows Find/Search History", "Document History"};
  std::vector<std::string> visited;
  for (size_t i = 0; i < expected.size(); ++i) {
    ASSERT_TRUE(PressKeys("Tab"));
    HWND focus = FocusedControl(main);
    visited.push_back(focus == TabStrip(main) ? "<tabs>" : Text(focus));
  }
  EXPECT_EQ(visited, expected);
  ASSERT_TRUE(PressKeys("space"));
  EXPECT_TRUE(WaitUntil([&] { return Setting("Standard Options", "DocumentHistory") == "1"; }));

  // Boxes show the stored settings and store a click at once.
  HWND runHistory = FindControl(main, "Windows Run History");
  HWND recycleBin = FindControl(main, "Recycle Bin");
  ASSERT_NE(runHistory, nullptr);
  ASSERT_NE(recycleBin, nullptr);
  EXPECT_TRUE(IsChecked(runHistory));
  EXPECT_FALSE(IsChecked(recycleBin));
  Press(recycleBin);
  EXPECT_TRUE(WaitUntil([&] { return Setting("Standard Options", "RecycleBin") == "1"; }));
  Press(runHistory);
  EXPECT_TRUE(WaitUntil([&] { return Setting("Standard Options", "RunHistory") == "0"; }));
  EXPECT_FALSE(IsChecked(runHistory));

  // The schedule list follows its box.
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

  // Internet Explorer is off: its boxes are disabled but keep their stored state, and the
  // master box enables them.
  ASSERT_TRUE(ClickTab(TabStrip(main), kIETab));
  HWND master = FindControl(main, "Clean Internet Explorer");
  HWND cookies = FindControl(main, "Cookies");
  ASSERT_NE(master, nullptr);
  ASSERT_NE(cookies, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return IsShown(master); }));
  EXPECT_FALSE(IsShown(schedule));
  EXPECT_FALSE(IsWindowEnabled(cookies));
  EXPECT_TRUE(IsChecked(cookies));
  Press(master);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(cookies) != FALSE; }));
  EXPECT_EQ(Setting("IEOptions", "IE"), "1");

  // No Netscape: its tab is refused and the page shown before stays shown.
  ASSERT_TRUE(ClickTab(TabStrip(main), kNetscapeTab));
  HWND box = WaitForMessageBox("Quorvane", "Netscape is not installed in your system.");
  ASSERT_NE(box, nullptr);
  Press(FindControl(box, "OK"));
  EXPECT_TRUE(WaitUntil([&] { return TopLevelWindows(program_->Id(), "Quorvane").empty(); }));
  EXPECT_TRUE(IsShown(master));
  EXPECT_FALSE(IsShown(FindControl(main, "Clean Netscape")));
}

TEST_F(QuorvaneGui, CleanNowRunsTheSelectedTargetsAndReports) {
  SetUserValue(HKEY_CURRENT_USER, kRunMruKey, L"a", L"notepad\\1");
  SetUserValue(HKEY_CURRENT_USER, kRunMruKey, L"MRUList", L"a");
  SetUserValue(HKEY_CURRENT_USER, kMediaPlayerKey, L"URL0", L"C:\\music\\seeded.mp3");
  HWND main = StartToMainWindow();
  ASSERT_NE(main, nullptr);
  Press(FindControl(main, "&Clean Now"));

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
  int ticked = 0;  // exactly the two targets that ran
  for (HWND box : Controls(wash, "Button")) ticked += IsChecked(box) ? 1 : 0;
  EXPECT_EQ(ticked, 2);
  Press(done);
  EXPECT_TRUE(WaitUntil([&] { return TopLevelWindows(program_->Id(), kWashCaption).empty(); }));
  EXPECT_TRUE(IsWindowEnabled(main));

  // By the keyboard: File > &Internet Explorer shows its page, Alt+C cleans again, Escape
  // leaves the finished clean window and does nothing at all on the main window.
  ASSERT_TRUE(Activate(main));
  ASSERT_TRUE(ClickMenuBar(main, 20));
  ASSERT_TRUE(PressKeys("i"));
  EXPECT_TRUE(WaitUntil([&] { return IsShown(FindControl(main, "Clean Internet Explorer")); }));
  ASSERT_TRUE(PressKeys("alt+c"));
  wash = WaitForWindow(program_->Id(), kWashCaption);
  ASSERT_NE(wash, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return FindControl(wash, "&Done") != nullptr; }, 60000));
  ASSERT_TRUE(PressKeys("Escape"));
  EXPECT_TRUE(WaitUntil([&] { return TopLevelWindows(program_->Id(), kWashCaption).empty(); }));
  ASSERT_TRUE(PressKeys("Escape"));
  EXPECT_FALSE(TopLevelWindows(program_->Id(), kMainCaption).empty());
}

TEST_F(QuorvaneGui, RunHistoryCleanAsksToLogOffAndClosesItsWindow) {
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

// A file in the way of the custom-item folder stays a file, and start-up never creates
// the settings file.
TEST_F(QuorvaneGui, AFileNamedCustomStaysAndNoSettingsFileIsMade) {
  ASSERT_TRUE(DeleteFileW(win32::Widen(sandbox_ / "Local.Ini").c_str()));
  sandbox_.WriteFile("Custom", "not a folder");
  ASSERT_NE(StartToMainWindow(), nullptr);
  EXPECT_EQ(sandbox_.ReadFile("Custom"), "not a folder");
  EXPECT_FALSE(sandbox_.Exists("Local.Ini"));
}

}  // namespace
}  // namespace quorvane::testing
