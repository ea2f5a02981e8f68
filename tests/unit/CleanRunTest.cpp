#include "clean/CleanRun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/FakePlatform.h"
#include "fakes/RecordingTargets.h"

namespace quorvane {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

// The fixture stands in for the clean window and records what the run tells it, in order.
class CleanRunTest : public ::testing::Test, public CleanWindow {
 protected:
  CleanRunTest() {
    fake.files.AddDrive('C', DriveType::Fixed, 1'000'000, 10'000'000);
    fake.files.AddDrive('D', DriveType::Fixed, 1'000'000, 10'000'000);
    fake.files.AddDrive('F', DriveType::Removable, 0, 0);
    fake.files.SetDriveReady('F', false);  // an empty card reader does not spoil the measure
  }
  void TargetDone(std::size_t index) override { log.push_back("done " + std::to_string(index)); }
  void ProcessPendingEvents() override {
    log.push_back("events");
    if (onEvents) onEvents();
  }
  void ShowLogOffNotice() override { log.push_back("notice"); }
  bool Closed() const override { return closed; }

  void Set(SettingKey key, std::string_view value) { ASSERT_TRUE(settings.Write(key, value)); }
  CleanReport Run() {
    log.clear();
    ran.clear();
    Platform platform = fake.platform();
    return RunClean(platform, app, *this, targets);
  }

  fakes::FakePlatform fake;
  AppContext app{"C:\\Quorvane", "C:\\Quorvane\\Local.Ini"};
  Settings settings{fake.profile, app.settingsFile};
  std::vector<std::string> log, ran;
  bool closed = false;
  std::function<void()> onEvents;
  std::function<void(std::size_t, CleanContext&)> onRun;
  std::vector<CleanTarget> targets =
      fakes::RecordingTargets([this](std::size_t i, CleanContext& context) {
        log.push_back("run " + std::to_string(i));
        ran.push_back(log.back());
        if (onRun) onRun(i, context);
      });
};

// Each line is ticked before the next target starts; once the window is closed the remaining
// targets still run, without it, and no notice follows.
TEST_F(CleanRunTest, EveryTargetRunsInOrderAndTheRestRunAfterTheWindowCloses) {
  ASSERT_TRUE(fakes::TurnOnEveryTarget(settings));
  onEvents = [this] { closed = ran.size() == 3; };
  EXPECT_TRUE(Run().estimateKb.has_value());
  EXPECT_THAT(log, ElementsAre("run 0", "done 0", "events", "run 1", "done 1", "events", "run 2",
                               "done 2", "events", "run 3", "run 4", "run 5", "run 6", "run 7",
                               "run 8", "run 9", "run 10"));
}

// Only the Run history brings the log-off notice, unless messages are skipped.
TEST_F(CleanRunTest, EachOptionGatesItsOwnTargetOnly) {
  const std::pair<SettingKey, int> gates[] = {
      {keys::FindHistory, 0},   {keys::DocumentHistory, 1}, {keys::RunHistory, 2},
      {keys::RecycleBin, 3},    {keys::MediaPlayer, 4},     {keys::TempFiles, 5},
      {keys::ScanTempFiles, 6}, {keys::MSOffice, 7},        {keys::IE, 8},
      {keys::Netscape, 10}};
  for (const auto& [gate, index] : gates) {
    SCOPED_TRACE(gate.key);
    fake.profile.RemoveFile(app.settingsFile);
    Set(gate, "1");
    Set(keys::SkipAllCustomWashItems, "1");
    Run();
    EXPECT_THAT(ran, ElementsAre("run " + std::to_string(index)));
    EXPECT_EQ(log.back() == "notice", index == 2);
  }
  Set(keys::RunHistory, "1");
  Set(keys::SkipMessages, "1");
  Run();
  EXPECT_THAT(log, Not(Contains("notice")));
}

// The gate of a target is read when it is due; a failing target is still ticked; a fixed
// drive that cannot be measured after the run leaves the results without an estimate.
TEST_F(CleanRunTest, GatesAreReadWhenDueAndAFailureEndsOnlyItsOwnStep) {
  Set(keys::FindHistory, "1");
  onRun = [this](std::size_t index, CleanContext& context) {
    if (index == 4) context.filesRemoved = true;
    if (index != 0) return;
    Set(keys::MediaPlayer, "1");
    throw std::runtime_error("locked");
  };
  onEvents = [this] { fake.files.SetDriveReady('D', false); };
  const CleanReport report = Run();
  EXPECT_THAT(log, ElementsAre("run 0", "done 0", "events", "run 4", "done 4", "events", "run 9",
                               "done 9", "events"));
  EXPECT_TRUE(report.filesRemoved);
  EXPECT_FALSE(report.estimateKb.has_value());
}

TEST(EstimateRestoredKbTest, ShowsOneForDeletionsThatFreedNothingMeasurable) {
  EXPECT_EQ(EstimateRestoredKb(5000, 1000, false), 0);
  EXPECT_EQ(EstimateRestoredKb(5000, 1000, true), 1);          // another program wrote meanwhile
  EXPECT_EQ(EstimateRestoredKb(1000, 1000 + 512, true), 0.5);  // not rounded
}

// The production table runs the real targets (here the custom items, on by default) over
// the run's counting platform; the space freed on the second fixed drive counts.
TEST_F(CleanRunTest, TheRealTargetsRunAndWhatTheyRemoveIsCounted) {
  targets = CleanTargets();
  fake.files.AddFile("C:\\Quorvane\\Custom\\Junk.ac2", "\"F\",\"D:\\Junk\\*.tmp\",\"\"\r\n");
  fake.files.AddFile("D:\\Junk\\one.tmp", std::string(1000, '1'));
  fake.files.AddFile("D:\\Junk\\two.tmp", std::string(2000, '2'));
  const CleanReport report = Run();
  EXPECT_TRUE(report.filesRemoved);
  EXPECT_EQ(report.removed.files, 2u);
  EXPECT_EQ(report.removed.bytes, 3000u);
  EXPECT_DOUBLE_EQ(report.estimateKb.value_or(0), 3000.0 / 1024);
}

}  // namespace
}  // namespace quorvane
