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

using quorvane::testing::ExecutableFolder;
using quorvane::testing::Sandbox;

TEST(Win32ShellTest, ApplicationFolderIsTheFolderOfTheRunningExecutable) {
  Win32Shell shell;
  const std::string folder = shell.ApplicationFolder();
  EXPECT_TRUE(EqualsNoCase(folder, ExecutableFolder())) << folder;
  EXPECT_NE(folder.back(), '\\');
}

TEST(Win32ShellTest, FolderOfModulePathKeepsTheSeparatorOfADriveRootOnly) {
  EXPECT_EQ(Win32Shell::FolderOfModulePath("C:\\Program Files\\Quorvane\\Quorvane.exe"),
            "C:\\Program Files\\Quorvane");
  EXPECT_EQ(Win32Shell::FolderOfModulePath("C:\\Quorvane.exe"), "C:\\");
  EXPECT_EQ(Win32Shell::FolderOfModulePath("\\\\?\\D:\\Tools\\Quorvane.exe"), "D:\\Tools");
  EXPECT_EQ(Win32Shell::FolderOfModulePath("\\\\?\\UNC\\server\\share\\Quorvane.exe"),
            "\\\\server\\share");
  EXPECT_EQ(Win32Shell::FolderOfModulePath("\\\\server\\share\\q\\Quorvane.exe"),
            "\\\\server\\share\\q");
}

TEST(Win32ShellTest, TempPathEndsInABackSlashAndExists) {
  Win32Shell shell;
  const std::string temp = shell.GetTempPath();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), '\\');
  const DWORD attributes = GetFileAttributesW(Widen(temp).c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(Win32ShellTest, ProtectedFoldersHoldTheSystemsOwnFolders) {
  Win32Shell shell;
  const auto folders = shell.ProtectedFolders();
  auto holds = [&](std::string_view wanted) {
    return std::any_of(folders.begin(), folders.end(),
                       [&](const std::string& f) { return EqualsNoCase(f, wanted); });
  };
  wchar_t windows[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  EXPECT_TRUE(holds(Narrow(windows))) << Narrow(windows);
  EXPECT_TRUE(holds("C:\\Program Files"));
  EXPECT_TRUE(holds("C:\\users"));
  wchar_t profile[MAX_PATH] = {};
  ASSERT_GT(GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH), 0u);
  EXPECT_TRUE(holds(Narrow(profile))) << Narrow(profile);
  for (const auto& folder : folders) {
    EXPECT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\') << folder;
  }
}

TEST(Win32ShellTest, StartProgramReturnsWithoutWaiting) {
  Sandbox sandbox;
  Win32Shell shell;
  // The started program waits (up to a minute) for "go.txt", which the test writes only
  // after the call has returned; a call that waited would find the program already done.
  const std::string script =
      "@echo off\r\n"
      "echo started> \"" +
      (sandbox / "started.txt") +
      "\"\r\n"
      "set /a n=0\r\n"
      ":wait\r\n"
      "if exist \"" +
      (sandbox / "go.txt") +
      "\" goto done\r\n"
      "set /a n+=1\r\n"
      "if %n% geq 60 goto done\r\n"
      "ping -n 2 127.0.0.1 > nul\r\n"
      "goto wait\r\n"
      ":done\r\n"
      "echo done> \"" +
      (sandbox / "done.txt") + "\"\r\n";
  sandbox.WriteFile("child.bat", script);
  ASSERT_TRUE(shell.StartProgram("cmd.exe /c \"" + (sandbox / "child.bat") + "\"",
                                 WindowStyle::MinimizedFocus));
  EXPECT_FALSE(sandbox.Exists("done.txt"));
  sandbox.WriteFile("go.txt", "");
  for (int i = 0; i < 300 && !sandbox.Exists("done.txt"); ++i) Sleep(100);
  EXPECT_TRUE(sandbox.Exists("started.txt"));
  EXPECT_TRUE(sandbox.Exists("done.txt"));
}

TEST(Win32ShellTest, StartProgramFailsForAMissingProgram) {
  Sandbox sandbox;
  Win32Shell shell;
  EXPECT_FALSE(shell.StartProgram(sandbox / "missing.exe", WindowStyle::NormalFocus));
}

TEST(Win32WindowServicesTest, SecondClaimOfTheSameTokenIsRefused) {
  Win32WindowServices first;
  Win32WindowServices second;
  Win32WindowServices other;
  EXPECT_TRUE(first.AcquireSingleInstance("QuorvaneTokenTest"));
  EXPECT_TRUE(first.AcquireSingleInstance("QuorvaneTokenTest"));
  EXPECT_FALSE(second.AcquireSingleInstance("QuorvaneTokenTest"));
  EXPECT_TRUE(other.AcquireSingleInstance("QuorvaneOtherTokenTest"));
}

TEST(Win32WindowServicesTest, TokenIsFreedWhenItsHolderEnds) {
  {
    Win32WindowServices holder;
    ASSERT_TRUE(holder.AcquireSingleInstance("QuorvaneReleasedTokenTest"));
  }
  Win32WindowServices next;
  EXPECT_TRUE(next.AcquireSingleInstance("QuorvaneReleasedTokenTest"));
}

TEST(Win32WindowServicesTest, TokenNameStaysInTheSession) {
  const std::wstring name = Win32WindowServices::SingleInstanceMutexName("Quorvane");
  EXPECT_EQ(name.rfind(L"Local\\Quorvane.", 0), 0u);
  EXPECT_EQ(name.find(L'\\', 6), std::wstring::npos);
}

TEST(Win32WindowServicesTest, PendingEventsAreProcessedAndAQuitIsKept) {
  Win32WindowServices services;
  static int timerCalls = 0;
  timerCalls = 0;
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
