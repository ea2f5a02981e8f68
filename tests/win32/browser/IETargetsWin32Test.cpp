// The Internet Explorer group over the real platform: the test prefix's URL cache and
// registry, and cookie and download folders pointed at a sandbox.

#include <windows.h>
#include <wininet.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "BrowserFixture.h"
#include "clean/BrowserTargets.h"
#include "core/Reg32.h"
#include "core/SettingsKeys.h"
#include "support/Sandbox.h"
#include "win32/platform/Win32Platform.h"

namespace quorvane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kUserShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const std::string kInternetSettings =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const std::string kCodeStore = "SOFTWARE\\Microsoft\\Code Store Database";
const std::string kDistributionUnits = kCodeStore + "\\Distribution Units";
const std::string kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";

const std::string kPage = "http://quorvane.test/ie/page.html";
const std::string kCookieEntry = "Cookie:tester@quorvane.test/ie/";

class IETargetsWin32Test : public ::testing::Test {
 protected:
  IETargetsWin32Test() {
    app.appFolder = box.Path();
    app.settingsFile = box / "Local.Ini";
    // The shell rewrites "Shell Folders" from "User Shell Folders" whenever a program asks
    // for the folder, so both point at the box.
    SetRegString(HKEY_CURRENT_USER, kShellFolders, "Cookies", box / "Cookies");
    SetRegString(HKEY_CURRENT_USER, kUserShellFolders, "Cookies", box / "Cookies");
    SetRegString(HKEY_LOCAL_MACHINE, kInternetSettings, "ActiveXCache",
                 box / "Downloaded Program Files");
  }
  ~IETargetsWin32Test() override { RemoveCacheEntries({kPage, kCookieEntry}); }

  void Options(const std::string& lines) {
    box.WriteFile("Local.Ini", "[IEOptions]\r\nIE=1\r\n" + lines);
  }

  Sandbox box;
  RegistryValueGuard cookiesValue{HKEY_CURRENT_USER, kShellFolders, "Cookies"};
  RegistryValueGuard userCookiesValue{HKEY_CURRENT_USER, kUserShellFolders, "Cookies"};
  RegistryValueGuard downloadsValue{HKEY_LOCAL_MACHINE, kInternetSettings, "ActiveXCache"};
  RegistryTreeGuard codeStore{HKEY_LOCAL_MACHINE, kCodeStore};
  RegistryTreeGuard typedUrls{HKEY_CURRENT_USER, kTypedUrls};

  win32::Win32Platform real;
  Platform platform = real.platform();
  Reg32 reg{platform.registry, platform.windows};
  AppContext app;
  Settings settings{platform.profile, box / "Local.Ini"};
  CleanContext context{platform, reg, settings, app};
};

TEST_F(IETargetsWin32Test, TheCacheStepEmptiesTheRealCacheOfNormalEntries) {
  ASSERT_TRUE(SeedCacheEntry(kPage, NORMAL_CACHE_ENTRY));
  ASSERT_TRUE(SeedCacheEntry(kCookieEntry, COOKIE_CACHE_ENTRY));
  Options("TempIEFiles=1\r\n");

  CleanIE(context);

  EXPECT_FALSE(CacheEntryExists(kPage));
  EXPECT_TRUE(CacheEntryExists(kCookieEntry));
  EXPECT_FALSE(context.filesRemoved);
}

TEST_F(IETargetsWin32Test, CookieFilesGoAndHiddenOnesCountButStay) {
  box.WriteFile("Cookies\\tester@quorvane[1].txt", "cookie");
  box.WriteFile("Cookies\\tester@other[2].TXT", "cookie");
  box.WriteFile("Cookies\\hidden@quorvane[1].txt", "hidden cookie");
  SetFileAttributesOf(box / "Cookies\\hidden@quorvane[1].txt", FILE_ATTRIBUTE_HIDDEN);
  box.WriteFile("Cookies\\index.dat", "index");
  Options("Cookies=1\r\n");

  CleanIE(context);

  EXPECT_FALSE(box.Exists("Cookies\\tester@quorvane[1].txt"));
  EXPECT_FALSE(box.Exists("Cookies\\tester@other[2].TXT"));
  EXPECT_TRUE(box.Exists("Cookies\\hidden@quorvane[1].txt"));
  EXPECT_TRUE(box.Exists("Cookies\\index.dat"));
  EXPECT_TRUE(context.filesRemoved);
}

TEST_F(IETargetsWin32Test, DownloadedProgramsAndTheirRegistrationsGoButSubFoldersStay) {
  box.WriteFile("Downloaded Program Files\\control.ocx", "program");
  box.WriteFile("Downloaded Program Files\\CONFLICT.1\\control.ocx", "older program");
  SetRegString(HKEY_LOCAL_MACHINE, kDistributionUnits + "\\{11111111-2222}\\Contains\\Files", "x",
               "control.ocx");
  SetRegString(HKEY_LOCAL_MACHINE, kCodeStore, "Kept", "1");
  Options("DownloadDir=1\r\n");

  CleanIE(context);

  EXPECT_FALSE(box.Exists("Downloaded Program Files\\control.ocx"));
  EXPECT_TRUE(box.Exists("Downloaded Program Files\\CONFLICT.1\\control.ocx"));
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kDistributionUnits));
  EXPECT_TRUE(RegValueExists(HKEY_LOCAL_MACHINE, kCodeStore, "Kept"));
  EXPECT_TRUE(context.filesRemoved);
}

TEST_F(IETargetsWin32Test, ADownloadFolderOfOnlySubFoldersLosesOnlyTheRegistrations) {
  box.WriteFile("Downloaded Program Files\\CONFLICT.1\\control.ocx", "older program");
  SetRegString(HKEY_LOCAL_MACHINE, kDistributionUnits + "\\{11111111-2222}", "", "unit");
  Options("DownloadDir=1\r\n");

  CleanIE(context);

  EXPECT_TRUE(box.Exists("Downloaded Program Files\\CONFLICT.1\\control.ocx"));
  EXPECT_FALSE(RegKeyExists(HKEY_LOCAL_MACHINE, kDistributionUnits));
  EXPECT_FALSE(context.filesRemoved);
}

TEST_F(IETargetsWin32Test, HistoryEndsQuietlyAndTheTypedAddressesAreEmptied) {
  SetRegString(HKEY_CURRENT_USER, kTypedUrls, "url1", "http://typed.quorvane.test/");
  SetRegString(HKEY_CURRENT_USER, kTypedUrls, "url2", "http://other.quorvane.test/");
  Options("CleanHistory=1\r\nIEConrolPanel=1\r\n");

  CleanIE(context);

  ASSERT_TRUE(RegKeyExists(HKEY_CURRENT_USER, kTypedUrls));
  EXPECT_THAT(RegValueNames(HKEY_CURRENT_USER, kTypedUrls), IsEmpty());
  EXPECT_THAT(RegSubKeyNames(HKEY_CURRENT_USER, kTypedUrls), IsEmpty());
}

}  // namespace
}  // namespace quorvane::testing
