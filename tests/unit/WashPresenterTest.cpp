#include "clean/WashPresenter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakePlatform.h"
#include "fakes/RecordingTargets.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class WashPresenterTest : public ::testing::Test {
 protected:
  WashPresenterTest() {
    app.appFolder = "C:\\Quorvane";
    app.settingsFile = "C:\\Quorvane\\Local.Ini";
    fake.files.AddDrive('C', DriveType::Fixed, 1'000'000, 10'000'000);
    wash.onClosed = [this] { ++closedCalls; };
  }

  void Set(SettingKey key, std::string_view value) {
    ASSERT_TRUE(Settings(fake.profile, app.settingsFile).Write(key, value));
  }
  std::vector<int> Ticks() {
    std::vector<int> ticks;
    for (auto& line : wash.Lines()) ticks.push_back(line.check.Value());
    return ticks;
  }

  fakes::FakePlatform fake;
  Platform platform = fake.platform();
  AppContext app;
  std::vector<std::size_t> ran;
  std::function<void(std::size_t, CleanContext&)> onRun;
  const std::vector<CleanTarget> targets =
      fakes::RecordingTargets([this](std::size_t i, CleanContext& context) {
        ran.push_back(i);
        if (onRun) onRun(i, context);
      });
  WashPresenter wash{platform, app, targets};
  int closedCalls = 0;
};

TEST_F(WashPresenterTest, ElevenTargetsTickOneByOneAndTheBarStandsAt99BeforeTheEnd) {
  EXPECT_THAT(Ticks(), ElementsAre(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(wash.LineByCheckBox("ChkMSOfficeTrack")->label.Caption(), " MS-Office Tracks");
  EXPECT_EQ(wash.LineByCheckBox("ChkNothing"), nullptr);
  ASSERT_TRUE(fakes::TurnOnEveryTarget(Settings(fake.profile, app.settingsFile)));
  std::vector<int> barAtEachYield;
  fake.windows.onProcessEvents = [&] {
    barAtEachYield.push_back(wash.progressBar.Value());
    EXPECT_EQ(wash.cmdExit.Caption(), "&Continue");
    EXPECT_EQ(wash.progressBar.BarColor(), std::optional<std::uint32_t>(255));
  };
  onRun = [&](std::size_t index, CleanContext&) {
    // A line is ticked only after its own target ran, and all earlier ones before it.
    for (std::size_t i = 0; i < wash.Lines().size(); ++i) {
      EXPECT_EQ(wash.Lines()[i].check.Value(), i < index ? 1 : 0) << index << " " << i;
    }
  };

  wash.Activate();

  EXPECT_THAT(barAtEachYield, ElementsAre(9, 18, 27, 36, 45, 54, 63, 72, 81, 90, 99));
  EXPECT_EQ(wash.progressBar.Value(), 100);
  EXPECT_EQ(wash.cmdExit.Caption(), "&Done");
  EXPECT_EQ(wash.lblRestoreSpace.Caption(), "  Estimated Drive Space Restored: 0 Kb");
  EXPECT_THAT(fake.windows.messageBoxes,
              ElementsAre(fakes::MessageBoxCall{
                  "Please logoff the machine for effect in Run History.", "Quorvane",
                  message_box::Ok | message_box::IconInformation}));
  EXPECT_FALSE(wash.IsClosed());
}

TEST_F(WashPresenterTest, WhenNothingRunsTheBarJumpsToTheEndInItsDefaultColour) {
  Set(keys::SkipAllCustomWashItems, "1");
  wash.Activate();
  EXPECT_THAT(ran, IsEmpty());
  EXPECT_EQ(wash.progressBar.Value(), 100);
  EXPECT_FALSE(wash.progressBar.BarColor().has_value());
  EXPECT_EQ(wash.cmdExit.Caption(), "&Done");
  EXPECT_EQ(fake.windows.processEventsCalls, 0);
}

TEST_F(WashPresenterTest, OnlyTheTargetsThatRanAreTickedAndEachOpeningRunsOnce) {
  Set(keys::RunHistory, "1");
  Set(keys::SkipMessages, "1");
  Set(keys::IE, "1");
  wash.Activate();
  wash.Activate();
  EXPECT_THAT(ran, ElementsAre(2u, 8u, 9u));
  EXPECT_THAT(Ticks(), ElementsAre(0, 0, 1, 0, 0, 0, 0, 0, 1, 1, 0));
  EXPECT_THAT(fake.windows.messageBoxes, IsEmpty());  // messages are skipped
}

TEST_F(WashPresenterTest, FreedSpaceIsShownInKilobytesWithItsFraction) {
  onRun = [this](std::size_t, CleanContext&) {
    fake.files.AddDrive('C', DriveType::Fixed, 1'000'000 + 1536, 10'000'000);
  };
  wash.Activate();
  EXPECT_EQ(wash.lblRestoreSpace.Caption(), "  Estimated Drive Space Restored: 1.5 Kb");
}

TEST(RestoredSpaceTextTest, FollowsTheLabelLayout) {
  EXPECT_EQ(RestoredSpaceText(0), "  Estimated Drive Space Restored: 0 Kb");
  EXPECT_EQ(RestoredSpaceText(123456.25), "  Estimated Drive Space Restored: 123456.25 Kb");
}

TEST_F(WashPresenterTest, AfterCloseClosesTheWindowOnceTheEstimateIsSet) {
  Set(keys::AfterClose, "1");
  std::string captionWhenClosed;
  wash.onClosed = [&] {
    ++closedCalls;
    captionWhenClosed = wash.lblRestoreSpace.Caption();
  };
  wash.Activate();
  EXPECT_EQ(closedCalls, 1);
  EXPECT_EQ(captionWhenClosed, "  Estimated Drive Space Restored: 0 Kb");
}

TEST_F(WashPresenterTest, WithoutAfterCloseTheWindowWaitsForDone) {
  Set(keys::AfterClose, "0");
  wash.Activate();
  EXPECT_FALSE(wash.IsClosed());
  wash.cmdExit.Click();
  wash.cmdExit.Click();  // a second click on a closed window changes nothing
  EXPECT_TRUE(wash.IsClosed());
  EXPECT_EQ(closedCalls, 1);
}

TEST_F(WashPresenterTest, ClosingDuringTheRunLetsTheRemainingTargetsRunWithoutAnEstimate) {
  ASSERT_TRUE(fakes::TurnOnEveryTarget(Settings(fake.profile, app.settingsFile)));
  fake.windows.onProcessEvents = [this] {
    if (ran.size() == 2) wash.cmdExit.Click();
  };
  wash.Activate();

  EXPECT_EQ(ran.size(), 11u);
  EXPECT_EQ(closedCalls, 1);
  EXPECT_THAT(Ticks(), ElementsAre(1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(wash.progressBar.Value(), 18);
  EXPECT_EQ(wash.lblRestoreSpace.Caption(), "Estimated Drive Space Restored: ");
  EXPECT_EQ(fake.windows.processEventsCalls, 2);
  EXPECT_THAT(fake.windows.messageBoxes, IsEmpty());
}

TEST_F(WashPresenterTest, AFailedMeasureShowsNoEstimateButKeepsTheResults) {
  Set(keys::MediaPlayer, "1");
  fake.files.AddDrive('E', DriveType::Fixed, 10, 10);
  onRun = [this](std::size_t, CleanContext& context) {
    fake.files.SetDriveReady('E', false);
    context.filesRemoved = true;
  };
  wash.Activate();
  EXPECT_EQ(wash.lblRestoreSpace.Caption(), "");
  EXPECT_EQ(wash.cmdExit.Caption(), "&Done");
  EXPECT_THAT(Ticks(), ElementsAre(0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0));
  ASSERT_TRUE(wash.Report().has_value());
  EXPECT_TRUE(wash.Report()->filesRemoved);
}

}  // namespace
}  // namespace quorvane
