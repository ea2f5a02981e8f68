// Shell and window services of the program against the real system.

#include "win32/platform/Win32Shell.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "core/Text.h"
#include "support/Sandbox.h"
#include "win32/platform/WideText.h"
#include "win32/platform/Win32WindowServices.h"

namespace quorvane::win32 {
namespace {

using namespace std::string_literals;

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
