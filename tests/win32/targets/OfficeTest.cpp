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

  const std::string savedAppData;
};

// Excel, Access and the photo editor are chosen, Word is not. The option box stores
// MSPhEditor; the target reads MSPHEditor.
TEST_F(OfficeTest, TheChosenProgramsListsGoAcrossEveryVersionWithTheirShortcuts) {
  sandbox.WriteFile("Local.Ini",
                    "[MSOffice]\r\nMSOffice=1\r\nMSWord=0\r\nMSExcel=1\r\nMSAccess=1\r\n"
                    "MSPhEditor=1\r\n");
  for (const std::string& version : kVersions) {
    SetRegString(version + "\\Excel\\Recent Files", "File1", "C:\\a.xls");
    SetRegString(version + "\\Common\\Open Find\\Microsoft Excel\\Settings\\Open", "x", "y");
    SetRegString(version + "\\Excel\\Options", "Keep", "1");
    SetRegString(version + "\\Word\\Data", "Settings", "keep");
    SetRegString(version + "\\Common\\Open Find\\Microsoft Outlook\\Settings", "x", "keep");
  }
  const std::string access = kVersions[1] + "\\Access\\Settings";
  for (const char* name : {"MRU1", "mru2", "MRUList", "Window", "LastMRU"}) {
    SetRegString(access, name, "x");
  }
  const std::string photo = kPhotoEditor + "\\3.0\\Microsoft Photo Editor";
  for (const char* name : {"LastFile", "lastFolder", "Zoom"}) SetRegString(photo, name, "x");
  const std::string recent = "AppData\\Microsoft\\Office\\Recent\\";
  for (const char* name : {"report.xls.lnk", "locked.lnk", "hidden.lnk", "index.dat"}) {
    sandbox.WriteFile(recent + name, "x");
  }
  SetAttributesOf(sandbox / (recent + "locked.lnk"), file_attr::ReadOnly);
  SetAttributesOf(sandbox / (recent + "hidden.lnk"), file_attr::Hidden);

  CleanOffice(context);

  for (const std::string& version : kVersions) {
    SCOPED_TRACE(version);
    EXPECT_FALSE(RegKeyExists(version + "\\Excel\\Recent Files"));
    EXPECT_FALSE(RegKeyExists(version + "\\Common\\Open Find\\Microsoft Excel\\Settings"));
    EXPECT_TRUE(RegValueExists(version + "\\Excel\\Options", "Keep"));
    EXPECT_TRUE(RegKeyExists(version + "\\Word\\Data"));
    EXPECT_TRUE(RegKeyExists(version + "\\Common\\Open Find\\Microsoft Outlook\\Settings"));
  }
  EXPECT_THAT(RegValueNames(access), UnorderedElementsAre("Window", "LastMRU"));
  EXPECT_THAT(RegValueNames(photo), ElementsAre("Zoom"));
  EXPECT_FALSE(sandbox.Exists(recent + "report.xls.lnk"));
  for (const char* kept : {"locked.lnk", "hidden.lnk", "index.dat"}) {
    EXPECT_TRUE(sandbox.Exists(recent + kept)) << kept;
  }
  EXPECT_TRUE(context.filesRemoved);
}

}  // namespace
}  // namespace quorvane::testing
