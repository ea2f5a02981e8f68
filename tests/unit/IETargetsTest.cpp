#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clean/BrowserTargets.h"
#include "clean/CleanRun.h"
#include "fakes/FakeCleanContext.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr RegKey HKCU = reg_root::CurrentUser;
constexpr RegKey HKLM = reg_root::LocalMachine;
constexpr const char* kAppFolder = "C:\\Program Files\\Quorvane";
constexpr const char* kIni = "C:\\Program Files\\Quorvane\\Local.Ini";
constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kInternetSettings =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const char* kDistributionUnits =
    "SOFTWARE\\Microsoft\\Code Store Database\\Distribution Units";
constexpr const char* kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
constexpr const char* kCookies = "C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Windows\\Cookies";
constexpr const char* kDownloads = "C:\\Windows\\Downloaded Program Files";
constexpr const char* kCompanion = "C:\\Program Files\\Quorvane\\kestrine.exe";

std::string In(const std::string& folder, const std::string& name) { return folder + "\\" + name; }

class IETargetsTest : public ::testing::Test, public fakes::FakeCleanContext {
 protected:
  IETargetsTest() {
    app.appFolder = kAppFolder;
    app.settingsFile = kIni;
    fake.registry.SetString(HKCU, kShellFolders, "Cookies", kCookies);
    fake.registry.SetString(HKLM, kInternetSettings, "ActiveXCache", kDownloads);
  }

  // The IE group is on; `lines` are the sub-options of section "IEOptions".
  void Options(const std::string& lines) {
    fake.profile.SetFileContent(kIni, "[IEOptions]\r\nIE=1\r\n" + lines);
  }

  // One trace of every kind that the group can remove.
  void SeedEverything() {
    fake.urlCache.AddEntry("http://example.com/page.html", url_cache_entry::Normal);
    fake.files.AddFile(In(kCookies, "user@example[1].txt"), "cookie");
    fake.files.AddFile(In(kDownloads, "control.ocx"), "program");
    fake.registry.SetString(HKLM, std::string(kDistributionUnits) + "\\{1234}", "", "unit");
    fake.registry.SetString(HKCU, kTypedUrls, "url1", "http://typed.example.com/");
    fake.urlHistory.entries.push_back({"http://visited.example.com/", "Visited", 1, 1, 1, 0});
    fake.files.AddFile(kCompanion, "MZ");
  }
};

class TickLog final : public CleanWindow {
 public:
  void TargetDone(std::size_t index) override { ticks.push_back(index); }
  void ProcessPendingEvents() override {}
  void ShowLogOffNotice() override {}
  bool Closed() const override { return false; }
  std::vector<std::size_t> ticks;
};

TEST_F(IETargetsTest, InARunWithOnlyAolAndAutoCompleteTheGroupIsOnlyTicked) {
  SeedEverything();
  fake.profile.SetFileContent(kIni,
                              "[IEOptions]\r\nIE=1\r\nAOL=1\r\nAutoComplete=1\r\n"
                              "[Wash Options]\r\nSkipAllCustomWashItems=1\r\n");
  TickLog window;

  const CleanReport report = RunClean(platform, app, window);

  EXPECT_THAT(window.ticks, ElementsAre(8u));  // "Internet Explorer", the ninth line
  EXPECT_FALSE(report.filesRemoved);
  EXPECT_EQ(report.removed.files, 0u);
  EXPECT_EQ(report.removed.registryKeys, 0u);
  EXPECT_EQ(report.removed.registryValues, 0u);
  EXPECT_THAT(fake.urlCache.Urls(), ElementsAre("http://example.com/page.html"));
  EXPECT_THAT(fake.shell.startedPrograms, IsEmpty());
}

TEST_F(IETargetsTest, EveryStepOnRemovesEveryTrace) {
  SeedEverything();
  Options("TempIEFiles=1\r\nCookies=1\r\nDownloadDir=1\r\nCleanHistory=1\r\nIEConrolPanel=1\r\n");

  CleanIE(context);

  EXPECT_THAT(fake.urlCache.Urls(), IsEmpty());
  EXPECT_FALSE(fake.files.Exists(In(kCookies, "user@example[1].txt")));
  EXPECT_FALSE(fake.files.Exists(In(kDownloads, "control.ocx")));
  EXPECT_FALSE(fake.registry.KeyExists(HKLM, kDistributionUnits));
  EXPECT_TRUE(fake.registry.KeyExists(HKCU, kTypedUrls));
  EXPECT_THAT(fake.registry.ValueNames(HKCU, kTypedUrls), IsEmpty());
  EXPECT_THAT(fake.urlHistory.entries, IsEmpty());
  ASSERT_EQ(fake.shell.startedPrograms.size(), 1u);
  EXPECT_TRUE(context.filesRemoved);
  EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);
  EXPECT_EQ(fake.urlHistory.OpenSessions(), 0);
  EXPECT_THAT(fake.windows.messageBoxes, IsEmpty());
}

TEST_F(IETargetsTest, TheCacheStepDeletesNormalEntriesOnlyAndFlagsNoFiles) {
  fake.urlCache.AddEntry("http://example.com/page.html", url_cache_entry::Normal);
  fake.urlCache.AddEntry("Cookie:user@example.com/", url_cache_entry::Cookie);
  Options("TempIEFiles=1\r\n");

  CleanIE(context);

  EXPECT_THAT(fake.urlCache.Urls(), ElementsAre("Cookie:user@example.com/"));
  EXPECT_EQ(fake.urlCache.OpenFinds(), 0u);
  EXPECT_FALSE(context.filesRemoved);
}

TEST_F(IETargetsTest, CookiesGoAndOtherFilesStay) {
  fake.registry.SetString(HKCU, kShellFolders, "Cookies", std::string(kCookies) + "\\");
  fake.files.AddFile(In(kCookies, "user@example[1].txt"), "a");
  fake.files.AddFile(In(kCookies, "user@other[2].TXT"), "b");
  fake.files.AddFile(In(kCookies, "index.dat"), "index");
  fake.files.AddFile(In(kCookies, "locked.txt"), "c", file_attr::ReadOnly);
  fake.files.AddFile(In(kCookies, "hidden@example[1].txt"), "a", file_attr::Hidden);
  fake.files.AddFile(In(kCookies, "Sub\\deeper.txt"), "d");
  Options("Cookies=1\r\n");

  CleanIE(context);
  EXPECT_FALSE(fake.files.Exists(In(kCookies, "user@example[1].txt")));
  EXPECT_FALSE(fake.files.Exists(In(kCookies, "user@other[2].TXT")));
  EXPECT_TRUE(fake.files.Exists(In(kCookies, "index.dat")));
  EXPECT_TRUE(fake.files.Exists(In(kCookies, "locked.txt")));
  EXPECT_TRUE(fake.files.Exists(In(kCookies, "hidden@example[1].txt")));
  EXPECT_TRUE(fake.files.Exists(In(kCookies, "Sub\\deeper.txt")));
  EXPECT_TRUE(context.filesRemoved);
}

TEST_F(IETargetsTest, ACookieFolderThatIsEmptyRelativeOrARootIsNotTouched) {
  fake.files.AddFile("C:\\readme.txt", "root");
  fake.files.AddFile("C:\\Users\\notes.txt", "protected");
  Options("Cookies=1\r\n");
  for (const char* folder :
       {"", "Cookies", "\\Cookies", "C:", "C:\\", "C:\\Users", "C:\\Users\\"}) {
    SCOPED_TRACE(folder);
    fake.registry.SetString(HKCU, kShellFolders, "Cookies", folder);
    fake.files.ClearCalls();

    CleanIE(context);

    EXPECT_TRUE(fake.files.Exists("C:\\readme.txt"));
    EXPECT_TRUE(fake.files.Exists("C:\\Users\\notes.txt"));
    EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::ListDirectory), 0u);
    EXPECT_FALSE(context.filesRemoved);
  }
}

TEST_F(IETargetsTest, DownloadedProgramsGoWithTheirRegistrationsAndSubFoldersStay) {
  fake.files.AddFile(In(kDownloads, "control.ocx"), "program");
  fake.files.AddFile(In(kDownloads, "setup.inf"), "inf");
  fake.files.AddFile(In(kDownloads, "desktop.ini"), "system",
                     file_attr::Hidden | file_attr::System);
  fake.files.AddFile(In(kDownloads, "CONFLICT.1\\control.ocx"), "older program");
  fake.registry.SetString(HKLM, std::string(kDistributionUnits) + "\\{1234}\\Contains", "", "x");
  Options("DownloadDir=1\r\n");

  CleanIE(context);

  EXPECT_FALSE(fake.files.Exists(In(kDownloads, "control.ocx")));
  EXPECT_FALSE(fake.files.Exists(In(kDownloads, "setup.inf")));
  EXPECT_TRUE(fake.files.Exists(In(kDownloads, "desktop.ini")));
  EXPECT_TRUE(fake.files.Exists(In(kDownloads, "CONFLICT.1\\control.ocx")));
  EXPECT_FALSE(fake.registry.KeyExists(HKLM, kDistributionUnits));
  EXPECT_TRUE(fake.registry.KeyExists(HKLM, "SOFTWARE\\Microsoft\\Code Store Database"));
  EXPECT_TRUE(context.filesRemoved);
}

TEST_F(IETargetsTest, AnUnusableDownloadFolderKeepsItsFilesButTheRegistrationsGo) {
  fake.files.AddFile("C:\\Windows\\notepad.exe", "system program");
  fake.files.AddFile("C:\\boot.ini", "root file");
  fake.registry.SetString(HKLM, std::string(kDistributionUnits) + "\\{1234}", "", "unit");
  Options("DownloadDir=1\r\n");
  for (const char* folder : {"", "Downloaded Program Files", "C:\\", "C:\\Windows"}) {
    SCOPED_TRACE(folder);
    fake.registry.SetString(HKLM, kInternetSettings, "ActiveXCache", folder);

    CleanIE(context);

    EXPECT_TRUE(fake.files.Exists("C:\\Windows\\notepad.exe"));
    EXPECT_TRUE(fake.files.Exists("C:\\boot.ini"));
    EXPECT_FALSE(context.filesRemoved);
  }
  EXPECT_FALSE(fake.registry.KeyExists(HKLM, kDistributionUnits));
}

TEST_F(IETargetsTest, TheHistoryIsErasedAndTheTypedAddressesLeaveAnEmptyKey) {
  fake.urlHistory.entries.push_back({"http://a.example.com/", "A", 1, 1, 1, 0});
  fake.urlHistory.entries.push_back({"http://b.example.com/", "", 1, 1, 1, 0});
  fake.registry.SetString(HKCU, kTypedUrls, "url1", "http://typed.example.com/");
  fake.registry.SetString(HKCU, kTypedUrls, "url2", "http://other.example.com/");
  fake.registry.SetString(HKCU, std::string(kTypedUrls) + "\\Sub", "x", "y");
  Options("CleanHistory=1\r\n");

  CleanIE(context);

  EXPECT_THAT(fake.urlHistory.entries, IsEmpty());
  EXPECT_EQ(fake.urlHistory.OpenSessions(), 0);
  EXPECT_EQ(fake.urlHistory.OpenEnumerators(), 0);
  ASSERT_TRUE(fake.registry.KeyExists(HKCU, kTypedUrls));
  EXPECT_THAT(fake.registry.ValueNames(HKCU, kTypedUrls), IsEmpty());
  EXPECT_THAT(fake.registry.SubKeyNames(HKCU, kTypedUrls), IsEmpty());
  EXPECT_FALSE(context.filesRemoved);
}

TEST_F(IETargetsTest, AStoreThatImplementsNothingEndsQuietlyAndTheRestGoesOn) {
  fake.urlHistory.entries.push_back({"http://a.example.com/", "A", 1, 1, 1, 0});
  fake.urlHistory.FailEveryCall(history_status::NotImplemented);
  fake.registry.SetString(HKCU, kTypedUrls, "url1", "http://typed.example.com/");
  fake.files.AddFile(kCompanion, "MZ");
  Options("CleanHistory=1\r\nIEConrolPanel=1\r\n");

  CleanIE(context);

  EXPECT_EQ(fake.urlHistory.entries.size(), 1u);
  EXPECT_EQ(fake.urlHistory.OpenSessions(), 0);
  EXPECT_TRUE(fake.registry.KeyExists(HKCU, kTypedUrls));
  EXPECT_THAT(fake.registry.ValueNames(HKCU, kTypedUrls), IsEmpty());
  EXPECT_EQ(fake.shell.startedPrograms.size(), 1u);
  EXPECT_THAT(fake.windows.messageBoxes, IsEmpty());
}

TEST_F(IETargetsTest, AStoreThatCannotBeOpenedStillLeavesTheTypedAddressesEmpty) {
  fake.urlHistory.openResult = history_status::Failed;
  fake.registry.SetString(HKCU, kTypedUrls, "url1", "http://typed.example.com/");
  Options("CleanHistory=1\r\n");

  CleanIE(context);

  EXPECT_THAT(fake.registry.ValueNames(HKCU, kTypedUrls), IsEmpty());
}

TEST_F(IETargetsTest, TheCompanionStartsMinimizedAndIsNotWaitedFor) {
  fake.files.AddFile(kCompanion, "MZ");
  Options("IEConrolPanel=1\r\n");

  CleanIE(context);

  ASSERT_EQ(fake.shell.startedPrograms.size(), 1u);
  EXPECT_EQ(fake.shell.startedPrograms[0].path, kCompanion);
  EXPECT_EQ(fake.shell.startedPrograms[0].style, WindowStyle::MinimizedFocus);
  EXPECT_FALSE(context.filesRemoved);

  // A companion that fails to start ends only its step.
  fake.shell.startProgramSucceeds = false;
  CleanIE(context);
  EXPECT_EQ(fake.shell.startedPrograms.size(), 2u);
  EXPECT_THAT(fake.windows.messageBoxes, IsEmpty());
}

TEST_F(IETargetsTest, AMissingCompanionIsNoError) {
  Options("IEConrolPanel=1\r\nCleanHistory=1\r\n");

  CleanIE(context);

  EXPECT_THAT(fake.shell.startedPrograms, IsEmpty());
  EXPECT_TRUE(fake.registry.KeyExists(HKCU, kTypedUrls));
  EXPECT_THAT(fake.windows.messageBoxes, IsEmpty());
}

TEST_F(IETargetsTest, AtADriveRootTheCompanionIsFoundBesideTheProgram) {
  app.appFolder = "C:\\";
  fake.files.AddFile("C:\\kestrine.exe", "MZ");
  Options("IEConrolPanel=1\r\n");

  CleanIE(context);

  ASSERT_EQ(fake.shell.startedPrograms.size(), 1u);
  EXPECT_EQ(fake.shell.startedPrograms[0].path, "C:\\\\kestrine.exe");
}

}  // namespace
}  // namespace quorvane
