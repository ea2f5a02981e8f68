#include "about/AboutPresenter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "fakes/FakePlatform.h"

namespace quorvane {
namespace {

constexpr RegKey HKLM = reg_root::LocalMachine;
constexpr std::string_view kPathKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr std::string_view kFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

class AboutPresenterTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(fake.registry.OpenHandleCount(), 0u); }

  fakes::FakePlatform fake;
  AboutPresenter about{fake.platform()};
};

// A standard user may only read these machine-wide keys; data beyond the buffer is refused.
TEST_F(AboutPresenterTest, QueryReadsAReadOnlyKeyWithinItsBuffer) {
  std::string text = "old";
  EXPECT_FALSE(QueryValueText(fake.registry, HKLM, kPathKey, "PATH", text));
  EXPECT_EQ(text, "");
  for (const std::size_t size : {1024u, 1025u}) {
    fake.registry.SetString(HKLM, kPathKey, "PATH", std::string(size, 'x'));
    fake.registry.SetProtected(HKLM, kPathKey);
    text = "old";
    EXPECT_EQ(QueryValueText(fake.registry, HKLM, kPathKey, "PATH", text), size == 1024);
    EXPECT_EQ(text, size == 1024 ? std::string(size, 'x') : "");
  }
}

TEST_F(AboutPresenterTest, SystemInfoStartsTheRegisteredProgramOrTheOneInTheRegisteredFolder) {
  fake.registry.SetString(HKLM, kFolderKey, "MSINFO", "C:\\Shared\\MSInfo");
  fake.files.AddFile("C:\\Shared\\MSInfo\\MSINFO32.EXE", "MZ");
  about.ShowSystemInfo();
  fake.registry.SetString(HKLM, kPathKey, "PATH", std::string("C:\\Tools\\msinfo32.exe\0", 22));
  about.cmdSysInfo.Click();
  ASSERT_EQ(fake.shell.startedPrograms.size(), 2u);
  EXPECT_EQ(fake.shell.startedPrograms[0].path, "C:\\Shared\\MSInfo\\MSINFO32.EXE");
  EXPECT_EQ(fake.shell.startedPrograms[1].path, "C:\\Tools\\msinfo32.exe");
  EXPECT_EQ(fake.shell.startedPrograms[1].style, WindowStyle::NormalFocus);
  EXPECT_TRUE(fake.windows.messageBoxes.empty());
}

// An empty folder would put the program at the root of the current drive.
TEST_F(AboutPresenterTest, SystemInfoIsUnavailableWithoutAProgramToStart) {
  about.ShowSystemInfo();
  fake.files.AddFile("C:\\MSINFO32.EXE", "MZ");
  fake.registry.SetString(HKLM, kFolderKey, "MSINFO", "");
  about.ShowSystemInfo();
  fake.files.AddFolder("C:\\Shared\\MSINFO32.EXE");
  fake.registry.SetString(HKLM, kFolderKey, "MSINFO", "C:\\Shared");
  about.ShowSystemInfo();
  EXPECT_TRUE(fake.shell.startedPrograms.empty());
  // An OK button only, and no icon.
  const fakes::MessageBoxCall unavailable{"System Information Is Unavailable At This Time",
                                          "Quorvane", 0};
  EXPECT_THAT(fake.windows.messageBoxes,
              ::testing::ElementsAre(unavailable, unavailable, unavailable));
}

}  // namespace
}  // namespace quorvane
