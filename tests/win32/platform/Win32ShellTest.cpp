// Shell and window services of the program against the real system.

#include "win32/platform/Win32Shell.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "core/Text.h"
#include "support/Sandbox.h"
#include "win32/platform/WideText.h"
#include "win32/platform/Win32WindowServices.h"

namespace quorvane::win32 {
namespace {

using namespace std::string_literals;

TEST(Win32ShellTest, ProtectsTheSystemsFoldersAndKeepsADriveRootsSeparator) {
  Win32Shell shell;
  wchar_t windows[MAX_PATH] = {}, profile[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH);
  const auto folders = shell.ProtectedFolders();
  for (const std::string& wanted : {Narrow(windows), Narrow(profile), "C:\\users"s}) {
    EXPECT_TRUE(std::any_of(folders.begin(), folders.end(), [&](const std::string& f) {
      return EqualsNoCase(f, wanted);
    })) << wanted;
  }
  EXPECT_EQ(Win32Shell::FolderOfModulePath("C:\\Quorvane.exe"), "C:\\");
  EXPECT_EQ(Win32Shell::FolderOfModulePath("\\\\?\\UNC\\srv\\share\\Q.exe"), "\\\\srv\\share");
}

TEST(Win32ShellTest, StartProgramReturnsWithoutWaiting) {
  quorvane::testing::Sandbox box;
  // The program waits (up to a minute) for go.txt, which is written once the call returned.
  box.WriteFile("child.bat",
                "set /a n=0\r\n:wait\r\nset /a n+=1\r\nif not exist \"%~dp0go.txt\" if %n% lss 60 "
                "(ping -n 2 127.0.0.1 > nul & goto wait)\r\necho done> \"%~dp0done.txt\"\r\n");
  ASSERT_TRUE(Win32Shell().StartProgram("cmd.exe /c \"" + (box / "child.bat") + "\"",
                                        WindowStyle::MinimizedFocus));
  EXPECT_FALSE(box.Exists("done.txt"));
  box.WriteFile("go.txt", "");
  for (int i = 0; i < 300 && !box.Exists("done.txt"); ++i) Sleep(100);
  EXPECT_TRUE(box.Exists("done.txt"));
}

// The program is started by its exact path, never found by a search, and gets the arguments.
TEST(Win32ShellTest, StartProgramWithArgumentsPassesThemToThatProgram) {
  quorvane::testing::Sandbox box;
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  const std::string cmd = Narrow(system) + "\\cmd.exe";
  ASSERT_TRUE(Win32Shell().StartProgramWithArguments(
      cmd, "/c echo started> \"" + (box / "out.txt") + "\"", WindowStyle::MinimizedFocus));
  for (int i = 0; i < 300 && box.ReadFile("out.txt").empty(); ++i) Sleep(100);
  EXPECT_EQ(box.ReadFile("out.txt"), "started\r\n");
  EXPECT_FALSE(
      Win32Shell().StartProgramWithArguments("cmd.exe", "/c exit", WindowStyle::NormalFocus));
  EXPECT_FALSE(
      Win32Shell().StartProgramWithArguments(box / "missing.exe", "", WindowStyle::NormalFocus));
}

// The turn is a mutex of the session, held by one thread at a time: another waits for it.
TEST(Win32WindowServicesTest, OneCleanTurnAtATimeAndRunningCopiesAreSeen) {
  Win32WindowServices window, companion;
  EXPECT_FALSE(companion.InstanceRunning("QuorvaneRunningTest"));
  ASSERT_TRUE(window.AcquireSingleInstance("QuorvaneRunningTest"));
  EXPECT_TRUE(companion.InstanceRunning("QuorvaneRunningTest"));

  ASSERT_TRUE(window.WaitForCleanTurn(0));
  EXPECT_TRUE(window.WaitForCleanTurn(0));  // held already
  std::atomic<bool> firstAsked = false;
  bool refused = false, gotLater = false;
  std::thread other([&] {
    refused = !companion.WaitForCleanTurn(50);
    firstAsked = true;
    gotLater = companion.WaitForCleanTurn(30000);
    companion.EndCleanTurn();
  });
  while (!firstAsked) Sleep(10);
  window.EndCleanTurn();
  other.join();
  EXPECT_TRUE(refused);
  EXPECT_TRUE(gotLater);
  EXPECT_TRUE(window.WaitForCleanTurn(0));
  window.EndCleanTurn();
}

TEST(Win32WindowServicesTest, ATokenIsHeldUntilItsHolderEndsAndAQuitIsKept) {
  {
    Win32WindowServices first, second;
    EXPECT_TRUE(first.AcquireSingleInstance("QuorvaneTokenTest"));
    EXPECT_FALSE(second.AcquireSingleInstance("QuorvaneTokenTest"));
  }
  Win32WindowServices next;
  EXPECT_TRUE(next.AcquireSingleInstance("QuorvaneTokenTest"));
  // The quit belongs to the program's main loop, not to a pump run during a clean.
  PostQuitMessage(7);
  next.ProcessPendingEvents();
  MSG message{};
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace quorvane::win32
