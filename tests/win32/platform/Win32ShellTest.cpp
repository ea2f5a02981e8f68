// Shell services and window services of the program against the real system.

#include "win32/platform/Win32Shell.h"

#include <windows.h>
// The shell interface names its call like the platform's macro.
#undef GetTempPath

#include <gtest/gtest.h>

#include <algorithm>

#include "core/Text.h"
#include "support/Sandbox.h"
#include "win32/platform/WideText.h"
#include "win32/platform/Win32WindowServices.h"

namespace quorvane::win32 {
namespace {

using quorvane::testing::Sandbox;

TEST(Win32ShellTest, FoldersOfTheSystem) {
  Win32Shell shell;
  const std::string folder = shell.ApplicationFolder();
  EXPECT_TRUE(EqualsNoCase(folder, quorvane::testing::ExecutableFolder())) << folder;
  const std::string temp = shell.GetTempPath();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  EXPECT_NE(GetFileAttributesW(Widen(temp).c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);

  // Protected: the Windows folder, the programs, the users and this user's own profile.
  const auto folders = shell.ProtectedFolders();
  auto holds = [&](const std::string& wanted) {
    return std::any_of(folders.begin(), folders.end(),
                       [&](const std::string& f) { return EqualsNoCase(f, wanted); });
  };
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  wchar_t profile[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH), 0u);
  for (const std::string& wanted :
       {Narrow(windows), std::string("C:\\Program Files"), std::string("C:\\users"),
        Narrow(profile)}) {
    EXPECT_TRUE(holds(wanted)) << wanted;
  }
  for (const auto& protectedFolder : folders) EXPECT_NE(protectedFolder.back(), '\\');
}

TEST(Win32ShellTest, FolderOfModulePathKeepsTheSeparatorOfADriveRootOnly) {
  const std::pair<const char*, const char*> rows[] = {
      {"C:\\Program Files\\Quorvane\\Quorvane.exe", "C:\\Program Files\\Quorvane"},
      {"C:\\Quorvane.exe", "C:\\"},
      {"\\\\?\\D:\\Tools\\Quorvane.exe", "D:\\Tools"},
      {"\\\\?\\UNC\\server\\share\\Quorvane.exe", "\\\\server\\share"},
  };
  for (const auto& [path, folder] : rows) EXPECT_EQ(Win32Shell::FolderOfModulePath(path), folder);
}

TEST(Win32ShellTest, StartProgramReturnsWithoutWaiting) {
  Sandbox sandbox;
  Win32Shell shell;
  // The started program waits (up to a minute) for "go.txt", which the test writes only
  // after the call has returned; a call that waited would find the program already done.
  const std::string script = "@echo off\r\nset /a n=0\r\n:wait\r\nif exist \"" +
                             (sandbox / "go.txt") +
                             "\" goto done\r\nset /a n+=1\r\nif %n% geq 60 goto done\r\n"
                             "ping -n 2 127.0.0.1 > nul\r\ngoto wait\r\n:done\r\necho done> \"" +
                             (sandbox / "done.txt") + "\"\r\n";
  sandbox.WriteFile("child.bat", script);
  ASSERT_TRUE(shell.StartProgram("cmd.exe /c \"" + (sandbox / "child.bat") + "\"",
                                 WindowStyle::MinimizedFocus));
  EXPECT_FALSE(sandbox.Exists("done.txt"));
  sandbox.WriteFile("go.txt", "");
  for (int i = 0; i < 300 && !sandbox.Exists("done.txt"); ++i) Sleep(100);
  EXPECT_TRUE(sandbox.Exists("done.txt"));
  EXPECT_FALSE(shell.StartProgram(sandbox / "missing.exe", WindowStyle::NormalFocus));
}

TEST(Win32WindowServicesTest, ASecondClaimOfATokenIsRefusedUntilItsHolderEnds) {
  {
    Win32WindowServices first;
    Win32WindowServices second;
    EXPECT_TRUE(first.AcquireSingleInstance("QuorvaneTokenTest"));
    EXPECT_TRUE(first.AcquireSingleInstance("QuorvaneTokenTest"));
    EXPECT_FALSE(second.AcquireSingleInstance("QuorvaneTokenTest"));
    EXPECT_TRUE(Win32WindowServices().AcquireSingleInstance("QuorvaneOtherTokenTest"));
  }
  Win32WindowServices next;
  EXPECT_TRUE(next.AcquireSingleInstance("QuorvaneTokenTest"));
  // The token stays in the user's session.
  const std::wstring name = Win32WindowServices::SingleInstanceMutexName("Quorvane");
  EXPECT_EQ(name.rfind(L"Local\\Quorvane.", 0), 0u);
  EXPECT_EQ(name.find(L'\\', 6), std::wstring::npos);
}

TEST(Win32WindowServicesTest, PendingEventsAreProcessedAndAQuitIsKept) {
  Win32WindowServices services;
  static int timerCalls = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 1, [](HWND, UINT, UINT_PTR, DWORD) { ++timerCalls; });
  Sleep(50);
  services.ProcessPendingEvents();
  KillTimer(nullptr, timer);
  EXPECT_GE(timerCalls, 1);

  PostQuitMessage(7);
  services.ProcessPendingEvents();
  MSG message{};
  ASSERT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace quorvane::win32
