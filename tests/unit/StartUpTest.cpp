// The start-up sequence over the fake platform: paths, settings file, custom-item folder,
// the tip flag, the order in which the windows open, and the refusal of a second copy.

#include "core/StartUp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/FakePlatform.h"

namespace quorvane {
namespace {

constexpr char kFolder[] = "C:\\Program Files\\Quorvane";

// Records what start-up asks of the windows, in order.
class RecordingWindows final : public StartUpWindows {
 public:
  void RegisterHelpFile(std::string_view path) override {
    events.push_back("help " + std::string(path));
  }
  void ShowTipModal() override {
    events.emplace_back("tip");
    if (tipFails) throw std::runtime_error("tip window failed");
  }
  void ShowMain() override { events.emplace_back("main"); }
  void SetMainCaption(std::string_view caption) override {
    events.push_back("caption " + std::string(caption));
  }
  bool TipShown() const { return std::find(events.begin(), events.end(), "tip") != events.end(); }

  std::vector<std::string> events;
  bool tipFails = false;
};

class StartUpTest : public ::testing::Test {
 protected:
  StartUpTest() {
    fake.shell.applicationFolder = kFolder;
    fake.files.AddFolder(kFolder);
  }
  StartUpResult RunMain() {
    Platform platform = fake.platform();
    StartUp startUp(platform, context, windows);
    return startUp.Main();
  }
  void StoreShowtip(std::string_view value) {
    fake.userSettings.SaveSetting("Quorvane", "Options", "Showtip", value);
  }

  fakes::FakePlatform fake;
  AppContext context;
  RecordingWindows windows;
};

TEST_F(StartUpTest, OpensTipThenMainWindowAndSetsTheCaption) {
  ASSERT_EQ(RunMain(), StartUpResult::Started);
  EXPECT_EQ(windows.events,
            (std::vector<std::string>{"help C:\\Program Files\\Quorvane\\Help\\Help.chm", "tip",
                                      "main", "caption Quorvane Version 5.0"}));
  EXPECT_EQ(context.appFolder, kFolder);
  EXPECT_EQ(MainWindowCaption(), "Quorvane Version 5.0");
}

TEST_F(StartUpTest, WithoutLocalIniTheSettingsFileStaysEmptyAndIsNotCreated) {
  ASSERT_EQ(RunMain(), StartUpResult::Started);
  EXPECT_EQ(context.settingsFile, "");
  EXPECT_FALSE(fake.files.Exists("C:\\Program Files\\Quorvane\\Local.Ini"));
  EXPECT_FALSE(fake.profile.HasFile("C:\\Program Files\\Quorvane\\Local.Ini"));
  EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::WriteFile), 0u);
}

TEST_F(StartUpTest, AnOrdinaryLocalIniBecomesTheSettingsFile) {
  fake.files.AddFile("C:\\Program Files\\Quorvane\\Local.Ini", "[IEOptions]\r\n",
                     file_attr::ReadOnly | file_attr::Archive);
  ASSERT_EQ(RunMain(), StartUpResult::Started);
  EXPECT_EQ(context.settingsFile, "C:\\Program Files\\Quorvane\\Local.Ini");
}

TEST_F(StartUpTest, HiddenOrSystemLocalIniOrAFolderOfThatNameDoesNotCount) {
  for (std::uint32_t attrs : {file_attr::Hidden, file_attr::System}) {
    fakes::FakePlatform other;
    other.shell.applicationFolder = kFolder;
    other.files.AddFile("C:\\Program Files\\Quorvane\\Local.Ini", "", attrs);
    Platform platform = other.platform();
    AppContext hiddenContext;
    StartUp startUp(platform, hiddenContext, windows);
    ASSERT_EQ(startUp.Main(), StartUpResult::Started);
    EXPECT_EQ(hiddenContext.settingsFile, "") << attrs;
  }
  fake.files.AddFolder("C:\\Program Files\\Quorvane\\Local.Ini");
  ASSERT_EQ(RunMain(), StartUpResult::Started);
  EXPECT_EQ(context.settingsFile, "");
}

TEST_F(StartUpTest, CreatesTheCustomFolderWhenNothingOfThatNameExists) {
  ASSERT_EQ(RunMain(), StartUpResult::Started);
  EXPECT_TRUE(fake.files.Attributes("C:\\Program Files\\Quorvane\\Custom") & file_attr::Directory);
  EXPECT_EQ(context.CustomFolder(), "C:\\Program Files\\Quorvane\\Custom");
}

TEST_F(StartUpTest, LeavesAnExistingCustomFolderAlone) {
  fake.files.AddFile("C:\\Program Files\\Quorvane\\Custom\\Temp.ac2", "x");
  ASSERT_EQ(RunMain(), StartUpResult::Started);
  EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::CreateDirectory), 0u);
  EXPECT_EQ(fake.files.Content("C:\\Program Files\\Quorvane\\Custom\\Temp.ac2"), "x");
}

TEST_F(StartUpTest, AFileNamedCustomIsKeptAndStartUpCompletes) {
  fake.files.AddFile("C:\\Program Files\\Quorvane\\Custom", "not a folder");
  ASSERT_EQ(RunMain(), StartUpResult::Started);
  EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::CreateDirectory), 0u);
  EXPECT_EQ(fake.files.Content("C:\\Program Files\\Quorvane\\Custom"), "not a folder");
  EXPECT_FALSE(fake.files.Attributes("C:\\Program Files\\Quorvane\\Custom") & file_attr::Directory);
  EXPECT_EQ(windows.events.back(), "caption Quorvane Version 5.0");
}

TEST_F(StartUpTest, ACustomFolderThatCannotBeCreatedDoesNotStopStartUp) {
  fakes::FakePlatform bare;  // the application folder itself does not exist here
  bare.shell.applicationFolder = "D:\\Gone";
  Platform platform = bare.platform();
  StartUp startUp(platform, context, windows);
  ASSERT_EQ(startUp.Main(), StartUpResult::Started);
  EXPECT_FALSE(bare.files.Exists("D:\\Gone\\Custom"));
  EXPECT_EQ(windows.events.back(), "caption Quorvane Version 5.0");
}

TEST_F(StartUpTest, ApplicationFolderAtADriveRootDoublesTheSeparator) {
  fake.shell.applicationFolder = "C:\\";
  fake.files.AddFile("C:\\Local.Ini", "");
  ASSERT_EQ(RunMain(), StartUpResult::Started);
  EXPECT_EQ(context.settingsFile, "C:\\\\Local.Ini");
  EXPECT_EQ(windows.events.front(), "help C:\\\\Help\\Help.chm");
  EXPECT_TRUE(fake.files.Attributes("C:\\Custom") & file_attr::Directory);
}

TEST_F(StartUpTest, SecondCopyEndsAtOnceAndTouchesNothing) {
  fake.windows.heldInstances.insert(std::string(kExeName));
  fake.files.ClearCalls();
  ASSERT_EQ(RunMain(), StartUpResult::AlreadyRunning);
  EXPECT_TRUE(windows.events.empty());
  EXPECT_TRUE(fake.files.Calls().empty());
  EXPECT_EQ(fake.userSettings.readCount, 0);
  EXPECT_EQ(fake.userSettings.writeCount, 0);
  EXPECT_TRUE(fake.windows.messageBoxes.empty());
  EXPECT_EQ(context.appFolder, "");
  EXPECT_EQ(context.settingsFile, "");
}

TEST_F(StartUpTest, FirstCopyHoldsTheTokenSoTheNextOneIsRefused) {
  ASSERT_EQ(RunMain(), StartUpResult::Started);
  RecordingWindows secondWindows;
  AppContext secondContext;
  Platform platform = fake.platform();
  StartUp second(platform, secondContext, secondWindows);
  EXPECT_EQ(second.Main(), StartUpResult::AlreadyRunning);
  EXPECT_TRUE(secondWindows.events.empty());
}

TEST_F(StartUpTest, AFailingTipWindowDoesNotKeepTheMainWindowClosed) {
  windows.tipFails = true;
  ASSERT_EQ(RunMain(), StartUpResult::Started);
  EXPECT_EQ(windows.events.back(), "caption Quorvane Version 5.0");
}

TEST_F(StartUpTest, ShowtipIsReadForTheExecutableNameInSectionOptions) {
  fake.userSettings.SaveSetting("Quorvane", "Other", "Showtip", "1");
  fake.userSettings.SaveSetting("Kelverin", "Options", "Showtip", "1");
  fake.userSettings.SaveSetting("QUORVANE", "options", "SHOWTIP", "0");
  ASSERT_EQ(RunMain(), StartUpResult::Started);
  EXPECT_FALSE(windows.TipShown());
  // Reading the flag stores nothing.
  EXPECT_FALSE(fake.userSettings.Has("Quorvane", "Options", "Other"));
}

struct ShowtipCase {
  const char* stored;  // nullptr: absent from the store
  bool tipShown;
};

class ShowtipTest : public StartUpTest, public ::testing::WithParamInterface<ShowtipCase> {};

TEST_P(ShowtipTest, OnlyAFlagOfExactlyOneShowsTheTip) {
  if (GetParam().stored) StoreShowtip(GetParam().stored);
  ASSERT_EQ(RunMain(), StartUpResult::Started);
  EXPECT_EQ(windows.TipShown(), GetParam().tipShown);
  EXPECT_EQ(windows.events.back(), "caption Quorvane Version 5.0");
  if (!GetParam().stored) EXPECT_FALSE(fake.userSettings.Has("Quorvane", "Options", "Showtip"));
}

INSTANTIATE_TEST_SUITE_P(StoredValues, ShowtipTest,
                         ::testing::Values(ShowtipCase{nullptr, true}, ShowtipCase{"1", true},
                                           ShowtipCase{"0", false}, ShowtipCase{"2", false},
                                           ShowtipCase{"1.4", true},   // rounds to 1
                                           ShowtipCase{"1.5", false},  // rounds to 2
                                           ShowtipCase{"0.5", false},  // a tie rounds to the even 0
                                           ShowtipCase{" 1 ", true}, ShowtipCase{"abc", false},
                                           ShowtipCase{"", false}, ShowtipCase{"300", false},
                                           ShowtipCase{"257", false},  // not 257 mod 256
                                           ShowtipCase{"-1", false}, ShowtipCase{"true", false}));

}  // namespace
}  // namespace quorvane
