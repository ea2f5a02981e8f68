#include "clean/NetscapeTargets.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "clean/BrowserTargets.h"
#include "fakes/FakeCleanContext.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr RegKey HKCU = reg_root::CurrentUser;
constexpr RegKey HKLM = reg_root::LocalMachine;
constexpr const char* kIni = "C:\\Program Files\\Quorvane\\Local.Ini";
constexpr const char* kNetscape6Key = "Software\\Netscape\\Netscape 6";
constexpr const char* kNavigatorKey = "Software\\Netscape\\Netscape Navigator";
constexpr const char* kMainKey = "Software\\Netscape\\Netscape Navigator\\Main";
constexpr const char* kBiffKey = "Software\\Netscape\\Netscape Navigator\\biff";
constexpr const char* kUrlHistoryKey = "Software\\Netscape\\Netscape Navigator\\URL History";

const std::string kProfiles = "C:\\Users\\User\\AppData\\Roaming\\Mozilla\\Profiles";
const std::string kRow1 = kProfiles + "\\default\\abcd1234.slt";
const std::string kRow2 = kProfiles + "\\work\\efgh5678.slt";
const std::string kRow3 = "D:\\Mail\\private\\ijkl9012.slt";
const std::string kNavigatorProfile = "C:\\Program Files\\Netscape\\Users\\bob";

constexpr const char* kAllTargets = "Cache=1\r\nCookies=1\r\nClean=1\r\nMailTrash=1\r\n";

class NetscapeTargetsTest : public ::testing::Test, public fakes::FakeCleanContext {
 protected:
  NetscapeTargetsTest() { Options(kAllTargets); }

  void Options(const std::string& lines) {
    fake.profile.SetFileContent(kIni, "[Netscape Options]\r\nNetscape=1\r\n" + lines);
  }

  void InstallNetscape6() { fake.registry.SetString(HKLM, kNetscape6Key, "CurrentVersion", "6.2"); }
  void InstallNavigator(const std::string& installDirectory, const std::string& user) {
    fake.registry.SetString(HKLM, kNavigatorKey, "CurrentVersion", "4.79 (en)");
    fake.registry.SetString(HKCU, kMainKey, "Install Directory", installDirectory);
    if (!user.empty()) fake.registry.SetString(HKCU, kBiffKey, "CurrentUser", user);
  }
  void StoreRows(const std::string& selection) {
    for (const auto& [key, folder] : {std::pair{"1", kRow1}, {"2", kRow2}, {"3", kRow3}}) {
      fake.userSettings.SaveSetting("Quorvane", "NProfile", key, folder);
    }
    fake.userSettings.SaveSetting("Quorvane", "NProfile", "SelectedNProfile", selection);
  }

  // A profile with a trace of every kind.
  void SeedProfile(const std::string& profile) {
    fake.files.AddFile(profile + "\\Cache\\A1B2C3D4", "cached page");
    fake.files.AddFile(profile + "\\Cache\\Sub\\E5F6", "cached image", file_attr::ReadOnly);
    fake.files.AddFile(profile + "\\cookies.txt", "cookie");
    fake.files.AddFile(profile + "\\history.dat", "history");
    fake.files.AddFile(profile + "\\netscape.hst", "history");
    fake.files.AddFile(profile + "\\prefs.js", "preferences");
    fake.files.AddFile(profile + "\\mail\\Local Folders\\Trash", "deleted mail");
  }
  bool IsCleaned(const std::string& profile) const {
    return fake.files.Exists(profile + "\\Cache") &&
           !fake.files.Exists(profile + "\\Cache\\A1B2C3D4") &&
           !fake.files.Exists(profile + "\\cookies.txt") &&
           !fake.files.Exists(profile + "\\history.dat") &&
           !fake.files.Exists(profile + "\\netscape.hst") &&
           !fake.files.Exists(profile + "\\mail\\Local Folders\\Trash") &&
           fake.files.Exists(profile + "\\prefs.js");
  }
  bool IsUntouched(const std::string& profile) const {
    return fake.files.Exists(profile + "\\Cache\\A1B2C3D4") &&
           fake.files.Exists(profile + "\\cookies.txt") &&
           fake.files.Exists(profile + "\\history.dat") &&
           fake.files.Exists(profile + "\\netscape.hst") &&
           fake.files.Exists(profile + "\\mail\\Local Folders\\Trash");
  }
};

TEST_F(NetscapeTargetsTest, TheSelectedRowsAreCleanedAndTheOthersNot) {
  InstallNetscape6();
  StoreRows("|1|3");
  for (const std::string& row : {kRow1, kRow2, kRow3}) SeedProfile(row);

  CleanNetscape(context);

  EXPECT_TRUE(IsCleaned(kRow1));
  EXPECT_TRUE(IsUntouched(kRow2));
  EXPECT_TRUE(IsCleaned(kRow3));
  EXPECT_TRUE(context.filesRemoved);
}

// A missing row is skipped rather than taken for the drive root; the text before the first
// bar is not a row.
TEST_F(NetscapeTargetsTest, TheSelectionNamesTheRowsThatExist) {
  EXPECT_THAT(NetscapeProfileFolders(context, 6), IsEmpty());
  const std::pair<std::string, std::vector<std::string>> rows[] = {
      {"", {}}, {"|4|2||x", {kRow2}}, {"1|3", {kRow3}}, {"|3|1", {kRow3, kRow1}}};
  for (const auto& [selection, expected] : rows) {
    SCOPED_TRACE(selection);
    StoreRows(selection);
    EXPECT_EQ(NetscapeProfileFolders(context, 6), expected);
  }
}

TEST_F(NetscapeTargetsTest, StoredFoldersThatAreNoProfilesAreSkipped) {
  const char* folders[] = {"relative\\abcd.slt", "\\Users\\abcd.slt", "C:\\", "C:\\Users\\User",
                           "C:\\Windows"};
  for (std::size_t i = 0; i < std::size(folders); ++i) {
    fake.userSettings.SaveSetting("Quorvane", "NProfile", std::to_string(i + 1), folders[i]);
  }
  fake.userSettings.SaveSetting("Quorvane", "NProfile", "6", kRow1);
  fake.userSettings.SaveSetting("Quorvane", "NProfile", "SelectedNProfile", "|1|2|3|4|5|6");

  EXPECT_THAT(NetscapeProfileFolders(context, 6), ElementsAre(kRow1));
}

// The Navigator profile lies beside the program folder, named by the current user; without
// either, or with a user name that leads out of the Netscape folder, there is none.
TEST_F(NetscapeTargetsTest, TheNavigatorProfileLiesBesideTheProgramFolder) {
  struct Row {
    std::string install, user;
    std::vector<std::string> expected;
  };
  const Row rows[] = {{"", "bob", {}},
                      {"C:\\Program Files\\Netscape\\Program", "", {}},
                      {"C:\\Program Files\\Netscape\\Program", "..\\..\\..\\Windows", {}},
                      {"C:\\Netscape\\Program\\", "bob", {"C:\\Netscape\\Program\\Users\\bob"}},
                      {"C:\\Program Files\\Netscape\\Program", "bob", {kNavigatorProfile}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.install + "|" + row.user);
    fake.registry.DeleteKey(HKCU, kMainKey);
    fake.registry.DeleteKey(HKCU, kBiffKey);
    if (!row.install.empty()) InstallNavigator(row.install, row.user);
    if (row.install.empty()) fake.registry.SetString(HKCU, kBiffKey, "CurrentUser", row.user);
    EXPECT_EQ(NetscapeProfileFolders(context, 1), row.expected);
  }
  SeedProfile(kNavigatorProfile);
  CleanNetscape(context);
  EXPECT_TRUE(IsCleaned(kNavigatorProfile));
}

// An install directory without a back-slash leaves no Netscape folder: "\Users\bob" would
// be the user's own home folder under the current drive's root.
TEST_F(NetscapeTargetsTest, AnInstallDirectoryWithoutASeparatorGivesNoProfile) {
  fake.files.AddFile("C:\\Users\\bob\\cookies.txt", "the user's own file");
  fake.files.AddFile("C:\\Users\\bob\\Cache\\work.doc", "the user's own folder");
  for (const char* install : {"Program", "C:Program", "\\Program"}) {
    SCOPED_TRACE(install);
    InstallNavigator(install, "bob");

    EXPECT_THAT(NetscapeProfileFolders(context, 1), IsEmpty());
    CleanNetscape(context);

    EXPECT_TRUE(fake.files.Exists("C:\\Users\\bob\\cookies.txt"));
    EXPECT_TRUE(fake.files.Exists("C:\\Users\\bob\\Cache\\work.doc"));
  }
}

TEST_F(NetscapeTargetsTest, WithBothGenerationsOnlyTheSelectedNetscape6ProfilesAreCleaned) {
  InstallNetscape6();
  InstallNavigator("C:\\Program Files\\Netscape\\Program", "bob");
  StoreRows("|2");
  SeedProfile(kRow2);
  SeedProfile(kNavigatorProfile);

  CleanNetscape(context);

  EXPECT_TRUE(IsCleaned(kRow2));
  EXPECT_TRUE(IsUntouched(kNavigatorProfile));
}

// The cache folder is there and empty afterwards; a missing profile folder is not created.
TEST_F(NetscapeTargetsTest, TheCacheFolderIsPresentAndEmptyAfterwards) {
  CleanNetscapeCache(context, kRow1);
  EXPECT_FALSE(fake.files.Exists(kRow1));

  fake.files.AddFolder(kRow1);
  CleanNetscapeCache(context, kRow1);
  EXPECT_TRUE(fake.files.Exists(kRow1 + "\\Cache"));

  SeedProfile(kRow1);
  fake.files.AddFile(kRow1 + "\\Cache\\hidden", "x", file_attr::Hidden | file_attr::System);
  CleanNetscapeCache(context, kRow1);
  EXPECT_EQ(fake.files.Attributes(kRow1 + "\\Cache") & file_attr::Directory, file_attr::Directory);
  std::vector<DirEntry> entries;
  ASSERT_EQ(fake.files.ListDirectory(kRow1 + "\\Cache", entries), FsResult::Ok);
  EXPECT_THAT(entries, IsEmpty());
  EXPECT_TRUE(fake.files.Exists(kRow1 + "\\cookies.txt"));
}

TEST_F(NetscapeTargetsTest, ACacheLinkIsRemovedWithoutTouchingItsTarget) {
  fake.files.AddFile("C:\\Elsewhere\\precious.doc", "keep");
  fake.files.AddFolder(kRow1);
  fake.files.AddLink(kRow1 + "\\Cache", "C:\\Elsewhere");
  Options("Cache=1\r\n");

  CleanNetscapeCache(context, kRow1);

  EXPECT_TRUE(fake.files.Exists("C:\\Elsewhere\\precious.doc"));
  EXPECT_EQ(fake.files.Attributes(kRow1 + "\\Cache") & file_attr::ReparsePoint, 0u);
}

TEST_F(NetscapeTargetsTest, CookiesAreBleachedAndAMissingFileIsNoError) {
  fake.files.AddFile(kRow1 + "\\cookies.txt", "cookie");
  Options("Cookies=1\r\n");

  CleanNetscapeCookies(context, kRow1);
  EXPECT_FALSE(fake.files.Exists(kRow1 + "\\cookies.txt"));
  EXPECT_TRUE(context.filesRemoved);

  context.filesRemoved = false;
  CleanNetscapeCookies(context, kRow1);
  EXPECT_FALSE(context.filesRemoved);
}

TEST_F(NetscapeTargetsTest, HistoryRemovesUrlValuesInAnyCaseAndBothFiles) {
  for (const char* name : {"URL_1", "url_2", "Url_three", "URL_"}) {
    fake.registry.SetString(HKCU, kUrlHistoryKey, name, "http://example.com/");
  }
  for (const char* name : {"MyURL_1", "URL1", "Settings"}) {
    fake.registry.SetString(HKCU, kUrlHistoryKey, name, "stays");
  }
  fake.files.AddFile(kRow1 + "\\history.dat", "history");
  fake.files.AddFile(kRow1 + "\\netscape.hst", "history");
  Options("Clean=1\r\n");

  CleanNetscapeHistory(context, kRow1);

  EXPECT_THAT(fake.registry.ValueNames(HKCU, kUrlHistoryKey),
              ElementsAre("MyURL_1", "URL1", "Settings"));
  EXPECT_FALSE(fake.files.Exists(kRow1 + "\\history.dat"));
  EXPECT_FALSE(fake.files.Exists(kRow1 + "\\netscape.hst"));
}

TEST_F(NetscapeTargetsTest, MailTrashGoesOnlyFromTheMailFoldersSubFolders) {
  const std::string mail = kRow1 + "\\mail";
  fake.files.AddFile(mail + "\\Local Folders\\Trash", "deleted");
  fake.files.AddFile(mail + "\\Local Folders\\Trash.msf", "index");
  fake.files.AddFile(mail + "\\Local Folders\\Inbox", "kept");
  fake.files.AddFile(mail + "\\Local Folders\\Deep\\Trash", "not searched");
  fake.files.AddFile(mail + "\\pop.example.com\\Inbox", "kept");
  fake.files.AddFile(mail + "\\Trash", "directly in the mail folder");
  fake.files.AddFile(mail + "\\Box\\Trash", "hidden", file_attr::Hidden);
  Options("MailTrash=1\r\n");

  CleanNetscapeMailTrash(context, kRow1);

  EXPECT_FALSE(fake.files.Exists(mail + "\\Local Folders\\Trash"));
  EXPECT_FALSE(fake.files.Exists(mail + "\\Local Folders\\Trash.msf"));
  EXPECT_TRUE(fake.files.Exists(mail + "\\Local Folders\\Inbox"));
  EXPECT_TRUE(fake.files.Exists(mail + "\\Local Folders\\Deep\\Trash"));
  EXPECT_TRUE(fake.files.Exists(mail + "\\pop.example.com\\Inbox"));
  EXPECT_TRUE(fake.files.Exists(mail + "\\Trash"));
  EXPECT_TRUE(fake.files.Exists(mail + "\\Box\\Trash"));
  EXPECT_TRUE(context.filesRemoved);
}

TEST_F(NetscapeTargetsTest, AMailFolderLinkIsNotEntered) {
  fake.files.AddFile("C:\\Elsewhere\\trash.doc", "keep");
  fake.files.AddFolder(kRow1 + "\\mail");
  fake.files.AddLink(kRow1 + "\\mail\\Linked", "C:\\Elsewhere");
  Options("MailTrash=1\r\n");

  CleanNetscapeMailTrash(context, kRow1);

  EXPECT_TRUE(fake.files.Exists("C:\\Elsewhere\\trash.doc"));
  EXPECT_FALSE(context.filesRemoved);
}

TEST_F(NetscapeTargetsTest, EachTargetRunsOnlyWithItsOwnOption) {
  InstallNetscape6();
  StoreRows("|1");
  SeedProfile(kRow1);
  Options("FormData=1\r\nCache=0\r\nCookies=0\r\nClean=0\r\nMailTrash=0\r\n");
  fake.files.ClearCalls();

  CleanNetscape(context);

  EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::DeleteFile), 0u);

  Options("Cookies=1\r\n");
  CleanNetscape(context);
  EXPECT_FALSE(fake.files.Exists(kRow1 + "\\cookies.txt"));
  EXPECT_TRUE(fake.files.Exists(kRow1 + "\\history.dat"));
  EXPECT_TRUE(fake.files.Exists(kRow1 + "\\Cache\\A1B2C3D4"));
}

TEST_F(NetscapeTargetsTest, TheStepLeavesTheRunsApplicationContextAsItWas) {
  InstallNetscape6();
  app.netscapeGeneration = 0;

  CleanNetscape(context);

  EXPECT_EQ(app.netscapeGeneration, 0);
  EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);
  EXPECT_THAT(fake.windows.messageBoxes, IsEmpty());
}

}  // namespace
}  // namespace quorvane
