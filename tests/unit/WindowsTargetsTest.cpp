#include "clean/WindowsTargets.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

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
  std::string InTemp(std::string_view name) const {
    return std::string(kTemp) + "\\" + std::string(name);
  }
};

// --- Registry lists ---------------------------------------------------------------------

TEST_F(WindowsTargetsTest, FindHistoryRemovesTheSearchListsAndNothingBeside) {
  fake.registry.SetString(HKCU, kExplorer, "Doc Find Spec MRU", "a");
  fake.registry.SetString(HKCU, kExplorer, "ShellState", "keep");
  fake.registry.SetString(HKCU,
                          "Software\\Microsoft\\Internet Explorer\\Explorer Bars\\{C4EE31F3}\\"
                          "FilesNamedMRU",
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
}

TEST_F(WindowsTargetsTest, FindHistoryOnAnEmptyRegistryShowsNothing) {
  CleanFindHistory(context);

  EXPECT_THAT(fake.windows.messageBoxes, IsEmpty());
  EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);
}

TEST_F(WindowsTargetsTest, RunHistoryDeletesTheListedValuesAndTheList) {
  fake.registry.SetString(HKCU, kRunMru, "MRUList", "cab");
  for (const char* name : {"a", "b", "c", "d"}) {
    fake.registry.SetString(HKCU, kRunMru, name, std::string("cmd ") + name + "\\1");
  }

  CleanRunHistory(context);

  ASSERT_TRUE(fake.registry.KeyExists(HKCU, kRunMru));
  EXPECT_THAT(fake.registry.ValueNames(HKCU, kRunMru), ElementsAre("d"));
}

TEST_F(WindowsTargetsTest, RunHistoryWithoutListKeepsEveryValue) {
  fake.registry.SetString(HKCU, kRunMru, "a", "notepad\\1");
  fake.registry.SetString(HKCU, kRunMru, "b", "calc\\1");

  CleanRunHistory(context);

  EXPECT_THAT(fake.registry.ValueNames(HKCU, kRunMru), ElementsAre("a", "b"));
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

TEST_F(WindowsTargetsTest, MediaPlayerStopsAtTheFirstGap) {
  for (const char* name : {"URL0", "URL1", "URL2", "URL3", "URL4", "URL7"}) {
    fake.registry.SetString(HKCU, kUrls, name, std::string("http://example.com/") + name);
  }
  fake.registry.SetString(HKCU, kFiles, "File0", "C:\\song.mp3");
  fake.registry.SetString(HKCU, std::string(kFiles) + "\\Sub", "x", "y");

  CleanMediaPlayer(context);

  EXPECT_THAT(fake.registry.ValueNames(HKCU, kUrls), ElementsAre("URL7"));
  EXPECT_FALSE(fake.registry.KeyExists(HKCU, kFiles));
  EXPECT_TRUE(fake.registry.KeyExists(HKCU, "Software\\Microsoft\\MediaPlayer\\Player"));
}

TEST_F(WindowsTargetsTest, MediaPlayerEmptyEntryEndsTheListAndGoesToo) {
  fake.registry.SetString(HKCU, kUrls, "URL0", "http://a");
  fake.registry.SetString(HKCU, kUrls, "URL1", "");
  fake.registry.SetString(HKCU, kUrls, "URL2", "http://c");

  CleanMediaPlayer(context);

  EXPECT_THAT(fake.registry.ValueNames(HKCU, kUrls), ElementsAre("URL2"));
}

TEST_F(WindowsTargetsTest, MediaPlayerWalkIsBounded) {
  for (int i = 0; i <= 120; ++i) {
    fake.registry.SetString(HKCU, kUrls, "URL" + std::to_string(i), "http://x");
  }

  CleanMediaPlayer(context);

  EXPECT_FALSE(fake.registry.ValueExists(HKCU, kUrls, "URL100"));
  EXPECT_TRUE(fake.registry.ValueExists(HKCU, kUrls, "URL101"));
}

// --- Recycle bin ------------------------------------------------------------------------

TEST_F(WindowsTargetsTest, RecycleBinRootIsNormalisedAndFlagsCombined) {
  fake.shell.recycleBinResult = static_cast<std::int32_t>(0x80004005);  // the shell's E_FAIL
  EmptyRecycleBin(context, "", true, true, true);
  EmptyRecycleBin(context, "d", true, false, true);
  EmptyRecycleBin(context, "c:", false, true, false);
  EmptyRecycleBin(context, "e:\\", false, false, false);
  EmptyRecycleBin(context, "f:\\Recycled", true, true, true);

  ASSERT_EQ(fake.shell.recycleBinCalls.size(), 5u);
  EXPECT_EQ(fake.shell.recycleBinCalls[0].root, "");
  EXPECT_EQ(fake.shell.recycleBinCalls[0].flags, 7u);
  EXPECT_EQ(fake.shell.recycleBinCalls[1].root, "d:\\");
  EXPECT_EQ(fake.shell.recycleBinCalls[1].flags, 5u);
  EXPECT_EQ(fake.shell.recycleBinCalls[2].root, "c:\\");
  EXPECT_EQ(fake.shell.recycleBinCalls[2].flags, 2u);
  EXPECT_EQ(fake.shell.recycleBinCalls[3].root, "e:\\");
  EXPECT_EQ(fake.shell.recycleBinCalls[3].flags, 0u);
  EXPECT_EQ(fake.shell.recycleBinCalls[4].root, "f:\\Recycled");
  EXPECT_FALSE(context.filesRemoved);
}

// --- Temporary folder -------------------------------------------------------------------

TEST_F(WindowsTargetsTest, GetTempDirEndsAtTheFirstNul) {
  fake.shell.tempPath = std::string("C:\\Temp\\\0stale", 14);
  EXPECT_EQ(GetTempDir(context), "C:\\Temp\\");
}

TEST_F(WindowsTargetsTest, TempFolderKeepsSystemFilesAndHiddenFolders) {
  fake.shell.tempPath = std::string(kTemp) + "\\";
  fake.files.AddFile("C:\\Users\\User\\AppData\\Local\\beside.txt", "parent");
  fake.files.AddFile(InTemp("plain.tmp"), "a");
  fake.files.AddFile(InTemp("hidden.tmp"), "b", file_attr::Hidden);
  fake.files.AddFile(InTemp("readonly.tmp"), "c", file_attr::ReadOnly);
  fake.files.AddFile(InTemp("hidden-readonly.tmp"), "c", file_attr::Hidden | file_attr::ReadOnly);
  fake.files.AddFile(InTemp("system.tmp"), "d", file_attr::System);
  fake.files.AddFile(InTemp("tree\\a.txt"), "e");
  fake.files.AddFile(InTemp("tree\\deep\\deeper\\b.txt"), "f", file_attr::ReadOnly);
  fake.files.AddFile(InTemp("tree\\deep\\hidden.txt"), "g", file_attr::Hidden);
  fake.files.AddFile(InTemp("tree\\deep\\system.txt"), "h", file_attr::System);
  fake.files.AddFolder(InTemp("readonly-folder"), file_attr::ReadOnly);
  fake.files.AddFile(InTemp("hidden-folder\\kept.txt"), "i");
  fake.files.AddFolder(InTemp("hidden-folder"), file_attr::Hidden);
  fake.files.AddFile(InTemp("system-folder\\kept.txt"), "j");
  fake.files.AddFolder(InTemp("system-folder"), file_attr::System);

  CleanTempFiles(context);

  for (const char* gone : {"plain.tmp", "hidden.tmp", "readonly.tmp", "hidden-readonly.tmp", "tree",
                           "readonly-folder"}) {
    EXPECT_FALSE(fake.files.Exists(InTemp(gone))) << gone;
  }
  EXPECT_TRUE(fake.files.Exists(InTemp("system.tmp")));
  EXPECT_TRUE(fake.files.Exists(InTemp("hidden-folder\\kept.txt")));
  EXPECT_TRUE(fake.files.Exists(InTemp("system-folder\\kept.txt")));
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
  // The target of a file link keeps its content and its attributes.
  EXPECT_EQ(fake.files.Content("D:\\single.doc"), "one");
  EXPECT_EQ(fake.files.Attributes("D:\\single.doc") & (file_attr::ReadOnly | file_attr::Hidden),
            file_attr::ReadOnly | file_attr::Hidden);
}

TEST_F(WindowsTargetsTest, TempFolderEntriesInUseStayAndTheRestGoes) {
  fake.shell.tempPath = std::string(kTemp) + "\\";
  fake.files.AddFile(InTemp("locked.tmp"), "a");
  fake.files.AddFile(InTemp("free.tmp"), "b");
  fake.files.AddFile(InTemp("busy\\open.log"), "c");
  fake.files.AddFile(InTemp("busy\\done.log"), "d");
  fake.files.AddFile(InTemp("idle\\x.log"), "e");
  fake.files.SetInUse(InTemp("locked.tmp"));
  fake.files.SetInUse(InTemp("busy\\open.log"));

  CleanTempFiles(context);

  EXPECT_TRUE(fake.files.Exists(InTemp("locked.tmp")));
  EXPECT_FALSE(fake.files.Exists(InTemp("free.tmp")));
  EXPECT_TRUE(fake.files.Exists(InTemp("busy\\open.log")));
  EXPECT_FALSE(fake.files.Exists(InTemp("busy\\done.log")));
  EXPECT_FALSE(fake.files.Exists(InTemp("idle")));
}

TEST_F(WindowsTargetsTest, UnsafeTempFolderIsNeverEmptied) {
  fake.files.AddFile("C:\\root.txt", "r");
  fake.files.AddFile("C:\\Windows\\win.ini", "w");
  fake.files.AddFile("C:\\Users\\User\\profile.txt", "p");
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
  EXPECT_TRUE(fake.files.Exists("C:\\root.txt"));
  EXPECT_TRUE(fake.files.Exists("C:\\Users\\User\\Documents\\d.txt"));
}

TEST_F(WindowsTargetsTest, TempFolderWithoutTrailingSeparatorIsCleanedAlike) {
  fake.shell.tempPath = kTemp;
  fake.files.AddFile(InTemp("a.tmp"));
  fake.files.AddFile(InTemp("f\\b.tmp"));

  CleanTempFiles(context);

  EXPECT_FALSE(fake.files.Exists(InTemp("a.tmp")));
  EXPECT_FALSE(fake.files.Exists(InTemp("f")));
  EXPECT_TRUE(fake.files.Exists(kTemp));
}

// --- Disk-check fragments ---------------------------------------------------------------

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
  fake.files.AddFile("C:\\achk", "keep");
  fake.files.AddFile("C:\\Sub\\deep.chk", "keep");
  fake.files.AddFolder("C:\\folder.chk");
  fake.files.AddFile("D:\\FILE0002.CHK", "frag");
  fake.files.AddFile("E:\\FILE0000.CHK", "removable");
  fake.files.AddFile("N:\\FILE0000.CHK", "network");

  CleanScandiskFiles(context);

  EXPECT_FALSE(fake.files.Exists("C:\\FILE0000.CHK"));
  EXPECT_FALSE(fake.files.Exists("C:\\file0001.chk"));
  EXPECT_FALSE(fake.files.Exists("D:\\FILE0002.CHK"));
  for (const char* kept :
       {"C:\\hidden.chk", "C:\\system.chk", "C:\\a.chkdsk", "C:\\achk", "C:\\Sub\\deep.chk",
        "C:\\folder.chk", "E:\\FILE0000.CHK", "N:\\FILE0000.CHK"}) {
    EXPECT_TRUE(fake.files.Exists(kept)) << kept;
  }
  EXPECT_TRUE(context.filesRemoved);
}

TEST_F(ScandiskTest, RemovesFoundFoldersZeroToTen) {
  fake.files.AddFile("C:\\FOUND.000\\FILE0000.CHK", "frag", file_attr::ReadOnly);
  fake.files.AddFile("C:\\found.010\\x\\y.chk", "frag");
  fake.files.AddFile("C:\\FOUND.011\\FILE0000.CHK", "keep");
  fake.files.AddFile("C:\\FOUND.0\\f", "keep");
  fake.files.AddFile("C:\\FOUND.003", "a file, not a folder");
  fake.files.AddFile("C:\\FOUND.004\\f", "keep");
  fake.files.AddFolder("C:\\FOUND.004", file_attr::Hidden);
  fake.files.AddFile("C:\\FOUND.005\\f", "keep");
  fake.files.AddFolder("C:\\FOUND.005", file_attr::System);
  fake.files.AddFile("D:\\FOUND.001\\f", "frag");
  fake.files.AddFile("E:\\FOUND.000\\f", "removable");

  CleanScandiskFiles(context);

  EXPECT_FALSE(fake.files.Exists("C:\\FOUND.000"));
  EXPECT_FALSE(fake.files.Exists("C:\\found.010"));
  EXPECT_FALSE(fake.files.Exists("D:\\FOUND.001"));
  for (const char* kept : {"C:\\FOUND.011\\FILE0000.CHK", "C:\\FOUND.0\\f", "C:\\FOUND.003",
                           "C:\\FOUND.004\\f", "C:\\FOUND.005\\f", "E:\\FOUND.000\\f"}) {
    EXPECT_TRUE(fake.files.Exists(kept)) << kept;
  }
  // Folders do not count as deleted files.
  EXPECT_FALSE(context.filesRemoved);
}

TEST_F(ScandiskTest, FoundFolderLinkIsRemovedWithoutEnteringIt) {
  fake.files.AddFile("D:\\Data\\thesis.doc", "work");
  fake.files.AddLink("C:\\FOUND.002", "D:\\Data");

  CleanScandiskFiles(context);

  EXPECT_FALSE(fake.files.Exists("C:\\FOUND.002"));
  EXPECT_EQ(fake.files.Content("D:\\Data\\thesis.doc"), "work");
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
