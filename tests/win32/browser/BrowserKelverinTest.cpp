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

// The files of a profile, and whether a clean removes them: a Trash directly in the mail
// folder belongs to no mail folder and stays.
constexpr std::pair<const char*, bool> kProfileFiles[] = {
    {"Cache\\A1B2C3D4", true},
    {"Cache\\Sub\\E5F6", true},
    {"cookies.txt", true},
    {"history.dat", true},
    {"netscape.hst", true},
    {"mail\\Local Folders\\Trash", true},
    {"mail\\Local Folders\\Trash.msf", true},
    {"mail\\Local Folders\\Inbox", false},
    {"prefs.js", false},
    {"mail\\Trash", false}};

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

  // A profile with one trace of every kind, and files that no target removes.
  void SeedProfile(const std::string& profile) {
    for (const auto& [name, goes] : kProfileFiles) box.WriteFile(profile + "\\" + name, name);
    ASSERT_TRUE(SetFileAttributesW(Widen(box / (profile + "\\Cache\\Sub\\E5F6")).c_str(),
                                   FILE_ATTRIBUTE_READONLY));
  }
  void ExpectCleaned(const std::string& profile, bool cleaned) {
    SCOPED_TRACE(profile);
    for (const auto& [name, goes] : kProfileFiles) {
      EXPECT_EQ(box.Exists(profile + "\\" + name), !(goes && cleaned)) << name;
    }
    EXPECT_TRUE(box.Exists(profile + "\\Cache"));
  }
  void SeedNavigator(const std::string& installDirectory, const std::string& user) {
    SetRegString(HKEY_LOCAL_MACHINE, kNetscapeKey + "\\Netscape Navigator", "CurrentVersion",
                 "4.79");
    SetRegString(HKEY_CURRENT_USER, kNavigatorMain, "Install Directory", installDirectory);
    SetRegString(HKEY_CURRENT_USER, kNavigatorBiff, "CurrentUser", user);
    for (const char* name : {"URL_1", "url_2", "Url_3"}) {
      SetRegString(HKEY_CURRENT_USER, kUrlHistory, name, "http://quorvane.test/");
    }
    SetRegString(HKEY_CURRENT_USER, kUrlHistory, "Kept", "stays");
    box.WriteFile("Local.Ini", kNetscapeOptions);
  }

  Sandbox box;
  RegistryTreeGuard netscapeMachine{HKEY_LOCAL_MACHINE, kNetscapeKey};
  RegistryTreeGuard netscapeUser{HKEY_CURRENT_USER, kNetscapeKey};
  RegistryTreeGuard profileList{HKEY_CURRENT_USER, kNProfile};
};

TEST_F(BrowserKelverinTest, TheNavigatorProfileThenTheSelectedNetscape6ProfilesAreCleaned) {
  SeedNavigator(box / "Netscape\\Program", "bob");
  SeedProfile("Netscape\\Users\\bob");
  SeedProfile("Netscape\\Users\\alice");

  ProcessResult result = Clean();
  EXPECT_EQ(result.exitCode, 0u) << result.output;
  EXPECT_THAT(result.output, HasSubstr("Netscape: done"));
  ExpectCleaned("Netscape\\Users\\bob", true);
  ExpectCleaned("Netscape\\Users\\alice", false);
  EXPECT_THAT(RegValueNames(HKEY_CURRENT_USER, kUrlHistory), ElementsAre("Kept"));

  // With Netscape 6 present, Navigator's profile is left alone and the stored selection of
  // Netscape 6 profiles is cleaned.
  SetRegString(HKEY_LOCAL_MACHINE, kNetscapeKey + "\\Netscape 6", "CurrentVersion", "6.2.3");
  SeedProfile("Netscape\\Users\\bob");
  const char* rows[] = {"Profiles\\first\\abcd.slt", "Profiles\\second\\efgh.slt",
                        "Profiles\\third\\ijkl.slt"};
  for (int i = 0; i < 3; ++i) {
    SeedProfile(rows[i]);
    SetRegString(HKEY_CURRENT_USER, kNProfile, std::to_string(i + 1), box / rows[i]);
  }
  SetRegString(HKEY_CURRENT_USER, kNProfile, "SelectedNProfile", "|1|3");

  result = Clean();
  EXPECT_EQ(result.exitCode, 0u) << result.output;
  ExpectCleaned(rows[0], true);
  ExpectCleaned(rows[1], false);
  ExpectCleaned(rows[2], true);
  ExpectCleaned("Netscape\\Users\\bob", false);
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
  SeedNavigator("Program", user);

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
  box.WriteFile("Cookies\\hidden@quorvane[1].txt", "hidden cookie");
  ASSERT_TRUE(SetFileAttributesW(Widen(box / "Cookies\\hidden@quorvane[1].txt").c_str(),
                                 FILE_ATTRIBUTE_HIDDEN));
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
  EXPECT_TRUE(box.Exists("Cookies\\hidden@quorvane[1].txt"));
  EXPECT_TRUE(box.Exists("Cookies\\index.dat"));
  EXPECT_FALSE(box.Exists("Downloads\\control.ocx"));
  EXPECT_TRUE(box.Exists("Downloads\\CONFLICT.1\\control.ocx"));
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kCodeStore + "\\Distribution Units"));
  ASSERT_TRUE(RegKeyExists(HKEY_CURRENT_USER, kTypedUrls));
  EXPECT_THAT(RegValueNames(HKEY_CURRENT_USER, kTypedUrls), IsEmpty());
}

}  // namespace
}  // namespace quorvane::testing
