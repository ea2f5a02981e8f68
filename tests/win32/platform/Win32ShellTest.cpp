// Shell and window services of the program against the real system.

#include "win32/platform/Win32Shell.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "core/Text.h"
#include "support/GuiDriver.h"
#include "support/Sandbox.h"
#include "win32/platform/WideText.h"
#include "win32/platform/Win32WindowServices.h"

namespace quorvane::win32 {
namespace {

using namespace std::string_literals;

std::wstring ModulePath() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path;
}

// A copy of this test program under another name is the child program of the start tests:
// it waits (a minute at most) for "<its path>.go", leaves "<its path>.started" and ends
// before any test runs.
[[maybe_unused]] const bool kRunsAsChild = [] {
  const std::wstring self = ModulePath();
  const std::string name = Narrow(self.substr(self.find_last_of(L'\\') + 1));
  if (EqualsNoCase(name, "win32_platform_tests.exe")) return false;
  for (int i = 0; i < 600 && GetFileAttributesW((self + L".go").c_str()) == INVALID_FILE_ATTRIBUTES;
       ++i) {
    Sleep(100);
  }
  CloseHandle(CreateFileW((self + L".started").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                          nullptr));
  ExitProcess(0);
}();

// The profile list of the registry is read too: a profile kept outside the profiles folder
// (moved to another drive, say) is protected by it.
TEST(Win32ShellTest, ProtectsTheSystemsFoldersAndKeepsADriveRootsSeparator) {
  Win32Shell shell;
  wchar_t windows[MAX_PATH] = {}, profile[MAX_PATH] = {};
  GetWindowsDirectoryW(windows, MAX_PATH);
  GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH);
  const ProtectedFolderList guarded = shell.ProtectedFolders();
  const auto& folders = guarded.folders;
  for (const std::string& wanted :
       {Narrow(windows), Narrow(profile), "C:\\ProgramData"s, "C:\\Program Files"s}) {
    EXPECT_TRUE(std::any_of(folders.begin(), folders.end(), [&](const std::string& f) {
      return EqualsNoCase(f, wanted);
    })) << wanted;
  }
  EXPECT_TRUE(EqualsNoCase(guarded.profilesFolder, "C:\\users")) << guarded.profilesFolder;

  const wchar_t* listed =
      L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\S-1-5-21-9-9-9-1099";
  const wchar_t moved[] = L"%SystemDrive%\\Moved\\carl";
  ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, listed, L"ProfileImagePath", REG_EXPAND_SZ, moved,
                            sizeof(moved)),
            ERROR_SUCCESS);
  const auto withMoved = shell.ProtectedFolders().folders;
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, listed);
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, listed);
  EXPECT_TRUE(std::any_of(withMoved.begin(), withMoved.end(),
                          [](const std::string& f) { return EqualsNoCase(f, "C:\\Moved\\carl"); }));
  EXPECT_EQ(Win32Shell::FolderOfModulePath("C:\\Quorvane.exe"), "C:\\");
  EXPECT_EQ(Win32Shell::FolderOfModulePath("\\\\?\\UNC\\srv\\share\\Q.exe"), "\\\\srv\\share");
}

TEST(Win32ShellTest, AProgramStartsByItsWholePathOnlyAndTheCallDoesNotWait) {
  quorvane::testing::Sandbox box;
  box.MakeFolder("My Tools");
  for (const char* copy : {"My Tools\\child.exe", "My.exe"}) {
    ASSERT_TRUE(CopyFileW(ModulePath().c_str(), Widen(box / copy).c_str(), FALSE)) << copy;
  }
  box.WriteFile("My Tools\\notes.txt", "not a program");
  box.WriteFile("My.exe.go", "");  // a copy started by mistake would leave its mark at once
  Win32Shell shell;
  // Split at its blank, the missing program's path would name My.exe.
  EXPECT_FALSE(shell.StartProgram(box / "My Tools\\missing.exe", WindowStyle::NormalFocus));
  EXPECT_FALSE(shell.StartProgram(box / "My Tools\\notes.txt", WindowStyle::NormalFocus));
  EXPECT_FALSE(shell.StartProgram(box / "My Tools\\", WindowStyle::NormalFocus));

  ASSERT_TRUE(shell.StartProgram(box / "My Tools\\child.exe", WindowStyle::MinimizedFocus));
  EXPECT_FALSE(box.Exists("My Tools\\child.exe.started"));  // still waiting for its go
  box.WriteFile("My Tools\\child.exe.go", "");
  EXPECT_TRUE(
      quorvane::testing::WaitUntil([&] { return box.Exists("My Tools\\child.exe.started"); }));
  EXPECT_FALSE(box.Exists("My.exe.started"));
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
    // A start-up that ends early gives the token back before the process ends.
    first.ReleaseSingleInstance();
    EXPECT_TRUE(second.AcquireSingleInstance("QuorvaneTokenTest"));
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
