// One clean at a time: a run waits while another program's clean holds the turn.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clean/CleanRun.h"
#include "clean/WashPresenter.h"
#include "fakes/FakePlatform.h"
#include "fakes/RecordingTargets.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;

class CleanTurnTest : public ::testing::Test, public CleanWindow {
 protected:
  void TargetDone(std::size_t index) override { log.push_back("done " + std::to_string(index)); }
  void ProcessPendingEvents() override { log.push_back("events"); }
  void ShowLogOffNotice() override {}
  void ShowWaiting(bool waiting) override { log.push_back(waiting ? "waiting" : "turn"); }
  bool Closed() const override { return closed; }

  CleanReport Run() {
    Platform platform = fake.platform();
    return RunClean(platform, app, *this, targets);
  }

  fakes::FakePlatform fake;
  AppContext app{"C:\\Quorvane", "C:\\Quorvane\\Local.Ini"};
  std::vector<std::string> log;
  bool closed = false;
  std::vector<CleanTarget> targets = fakes::RecordingTargets(
      [this](std::size_t i, CleanContext&) { log.push_back("run " + std::to_string(i)); });
};

TEST_F(CleanTurnTest, ARunWaitsForTheOtherCleanAndGivesItsTurnBack) {
  int othersLeft = 3;
  fake.windows.otherCleanRuns = [&] { return othersLeft-- > 0; };
  Run();
  // The window keeps handling its events while it waits, and the targets run only after.
  EXPECT_THAT(log, ElementsAre("waiting", "events", "events", "turn", "run 9", "done 9", "events"));
  EXPECT_FALSE(fake.windows.holdsCleanTurn);

  // Without another clean there is nothing to say.
  log.clear();
  Run();
  EXPECT_THAT(log, ElementsAre("run 9", "done 9", "events"));
  EXPECT_FALSE(fake.windows.holdsCleanTurn);
}

TEST_F(CleanTurnTest, AWindowClosedWhileWaitingCleansNothing) {
  fake.windows.otherCleanRuns = [] { return true; };
  const int waitsBefore = fake.windows.cleanTurnWaits;
  closed = true;
  const CleanReport report = Run();
  EXPECT_THAT(log, ElementsAre("waiting", "events"));
  EXPECT_EQ(fake.windows.cleanTurnWaits - waitsBefore, 2);
  EXPECT_FALSE(report.filesRemoved);
  EXPECT_FALSE(fake.windows.holdsCleanTurn);
}

// The clean window says that it waits, and goes back to its usual label once its turn came.
TEST(WashWaitingTest, TheCleanWindowSaysItWaits) {
  fakes::FakePlatform fake;
  const AppContext app{"C:\\Quorvane", "C:\\Quorvane\\Local.Ini"};
  Platform platform = fake.platform();
  const std::vector<CleanTarget> targets =
      fakes::RecordingTargets([](std::size_t, CleanContext&) {});
  WashPresenter wash(platform, app, targets);
  std::vector<std::string> labels;
  int othersLeft = 2;
  fake.windows.otherCleanRuns = [&] { return othersLeft-- > 0; };
  fake.windows.onProcessEvents = [&] { labels.push_back(wash.lblRestoreSpace.Caption()); };
  wash.Activate();
  ASSERT_GE(labels.size(), 2u);
  EXPECT_EQ(labels[0], "Waiting for another clean to end...");
  EXPECT_EQ(labels[1], "Estimated Drive Space Restored: ");  // while the targets run
  EXPECT_EQ(wash.cmdExit.Caption(), "&Done");
}

}  // namespace
}  // namespace quorvane
