// The Office target in the test prefix's real registry, with the recent-shortcut folder
// pointed into the sandbox.

#include <gmock/gmock.h>

#include "TargetsFixture.h"
#include "clean/OfficeTarget.h"

namespace quorvane::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

const std::string kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kOffice = "Software\\Microsoft\\Office";
const std::string kPhotoEditor = "Software\\Microsoft\\Photo Editor";
const std::vector<std::string> kVersions = {kOffice + "\\8.0", kOffice + "\\9.0",
                                            kOffice + "\\10.0"};

class OfficeTest : public TargetsTest {
 protected:
  OfficeTest() : savedAppData(GetRegString(kShellFolders, "AppData")) {
    DeleteRegTree(kOffice);
    DeleteRegTree(kPhotoEditor);
    SetRegString(kShellFolders, "AppData", sandbox / "AppData");
  }
  ~OfficeTest() override {
    DeleteRegTree(kOffice);
    DeleteRegTree(kPhotoEditor);
    // The prefix's own programs read this folder too.
    if (!savedAppData.empty()) SetRegString(kShellFolders, "AppData", savedAppData);
  }

  void WriteOptions(const std::string& lines) {
    sandbox.WriteFile("Local.Ini", "[MSOffice]\r\nMSOffice=1\r\n" + lines);
  }

  const std::string savedAppData;
  const std::string recent = "AppData\\Microsoft\\Office\\Recent";
};

TEST_F(OfficeTest, OnlyExcelAcrossEveryVersionAndTheShortcutsGo) {
  WriteOptions("MSWord=0\r\nMSExcel=1\r\nMSPhEditor=0\r\n");
  for (const std::string& version : kVersions) {
    SetRegString(version + "\\Excel\\Recent Files", "File1", "C:\\a.xls");
    SetRegString(version + "\\Excel\\Recent File List\\Sub", "File1", "C:\\b.xls");
    SetRegString(version + "\\Common\\Open Find\\Microsoft Excel\\Settings\\Open", "x", "y");
    SetRegString(version + "\\Excel\\Options", "Keep", "1");
    SetRegString(version + "\\Word\\Data", "Settings", "keep");
    SetRegString(version + "\\PowerPoint\\Recent File List", "File1", "keep");
    SetRegString(version + "\\Access\\Settings", "MRU1", "keep");
    SetRegString(version + "\\Common\\Open Find\\Microsoft Outlook\\Settings", "x", "keep");
  }
  SetRegString(kPhotoEditor + "\\3.0\\Microsoft Photo Editor", "LastFile", "keep");
  sandbox.WriteFile(recent + "\\report.xls.lnk", "shortcut");
  sandbox.WriteFile(recent + "\\locked.lnk", "read-only shortcut");
  sandbox.WriteFile(recent + "\\hidden.lnk", "hidden shortcut");
  sandbox.WriteFile(recent + "\\index.dat", "not a shortcut");
  SetAttributesOf(sandbox / (recent + "\\locked.lnk"), file_attr::ReadOnly);
  SetAttributesOf(sandbox / (recent + "\\hidden.lnk"), file_attr::Hidden);

  CleanOffice(context);

  for (const std::string& version : kVersions) {
    SCOPED_TRACE(version);
    EXPECT_FALSE(RegKeyExists(version + "\\Excel\\Recent Files"));
    EXPECT_FALSE(RegKeyExists(version + "\\Excel\\Recent File List"));
    EXPECT_FALSE(RegKeyExists(version + "\\Common\\Open Find\\Microsoft Excel\\Settings"));
    EXPECT_TRUE(RegValueExists(version + "\\Excel\\Options", "Keep"));
    EXPECT_TRUE(RegKeyExists(version + "\\Word\\Data"));
    EXPECT_TRUE(RegKeyExists(version + "\\PowerPoint\\Recent File List"));
    EXPECT_TRUE(RegValueExists(version + "\\Access\\Settings", "MRU1"));
    EXPECT_TRUE(RegKeyExists(version + "\\Common\\Open Find\\Microsoft Outlook\\Settings"));
  }
  EXPECT_TRUE(RegValueExists(kPhotoEditor + "\\3.0\\Microsoft Photo Editor", "LastFile"));
  EXPECT_FALSE(sandbox.Exists(recent + "\\report.xls.lnk"));
  EXPECT_TRUE(sandbox.Exists(recent + "\\locked.lnk"));
  EXPECT_TRUE(sandbox.Exists(recent + "\\hidden.lnk"));
  EXPECT_TRUE(sandbox.Exists(recent + "\\index.dat"));
  EXPECT_TRUE(context.filesRemoved);
}

TEST_F(OfficeTest, AccessKeepsItsOtherSettingsAndThePhotoEditorLosesItsLastValues) {
  // The option box stores MSPhEditor; the target reads MSPHEditor.
  WriteOptions("MSAccess=1\r\nMSPhEditor=1\r\n");
  const std::string access = kVersions[1] + "\\Access\\Settings";
  SetRegString(access, "MRU1", "C:\\db1.mdb");
  SetRegString(access, "mru2", "C:\\db2.mdb");
  SetRegString(access, "MRUList", "ab");
  SetRegString(access, "Window", "max");
  SetRegString(access, "LastMRU", "stays");
  SetRegString(kVersions[1] + "\\Common\\Open Find\\Microsoft Access\\Settings\\Open", "x", "y");
  const std::string photo = kPhotoEditor + "\\3.0\\Microsoft Photo Editor";
  SetRegString(photo, "LastFile", "C:\\p.jpg");
  SetRegString(photo, "lastFolder", "C:\\pictures");
  SetRegString(photo, "Zoom", "100");

  CleanOffice(context);

  ASSERT_TRUE(RegKeyExists(access));
  EXPECT_THAT(RegValueNames(access), UnorderedElementsAre("Window", "LastMRU"));
  EXPECT_FALSE(RegKeyExists(kVersions[1] + "\\Common\\Open Find\\Microsoft Access\\Settings"));
  EXPECT_THAT(RegValueNames(photo), ElementsAre("Zoom"));
  EXPECT_FALSE(context.filesRemoved);
}

}  // namespace
}  // namespace quorvane::testing
