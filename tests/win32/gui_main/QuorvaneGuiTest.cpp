// The real Quorvane.exe driven as a user would: windows and controls are found by the
// captions the user sees, buttons are pressed, tabs and menus are clicked with the mouse.

#include <string>
#include <vector>

#include "GuiFixture.h"

namespace quorvane::testing {
namespace {

constexpr wchar_t kRunMruKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
constexpr wchar_t kMediaPlayerKey[] = L"Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList";

TEST_F(QuorvaneGui, ShowsTheTipFirstThenTheMainWindow) {
  SetUserValue(HKEY_CURRENT_USER, kUserSettingsKey, L"Showtip", L"1");
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
  SetUserValue(HKEY_CURRENT_USER, kUserSettingsKey, L"Showtip", L"1");
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
  SetUserValue(HKEY_CURRENT_USER, kRunMruKey, L"a", L"notepad\\1");
  SetUserValue(HKEY_CURRENT_USER, kRunMruKey, L"MRUList", L"a");
  SetUserValue(HKEY_CURRENT_USER, kMediaPlayerKey, L"URL0", L"C:\\music\\seeded.mp3");
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

TEST_F(QuorvaneGui, TabWalksTheVisiblePageInReadingOrderAndSpaceTicks) {
  HWND main = StartToMainWindow();
  ASSERT_NE(main, nullptr);
  RECT rect{};
  GetWindowRect(main, &rect);
  ASSERT_TRUE(ClickAt(rect.left + 60, rect.top + 10));  // its caption, to give it the keyboard
  ASSERT_TRUE(WaitUntil([&] { return FocusedControl(main) != nullptr; }));
  EXPECT_EQ(Text(FocusedControl(main)), "Windows Find/Search History");

  // The page's boxes from the top, the two buttons, the tab strip, and round again.
  const std::vector<std::string> expected = {"Document History",
                                             "Windows Run History",
                                             "Recycle Bin",
                                             "Temporary Files Directory",
                                             "Scandisk Temp Files",
                                             "Windows Media Player",
                                             "&Clean Now",
                                             "&Help",
                                             "<tabs>",
                                             "Windows Find/Search History"};
  std::vector<std::string> visited;
  for (size_t i = 0; i < expected.size(); ++i) {
    ASSERT_TRUE(PressKeys("Tab"));
    HWND focus = FocusedControl(main);
    visited.push_back(focus == TabStrip(main) ? "<tabs>" : Text(focus));
  }
  EXPECT_EQ(visited, expected);

  ASSERT_TRUE(PressKeys("Tab"));
  ASSERT_EQ(Text(FocusedControl(main)), "Document History");
  ASSERT_TRUE(PressKeys("space"));
  EXPECT_TRUE(WaitUntil([&] { return Setting("Standard Options", "DocumentHistory") == "1"; }));
  EXPECT_TRUE(IsChecked(FocusedControl(main)));
}

TEST_F(QuorvaneGui, HelpMenuShowsTheTipAndFileExitEndsTheProgram) {
  HWND main = StartToMainWindow();
  ASSERT_NE(main, nullptr);
  // Help > Tip of the Day, by the keyboard once the File menu is open.
  ASSERT_TRUE(ClickMenuBar(main, 20));
  ASSERT_TRUE(PressKeys("Right Down Return"));
  HWND tip = WaitForWindow(program_->Id(), kTipCaption);
  ASSERT_NE(tip, nullptr);
  // Opening the tip stores "show at start-up" again, as it always has.
  EXPECT_TRUE(WaitUntil([&] { return UserValue(kUserSettingsKey, L"Showtip") == "1"; }));
  EXPECT_FALSE(IsWindowEnabled(main));  // the tip is modal
  Press(FindControl(tip, "OK"));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }));

  ASSERT_TRUE(ClickMenuBar(main, 20));
  ASSERT_TRUE(PressKeys("x"));
  EXPECT_TRUE(program_->WaitForExit(15000));
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
