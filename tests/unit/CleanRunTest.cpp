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

using fakes::FakePlatform;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

constexpr auto kHkcu = reg_root::CurrentUser;
constexpr std::string_view kRunMru =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";

// Stands in for the clean window: records what the run tells it, in order.
class RecordingWindow : public CleanWindow {
 public:
  explicit RecordingWindow(std::vector<std::string>& log) : log_(log) {}
  void TargetDone(std::size_t index) override { log_.push_back("done " + std::to_string(index)); }
  void ProcessPendingEvents() override {
    log_.push_back("events");
    if (onEvents) onEvents();
  }
  void ShowLogOffNotice() override { log_.push_back("notice"); }
  bool Closed() const override { return closed; }

  bool closed = false;
  std::function<void()> onEvents;

 private:
  std::vector<std::string>& log_;
};

class CleanRunTest : public ::testing::Test {
 protected:
  CleanRunTest() {
    app.appFolder = "C:\\Quorvane";
    app.settingsFile = "C:\\Quorvane\\Local.Ini";
    fake.files.AddDrive('C', DriveType::Fixed, 1'000'000, 10'000'000);
    fake.files.AddFolder("C:\\Quorvane\\Custom");
  }

  void Set(SettingKey key, std::string_view value) {
    ASSERT_TRUE(Settings(fake.profile, app.settingsFile).Write(key, value));
  }
  std::vector<std::string> Ran() const {
    std::vector<std::string> ran;
    for (const std::string& entry : log) {
      if (entry.rfind("run ", 0) == 0) ran.push_back(entry);
    }
    return ran;
  }
  CleanReport Run() {
    log.clear();
    Platform platform = fake.platform();
    return RunClean(platform, app, window, targets);
  }

  FakePlatform fake;
  AppContext app;
  std::vector<std::string> log;
  std::function<void(std::size_t, CleanContext&)> onRun;
  std::vector<CleanTarget> targets =
      fakes::RecordingTargets([this](std::size_t i, CleanContext& context) {
        log.push_back("run " + std::to_string(i));
        if (onRun) onRun(i, context);
      });
  RecordingWindow window{log};
};

// The window tests find the lines by these texts, blanks and all.
TEST_F(CleanRunTest, TheTableNamesTheElevenTargetsInRunOrder) {
  std::vector<std::string> texts;
  for (const CleanTarget& target : CleanTargets()) texts.emplace_back(target.labelText);
  EXPECT_THAT(
      texts, ElementsAre(" Windows Find/Search History", "Document History", " Windows Run History",
                         "RecycleBin", "Windows Media Player", "Temporary Files Directory",
                         "Scandisk Temp Files", " MS-Office Tracks", "Internet Explorer",
                         "Custom Clean Items", "Netscape"));
}

// Each line is ticked before the next target starts; once the window is closed the remaining
// targets still run, without it.
TEST_F(CleanRunTest, EveryTargetRunsInOrderAndTheRestRunAfterTheWindowCloses) {
  ASSERT_TRUE(fakes::TurnOnEveryTarget(Settings(fake.profile, app.settingsFile)));
  window.onEvents = [this] {
    if (Ran().size() == 3) window.closed = true;
  };
  const CleanReport report = Run();
  EXPECT_THAT(log, ElementsAre("run 0", "done 0", "events", "run 1", "done 1", "events", "run 2",
                               "done 2", "events", "run 3", "run 4", "run 5", "run 6", "run 7",
                               "run 8", "run 9", "run 10"));
  EXPECT_TRUE(report.estimateKb.has_value());  // the run measured; the window shows nothing
}

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
    EXPECT_THAT(Ran(), ElementsAre("run " + std::to_string(index)));
  }
}

TEST_F(CleanRunTest, OnlyExactlyOneTurnsAnOptionOn) {
  Set(keys::FindHistory, "true");
  Set(keys::DocumentHistory, "01");
  Set(keys::RunHistory, "0");
  Set(keys::MediaPlayer, "1");
  Set(keys::SkipAllCustomWashItems, "yes");  // not "1": the custom items still run
  Run();
  EXPECT_THAT(Ran(), ElementsAre("run 4", "run 9"));
}

TEST_F(CleanRunTest, EachGateIsReadWhenItsTargetIsDue) {
  Set(keys::FindHistory, "1");
  Set(keys::SkipAllCustomWashItems, "1");
  onRun = [this](std::size_t index, CleanContext&) {
    if (index == 0) {
      Set(keys::MediaPlayer, "1");
      Set(keys::SkipAllCustomWashItems, "0");
    }
  };
  Run();
  EXPECT_THAT(Ran(), ElementsAre("run 0", "run 4", "run 9"));
}

TEST_F(CleanRunTest, WithoutASettingsFileOnlyTheCustomItemsRun) {
  app.settingsFile.clear();
  Run();
  EXPECT_THAT(log, ElementsAre("run 9", "done 9", "events"));
}

TEST_F(CleanRunTest, TheLogOffNoticeFollowsTheRunHistoryUnlessMessagesAreSkipped) {
  Set(keys::RunHistory, "1");
  Run();
  EXPECT_EQ(log.back(), "notice");
  Set(keys::SkipMessages, "1");
  Run();
  EXPECT_THAT(log, Not(Contains("notice")));
  Set(keys::SkipMessages, "0");
  Set(keys::RunHistory, "0");
  Run();
  EXPECT_THAT(log, Not(Contains("notice")));
}

TEST_F(CleanRunTest, AFailingTargetIsTickedAndTheRunGoesOn) {
  Set(keys::FindHistory, "1");
  Set(keys::RunHistory, "1");
  onRun = [](std::size_t index, CleanContext&) {
    if (index == 0) throw std::runtime_error("locked");
  };
  Run();
  EXPECT_THAT(Ran(), ElementsAre("run 0", "run 2", "run 9"));
  EXPECT_THAT(log, Contains("done 0"));
}

TEST_F(CleanRunTest, FilesRemovedIsClearedAtTheStartAndSetByATarget) {
  Set(keys::MediaPlayer, "1");
  Set(keys::SkipAllCustomWashItems, "1");
  onRun = [](std::size_t, CleanContext& context) { EXPECT_FALSE(context.filesRemoved); };
  EXPECT_FALSE(Run().filesRemoved);
  onRun = [](std::size_t, CleanContext& context) { context.filesRemoved = true; };
  EXPECT_TRUE(Run().filesRemoved);
}

TEST(EstimateRestoredKbTest, ShowsOneForDeletionsThatFreedNothingMeasurable) {
  EXPECT_EQ(EstimateRestoredKb(1000, 1000, false), 0);
  EXPECT_EQ(EstimateRestoredKb(1000, 1000, true), 1);
  EXPECT_EQ(EstimateRestoredKb(5000, 1000, false), 0);  // another program wrote meanwhile
  EXPECT_EQ(EstimateRestoredKb(5000, 1000, true), 1);
  EXPECT_EQ(EstimateRestoredKb(1000, 1000 + 2048, false), 2);
  EXPECT_EQ(EstimateRestoredKb(1000, 1000 + 512, true), 0.5);  // not rounded
}

TEST(MeasureFreeSpaceTest, SumsFixedDrivesAndFailsOnlyOnAFixedDriveItCannotRead) {
  FakePlatform fake;
  EXPECT_EQ(MeasureFreeSpace(fake.files), 0.0);
  fake.files.AddDrive('A', DriveType::Removable, 700, 1000);
  fake.files.AddDrive('C', DriveType::Fixed, 1'000'000, 9'000'000);
  fake.files.AddDrive('D', DriveType::CdRom, 5'000, 5'000);
  fake.files.AddDrive('E', DriveType::Fixed, 250, 9'000);
  fake.files.AddDrive('N', DriveType::Network, 77, 1'000);
  fake.files.AddDrive('R', DriveType::RamDisk, 88, 1'000);
  fake.files.AddDrive('F', DriveType::Removable, 0, 0);
  fake.files.SetDriveReady('F', false);  // an empty card reader
  EXPECT_EQ(MeasureFreeSpace(fake.files), 1'000'250.0);
  fake.files.SetDriveReady('E', false);
  EXPECT_FALSE(MeasureFreeSpace(fake.files).has_value());
}

TEST_F(CleanRunTest, AMeasureThatFailsAfterTheRunKeepsTheResultsWithoutAnEstimate) {
  Set(keys::RunHistory, "1");
  fake.registry.SetString(kHkcu, kRunMru, "MRUList", "a");
  fake.registry.SetString(kHkcu, kRunMru, "a", "notepad");
  targets = CleanTargets();
  fake.files.AddDrive('E', DriveType::Fixed, 1, 1);
  window.onEvents = [this] { fake.files.SetDriveReady('E', false); };
  const CleanReport report = Run();
  EXPECT_FALSE(report.estimateKb.has_value());
  EXPECT_FALSE(fake.registry.ValueExists(kHkcu, kRunMru, "a"));
  EXPECT_EQ(report.removed.registryValues, 2u);
}

// The production table calls the real targets over the run's counting platform.
TEST_F(CleanRunTest, TheRealTargetsRunAndWhatTheyRemoveIsCounted) {
  targets = CleanTargets();
  Set(keys::RunHistory, "1");
  Set(keys::DocumentHistory, "1");
  Set(keys::RecycleBin, "1");
  fake.registry.SetString(kHkcu, kRunMru, "MRUList", "cab");
  for (const char* name : {"a", "b", "c", "d"}) fake.registry.SetString(kHkcu, kRunMru, name, "x");
  fake.files.AddFile("C:\\Quorvane\\Custom\\Junk.ac2", "\"F\",\"C:\\Junk\\*.tmp\",\"\"\r\n");
  fake.files.AddFile("C:\\Junk\\one.tmp", std::string(1000, '1'));
  fake.files.AddFile("C:\\Junk\\two.tmp", std::string(2000, '2'));
  fake.files.AddFile("C:\\Junk\\keep.txt", "keep");

  const CleanReport report = Run();

  EXPECT_THAT(log, ElementsAre("done 1", "events", "done 2", "events", "done 3", "events", "done 9",
                               "events", "notice"));
  EXPECT_EQ(fake.shell.recentDocsClears, 1);
  // The recycle bins of all drives, quietly.
  ASSERT_EQ(fake.shell.recycleBinCalls.size(), 1u);
  EXPECT_EQ(fake.shell.recycleBinCalls[0].root, "");
  EXPECT_EQ(fake.shell.recycleBinCalls[0].flags, 7u);
  EXPECT_THAT(fake.registry.ValueNames(kHkcu, kRunMru), ElementsAre("d"));
  EXPECT_FALSE(fake.files.Exists("C:\\Junk\\one.tmp"));
  EXPECT_TRUE(fake.files.Exists("C:\\Junk\\keep.txt"));
  EXPECT_TRUE(report.filesRemoved);
  EXPECT_EQ(report.removed.files, 2u);
  EXPECT_EQ(report.removed.bytes, 3000u);
  EXPECT_EQ(report.removed.registryKeys, 0u);
  EXPECT_EQ(report.removed.registryValues, 4u);
  ASSERT_TRUE(report.estimateKb.has_value());
  EXPECT_DOUBLE_EQ(*report.estimateKb, 3000.0 / 1024);
}

}  // namespace
}  // namespace quorvane
