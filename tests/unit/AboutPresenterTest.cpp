#include "about/AboutPresenter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "about/SupportInfo.h"
#include "fakes/FakePlatform.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr RegKey HKLM = reg_root::LocalMachine;
constexpr std::string_view kPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr std::string_view kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

class AboutPresenterTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(fake.registry.OpenHandleCount(), 0u); }

  // Runs the lookup; true when it read the value.
  bool Query(std::string_view key, std::string_view value, std::string& text) {
    return QueryValueText(fake.registry, HKLM, key, value, text);
  }
  void ExpectUnavailableMessage() {
    ASSERT_EQ(fake.windows.messageBoxes.size(), 1u);
    EXPECT_EQ(fake.windows.messageBoxes[0].text, "System Information Is Unavailable At This Time");
    EXPECT_EQ(fake.windows.messageBoxes[0].title, "Quorvane");
    // An OK button only, and no icon.
    EXPECT_EQ(fake.windows.messageBoxes[0].style, 0u);
  }

  fakes::FakePlatform fake;
  AboutPresenter about{fake.platform()};
};

TEST_F(AboutPresenterTest, PageTextsAreFilledOnEveryShowing) {
  EXPECT_EQ(about.lblTitle.Caption(), "Application Title");
  EXPECT_EQ(about.SkinLabel1.Caption(), "Web: ");
  EXPECT_EQ(about.SkinLabel2.Caption(), "Email: ");
  EXPECT_EQ(about.cmdSysInfo.Caption(), "&System Info...");
  EXPECT_FALSE(about.lblDisclaimer.Caption().empty());

  for (int showing = 0; showing < 2; ++showing) {
    about.ShowAboutInfo();
    EXPECT_EQ(about.lblTitle.Caption(), "Quorvane  Version 5.0.0");
    EXPECT_EQ(about.lblHome.Caption(), kSupportWebAddress);
    EXPECT_EQ(about.lblSupport.Caption(), kSupportEmailAddress);
  }
  EXPECT_EQ(AboutTitleLine(), "Quorvane  Version 5.0.0");
}

TEST_F(AboutPresenterTest, QueryReadsTextWithoutItsTerminatingNul) {
  fake.registry.SetRaw(HKLM, kPathKey, "PATH", reg_type::String, std::string("C:\\a.exe\0", 9));
  std::string text = "old";
  EXPECT_TRUE(Query(kPathKey, "PATH", text));
  EXPECT_EQ(text, "C:\\a.exe");

  // Data stored without a NUL keep every character.
  fake.registry.SetRaw(HKLM, kPathKey, "PATH", reg_type::String, "C:\\b.exe");
  EXPECT_TRUE(Query(kPathKey, "PATH", text));
  EXPECT_EQ(text, "C:\\b.exe");
}

TEST_F(AboutPresenterTest, QueryShowsA32BitNumberAsHexCodesFromLastToFirst) {
  std::string text;
  fake.registry.SetDword(HKLM, kPathKey, "N", 1);  // bytes 01 00 00 00, last NUL dropped
  EXPECT_TRUE(Query(kPathKey, "N", text));
  EXPECT_EQ(text, "&h001");
  fake.registry.SetDword(HKLM, kPathKey, "N", 0x12AB34CDu);
  EXPECT_TRUE(Query(kPathKey, "N", text));
  EXPECT_EQ(text, "&h12AB34CD");
  fake.registry.SetDword(HKLM, kPathKey, "N", 0x0A000000u);
  EXPECT_TRUE(Query(kPathKey, "N", text));
  EXPECT_EQ(text, "&hA000");
}

TEST_F(AboutPresenterTest, QueryLeavesOtherTypesAsPassed) {
  fake.registry.SetString(HKLM, kPathKey, "PATH", "%SystemRoot%\\x.exe", reg_type::ExpandString);
  std::string text = "as passed";
  EXPECT_TRUE(Query(kPathKey, "PATH", text));
  EXPECT_EQ(text, "as passed");
}

TEST_F(AboutPresenterTest, QueryFailsOnMissingKeyValueOrOversizedData) {
  std::string text = "old";
  EXPECT_FALSE(Query(kPathKey, "PATH", text));
  EXPECT_EQ(text, "");

  fake.registry.CreateKeyPath(HKLM, kPathKey);
  text = "old";
  EXPECT_FALSE(Query(kPathKey, "PATH", text));
  EXPECT_EQ(text, "");

  fake.registry.SetString(HKLM, kPathKey, "PATH", std::string(1025, 'x'));
  text = "old";
  EXPECT_FALSE(Query(kPathKey, "PATH", text));
  EXPECT_EQ(text, "");

  fake.registry.SetString(HKLM, kPathKey, "PATH", std::string(1024, 'x'));
  EXPECT_TRUE(Query(kPathKey, "PATH", text));
  EXPECT_EQ(text, std::string(1024, 'x'));
}

// A standard user may read these machine-wide keys but not write them.
TEST_F(AboutPresenterTest, QueryNeedsOnlyReadAccess) {
  fake.registry.SetString(HKLM, kPathKey, "PATH", "C:\\tool.exe");
  fake.registry.SetProtected(HKLM, kPathKey);
  std::string text;
  EXPECT_TRUE(Query(kPathKey, "PATH", text));
  EXPECT_EQ(text, "C:\\tool.exe");
}

TEST_F(AboutPresenterTest, SystemInfoStartsTheRegisteredProgram) {
  fake.registry.SetString(HKLM, kPathKey, "PATH", std::string("C:\\Tools\\msinfo32.exe\0", 22));
  about.cmdSysInfo.Click();
  ASSERT_EQ(fake.shell.startedPrograms.size(), 1u);
  EXPECT_EQ(fake.shell.startedPrograms[0].path, "C:\\Tools\\msinfo32.exe");
  EXPECT_EQ(fake.shell.startedPrograms[0].style, WindowStyle::NormalFocus);
  EXPECT_THAT(fake.windows.messageBoxes, IsEmpty());
}

TEST_F(AboutPresenterTest, SystemInfoFallsBackToTheRegisteredFolder) {
  fake.registry.SetString(HKLM, kFolderKey, "MSINFO", "C:\\Shared\\MSInfo");
  fake.files.AddFile("C:\\Shared\\MSInfo\\MSINFO32.EXE", "MZ");
  about.ShowSystemInfo();
  ASSERT_EQ(fake.shell.startedPrograms.size(), 1u);
  EXPECT_EQ(fake.shell.startedPrograms[0].path, "C:\\Shared\\MSInfo\\MSINFO32.EXE");
  EXPECT_THAT(fake.windows.messageBoxes, IsEmpty());
}

TEST_F(AboutPresenterTest, SystemInfoIsUnavailableWhenTheFolderHoldsNoProgram) {
  fake.registry.SetString(HKLM, kFolderKey, "MSINFO", "C:\\Shared\\MSInfo");
  fake.files.AddFolder("C:\\Shared\\MSInfo\\MSINFO32.EXE");
  about.ShowSystemInfo();
  EXPECT_THAT(fake.shell.startedPrograms, IsEmpty());
  ExpectUnavailableMessage();
}

TEST_F(AboutPresenterTest, SystemInfoIsUnavailableWithoutEitherLocation) {
  about.ShowSystemInfo();
  EXPECT_THAT(fake.shell.startedPrograms, IsEmpty());
  ExpectUnavailableMessage();
}

// The first location wins whenever it can be read; the second is not tried after it.
TEST_F(AboutPresenterTest, AReadableFirstLocationIsNeverSecondGuessed) {
  fake.registry.SetString(HKLM, kFolderKey, "MSINFO", "C:\\Shared\\MSInfo");
  fake.files.AddFile("C:\\Shared\\MSInfo\\MSINFO32.EXE", "MZ");

  fake.registry.SetString(HKLM, kPathKey, "PATH", "%ProgramFiles%\\x.exe", reg_type::ExpandString);
  about.ShowSystemInfo();
  EXPECT_THAT(fake.shell.startedPrograms, IsEmpty());
  ExpectUnavailableMessage();

  fake.windows.messageBoxes.clear();
  fake.registry.SetRaw(HKLM, kPathKey, "PATH", reg_type::String, "");
  about.ShowSystemInfo();
  EXPECT_THAT(fake.shell.startedPrograms, IsEmpty());
  ExpectUnavailableMessage();

  fake.windows.messageBoxes.clear();
  fake.registry.SetString(HKLM, kPathKey, "PATH", "C:\\Gone\\msinfo32.exe");
  fake.shell.startProgramSucceeds = false;
  about.ShowSystemInfo();
  ASSERT_EQ(fake.shell.startedPrograms.size(), 1u);
  EXPECT_EQ(fake.shell.startedPrograms[0].path, "C:\\Gone\\msinfo32.exe");
  ExpectUnavailableMessage();
}

TEST_F(AboutPresenterTest, AnEmptyFolderIsNotTakenForTheDriveRoot) {
  fake.registry.SetString(HKLM, kFolderKey, "MSINFO", "");
  fake.files.AddFile("C:\\MSINFO32.EXE", "MZ");
  about.ShowSystemInfo();
  EXPECT_THAT(fake.shell.startedPrograms, IsEmpty());
  ExpectUnavailableMessage();
}

}  // namespace
}  // namespace quorvane
