#include "clean/WindowsTargets.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clean/OfficeTarget.h"
#include "fakes/FakeCleanContext.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAreArray;

constexpr RegKey HKCU = reg_root::CurrentUser;
constexpr const char* kRunMru = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
constexpr const char* kUrls = "Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList";
const std::string kTemp = "C:\\Users\\User\\AppData\\Local\\Temp\\";

class WindowsTargetsTest : public ::testing::Test, protected fakes::FakeCleanContext {
 protected:
  void ExpectOnly(const std::vector<std::string>& gone, const std::vector<std::string>& kept) {
    for (const std::string& path : gone) EXPECT_FALSE(fake.files.Exists(path)) << path;
    for (const std::string& path : kept) EXPECT_TRUE(fake.files.Exists(path)) << path;
  }
};

TEST_F(WindowsTargetsTest, FindHistoryRemovesTheSearchListsAndNothingBeside) {
  const std::string explorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
  const std::string bars = "Software\\Microsoft\\Internet Explorer\\Explorer Bars";
  const std::string assistant = "Software\\Microsoft\\Search Assistant";
  fake.registry.SetString(HKCU, explorer, kFindHistoryValue, "a");
  fake.registry.SetString(HKCU, explorer, "ShellState", "keep");
  fake.registry.SetString(HKCU, bars + "\\{C4EE31F3}\\FilesNamedMRU", "000", "secret.txt");
  fake.registry.SetString(HKCU, assistant + "\\ACMru\\5603", "000", "q");
  CleanFindHistory(context);
  EXPECT_THAT(fake.registry.ValueNames(HKCU, explorer), ElementsAre("ShellState"));
  EXPECT_FALSE(fake.registry.KeyExists(HKCU, bars));
  EXPECT_THAT(fake.registry.SubKeyNames(HKCU, assistant), IsEmpty());
}

// The list names values by whole characters: "é" is two bytes, and "ab" is no listed name.
TEST_F(WindowsTargetsTest, RunHistoryDeletesOnlyTheListedValuesAndTheList) {
  for (const char* name : {"a", "\xC3\xA9", "ab"})
    fake.registry.SetString(HKCU, kRunMru, name, "x");
  CleanRunHistory(context);  // without a list every value stays
  EXPECT_EQ(fake.registry.ValueNames(HKCU, kRunMru).size(), 3u);
  fake.registry.SetString(HKCU, kRunMru, "MRUList", "a\xC3\xA9");
  CleanRunHistory(context);
  EXPECT_THAT(fake.registry.ValueNames(HKCU, kRunMru), ElementsAre("ab"));
}

// The walk ends at the first gap or empty entry (which goes too).
TEST_F(WindowsTargetsTest, MediaPlayerRemovesTheUrlsUpToTheFirstGapAndTheFileList) {
  const std::string files = "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList";
  for (const char* name : {"URL0", "URL2"}) fake.registry.SetString(HKCU, kUrls, name, "x");
  fake.registry.SetString(HKCU, kUrls, "URL1", "");
  fake.registry.SetString(HKCU, files + "\\Sub", "File0", "C:\\song.mp3");
  CleanMediaPlayer(context);
  EXPECT_THAT(fake.registry.ValueNames(HKCU, kUrls), ElementsAre("URL2"));
  EXPECT_FALSE(fake.registry.KeyExists(HKCU, files));
}

TEST_F(WindowsTargetsTest, TheRunEmptiesEveryDrivesRecycleBinQuietly) {
  EmptyRecycleBin(context, "", true, true, true);
  ASSERT_EQ(fake.shell.recycleBinCalls.size(), 1u);
  EXPECT_EQ(fake.shell.recycleBinCalls[0].root, "");
  EXPECT_EQ(fake.shell.recycleBinCalls[0].flags, 7u);
}

// The platform's path ends at its first NUL. Hidden and system folders stay, and so do
// system files and files in use; links go as links, their targets untouched.
TEST_F(WindowsTargetsTest, TempFolderIsEmptiedOfWhatIsNotTheSystemsOrInUse) {
  fake.shell.tempPath = kTemp + std::string("\0stale", 6);
  fake.files.AddFile(kTemp + "hidden.tmp", "b", file_attr::Hidden | file_attr::ReadOnly);
  fake.files.AddFile(kTemp + "system.tmp", "d", file_attr::System);
  fake.files.AddFile(kTemp + "tree\\deep\\b.txt", "f", file_attr::ReadOnly);
  fake.files.AddFolder(kTemp + "hidden-folder", file_attr::Hidden);
  fake.files.AddFile(kTemp + "busy\\open.log", "c");
  fake.files.AddFile(kTemp + "busy\\done.log", "d");
  fake.files.SetInUse(kTemp + "busy\\open.log");
  fake.files.AddFile("D:\\Keep\\precious.doc", "data", file_attr::ReadOnly);
  fake.files.AddLink(kTemp + "folder-link", "D:\\Keep");

  CleanTempFiles(context);

  ExpectOnly(
      {kTemp + "hidden.tmp", kTemp + "tree", kTemp + "busy\\done.log", kTemp + "folder-link"},
      {kTemp + "system.tmp", kTemp + "hidden-folder", kTemp + "busy\\open.log"});
  EXPECT_EQ(fake.files.Content("D:\\Keep\\precious.doc"), "data");
  EXPECT_NE(fake.files.Attributes("D:\\Keep\\precious.doc") & file_attr::ReadOnly, 0u);
}

TEST_F(WindowsTargetsTest, UnsafeTempFolderIsNeverEmptied) {
  fake.files.AddFile("C:\\Windows\\win.ini", "w");
  for (const char* temp : {"", "Temp\\", "\\Temp\\", "C:", "c:/", "C:\\Windows\\",
                           "C:\\Users\\User", "C:\\Users\\User\\.\\"}) {
    SCOPED_TRACE(temp);
    fake.shell.tempPath = temp;
    CleanTempFiles(context);
    EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::DeleteFile), 0u);
    EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::RemoveDirectory), 0u);
  }
}

// The temporary folder is judged by where it leads: moved to another drive by a link it is
// still cleaned; leading to a profile, to the folders of the system or to a drive root it is
// left alone with everything in it.
TEST_F(WindowsTargetsTest, TempFolderThatIsALinkIsJudgedByWhereItLeads) {
  const std::string link = "C:\\Users\\User\\AppData\\Local\\TempLink";
  fake.shell.tempPath = link + "\\";
  fake.files.AddFile("E:\\Temp\\old.tmp", "t");
  fake.files.AddLink(link, "E:\\Temp");
  CleanTempFiles(context);
  EXPECT_FALSE(fake.files.Exists("E:\\Temp\\old.tmp"));

  for (const char* precious :
       {"C:\\Users\\User\\thesis.doc", "C:\\Users\\bob\\mail.pst", "C:\\ProgramData\\licence.dat",
        "D:\\Profiles\\ann\\notes.txt", "F:\\everything.db"}) {
    fake.files.AddFile(precious, "keep");
  }
  for (const char* target : {"C:\\Users\\User", "C:\\Users\\bob", "C:\\ProgramData",
                             "D:\\Profiles\\ann", "F:\\", "C:\\Users"}) {
    SCOPED_TRACE(target);
    fake.files.AddLink(link, target);
    fake.files.ClearCalls();
    CleanTempFiles(context);
    EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::DeleteFile), 0u);
    EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::RemoveDirectory), 0u);
  }
}

// A value of an unexpected type or size reads as no list at all; the run goes on.
TEST_F(WindowsTargetsTest, HistoryValuesOfAnUnexpectedTypeOrSizeAreNoList) {
  fake.registry.SetString(HKCU, kRunMru, "MRUList", std::string("\x61\0\0\0", 4), reg_type::Dword);
  fake.registry.SetString(HKCU, kRunMru, "a", "x");
  fake.registry.SetString(HKCU, kUrls, "URL0", std::string(1 << 20, 'b'), reg_type::Binary);
  fake.registry.SetString(HKCU, kUrls, "URL1", "x");
  CleanRunHistory(context);
  CleanMediaPlayer(context);
  EXPECT_THAT(fake.registry.ValueNames(HKCU, kRunMru), ElementsAre("a"));
  EXPECT_THAT(fake.registry.ValueNames(HKCU, kUrls), ElementsAre("URL1"));
}

// Fragments and FOUND.000 to FOUND.010 at the roots of fixed drives; a fragment in use stays
// and a FOUND link is removed without entering it.
TEST_F(WindowsTargetsTest, ScandiskRemovesRootFragmentsOnFixedDrivesOnly) {
  fake.files.AddDrive('C', DriveType::Fixed, 1000, 2000);
  fake.files.AddDrive('E', DriveType::Removable, 1000, 2000);
  for (const char* file : {"C:\\FILE0000.CHK", "C:\\a.chkdsk", "C:\\Sub\\deep.chk", "C:\\busy.chk",
                           "E:\\FILE0000.CHK", "C:\\FOUND.000\\FILE0000.CHK", "C:\\found.010\\x\\y",
                           "C:\\FOUND.011\\f", "C:\\FOUND.003", "D:\\Data\\thesis.doc"}) {
    fake.files.AddFile(file, "x", file_attr::ReadOnly);
  }
  fake.files.AddFile("C:\\hidden.chk", "x", file_attr::Hidden);
  fake.files.AddLink("C:\\FOUND.002", "D:\\Data");
  fake.files.SetInUse("C:\\busy.chk");

  CleanScandiskFiles(context);

  ExpectOnly({"C:\\FILE0000.CHK", "C:\\FOUND.000", "C:\\found.010", "C:\\FOUND.002"},
             {"C:\\a.chkdsk", "C:\\Sub\\deep.chk", "C:\\busy.chk", "E:\\FILE0000.CHK",
              "C:\\FOUND.011\\f", "C:\\FOUND.003", "D:\\Data\\thesis.doc", "C:\\hidden.chk"});
  EXPECT_TRUE(context.filesRemoved);
}

// Under every version of the office, the key trees that each option removes.
const std::pair<std::string, std::string> kTrees[] = {
    {"MSWord", "\\Word\\Data"},
    {"MSWord", "\\Common\\Open Find\\Microsoft Word\\Settings"},
    {"MSPPT", "\\PowerPoint\\Recent File List"},
    {"MSPPT", "\\PowerPoint\\Recent Folder List"},
    {"MSPPT", "\\PowerPoint\\Recent Typeface"},
    {"MSExcel", "\\Excel\\Recent Files"},
    {"MSExcel", "\\Excel\\Recent File List"},
    {"MSExcel", "\\Common\\Open Find\\Microsoft Excel\\Settings"},
    {"MSAccess", "\\Common\\Open Find\\Microsoft Access\\Settings"},
    {"MSOutlook", "\\Common\\Open Find\\Microsoft Outlook\\Settings"}};

// Access loses only the values that begin with "MRU", in any case; the Photo Editor its
// last file (the option box spells it "MSPhEditor"). Missing lists show no message.
TEST_F(WindowsTargetsTest, EachOfficeOptionRemovesItsOwnListsUnderEveryVersionOnly) {
  const std::vector<std::string> access = {"MRU1", "Window", "mru2", "LastMRU"};
  const std::string photoEditor = "Software\\Microsoft\\Photo Editor\\3.0\\Microsoft Photo Editor";
  for (const std::string option :
       {"MSWord", "MSPPT", "MSExcel", "MSAccess", "MSOutlook", "MSPhEditor"}) {
    SCOPED_TRACE(option);
    fake.profile.SetFileContent(settings.File(), "[MSOffice]\r\nMSOffice=1\r\n" + option + "=1");
    for (const char* version : {"8.0", "9.0", "10.0"}) {
      const std::string office = std::string("Software\\Microsoft\\Office\\") + version;
      for (const auto& [owner, tree] : kTrees) {
        fake.registry.SetString(HKCU, office + tree + "\\In", "", "");
      }
      for (const std::string& name : access) {
        fake.registry.SetString(HKCU, office + "\\Access\\Settings", name, "x");
      }
      fake.registry.SetString(HKCU, photoEditor, "LastFile", "C:\\p.jpg");

      CleanOffice(context);

      for (const auto& [owner, tree] : kTrees) {
        EXPECT_EQ(fake.registry.KeyExists(HKCU, office + tree), owner != option) << tree;
      }
      EXPECT_THAT(fake.registry.ValueNames(HKCU, office + "\\Access\\Settings"),
                  UnorderedElementsAreArray(option == "MSAccess"
                                                ? std::vector<std::string>{"Window", "LastMRU"}
                                                : access));
      EXPECT_EQ(fake.registry.GetValue(HKCU, photoEditor, "LastFile").has_value(),
                option != "MSPhEditor");
    }
  }
  EXPECT_THAT(fake.windows.messageBoxes, IsEmpty());
}

// An empty or relative folder would name "\Microsoft\Office\Recent" below the current folder
// or the current drive's root: the office step does not even look there.
TEST_F(WindowsTargetsTest, OfficeShortcutsGoOnlyFromAnAbsoluteAppDataFolder) {
  const std::string recent = "C:\\AppData\\Microsoft\\Office\\Recent\\";
  for (const char* name : {"report.doc.lnk", "index.dat"}) fake.files.AddFile(recent + name);
  const std::string shellFolders =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  for (const char* appData : {"", "Roaming", "\\AppData", "C:AppData"}) {
    SCOPED_TRACE(appData);
    fake.registry.SetString(HKCU, shellFolders, "AppData", appData);
    CleanOffice(context);
    EXPECT_THAT(fake.files.Calls(), IsEmpty());
  }
  fake.registry.SetString(HKCU, shellFolders, "AppData", "C:\\AppData");
  CleanOffice(context);
  EXPECT_FALSE(fake.files.Exists(recent + "report.doc.lnk"));
  EXPECT_TRUE(fake.files.Exists(recent + "index.dat"));
  EXPECT_TRUE(context.filesRemoved);
}

}  // namespace
}  // namespace quorvane
