#include "clean/WashPresenter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakePlatform.h"
#include "fakes/RecordingTargets.h"

namespace quorvane {
namespace {

using fakes::FakePlatform;
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
  void TurnEverythingOn() {
    ASSERT_TRUE(fakes::TurnOnEveryTarget(Settings(fake.profile, app.settingsFile)));
  }
  // Sets the free space of drive C as a program writing or deleting meanwhile would.
  void SetFreeSpace(std::uint64_t bytes) {
    fake.files.AddDrive('C', DriveType::Fixed, bytes, 10'000'000);
  }
  std::vector<int> Ticks() {
    std::vector<int> ticks;
    for (auto& line : wash.Lines()) ticks.push_back(line.check.Value());
    return ticks;
  }

  FakePlatform fake;
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

TEST_F(WashPresenterTest, OpensWithTheTargetLinesAndNothingTicked) {
  EXPECT_EQ(wash.Caption(), "System Cleaning in Progress");
  std::vector<std::string> labels;
  for (auto& line : wash.Lines()) {
    labels.push_back(std::string(line.checkBoxName) + "/" + std::string(line.labelName) + "=" +
                     line.label.Caption());
    EXPECT_EQ(line.check.Value(), 0);
  }
  EXPECT_THAT(labels, ElementsAre("ChkFindHistory/lblFindHistory= Windows Find/Search History",
                                  "ChkDocumentHistory/lblDocumentHistory=Document History",
                                  "ChkRunHistory/lblRunHistory= Windows Run History",
                                  "ChkRecycleBin/lblRecycleBin=RecycleBin",
                                  "ChkMediaPlayer/lblMediaPlayer=Windows Media Player",
                                  "ChkTempFiles/lblTempFiles=Temporary Files Directory",
                                  "ChkScanTempFiles/lblScanTempFiles=Scandisk Temp Files",
                                  "ChkMSOfficeTrack/lblMSOfficeTrack= MS-Office Tracks",
                                  "ChkIE/lblIE=Internet Explorer",
                                  "ChkCustomWash/lblCustomWash=Custom Clean Items",
                                  "ChkNetscape/lblNetscape=Netscape"));
  EXPECT_EQ(wash.cmdExit.Caption(), "&Exit");
  EXPECT_EQ(wash.lblRestoreSpace.Caption(), "Estimated Drive Space Restored: ");
  EXPECT_EQ(wash.progressBar.Value(), 0);
  EXPECT_EQ(wash.progressBar.Max(), 100);
  EXPECT_FALSE(wash.progressBar.BarColor().has_value());
  ASSERT_NE(wash.LineByCheckBox("ChkMSOfficeTrack"), nullptr);
  EXPECT_EQ(wash.LineByCheckBox("ChkMSOfficeTrack")->label.Caption(), " MS-Office Tracks");
  EXPECT_EQ(wash.LineByCheckBox("ChkNothing"), nullptr);
}

TEST_F(WashPresenterTest, ElevenTargetsTickOneByOneAndTheBarStandsAt99BeforeTheEnd) {
  TurnEverythingOn();
  std::vector<int> barAtEachYield;
  std::vector<int> ticksAtEachYield;
  fake.windows.onProcessEvents = [&] {
    barAtEachYield.push_back(wash.progressBar.Value());
    int ticked = 0;
    for (auto& line : wash.Lines()) ticked += line.check.Value();
    ticksAtEachYield.push_back(ticked);
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
  EXPECT_THAT(ticksAtEachYield, ElementsAre(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11));
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
  EXPECT_EQ(wash.lblRestoreSpace.Caption(), "  Estimated Drive Space Restored: 0 Kb");
  EXPECT_EQ(wash.cmdExit.Caption(), "&Done");
  EXPECT_THAT(Ticks(), ElementsAre(0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(fake.windows.processEventsCalls, 0);
  EXPECT_THAT(fake.windows.messageBoxes, IsEmpty());
}

TEST_F(WashPresenterTest, OnlyTheTargetsThatRanAreTicked) {
  Set(keys::RunHistory, "1");
  Set(keys::SkipMessages, "1");
  Set(keys::IE, "1");
  wash.Activate();
  EXPECT_THAT(Ticks(), ElementsAre(0, 0, 1, 0, 0, 0, 0, 0, 1, 1, 0));
  EXPECT_EQ(wash.progressBar.Value(), 100);
  EXPECT_THAT(fake.windows.messageBoxes, IsEmpty());  // messages are skipped
}

TEST_F(WashPresenterTest, DeletionsThatFreeNoMeasurableSpaceShowOne) {
  onRun = [](std::size_t, CleanContext& context) { context.filesRemoved = true; };
  wash.Activate();
  EXPECT_EQ(wash.lblRestoreSpace.Caption(), "  Estimated Drive Space Restored: 1 Kb");
}

TEST_F(WashPresenterTest, ShrinkingFreeSpaceShowsZeroOrOne) {
  onRun = [this](std::size_t, CleanContext&) { SetFreeSpace(900'000); };
  wash.Activate();
  EXPECT_EQ(wash.lblRestoreSpace.Caption(), "  Estimated Drive Space Restored: 0 Kb");

  SetFreeSpace(1'000'000);
  WashPresenter again(platform, app, targets);
  onRun = [this](std::size_t, CleanContext& context) {
    SetFreeSpace(900'000);
    context.filesRemoved = true;
  };
  again.Activate();
  EXPECT_EQ(again.lblRestoreSpace.Caption(), "  Estimated Drive Space Restored: 1 Kb");
}

TEST_F(WashPresenterTest, FreedSpaceIsShownInKilobytesWithItsFraction) {
  onRun = [this](std::size_t, CleanContext&) { SetFreeSpace(1'000'000 + 1536); };
  wash.Activate();
  EXPECT_EQ(wash.lblRestoreSpace.Caption(), "  Estimated Drive Space Restored: 1.5 Kb");

  SetFreeSpace(1'000'000);
  WashPresenter again(platform, app, targets);
  onRun = [this](std::size_t, CleanContext&) { SetFreeSpace(1'000'000 + 2048); };
  again.Activate();
  EXPECT_EQ(again.lblRestoreSpace.Caption(), "  Estimated Drive Space Restored: 2 Kb");
}

TEST_F(WashPresenterTest, AfterCloseClosesTheWindowOnceTheEstimateIsSet) {
  Set(keys::AfterClose, "1");
  std::string captionWhenClosed;
  wash.onClosed = [&] {
    ++closedCalls;
    captionWhenClosed = wash.lblRestoreSpace.Caption();
  };
  wash.Activate();
  EXPECT_TRUE(wash.IsClosed());
  EXPECT_EQ(closedCalls, 1);
  EXPECT_EQ(captionWhenClosed, "  Estimated Drive Space Restored: 0 Kb");
}

TEST_F(WashPresenterTest, WithoutAfterCloseTheWindowWaitsForDone) {
  Set(keys::AfterClose, "0");
  wash.Activate();
  EXPECT_FALSE(wash.IsClosed());
  wash.cmdExit.Click();
  EXPECT_TRUE(wash.IsClosed());
  EXPECT_EQ(closedCalls, 1);
  wash.cmdExit.Click();  // a second click on a closed window changes nothing
  EXPECT_EQ(closedCalls, 1);
}

TEST_F(WashPresenterTest, ClosingDuringTheRunLetsTheRemainingTargetsRunWithoutAnEstimate) {
  TurnEverythingOn();
  fake.windows.onProcessEvents = [this] {
    if (ran.size() == 2) wash.cmdExit.Click();
  };
  wash.Activate();

  EXPECT_EQ(ran.size(), 11u);
  EXPECT_TRUE(wash.IsClosed());
  EXPECT_EQ(closedCalls, 1);
  EXPECT_THAT(Ticks(), ElementsAre(1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(wash.progressBar.Value(), 18);
  EXPECT_EQ(wash.lblRestoreSpace.Caption(), "Estimated Drive Space Restored: ");
  EXPECT_EQ(wash.cmdExit.Caption(), "&Continue");
  EXPECT_EQ(fake.windows.processEventsCalls, 2);
  EXPECT_THAT(fake.windows.messageBoxes, IsEmpty());
  ASSERT_TRUE(wash.Report().has_value());
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
  EXPECT_EQ(wash.progressBar.Value(), 100);
  EXPECT_THAT(Ticks(), ElementsAre(0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0));
  ASSERT_TRUE(wash.Report().has_value());
  EXPECT_TRUE(wash.Report()->filesRemoved);
  EXPECT_FALSE(wash.Report()->estimateKb.has_value());
}

TEST_F(WashPresenterTest, EachOpeningMakesExactlyOneRun) {
  wash.Activate();
  wash.Activate();
  EXPECT_THAT(ran, ElementsAre(9u));
}

TEST_F(WashPresenterTest, WithoutASettingsFileOnlyTheCustomItemsRunAndNoNoticeShows) {
  app.settingsFile.clear();
  wash.Activate();
  EXPECT_THAT(ran, ElementsAre(9u));
  EXPECT_THAT(Ticks(), ElementsAre(0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0));
  EXPECT_THAT(fake.windows.messageBoxes, IsEmpty());
  EXPECT_EQ(wash.cmdExit.Caption(), "&Done");
}

TEST(RestoredSpaceTextTest, FollowsTheLabelLayout) {
  EXPECT_EQ(RestoredSpaceText(0), "  Estimated Drive Space Restored: 0 Kb");
  EXPECT_EQ(RestoredSpaceText(1536.0 / 1024), "  Estimated Drive Space Restored: 1.5 Kb");
  EXPECT_EQ(RestoredSpaceText(123456.25), "  Estimated Drive Space Restored: 123456.25 Kb");
}

}  // namespace
}  // namespace quorvane
