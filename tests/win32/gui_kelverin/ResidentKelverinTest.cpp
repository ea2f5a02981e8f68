// The resident Kelverin.exe under a real window system: its hidden "Kelverin" window, the
// schedule at start, the end of the session, a second copy and "--stop".

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <regex>
#include <string>

#include "support/GuiDriver.h"
#include "support/Sandbox.h"
#include "support/TestRegistry.h"
#include "win32/platform/WideText.h"

namespace quorvane::testing {
namespace {

using win32::Widen;

const std::string kLastCleanKey = "Software\\VB and VBA Program Settings\\Quorvane\\Kelverin";

std::string LogPath() {
  wchar_t folder[MAX_PATH] = {};
  EXPECT_EQ(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, folder), S_OK);
  return win32::Narrow(folder) + "\\Quorvane\\Kelverin.log";
}

// The log's lines that name the reason of a clean.
std::vector<std::string> CleanHeaders() {
  std::string bytes;
  HANDLE file = CreateFileW(Widen(LogPath()).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
      bytes.append(buffer, got);
    }
    CloseHandle(file);
  }
  const std::regex header("[0-9-]{10} [0-9:]{8} (logon|shutdown|schedule)\r");
  std::vector<std::string> reasons;
  for (std::sregex_iterator it(bytes.begin(), bytes.end(), header), end; it != end; ++it) {
    reasons.push_back((*it)[1]);
  }
  return reasons;
}

class ResidentKelverinTest : public ::testing::Test {
 protected:
  ResidentKelverinTest() {
    EXPECT_TRUE(CopyFileW(Widen(ExecutableFolder() + "\\Kelverin.exe").c_str(),
                          Widen(box / "Kelverin.exe").c_str(), FALSE));
    box.WriteFile("Custom\\Junk.ac2", "\"F\",\"" + (box / "junk\\*.tmp") + "\",\"\"\r\n");
    box.WriteFile("junk\\one.tmp", "1");
    DeleteFileW(Widen(LogPath()).c_str());
    DeleteRegTree(kLastCleanKey);
  }
  ~ResidentKelverinTest() override {
    if (process_) {
      (void)RunProcess(Exe() + " --stop", box.Path());
      if (WaitForSingleObject(process_, 20000) != WAIT_OBJECT_0) TerminateProcess(process_, 1);
      CloseHandle(process_);
    }
    DeleteFileW(Widen(LogPath()).c_str());
    DeleteRegTree(kLastCleanKey);
  }
  std::string Exe() const { return "\"" + (box / "Kelverin.exe") + "\""; }

  // Started as Windows starts the Run value: no console, no inherited handles.
  HWND StartResident(const std::string& arguments) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring command = Widen(Exe() + arguments);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        Widen(box.Path()).c_str(), &startup, &process)) {
      return nullptr;
    }
    CloseHandle(process.hThread);
    process_ = process.hProcess;
    for (int i = 0; i < 300; ++i) {
      if (HWND window = FindWindowW(L"KelverinResident", L"Kelverin")) return window;
      if (WaitForSingleObject(process_, 100) == WAIT_OBJECT_0) return nullptr;
    }
    return nullptr;
  }
  bool Stopped() {
    const ProcessResult stop = RunProcess(Exe() + " --stop", box.Path());
    EXPECT_EQ(stop.exitCode, 0u);
    // --stop answers once the copy has ended, so that its program file can go next.
    DWORD code = 1;
    const bool ended = WaitForSingleObject(process_, 0) == WAIT_OBJECT_0 &&
                       GetExitCodeProcess(process_, &code) && code == 0;
    CloseHandle(process_);
    process_ = nullptr;
    return ended;
  }

  Sandbox box;
  HANDLE process_ = nullptr;
};

TEST_F(ResidentKelverinTest, TheEndOfTheSessionCleansOnceAndASecondCopyEndsAtOnce) {
  box.WriteFile("Local.Ini", "[Wash Options]\r\nRunAutowashShutdown=1\r\n");
  const HWND window = StartResident("");
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_TRUE(box.Exists("junk\\one.tmp"));  // no logon clean without "Started"

  const ProcessResult second = RunProcess(Exe(), box.Path(), 30000);
  EXPECT_EQ(second.exitCode, 0u);
  EXPECT_EQ(WaitForSingleObject(process_, 0), static_cast<DWORD>(WAIT_TIMEOUT));

  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                  120000, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
  EXPECT_FALSE(box.Exists("junk\\one.tmp"));
  box.WriteFile("junk\\two.tmp", "2");
  ASSERT_TRUE(SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                  120000, &answer));
  EXPECT_TRUE(box.Exists("junk\\two.tmp"));  // one clean per end of the session
  EXPECT_THAT(CleanHeaders(), ::testing::ElementsAre("shutdown"));

  // A cancelled end of the session, then another: that one cleans again.
  ASSERT_TRUE(SendMessageTimeoutW(window, WM_ENDSESSION, FALSE, 0, SMTO_NORMAL, 120000, &answer));
  ASSERT_TRUE(SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 120000, &answer));
  EXPECT_FALSE(box.Exists("junk\\two.tmp"));
  EXPECT_THAT(CleanHeaders(), ::testing::ElementsAre("shutdown", "shutdown"));
  EXPECT_TRUE(Stopped());
}

TEST_F(ResidentKelverinTest, AResidentCopyCleansAtOnceWhenTheLastCleanIsOld) {
  box.WriteFile("Local.Ini",
                "[Wash Options]\r\nRunAutowashStart=1\r\nRunAutowash=1\r\nSchedule=6\r\n");
  SetRegString(kLastCleanKey, "LastClean", "2001-01-31T08:00:00Z");
  ASSERT_NE(StartResident(" --resident"), nullptr);
  // The first check comes before the window: the clean is done once the window is there.
  EXPECT_FALSE(box.Exists("junk\\one.tmp"));
  EXPECT_THAT(CleanHeaders(), ::testing::ElementsAre("schedule"));  // no logon clean
  const std::string stamp = GetRegString(kLastCleanKey, "LastClean");
  EXPECT_TRUE(std::regex_match(stamp, std::regex("20[2-9][0-9]-.*Z"))) << stamp;
  EXPECT_TRUE(Stopped());
}

// Ticking "Shutdown" in the window registers the companion and starts it at once, so the
// end of this very session is cleaned; unticking the last box removes the Run value.
TEST_F(ResidentKelverinTest, TickingShutdownInTheWindowStartsTheCompanion) {
  for (const char* file : {"Quorvane.exe", "TIPOFDAY.TXT"}) {
    ASSERT_TRUE(CopyFileW(Widen(ExecutableFolder() + "\\" + file).c_str(),
                          Widen(box / file).c_str(), FALSE));
  }
  box.WriteFile("Local.Ini", "[Wash Options]\r\nSkipAllCustomWashItems=1\r\n");
  SetRegString("Software\\VB and VBA Program Settings\\Quorvane\\Options", "Showtip", "0");
  const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  RegDeleteKeyValueW(HKEY_CURRENT_USER, Widen(run).c_str(), L"Ostrevane");

  RunningProgram window("\"" + (box / "Quorvane.exe") + "\"", box.Path());
  const HWND main = WaitForWindow(window.Id(), "Quorvane Version 5.0");
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(ClickTab(FindWindowExW(main, nullptr, L"SysTabControl32", nullptr), 2));
  const HWND shutdown = FindControl(main, "Shutdown");
  ASSERT_NE(shutdown, nullptr);
  EXPECT_EQ(FindWindowW(L"KelverinResident", L"Kelverin"), nullptr);

  Press(shutdown);
  EXPECT_TRUE(WaitUntil([] { return FindWindowW(L"KelverinResident", L"Kelverin") != nullptr; }));
  EXPECT_EQ(GetRegString(run, "Ostrevane"), box / "Kelverin.exe");
  Press(shutdown);
  EXPECT_TRUE(WaitUntil([&] { return !RegValueExists(run, "Ostrevane"); }));

  // The companion ends by itself at its next check; --stop ends it now.
  EXPECT_EQ(RunProcess(Exe() + " --stop", box.Path()).exitCode, 0u);
  EXPECT_TRUE(WaitUntil([] { return FindWindowW(L"KelverinResident", L"Kelverin") == nullptr; }));
}

}  // namespace
}  // namespace quorvane::testing
