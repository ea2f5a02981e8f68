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

TEST_F(AboutPresenterTest, PageTextsAreFilledOnShowing) {
  about.ShowAboutInfo();
  EXPECT_EQ(about.lblTitle.Caption(), "Quorvane  Version 5.0.0");
  EXPECT_EQ(about.lblHome.Caption(), kSupportWebAddress);
  EXPECT_EQ(about.lblSupport.Caption(), kSupportEmailAddress);
}

// Text loses its terminating NUL only; a 32-bit number shows as hex codes from its last byte
// to its first with the last NUL dropped; other types leave the text as passed.
TEST_F(AboutPresenterTest, QueryReadsTextNumbersAndLeavesOtherTypes) {
  struct Row {
    std::uint32_t type;
    std::string data;
    std::string expected;
  };
  const std::vector<Row> rows = {{reg_type::String, std::string("C:\\a.exe\0", 9), "C:\\a.exe"},
                                 {reg_type::String, "C:\\b.exe", "C:\\b.exe"},
                                 {reg_type::Dword, std::string("\x01\0\0\0", 4), "&h001"},
                                 {reg_type::Dword, "\xCD\x34\xAB\x12", "&h12AB34CD"},
                                 {reg_type::Dword, std::string("\0\0\0\x0A", 4), "&hA000"},
                                 {reg_type::ExpandString, "%SystemRoot%\\x.exe", "as passed"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    fake.registry.SetRaw(HKLM, kPathKey, "V", row.type, row.data);
    std::string text = "as passed";
    EXPECT_TRUE(Query(kPathKey, "V", text));
    EXPECT_EQ(text, row.expected);
  }
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

TEST_F(AboutPresenterTest, SystemInfoIsUnavailableWithoutAProgramInEitherLocation) {
  about.ShowSystemInfo();
  ExpectUnavailableMessage();
  fake.windows.messageBoxes.clear();
  fake.registry.SetString(HKLM, kFolderKey, "MSINFO", "C:\\Shared\\MSInfo");
  fake.files.AddFolder("C:\\Shared\\MSInfo\\MSINFO32.EXE");
  about.ShowSystemInfo();
  EXPECT_THAT(fake.shell.startedPrograms, IsEmpty());
  ExpectUnavailableMessage();
}

// The first location wins whenever it can be read; the second is not tried after it, even
// when the first names no program or one that does not start.
TEST_F(AboutPresenterTest, AReadableFirstLocationIsNeverSecondGuessed) {
  fake.registry.SetString(HKLM, kFolderKey, "MSINFO", "C:\\Shared\\MSInfo");
  fake.files.AddFile("C:\\Shared\\MSInfo\\MSINFO32.EXE", "MZ");
  fake.shell.startProgramSucceeds = false;
  const std::pair<std::uint32_t, std::string> firsts[] = {
      {reg_type::ExpandString, "%ProgramFiles%\\x.exe"},
      {reg_type::String, ""},
      {reg_type::String, "C:\\Gone\\msinfo32.exe"}};
  for (const auto& [type, path] : firsts) {
    SCOPED_TRACE(path);
    fake.windows.messageBoxes.clear();
    fake.shell.startedPrograms.clear();
    fake.registry.SetRaw(HKLM, kPathKey, "PATH", type, path);
    about.ShowSystemInfo();
    for (const auto& started : fake.shell.startedPrograms) EXPECT_EQ(started.path, path);
    ExpectUnavailableMessage();
  }
  EXPECT_EQ(fake.shell.startedPrograms.size(), 1u);
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
