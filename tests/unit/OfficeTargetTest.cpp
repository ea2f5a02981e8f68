#include "clean/OfficeTarget.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/FileServices.h"
#include "fakes/FakeCleanContext.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;

constexpr RegKey HKCU = reg_root::CurrentUser;
constexpr const char* kIni = "C:\\Program Files\\Quorvane\\Local.Ini";
constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kAppData = "C:\\Users\\User\\AppData\\Roaming";
constexpr const char* kRecent = "C:\\Users\\User\\AppData\\Roaming\\Microsoft\\Office\\Recent";
constexpr const char* kPhotoEditor =
    "Software\\Microsoft\\Photo Editor\\3.0\\Microsoft Photo Editor";

const std::vector<std::string> kVersions = {"Software\\Microsoft\\Office\\8.0",
                                            "Software\\Microsoft\\Office\\9.0",
                                            "Software\\Microsoft\\Office\\10.0"};

// Every key tree the target may remove under a version key, by application.
const std::vector<std::string> kWordTrees = {"\\Word\\Data",
                                             "\\Common\\Open Find\\Microsoft Word\\Settings"};
const std::vector<std::string> kPowerPointTrees = {"\\PowerPoint\\Recent File List",
                                                   "\\PowerPoint\\Recent Folder List",
                                                   "\\PowerPoint\\Recent Typeface"};
const std::vector<std::string> kExcelTrees = {"\\Excel\\Recent Files", "\\Excel\\Recent File List",
                                              "\\Common\\Open Find\\Microsoft Excel\\Settings"};
const std::vector<std::string> kAccessTrees = {"\\Common\\Open Find\\Microsoft Access\\Settings"};
const std::vector<std::string> kOutlookTrees = {"\\Common\\Open Find\\Microsoft Outlook\\Settings"};

class OfficeTargetTest : public ::testing::Test, protected fakes::FakeCleanContext {
 protected:
  OfficeTargetTest() : FakeCleanContext(kIni) {
    fake.registry.SetString(HKCU, kShellFolders, "AppData", kAppData);
    for (const std::string& version : kVersions) {
      for (const auto* trees :
           {&kWordTrees, &kPowerPointTrees, &kExcelTrees, &kAccessTrees, &kOutlookTrees}) {
        for (const std::string& tree : *trees) {
          // A sub-key below each location, so that only a tree removal takes it away.
          fake.registry.SetString(HKCU, version + tree + "\\Inner", "File1", "C:\\doc.x");
        }
      }
      fake.registry.SetString(HKCU, version + "\\Access\\Settings", "MRU1", "C:\\db.mdb");
      fake.registry.SetString(HKCU, version + "\\Access\\Settings", "Window", "max");
    }
    fake.registry.SetString(HKCU, kPhotoEditor, "LastFile", "C:\\p.jpg");
    fake.registry.SetString(HKCU, kPhotoEditor, "Zoom", "100");
  }

  void Options(const std::string& lines) {
    fake.profile.SetFileContent(kIni, "[MSOffice]\r\nMSOffice=1\r\n" + lines);
  }

  std::string Recent(const std::string& name) { return std::string(kRecent) + "\\" + name; }

  bool TreesExist(const std::string& version, const std::vector<std::string>& trees) {
    for (const std::string& tree : trees) {
      if (!fake.registry.KeyExists(HKCU, version + tree)) return false;
    }
    return true;
  }
  bool AnyTreeExists(const std::string& version, const std::vector<std::string>& trees) {
    for (const std::string& tree : trees) {
      if (fake.registry.KeyExists(HKCU, version + tree)) return true;
    }
    return false;
  }
};

TEST_F(OfficeTargetTest, OnlyExcelOnRemovesExcelUnderEveryVersionAndNothingElse) {
  Options("MSExcel=1\r\nMSWord=0\r\n");
  fake.files.AddFile(Recent("report.doc.lnk"));
  fake.files.AddFile(Recent("index.dat"));

  CleanOffice(context);

  for (const std::string& version : kVersions) {
    SCOPED_TRACE(version);
    EXPECT_FALSE(AnyTreeExists(version, kExcelTrees));
    for (const auto* trees : {&kWordTrees, &kPowerPointTrees, &kAccessTrees, &kOutlookTrees}) {
      EXPECT_TRUE(TreesExist(version, *trees));
    }
    EXPECT_TRUE(fake.registry.ValueExists(HKCU, version + "\\Access\\Settings", "MRU1"));
    EXPECT_TRUE(fake.registry.KeyExists(HKCU, version + "\\Excel"));
  }
  EXPECT_TRUE(fake.registry.ValueExists(HKCU, kPhotoEditor, "LastFile"));
  EXPECT_FALSE(fake.files.Exists(Recent("report.doc.lnk")));
  EXPECT_TRUE(fake.files.Exists(Recent("index.dat")));
  EXPECT_TRUE(context.filesRemoved);
}

TEST_F(OfficeTargetTest, EveryApplicationOnClearsAllVersions) {
  // The option box writes MSPhEditor; the target must take it, not only MSPHEditor.
  Options("MSWord=1\r\nMSPPT=1\r\nMSExcel=1\r\nMSAccess=1\r\nMSOutlook=1\r\nMSPhEditor=1\r\n");
  fake.files.AddFolder(Recent("folder.lnk"));

  CleanOffice(context);

  for (const std::string& version : kVersions) {
    SCOPED_TRACE(version);
    for (const auto* trees :
         {&kWordTrees, &kPowerPointTrees, &kExcelTrees, &kAccessTrees, &kOutlookTrees}) {
      EXPECT_FALSE(AnyTreeExists(version, *trees));
    }
    EXPECT_THAT(fake.registry.ValueNames(HKCU, version + "\\Access\\Settings"),
                ElementsAre("Window"));
  }
  EXPECT_THAT(fake.registry.ValueNames(HKCU, kPhotoEditor), ElementsAre("Zoom"));
  // No shortcut: nothing was deleted from disk.
  EXPECT_FALSE(context.filesRemoved);
}

TEST_F(OfficeTargetTest, AccessLosesOnlyValuesBeginningWithMruInAnyCase) {
  Options("MSAccess=1\r\n");
  const std::string settingsKey = kVersions[2] + "\\Access\\Settings";
  fake.registry.SetString(HKCU, settingsKey, "mru2", "C:\\b.mdb");
  fake.registry.SetString(HKCU, settingsKey, "MrUFlags", "1");
  fake.registry.SetString(HKCU, settingsKey, "LastMRU", "keep: the prefix is not at the start");
  fake.registry.SetString(HKCU, settingsKey, "MR", "keep: shorter than the prefix");

  CleanOffice(context);

  EXPECT_THAT(fake.registry.ValueNames(HKCU, settingsKey), ElementsAre("Window", "LastMRU", "MR"));
}

TEST_F(OfficeTargetTest, OptionsOtherThanExactlyOneAreOffAndShortcutsStillGo) {
  Options("MSWord=true\r\nMSExcel=01\r\nMSPhEditor=yes\r\n");
  fake.files.AddFile(Recent("report.doc.lnk"));
  // The wild-card delete leaves hidden and read-only shortcuts, as the shell's own does.
  fake.files.AddFile(Recent("hidden.lnk"), "x", file_attr::Hidden);
  fake.files.AddFile(Recent("locked.lnk"), "x", file_attr::ReadOnly);

  CleanOffice(context);

  for (const std::string& version : kVersions) {
    EXPECT_TRUE(TreesExist(version, kWordTrees));
    EXPECT_TRUE(TreesExist(version, kExcelTrees));
  }
  EXPECT_TRUE(fake.registry.ValueExists(HKCU, kPhotoEditor, "LastFile"));
  EXPECT_FALSE(fake.files.Exists(Recent("report.doc.lnk")));
  EXPECT_TRUE(fake.files.Exists(Recent("hidden.lnk")));
  EXPECT_TRUE(fake.files.Exists(Recent("locked.lnk")));
  EXPECT_TRUE(context.filesRemoved);
}

TEST_F(OfficeTargetTest, EmptyOrRelativeAppDataSkipsOnlyTheShortcuts) {
  // A relative folder would name "\Microsoft\Office\Recent" below the current folder or
  // the current drive's root: the shortcut step must not even look there.
  for (const char* appData : {"", "Roaming", "\\Users\\User", "C:Roaming"}) {
    SCOPED_TRACE(appData);
    fake.registry.SetString(HKCU, kShellFolders, "AppData", appData);
    fake.registry.SetString(HKCU, kVersions[2] + kWordTrees[0], "x", "y");
    Options("MSWord=1\r\n");
    fake.files.ClearCalls();

    CleanOffice(context);

    EXPECT_EQ(fake.files.Calls().size(), 0u);
    EXPECT_FALSE(context.filesRemoved);
    EXPECT_FALSE(AnyTreeExists(kVersions[2], kWordTrees));
  }
}

TEST(OfficeTargetEmptyTest, MissingLocationsShowNoMessage) {
  fakes::FakeCleanContext empty(kIni);
  empty.fake.profile.SetFileContent(
      kIni,
      "[MSOffice]\r\nMSOffice=1\r\nMSWord=1\r\nMSPPT=1\r\nMSExcel=1\r\nMSAccess=1\r\n"
      "MSOutlook=1\r\nMSPhEditor=1\r\n");

  CleanOffice(empty.context);

  EXPECT_TRUE(empty.fake.windows.messageBoxes.empty());
  EXPECT_FALSE(empty.context.filesRemoved);
  EXPECT_EQ(empty.fake.registry.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace quorvane
