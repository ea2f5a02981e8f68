// The real Quorvane.exe in a sandbox folder, driven as a user would. scripts/screenshots runs
// PagesGui with QUORVANE_SCREENSHOTS naming the Linux folder for its pictures.

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "support/GuiDriver.h"
#include "support/Sandbox.h"
#include "win32/platform/WideText.h"

namespace quorvane::testing {
namespace {

using win32::Widen;
constexpr std::string_view kMain = "Quorvane Version 5.0";
constexpr wchar_t kOptionsKey[] = L"Software\\VB and VBA Program Settings\\Quorvane\\Options";
constexpr wchar_t kRunMruKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

void SetValue(HKEY root, const wchar_t* key, const wchar_t* name, const wchar_t* value) {
  RegSetKeyValueW(root, key, name, REG_SZ, value, (wcslen(value) + 1) * sizeof(wchar_t));
}

class QuorvaneGui : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : {"Quorvane.exe", "TIPOFDAY.TXT"}) {
      ASSERT_TRUE(CopyFileW(Widen(ExecutableFolder() + "\\" + file).c_str(),
                            Widen(sandbox_ / file).c_str(), FALSE));
    }
    // Of the targets only the Run history and Media Player's recent list are on.
    sandbox_.WriteFile("Local.Ini",
                       "[Standard Options]\r\nRunHistory=1\r\nMediaPlayer=1\r\n[IEOptions]\r\n"
                       "Cookies=1\r\n[Netscape Options]\r\nCache=1\r\n[MSOffice]\r\nMSWord=1\r\n"
                       "[Wash Options]\r\nSkipAllCustomWashItems=1\r\nRunAutowash=1\r\n");
    SetValue(HKEY_CURRENT_USER, kOptionsKey, L"Showtip", L"0");
  }
  HWND Start(std::string_view firstWindow = kMain) {
    program_ = std::make_unique<RunningProgram>(Command(), sandbox_.Path());
    return WaitForWindow(program_->Id(), firstWindow);
  }
  std::string Command() const { return "\"" + (sandbox_ / "Quorvane.exe") + "\""; }
  // Waits for the program's message box that says `text`, and answers it.
  void Acknowledge(std::string_view text) {
    HWND box = WaitForWindow(program_->Id(), "Quorvane");
    ASSERT_NE(FindControl(box, text), nullptr) << text;
    Press(FindControl(box, "OK"));
    EXPECT_TRUE(WaitUntil([&] { return TopLevelWindows(program_->Id(), "Quorvane").empty(); }));
  }

  Sandbox sandbox_;
  std::unique_ptr<RunningProgram> program_;
};

// scripts/screenshots runs these for the README's pictures.
using PagesGui = QuorvaneGui;

TEST_F(PagesGui, TipThenOneMainWindowWhosePagesMenusAndOptionsWorkAndCleanNowReports) {
  SetValue(HKEY_LOCAL_MACHINE, L"Software\\Netscape\\Netscape 6", L"CurrentVersion", L"6.2");
  SetValue(HKEY_CURRENT_USER, kRunMruKey, L"a", L"notepad\\1");
  SetValue(HKEY_CURRENT_USER, kRunMruKey, L"MRUList", L"a");
  SetValue(HKEY_CURRENT_USER, kOptionsKey, L"Showtip", L"1");
  HWND tip = Start("Tip of the Day");
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(TopLevelWindows(program_->Id(), kMain).empty());
  Picture("tip-of-the-day", tip);
  Press(FindControl(tip, "OK"));
  HWND main = WaitForWindow(program_->Id(), kMain);
  HWND tabs = FindWindowExW(main, nullptr, L"SysTabControl32", nullptr);
  DWORD exitCode = 1;  // a second copy ends at once without a word
  EXPECT_TRUE(RunningProgram(Command(), sandbox_.Path()).WaitForExit(30000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(TopLevelWindows(program_->Id(), kMain).size(), 1u);
  Press(FindControl(main, "Document History"));  // stored at once, and cleaned below
  EXPECT_TRUE(WaitUntil([&] {
    return sandbox_.ReadFile("Local.Ini").find("DocumentHistory=1") != std::string::npos;
  }));

  // Per tab: a caption that only its page holds, and the page's picture.
  const char* const pages[][2] = {{"Windows Find/Search History", "standard-clean-items"},
                                  {"&Add", "custom-clean-items"},
                                  {"Show tips at startup", "additional-options"},
                                  {"Clean Internet Explorer", "internet-explorer"},
                                  {"Clean Netscape", "netscape"},
                                  {"Clean Microsoft Office", "ms-office-tracks"},
                                  {"&System Info...", "about"}};
  for (int tab = 0; tab < 7; ++tab) {
    SCOPED_TRACE(pages[tab][1]);
    ASSERT_TRUE(ClickTab(tabs, tab));
    WaitUntil([&] { return IsWindowVisible(FindControl(main, pages[tab][0])); });
    for (int other = 0; other < 7; ++other) {
      EXPECT_EQ(IsWindowVisible(FindControl(main, pages[other][0])) != FALSE, other == tab);
    }
    Picture(pages[tab][1], main);
  }
  ASSERT_TRUE(ClickMenuBar(main, 20) && PressKeys("i"));  // File > Internet Explorer
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(FindControl(main, pages[3][0])); }));

  ASSERT_TRUE(PressKeys("alt+c"));  // the access key of "&Clean Now"
  Acknowledge("Please logoff the machine for effect in Run History.");
  HWND wash = WaitForWindow(program_->Id(), "System Cleaning in Progress");
  ASSERT_TRUE(WaitUntil([&] { return FindControl(wash, "&Done") != nullptr; }, 60000));
  Picture("clean-window", main, wash);
  int ticked = 0;  // one per target that ran
  std::string estimate;
  for (HWND control : Descendants(wash)) {
    ticked += SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (Text(control).starts_with("  Estimated Drive Space Restored: ")) estimate = Text(control);
  }
  EXPECT_EQ(ticked, 3);
  EXPECT_TRUE(estimate.ends_with(" Kb")) << estimate;
  EXPECT_NE(RegGetValueW(HKEY_CURRENT_USER, kRunMruKey, L"a", RRF_RT_ANY, 0, 0, 0), 0);
  ASSERT_TRUE(PressKeys("Escape"));  // leaves the finished clean window, as "&Done" does
  ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(main); }));
  ASSERT_TRUE(ClickMenuBar(main, 20) && PressKeys("x"));  // File > Exit
  EXPECT_TRUE(program_->WaitForExit(15000));
}

TEST_F(QuorvaneGui, WithoutNetscapeItsTabIsRefusedAndThePageShownStays) {
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Netscape");
  HWND main = Start();
  HWND tabs = FindWindowExW(main, nullptr, L"SysTabControl32", nullptr);
  ASSERT_TRUE(ClickTab(tabs, 4));
  Acknowledge("Netscape is not installed in your system.");
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == 0; }));
  EXPECT_TRUE(IsWindowVisible(FindControl(main, "Windows Find/Search History")));
  EXPECT_FALSE(IsWindowVisible(FindControl(main, "Clean Netscape")));
}

TEST_F(QuorvaneGui, AFileNamedCustomStaysAndNoSettingsFileIsMade) {
  ASSERT_TRUE(DeleteFileW(Widen(sandbox_ / "Local.Ini").c_str()));
  sandbox_.WriteFile("Custom", "not a folder");
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(sandbox_.ReadFile("Custom"), "not a folder");
  EXPECT_FALSE(sandbox_.Exists("Local.Ini"));
}

// A clean long enough to watch: the program's temporary folder, on tmpfs, full of files.
struct CleanWindowGui : QuorvaneGui {
  static constexpr int kTempFiles = 30000;
  void SetUp() override {
    QuorvaneGui::SetUp();
    const std::string shm = "/dev/shm/qv-gui-" + std::to_string(GetCurrentProcessId());
    temp_ = "Z:" + shm + "\\Temp";
    for (char& c : temp_) c = c == '/' ? '\\' : c;
    ASSERT_TRUE(RunUnixTool("rm -rf " + shm + " && mkdir -p " + shm + "/Temp && cd " + shm +
                            "/Temp && seq -f f%g.tmp " + std::to_string(kTempFiles) +
                            " | xargs touch"));
    removeUnix_ = "rm -rf " + shm;
    // The program's temporary folder comes from the environment it inherits.
    for (const wchar_t* name : {L"TMP", L"TEMP"}) {
      wchar_t value[MAX_PATH] = {};
      GetEnvironmentVariableW(name, value, MAX_PATH);
      saved_.emplace_back(name, value);
      SetEnvironmentVariableW(name, Widen(temp_).c_str());
    }
    SetValue(HKEY_CURRENT_USER, kRunMruKey, L"a", L"notepad\\1");
    SetValue(HKEY_CURRENT_USER, kRunMruKey, L"MRUList", L"a");
    SetValue(HKEY_CURRENT_USER, kWordDataKey, L"Settings", L"recent");
  }
  void TearDown() override {
    program_.reset();
    for (const auto& [name, value] : saved_) {
      SetEnvironmentVariableW(name.c_str(), value.empty() ? nullptr : value.c_str());
    }
    RunUnixTool(removeUnix_);
  }
  bool TempHoldsFiles() const {
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(Widen(temp_ + "\\*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
  }
  static bool Ticked(HWND wash, std::string_view label) {
    // Each tick is the control just before its label.
    HWND tick = GetWindow(FindControl(wash, label), GW_HWNDPREV);
    return SendMessageW(tick, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  static bool WordListStays() {
    return RegGetValueW(HKEY_CURRENT_USER, kWordDataKey, L"Settings", RRF_RT_ANY, 0, 0, 0) == 0;
  }
  // Starts the program with these options and presses "&Clean Now"; the clean window or none.
  HWND StartClean(std::string_view options) {
    sandbox_.WriteFile("Local.Ini", options);
    main_ = Start();
    if (!main_) return nullptr;
    Press(FindControl(main_, "&Clean Now"));
    return WaitForWindow(program_->Id(), "System Cleaning in Progress");
  }

  static constexpr wchar_t kWordDataKey[] = L"Software\\Microsoft\\Office\\10.0\\Word\\Data";
  std::string temp_;
  std::string removeUnix_;
  HWND main_ = nullptr;
  std::vector<std::pair<std::wstring, std::wstring>> saved_;
};

TEST_F(CleanWindowGui, TheRunIsWatchedAndContinueClosesTheWindowWhileTheRestRunsOn) {
  HWND wash = StartClean(
      "[Standard Options]\r\nRunHistory=1\r\nTempFiles=1\r\n[MSOffice]\r\nMSOffice=1\r\n"
      "MSWord=1\r\n[Wash Options]\r\nSkipAllCustomWashItems=1\r\nSkipMessages=1\r\n");
  ASSERT_NE(wash, nullptr);
  // Seen while the temporary folder is still being emptied and Office's turn is to come. (A
  // tick cannot be read now: the window answers messages only between targets.)
  HWND button = FindControl(wash, "&Continue");
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(IsWindowVisible(button));
  EXPECT_TRUE(TempHoldsFiles());
  EXPECT_TRUE(WordListStays());
  EXPECT_FALSE(IsWindowEnabled(main_));
  Press(button);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(wash); }, 60000));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_); }, 60000));
  // The targets after the press ran all the same, without a window.
  EXPECT_FALSE(TempHoldsFiles());
  EXPECT_FALSE(WordListStays());
  EXPECT_TRUE(TopLevelWindows(program_->Id(), "System Cleaning in Progress").empty());
}

TEST_F(CleanWindowGui, AfterCloseShowsTheRunWithTheNoticeOverItAndThenCloses) {
  HWND wash = StartClean(
      "[Standard Options]\r\nRunHistory=1\r\nTempFiles=1\r\n[Wash Options]\r\n"
      "SkipAllCustomWashItems=1\r\nAfterClose=1\r\n");
  ASSERT_NE(wash, nullptr);
  EXPECT_NE(FindControl(wash, "&Continue"), nullptr);
  // The notice ends the run, over the clean window, which shows the ticks of the run so far
  // and no estimate yet.
  HWND notice = WaitForWindow(program_->Id(), "Quorvane", 60000);
  ASSERT_NE(notice, nullptr);
  EXPECT_EQ(GetWindow(notice, GW_OWNER), wash);
  EXPECT_TRUE(IsWindowVisible(wash));
  EXPECT_TRUE(Ticked(wash, " Windows Run History"));
  EXPECT_TRUE(Ticked(wash, "Temporary Files Directory"));
  EXPECT_NE(FindControl(wash, "&Continue"), nullptr);
  EXPECT_NE(FindControl(wash, "Estimated Drive Space Restored: "), nullptr);
  EXPECT_FALSE(TempHoldsFiles());
  Press(FindControl(notice, "OK"));
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(wash) || !IsWindowVisible(wash); }));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main_); }));
}

}  // namespace
}  // namespace quorvane::testing
