#include "clean/WashPresenter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "fakes/RecordingTargets.h"

namespace quorvane {
namespace {

class WashPresenterTest : public testing::MainWindowFixture {
 protected:
  WashPresenterTest() {
    fake.files.AddDrive('C', DriveType::Fixed, 1'000'000, 10'000'000);
    wash.onClosed = [this] { ++closedCalls; };
  }

  Platform platform = fake.platform();
  std::vector<std::size_t> ran;
  const std::vector<CleanTarget> targets =
      fakes::RecordingTargets([this](std::size_t i, CleanContext&) { ran.push_back(i); });
  WashPresenter wash{platform, app, targets};
  int closedCalls = 0;
};

TEST_F(WashPresenterTest, TheBarStepsRedToTheEndAndTheWindowWaitsForDone) {
  ASSERT_TRUE(fakes::TurnOnEveryTarget(Settings(fake.profile, app.settingsFile)));
  std::vector<int> barAtEachYield;
  fake.windows.onProcessEvents = [&] {
    barAtEachYield.push_back(wash.progressBar.Value());
    EXPECT_EQ(wash.progressBar.BarColor(), std::optional<std::uint32_t>(255));
  };
  wash.Activate();
  wash.Activate();  // each opening runs once
  EXPECT_EQ(ran.size(), 11u);
  EXPECT_THAT(barAtEachYield, ::testing::ElementsAre(9, 18, 27, 36, 45, 54, 63, 72, 81, 90, 99));
  EXPECT_EQ(wash.progressBar.Value(), 100);
  EXPECT_EQ(wash.cmdExit.Caption(), "&Done");
  EXPECT_EQ(wash.lblRestoreSpace.Caption(), "  Estimated Drive Space Restored: 0 Kb");
  EXPECT_FALSE(wash.IsClosed());
  wash.cmdExit.Click();
  wash.cmdExit.Click();
  EXPECT_EQ(closedCalls, 1);
}

TEST_F(WashPresenterTest, AfterCloseClosesOnceTheTargetsThatRanAreTickedAndTheReportShown) {
  for (SettingKey key : {keys::IE, keys::AfterClose}) Set(key, "1");
  fake.windows.onProcessEvents = [this] { fake.files.SetDriveReady('C', false); };
  std::string captionWhenClosed = "<open>";  // no estimate without a measure after the run
  wash.onClosed = [&] { captionWhenClosed = wash.lblRestoreSpace.Caption(); };
  wash.Activate();
  EXPECT_EQ(wash.Lines()[8].check.Value(), 1);
  EXPECT_EQ(captionWhenClosed, "");
}

TEST_F(WashPresenterTest, ClosingDuringTheRunFreezesTheWindowWithoutAnEstimate) {
  ASSERT_TRUE(fakes::TurnOnEveryTarget(Settings(fake.profile, app.settingsFile)));
  fake.windows.onProcessEvents = [this] {
    if (ran.size() == 2) wash.cmdExit.Click();
  };
  wash.Activate();
  EXPECT_EQ(closedCalls, 1);
  EXPECT_EQ(wash.Lines()[2].check.Value(), 0);
  EXPECT_EQ(wash.progressBar.Value(), 18);
  EXPECT_EQ(wash.lblRestoreSpace.Caption(), "Estimated Drive Space Restored: ");
}

// The user watches the run: the window is shown once the button reads "&Continue" and before
// the first target, and the log-off notice comes over it after the last.
TEST_F(WashPresenterTest, TheWindowIsShownBeforeTheFirstTargetAndTheNoticeAfterTheLast) {
  for (SettingKey key : {keys::FindHistory, keys::RunHistory, keys::SkipAllCustomWashItems}) {
    Set(key, "1");
  }
  std::vector<std::string> seen;
  wash.showWindow = [&] {
    seen.push_back("shown " + wash.cmdExit.Caption() + ", " + std::to_string(ran.size()) + " ran");
  };
  fake.windows.onProcessEvents = [&] { seen.push_back("tick " + std::to_string(ran.size())); };
  wash.Activate();
  seen.push_back(std::to_string(fake.windows.messageBoxes.size()) + " notice");
  EXPECT_THAT(seen,
              ::testing::ElementsAre("shown &Continue, 0 ran", "tick 1", "tick 2", "1 notice"));
}

// Under the estimate the window says what went, as the command-line cleaner does; the line
// for what could not go stays hidden when everything went.
TEST_F(WashPresenterTest, TheReportCountsWhatTheRunRemoved) {
  Set(keys::TempFiles, "1");
  fake.files.AddFile("C:\\Temp\\a.tmp", "12345");
  fake.registry.SetString(reg_root::CurrentUser, "Software\\Q", "v", "x");
  const std::vector<CleanTarget> deleting =
      fakes::RecordingTargets([](std::size_t i, CleanContext& c) {
        if (i != 5) return;
        (void)c.platform.files.DeleteFile("C:\\Temp\\a.tmp", DeleteMode::AsFound);
        c.reg.DeleteValue(reg_root::CurrentUser, "Software\\Q", "v");
      });
  WashPresenter window{platform, app, deleting};
  EXPECT_EQ(window.lblRemoved.Caption(), "");
  window.Activate();
  EXPECT_EQ(window.lblRemoved.Caption(),
            "Removed: 1 file (5 bytes), 0 registry keys, 1 registry value");
  EXPECT_FALSE(window.lblNotRemoved.Visible());
}

TEST_F(WashPresenterTest, AFileInUseIsReportedAsNotRemoved) {
  Set(keys::TempFiles, "1");
  fake.files.AddFile("C:\\Temp\\busy.tmp", "12345");
  fake.files.SetInUse("C:\\Temp\\busy.tmp");
  const std::vector<CleanTarget> deleting =
      fakes::RecordingTargets([](std::size_t i, CleanContext& c) {
        if (i == 5) (void)c.platform.files.DeleteFile("C:\\Temp\\busy.tmp", DeleteMode::AsFound);
      });
  WashPresenter window{platform, app, deleting};
  window.Activate();
  EXPECT_EQ(window.lblRemoved.Caption(),
            "Removed: 0 files (0 bytes), 0 registry keys, 0 registry values");
  EXPECT_TRUE(window.lblNotRemoved.Visible());
  EXPECT_EQ(window.lblNotRemoved.Caption(), "Not removed: 1 file in use or denied");
}

}  // namespace
}  // namespace quorvane
