#include "clean/WindowsTargets.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakeCleanContext.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr RegKey HKCU = reg_root::CurrentUser;
constexpr const char* kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
constexpr const char* kRunMru = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
constexpr const char* kUrls = "Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList";
constexpr const char* kFiles = "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList";
constexpr const char* kTemp = "C:\\Users\\User\\AppData\\Local\\Temp";

class WindowsTargetsTest : public ::testing::Test, protected fakes::FakeCleanContext {
 protected:
  static std::string InTemp(std::string_view name) {
    return std::string(kTemp) + "\\" + std::string(name);
  }
};

TEST_F(WindowsTargetsTest, FindHistoryRemovesTheSearchListsAndNothingBeside) {
  CleanFindHistory(context);  // nothing there yet: no message
  fake.registry.SetString(HKCU, kExplorer, kFindHistoryValue, "a");
  fake.registry.SetString(HKCU, kExplorer, "ShellState", "keep");
  fake.registry.SetString(
      HKCU, "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3}\\FilesNamedMRU",
      "000", "secret.txt");
  fake.registry.SetString(HKCU, "Software\\Microsoft\\Internet Explorer\\Main", "Start Page", "x");
  fake.registry.SetString(HKCU, "Software\\Microsoft\\Search Assistant\\ACMru\\5603", "000", "q");
  fake.registry.SetString(HKCU, "Software\\Microsoft\\Search Assistant", "Setting", "keep");

  CleanFindHistory(context);

  EXPECT_THAT(fake.registry.ValueNames(HKCU, kExplorer), ElementsAre("ShellState"));
  EXPECT_FALSE(
      fake.registry.KeyExists(HKCU, "Software\\Microsoft\\Internet Explorer\\Explorer Bars"));
  EXPECT_TRUE(fake.registry.KeyExists(HKCU, "Software\\Microsoft\\Internet Explorer\\Main"));
  EXPECT_FALSE(fake.registry.KeyExists(HKCU, "Software\\Microsoft\\Search Assistant\\ACMru"));
  EXPECT_TRUE(fake.registry.ValueExists(HKCU, "Software\\Microsoft\\Search Assistant", "Setting"));
  EXPECT_THAT(fake.windows.messageBoxes, IsEmpty());
  EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);
}

TEST_F(WindowsTargetsTest, RunHistoryDeletesOnlyTheListedValuesAndTheList) {
  for (const char* name : {"a", "b", "c", "d"}) fake.registry.SetString(HKCU, kRunMru, name, "x");
  CleanRunHistory(context);  // without a list every value stays
  EXPECT_THAT(fake.registry.ValueNames(HKCU, kRunMru), ElementsAre("a", "b", "c", "d"));

  fake.registry.SetString(HKCU, kRunMru, "MRUList", "cab");
  CleanRunHistory(context);
  EXPECT_THAT(fake.registry.ValueNames(HKCU, kRunMru), ElementsAre("d"));
}

TEST_F(WindowsTargetsTest, RunHistoryNamesValuesByWholeCharacters) {
  // "é" is two bytes in UTF-8; the value it names must go, and "ab" (a two-letter name
  // made of listed characters) must stay.
  fake.registry.SetString(HKCU, kRunMru, "MRUList", "a\xC3\xA9");
  fake.registry.SetString(HKCU, kRunMru, "a", "x");
  fake.registry.SetString(HKCU, kRunMru, "\xC3\xA9", "y");
  fake.registry.SetString(HKCU, kRunMru, "ab", "z");

  CleanRunHistory(context);

  EXPECT_THAT(fake.registry.ValueNames(HKCU, kRunMru), ElementsAre("ab"));
}

TEST_F(WindowsTargetsTest, MediaPlayerStopsAtTheFirstGapOrEmptyEntry) {
  for (const char* name : {"URL0", "URL1", "URL3", "URL4", "URL7"}) {
    fake.registry.SetString(HKCU, kUrls, name, "http://x");
  }
  fake.registry.SetString(HKCU, kFiles, "File0", "C:\\song.mp3");
  fake.registry.SetString(HKCU, std::string(kFiles) + "\\Sub", "x", "y");
  CleanMediaPlayer(context);
  EXPECT_THAT(fake.registry.ValueNames(HKCU, kUrls), ElementsAre("URL3", "URL4", "URL7"));
  EXPECT_FALSE(fake.registry.KeyExists(HKCU, kFiles));
  EXPECT_TRUE(fake.registry.KeyExists(HKCU, "Software\\Microsoft\\MediaPlayer\\Player"));

  // An empty entry ends the list and goes too.
  fake.registry.SetString(HKCU, kUrls, "URL0", "http://a");
  fake.registry.SetString(HKCU, kUrls, "URL1", "");
  fake.registry.SetString(HKCU, kUrls, "URL2", "http://c");
  CleanMediaPlayer(context);
  EXPECT_THAT(fake.registry.ValueNames(HKCU, kUrls),
              ::testing::UnorderedElementsAre("URL2", "URL3", "URL4", "URL7"));
}

TEST_F(WindowsTargetsTest, MediaPlayerWalkIsBounded) {
  for (int i = 0; i <= 120; ++i) {
    fake.registry.SetString(HKCU, kUrls, "URL" + std::to_string(i), "http://x");
  }
  CleanMediaPlayer(context);
  EXPECT_FALSE(fake.registry.ValueExists(HKCU, kUrls, "URL100"));
  EXPECT_TRUE(fake.registry.ValueExists(HKCU, kUrls, "URL101"));
}

TEST_F(WindowsTargetsTest, RecycleBinRootIsNormalisedAndFlagsCombined) {
  fake.shell.recycleBinResult = static_cast<std::int32_t>(0x80004005);  // the shell's E_FAIL
  struct Row {
    const char* root;
    bool noConfirm, noProgress, noSound;
    const char* expectedRoot;
    std::uint32_t expectedFlags;
  };
  const std::vector<Row> rows = {{"", true, true, true, "", 7},
                                 {"d", true, false, true, "d:\\", 5},
                                 {"c:", false, true, false, "c:\\", 2},
                                 {"e:\\", false, false, false, "e:\\", 0},
                                 {"f:\\Recycled", true, true, true, "f:\\Recycled", 7}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.root);
    fake.shell.recycleBinCalls.clear();
    EmptyRecycleBin(context, row.root, row.noConfirm, row.noProgress, row.noSound);
    ASSERT_EQ(fake.shell.recycleBinCalls.size(), 1u);
    EXPECT_EQ(fake.shell.recycleBinCalls[0].root, row.expectedRoot);
    EXPECT_EQ(fake.shell.recycleBinCalls[0].flags, row.expectedFlags);
  }
  EXPECT_FALSE(context.filesRemoved);
}

TEST_F(WindowsTargetsTest, GetTempDirEndsAtTheFirstNul) {
  fake.shell.tempPath = std::string("C:\\Temp\\\0stale", 14);
  EXPECT_EQ(GetTempDir(context), "C:\\Temp\\");
}

TEST_F(WindowsTargetsTest, TempFolderKeepsSystemFilesHiddenFoldersAndEntriesInUse) {
  fake.shell.tempPath = kTemp;  // without a trailing separator
  fake.files.AddFile("C:\\Users\\User\\AppData\\Local\\beside.txt", "parent");
  fake.files.AddFile(InTemp("hidden.tmp"), "b", file_attr::Hidden);
  fake.files.AddFile(InTemp("hidden-readonly.tmp"), "c", file_attr::Hidden | file_attr::ReadOnly);
  fake.files.AddFile(InTemp("system.tmp"), "d", file_attr::System);
  fake.files.AddFile(InTemp("tree\\deep\\deeper\\b.txt"), "f", file_attr::ReadOnly);
  fake.files.AddFile(InTemp("tree\\deep\\system.txt"), "h", file_attr::System);
  fake.files.AddFolder(InTemp("readonly-folder"), file_attr::ReadOnly);
  fake.files.AddFile(InTemp("hidden-folder\\kept.txt"), "i");
  fake.files.AddFolder(InTemp("hidden-folder"), file_attr::Hidden);
  fake.files.AddFile(InTemp("system-folder\\kept.txt"), "j");
  fake.files.AddFolder(InTemp("system-folder"), file_attr::System);
  fake.files.AddFile(InTemp("locked.tmp"), "a");
  fake.files.AddFile(InTemp("busy\\open.log"), "c");
  fake.files.AddFile(InTemp("busy\\done.log"), "d");
  fake.files.SetInUse(InTemp("locked.tmp"));
  fake.files.SetInUse(InTemp("busy\\open.log"));

  CleanTempFiles(context);

  for (const char* gone :
       {"hidden.tmp", "hidden-readonly.tmp", "tree", "readonly-folder", "busy\\done.log"}) {
    EXPECT_FALSE(fake.files.Exists(InTemp(gone))) << gone;
  }
  for (const char* kept : {"system.tmp", "hidden-folder\\kept.txt", "system-folder\\kept.txt",
                           "locked.tmp", "busy\\open.log"}) {
    EXPECT_TRUE(fake.files.Exists(InTemp(kept))) << kept;
  }
  EXPECT_TRUE(fake.files.Exists(kTemp));
  EXPECT_EQ(fake.files.Content("C:\\Users\\User\\AppData\\Local\\beside.txt"), "parent");
  EXPECT_FALSE(context.filesRemoved);
}

TEST_F(WindowsTargetsTest, TempFolderLinksAreRemovedAndTheirTargetsSurvive) {
  fake.shell.tempPath = std::string(kTemp) + "\\";
  fake.files.AddFile("D:\\Keep\\precious.doc", "data", file_attr::ReadOnly);
  fake.files.AddFile("D:\\Keep\\sub\\more.doc", "more");
  fake.files.AddFile("D:\\single.doc", "one", file_attr::ReadOnly | file_attr::Hidden);
  fake.files.AddLink(InTemp("folder-link"), "D:\\Keep");
  fake.files.AddLink(InTemp("file-link"), "D:\\single.doc");
  fake.files.AddLink(InTemp("nested\\inner-link"), "D:\\Keep\\sub");

  CleanTempFiles(context);

  EXPECT_FALSE(fake.files.Exists(InTemp("folder-link")));
  EXPECT_FALSE(fake.files.Exists(InTemp("nested")));
  EXPECT_EQ(fake.files.Content("D:\\Keep\\precious.doc"), "data");
  EXPECT_EQ(fake.files.Attributes("D:\\Keep\\precious.doc") & file_attr::ReadOnly,
            file_attr::ReadOnly);
  EXPECT_EQ(fake.files.Content("D:\\Keep\\sub\\more.doc"), "more");
  EXPECT_EQ(fake.files.Content("D:\\single.doc"), "one");
  EXPECT_EQ(fake.files.Attributes("D:\\single.doc") & (file_attr::ReadOnly | file_attr::Hidden),
            file_attr::ReadOnly | file_attr::Hidden);
}

TEST_F(WindowsTargetsTest, UnsafeTempFolderIsNeverEmptied) {
  fake.files.AddFile("C:\\root.txt", "r");
  fake.files.AddFile("C:\\Windows\\win.ini", "w");
  fake.files.AddFile("C:\\Users\\User\\Documents\\d.txt", "d");
  for (const char* temp : {"", "Temp\\", "\\Temp\\", "C:", "C:\\", "c:/", "C:\\Windows\\",
                           "C:\\Users\\User", "C:\\Users\\User\\.\\", "C:\\Users\\"}) {
    SCOPED_TRACE(temp);
    fake.shell.tempPath = temp;
    fake.files.ClearCalls();

    CleanTempFiles(context);

    EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::DeleteFile), 0u);
    EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::RemoveDirectory), 0u);
  }
}

class ScandiskTest : public WindowsTargetsTest {
 protected:
  ScandiskTest() {
    fake.files.AddDrive('C', DriveType::Fixed, 1000, 2000);
    fake.files.AddDrive('E', DriveType::Removable, 1000, 2000);
    fake.files.AddDrive('N', DriveType::Network, 1000, 2000);
    fake.files.AddDrive('D', DriveType::Fixed, 1000, 2000);
  }
};

TEST_F(ScandiskTest, RemovesRootFragmentsOnFixedDrivesOnly) {
  fake.files.AddFile("C:\\FILE0000.CHK", "frag");
  fake.files.AddFile("C:\\file0001.chk", "frag", file_attr::ReadOnly);
  fake.files.AddFile("C:\\hidden.chk", "frag", file_attr::Hidden);
  fake.files.AddFile("C:\\system.chk", "frag", file_attr::System);
  fake.files.AddFile("C:\\a.chkdsk", "keep");
  fake.files.AddFile("C:\\Sub\\deep.chk", "keep");
  fake.files.AddFolder("C:\\folder.chk");
  fake.files.AddFile("D:\\FILE0002.CHK", "frag");
  fake.files.AddFile("E:\\FILE0000.CHK", "removable");
  fake.files.AddFile("N:\\FILE0000.CHK", "network");

  CleanScandiskFiles(context);

  for (const char* gone : {"C:\\FILE0000.CHK", "C:\\file0001.chk", "D:\\FILE0002.CHK"}) {
    EXPECT_FALSE(fake.files.Exists(gone)) << gone;
  }
  for (const char* kept : {"C:\\hidden.chk", "C:\\system.chk", "C:\\a.chkdsk", "C:\\Sub\\deep.chk",
                           "C:\\folder.chk", "E:\\FILE0000.CHK", "N:\\FILE0000.CHK"}) {
    EXPECT_TRUE(fake.files.Exists(kept)) << kept;
  }
  EXPECT_TRUE(context.filesRemoved);
}

TEST_F(ScandiskTest, RemovesFoundFoldersZeroToTenAndLinksWithoutEnteringThem) {
  fake.files.AddFile("C:\\FOUND.000\\FILE0000.CHK", "frag", file_attr::ReadOnly);
  fake.files.AddFile("C:\\found.010\\x\\y.chk", "frag");
  fake.files.AddFile("C:\\FOUND.011\\FILE0000.CHK", "keep");
  fake.files.AddFile("C:\\FOUND.0\\f", "keep");
  fake.files.AddFile("C:\\FOUND.003", "a file, not a folder");
  fake.files.AddFile("C:\\FOUND.004\\f", "keep");
  fake.files.AddFolder("C:\\FOUND.004", file_attr::Hidden);
  fake.files.AddFile("D:\\FOUND.001\\f", "frag");
  fake.files.AddFile("E:\\FOUND.000\\f", "removable");
  fake.files.AddFile("D:\\Data\\thesis.doc", "work");
  fake.files.AddLink("C:\\FOUND.002", "D:\\Data");

  CleanScandiskFiles(context);

  for (const char* gone : {"C:\\FOUND.000", "C:\\found.010", "D:\\FOUND.001", "C:\\FOUND.002"}) {
    EXPECT_FALSE(fake.files.Exists(gone)) << gone;
  }
  for (const char* kept : {"C:\\FOUND.011\\FILE0000.CHK", "C:\\FOUND.0\\f", "C:\\FOUND.003",
                           "C:\\FOUND.004\\f", "E:\\FOUND.000\\f"}) {
    EXPECT_TRUE(fake.files.Exists(kept)) << kept;
  }
  EXPECT_EQ(fake.files.Content("D:\\Data\\thesis.doc"), "work");
  // Folders do not count as deleted files.
  EXPECT_FALSE(context.filesRemoved);
}

TEST_F(ScandiskTest, FragmentThatCannotBeDeletedDoesNotCountAsRemoved) {
  fake.files.AddFile("C:\\FILE0000.CHK", "frag");
  fake.files.SetInUse("C:\\FILE0000.CHK");
  fake.files.SetDriveReady('D', false);
  CleanScandiskFiles(context);
  EXPECT_TRUE(fake.files.Exists("C:\\FILE0000.CHK"));
  EXPECT_FALSE(context.filesRemoved);
}

}  // namespace
}  // namespace quorvane
