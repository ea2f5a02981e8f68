// Kelverin.exe --clean end to end on browser traces: a copy of the program in a sandbox
// with its own Local.Ini, Netscape installations and profiles on disk with their registry
// keys and stored selection, and Internet Explorer's cache, cookies, downloads and typed
// addresses. Every registry key the tests touch is put back afterwards.

#include <windows.h>
#include <wininet.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "BrowserFixture.h"
#include "support/Sandbox.h"
#include "win32/platform/WideText.h"

namespace quorvane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using win32::Widen;

const std::string kNetscapeKey = "Software\\Netscape";
const std::string kNProfile = "Software\\VB and VBA Program Settings\\Quorvane\\NProfile";
const std::string kNavigatorMain = "Software\\Netscape\\Netscape Navigator\\Main";
const std::string kNavigatorBiff = "Software\\Netscape\\Netscape Navigator\\biff";
const std::string kUrlHistory = "Software\\Netscape\\Netscape Navigator\\URL History";
const std::string kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const std::string kInternetSettings =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kCodeStore = "SOFTWARE\\Microsoft\\Code Store Database";
const std::string kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

const std::string kPage = "http://quorvane.test/kelverin/page.html";
const std::string kCookieEntry = "Cookie:tester@quorvane.test/kelverin/";

constexpr char kNetscapeOptions[] =
    "[Netscape Options]\r\nNetscape=1\r\nCache=1\r\nCookies=1\r\nClean=1\r\nMailTrash=1\r\n"
    "FormData=1\r\n[Wash Options]\r\nSkipAllCustomWashItems=1\r\n";

class BrowserKelverinTest : public ::testing::Test {
 protected:
  BrowserKelverinTest() {
    EXPECT_TRUE(CopyFileW(Widen(ExecutableFolder() + "\\Kelverin.exe").c_str(),
                          Widen(box / "Kelverin.exe").c_str(), FALSE));
    // Whatever Netscape the prefix had is gone for the test and back afterwards.
    DeleteRegTree(HKEY_LOCAL_MACHINE, kNetscapeKey);
    DeleteRegTree(HKEY_CURRENT_USER, kNetscapeKey);
    DeleteRegTree(HKEY_CURRENT_USER, kNProfile);
  }
  ~BrowserKelverinTest() override { RemoveCacheEntries({kPage, kCookieEntry}); }

  ProcessResult Clean() {
    return RunProcess("\"" + (box / "Kelverin.exe") + "\" --clean", box.Path(), 120000);
  }

  // A profile with one trace of every kind and a file that no target removes.
  void SeedProfile(const std::string& relative) {
    box.WriteFile(relative + "\\Cache\\A1B2C3D4", "cached page");
    box.WriteFile(relative + "\\Cache\\Sub\\E5F6", "cached image");
    SetFileAttributesOf(box / (relative + "\\Cache\\Sub\\E5F6"), FILE_ATTRIBUTE_READONLY);
    box.WriteFile(relative + "\\cookies.txt", "cookie");
    box.WriteFile(relative + "\\history.dat", "history");
    box.WriteFile(relative + "\\netscape.hst", "history");
    box.WriteFile(relative + "\\prefs.js", "preferences");
    box.WriteFile(relative + "\\mail\\Local Folders\\Trash", "deleted mail");
    box.WriteFile(relative + "\\mail\\Local Folders\\Trash.msf", "index");
    box.WriteFile(relative + "\\mail\\Local Folders\\Inbox", "kept mail");
    box.WriteFile(relative + "\\mail\\Trash", "directly in the mail folder");
  }
  void ExpectCleaned(const std::string& relative) {
    SCOPED_TRACE(relative);
    EXPECT_TRUE(box.Exists(relative + "\\Cache"));
    EXPECT_FALSE(box.Exists(relative + "\\Cache\\A1B2C3D4"));
    EXPECT_FALSE(box.Exists(relative + "\\Cache\\Sub"));
    EXPECT_FALSE(box.Exists(relative + "\\cookies.txt"));
    EXPECT_FALSE(box.Exists(relative + "\\history.dat"));
    EXPECT_FALSE(box.Exists(relative + "\\netscape.hst"));
    EXPECT_FALSE(box.Exists(relative + "\\mail\\Local Folders\\Trash"));
    EXPECT_FALSE(box.Exists(relative + "\\mail\\Local Folders\\Trash.msf"));
    EXPECT_TRUE(box.Exists(relative + "\\mail\\Local Folders\\Inbox"));
    EXPECT_TRUE(box.Exists(relative + "\\mail\\Trash"));
    EXPECT_TRUE(box.Exists(relative + "\\prefs.js"));
  }
  void ExpectUntouched(const std::string& relative) {
    SCOPED_TRACE(relative);
    EXPECT_TRUE(box.Exists(relative + "\\Cache\\A1B2C3D4"));
    EXPECT_TRUE(box.Exists(relative + "\\cookies.txt"));
    EXPECT_TRUE(box.Exists(relative + "\\history.dat"));
    EXPECT_TRUE(box.Exists(relative + "\\netscape.hst"));
    EXPECT_TRUE(box.Exists(relative + "\\mail\\Local Folders\\Trash"));
  }
  void SeedTypedHistory() {
    for (const char* name : {"URL_1", "url_2", "Url_3"}) {
      SetRegString(HKEY_CURRENT_USER, kUrlHistory, name, "http://quorvane.test/");
    }
    SetRegString(HKEY_CURRENT_USER, kUrlHistory, "Kept", "stays");
  }

  Sandbox box;
  RegistryTreeGuard netscapeMachine{HKEY_LOCAL_MACHINE, kNetscapeKey};
  RegistryTreeGuard netscapeUser{HKEY_CURRENT_USER, kNetscapeKey};
  RegistryTreeGuard profileList{HKEY_CURRENT_USER, kNProfile};
};

TEST_F(BrowserKelverinTest, TheSelectedNetscape6ProfilesAreCleaned) {
  SetRegString(HKEY_LOCAL_MACHINE, "Software\\Netscape\\Netscape 6", "CurrentVersion", "6.2.3");
  // Navigator is installed as well; with Netscape 6 present its profile is left alone.
  SetRegString(HKEY_LOCAL_MACHINE, "Software\\Netscape\\Netscape Navigator", "CurrentVersion",
               "4.79");
  SetRegString(HKEY_CURRENT_USER, kNavigatorMain, "Install Directory", box / "Netscape\\Program");
  SetRegString(HKEY_CURRENT_USER, kNavigatorBiff, "CurrentUser", "bob");
  const char* rows[] = {"Profiles\\first\\abcd.slt", "Profiles\\second\\efgh.slt",
                        "Profiles\\third\\ijkl.slt"};
  for (int i = 0; i < 3; ++i) {
    SeedProfile(rows[i]);
    SetRegString(HKEY_CURRENT_USER, kNProfile, std::to_string(i + 1), box / rows[i]);
  }
  SetRegString(HKEY_CURRENT_USER, kNProfile, "SelectedNProfile", "|1|3");
  SeedProfile("Netscape\\Users\\bob");
  SeedTypedHistory();
  box.WriteFile("Local.Ini", kNetscapeOptions);

  const ProcessResult result = Clean();

  EXPECT_EQ(result.exitCode, 0u) << result.output;
  EXPECT_THAT(result.output, HasSubstr("Netscape: done"));
  ExpectCleaned(rows[0]);
  ExpectUntouched(rows[1]);
  ExpectCleaned(rows[2]);
  ExpectUntouched("Netscape\\Users\\bob");
  EXPECT_THAT(RegValueNames(HKEY_CURRENT_USER, kUrlHistory), ElementsAre("Kept"));
}

TEST_F(BrowserKelverinTest, TheNavigatorProfileIsFoundFromTheRegistryAndCleaned) {
  SetRegString(HKEY_LOCAL_MACHINE, "Software\\Netscape\\Netscape Navigator", "CurrentVersion",
               "4.79");
  SetRegString(HKEY_CURRENT_USER, kNavigatorMain, "Install Directory", box / "Netscape\\Program");
  SetRegString(HKEY_CURRENT_USER, kNavigatorBiff, "CurrentUser", "bob");
  SeedProfile("Netscape\\Users\\bob");
  SeedProfile("Netscape\\Users\\alice");
  SeedTypedHistory();
  box.WriteFile("Local.Ini", kNetscapeOptions);

  const ProcessResult result = Clean();

  EXPECT_EQ(result.exitCode, 0u) << result.output;
  ExpectCleaned("Netscape\\Users\\bob");
  ExpectUntouched("Netscape\\Users\\alice");
  EXPECT_THAT(RegValueNames(HKEY_CURRENT_USER, kUrlHistory), ElementsAre("Kept"));
}

// An install directory without a back-slash names no Netscape folder. Taken as it stands,
// the profile would be "\Users\" and the user name on the current drive: the user's own
// home folder.
TEST_F(BrowserKelverinTest, AnInstallDirectoryWithoutASeparatorCleansNothing) {
  char user[256] = {};
  DWORD length = sizeof(user);
  ASSERT_TRUE(GetUserNameA(user, &length));
  // The program runs in the sandbox, so its current drive is the sandbox's.
  const std::string home = box.Path().substr(0, 2) + "\\Users\\" + user;
  const std::string probe = home + "\\cookies.txt";
  const std::wstring wideProbe = Widen(probe);
  const bool existed = GetFileAttributesW(wideProbe.c_str()) != INVALID_FILE_ATTRIBUTES;
  if (!existed) {
    HANDLE file = CreateFileW(wideProbe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << probe;
    CloseHandle(file);
  }
  SetRegString(HKEY_LOCAL_MACHINE, "Software\\Netscape\\Netscape Navigator", "CurrentVersion",
               "4.79");
  SetRegString(HKEY_CURRENT_USER, kNavigatorMain, "Install Directory", "Program");
  SetRegString(HKEY_CURRENT_USER, kNavigatorBiff, "CurrentUser", user);
  box.WriteFile("Local.Ini", kNetscapeOptions);

  const ProcessResult result = Clean();

  EXPECT_EQ(result.exitCode, 0u) << result.output;
  EXPECT_NE(GetFileAttributesW(wideProbe.c_str()), INVALID_FILE_ATTRIBUTES) << probe;
  EXPECT_EQ(GetFileAttributesW(Widen(home + "\\Cache").c_str()), INVALID_FILE_ATTRIBUTES);
  if (!existed) DeleteFileW(wideProbe.c_str());
}

TEST_F(BrowserKelverinTest, TheInternetExplorerGroupCleansEveryTraceAndGoesOn) {
  RegistryValueGuard cookiesValue{HKEY_CURRENT_USER, kShellFolders, "Cookies"};
  RegistryValueGuard userCookiesValue{HKEY_CURRENT_USER, kUserShellFolders, "Cookies"};
  RegistryValueGuard downloadsValue{HKEY_LOCAL_MACHINE, kInternetSettings, "ActiveXCache"};
  RegistryTreeGuard codeStore{HKEY_LOCAL_MACHINE, kCodeStore};
  RegistryTreeGuard typedUrls{HKEY_CURRENT_USER, kTypedUrls};
  // The shell writes "Shell Folders" anew from "User Shell Folders" whenever a program asks
  // for the folder (the URL cache does, before the cookie step), so both point at the box.
  SetRegString(HKEY_CURRENT_USER, kShellFolders, "Cookies", box / "Cookies");
  SetRegString(HKEY_CURRENT_USER, kUserShellFolders, "Cookies", box / "Cookies");
  SetRegString(HKEY_LOCAL_MACHINE, kInternetSettings, "ActiveXCache", box / "Downloads");
  box.WriteFile("Cookies\\tester@quorvane[1].txt", "cookie");
  box.WriteFile("Cookies\\index.dat", "index");
  box.WriteFile("Downloads\\control.ocx", "program");
  box.WriteFile("Downloads\\CONFLICT.1\\control.ocx", "older program");
  SetRegString(HKEY_LOCAL_MACHINE, kCodeStore + "\\Distribution Units\\{1111}", "", "unit");
  SetRegString(HKEY_CURRENT_USER, kTypedUrls, "url1", "http://typed.quorvane.test/");
  ASSERT_TRUE(SeedCacheEntry(kPage, NORMAL_CACHE_ENTRY));
  ASSERT_TRUE(SeedCacheEntry(kCookieEntry, COOKIE_CACHE_ENTRY));
  // The companion cleaner is not installed beside the program: its step ends quietly.
  box.WriteFile("Local.Ini",
                "[IEOptions]\r\nIE=1\r\nTempIEFiles=1\r\nCookies=1\r\nDownloadDir=1\r\n"
                "CleanHistory=1\r\nIEConrolPanel=1\r\nAOL=1\r\nAutoComplete=1\r\n"
                "[Wash Options]\r\nSkipAllCustomWashItems=1\r\n");

  const ProcessResult result = Clean();

  EXPECT_EQ(result.exitCode, 0u) << result.output;
  EXPECT_THAT(result.output, HasSubstr("Internet Explorer: done"));
  EXPECT_FALSE(CacheEntryExists(kPage));
  EXPECT_TRUE(CacheEntryExists(kCookieEntry));
  EXPECT_FALSE(box.Exists("Cookies\\tester@quorvane[1].txt"));
  EXPECT_TRUE(box.Exists("Cookies\\index.dat"));
  EXPECT_FALSE(box.Exists("Downloads\\control.ocx"));
  EXPECT_TRUE(box.Exists("Downloads\\CONFLICT.1\\control.ocx"));
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kCodeStore + "\\Distribution Units"));
  ASSERT_TRUE(RegKeyExists(HKEY_CURRENT_USER, kTypedUrls));
  EXPECT_THAT(RegValueNames(HKEY_CURRENT_USER, kTypedUrls), IsEmpty());
}

}  // namespace
}  // namespace quorvane::testing
