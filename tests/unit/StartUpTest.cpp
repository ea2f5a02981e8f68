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
constexpr char kIni[] = "C:\\Program Files\\Quorvane\\Local.Ini";
constexpr char kCustom[] = "C:\\Program Files\\Quorvane\\Custom";

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
  static StartUpResult Run(fakes::FakePlatform& on, AppContext& into, RecordingWindows& shown) {
    Platform platform = on.platform();
    StartUp startUp(platform, into, shown);
    return startUp.Main();
  }
  StartUpResult RunMain() { return Run(fake, context, windows); }

  fakes::FakePlatform fake;
  AppContext context;
  RecordingWindows windows;
};

TEST_F(StartUpTest, OpensTipThenMainWindowAndCreatesTheCustomFolder) {
  ASSERT_EQ(RunMain(), StartUpResult::Started);
  EXPECT_EQ(windows.events,
            (std::vector<std::string>{"help C:\\Program Files\\Quorvane\\Help\\Help.chm", "tip",
                                      "main", "caption Quorvane Version 5.0"}));
  EXPECT_EQ(context.appFolder, kFolder);
  EXPECT_TRUE(fake.files.Attributes(kCustom) & file_attr::Directory);
  // Without a Local.Ini the settings file stays empty and none is created.
  EXPECT_EQ(context.settingsFile, "");
  EXPECT_FALSE(fake.files.Exists(kIni));
  EXPECT_FALSE(fake.profile.HasFile(kIni));
  EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::WriteFile), 0u);
}

TEST_F(StartUpTest, OnlyAnOrdinaryLocalIniBecomesTheSettingsFile) {
  for (std::uint32_t attrs : {file_attr::Hidden, file_attr::System, file_attr::Directory,
                              file_attr::ReadOnly | file_attr::Archive}) {
    fakes::FakePlatform other;
    other.shell.applicationFolder = kFolder;
    if (attrs == file_attr::Directory) {
      other.files.AddFolder(kIni);
    } else {
      other.files.AddFile(kIni, "[IEOptions]\r\n", attrs);
    }
    AppContext otherContext;
    ASSERT_EQ(Run(other, otherContext, windows), StartUpResult::Started);
    EXPECT_EQ(otherContext.settingsFile, attrs & file_attr::ReadOnly ? kIni : "") << attrs;
  }
}

TEST_F(StartUpTest, AnExistingCustomFileOrFolderIsKeptAndStartUpCompletes) {
  fake.files.AddFile(kCustom, "not a folder");
  ASSERT_EQ(RunMain(), StartUpResult::Started);
  EXPECT_EQ(fake.files.CountCalls(fakes::FsOp::CreateDirectory), 0u);
  EXPECT_EQ(fake.files.Content(kCustom), "not a folder");
  EXPECT_EQ(windows.events.back(), "caption Quorvane Version 5.0");

  fakes::FakePlatform bare;  // the application folder itself does not exist here
  bare.shell.applicationFolder = "D:\\Gone";
  AppContext bareContext;
  ASSERT_EQ(Run(bare, bareContext, windows), StartUpResult::Started);
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

TEST_F(StartUpTest, TheFirstCopyHoldsTheTokenSoASecondEndsAtOnceAndTouchesNothing) {
  ASSERT_EQ(RunMain(), StartUpResult::Started);
  fake.files.ClearCalls();
  const int settingsCalls = fake.userSettings.readCount + fake.userSettings.writeCount;
  RecordingWindows secondWindows;
  AppContext secondContext;
  EXPECT_EQ(Run(fake, secondContext, secondWindows), StartUpResult::AlreadyRunning);
  EXPECT_TRUE(secondWindows.events.empty());
  EXPECT_TRUE(fake.files.Calls().empty());
  EXPECT_EQ(fake.userSettings.readCount + fake.userSettings.writeCount, settingsCalls);
  EXPECT_TRUE(fake.windows.messageBoxes.empty());
  EXPECT_EQ(secondContext.appFolder, "");
}

TEST_F(StartUpTest, ShowtipIsReadForTheExecutableNameInSectionOptions) {
  fake.userSettings.SaveSetting("Quorvane", "Other", "Showtip", "1");
  fake.userSettings.SaveSetting("Kelverin", "Options", "Showtip", "1");
  fake.userSettings.SaveSetting("QUORVANE", "options", "SHOWTIP", "0");
  windows.tipFails = true;  // and a failing tip window does not keep the main window closed
  ASSERT_EQ(RunMain(), StartUpResult::Started);
  EXPECT_FALSE(windows.TipShown());
  EXPECT_EQ(windows.events.back(), "caption Quorvane Version 5.0");
}

TEST_F(StartUpTest, OnlyAFlagThatRoundsToExactlyOneShowsTheTip) {
  // An absent flag shows the tip and is not stored by reading it.
  ASSERT_EQ(RunMain(), StartUpResult::Started);
  EXPECT_TRUE(windows.TipShown());
  EXPECT_FALSE(fake.userSettings.Has("Quorvane", "Options", "Showtip"));
  const auto tipShownFor = [](const char* stored) {
    fakes::FakePlatform other;
    other.shell.applicationFolder = kFolder;
    other.userSettings.SaveSetting("Quorvane", "Options", "Showtip", stored);
    RecordingWindows shown;
    AppContext otherContext;
    EXPECT_EQ(Run(other, otherContext, shown), StartUpResult::Started);
    return shown.TipShown();
  };
  for (const char* stored : {"1", "1.4", " 1 "}) EXPECT_TRUE(tipShownFor(stored)) << stored;
  // "1.5" rounds to 2 and the tie "0.5" to the even 0; "257" is not taken modulo 256.
  for (const char* stored : {"0", "2", "1.5", "0.5", "abc", "", "300", "257", "-1", "true"}) {
    EXPECT_FALSE(tipShownFor(stored)) << stored;
  }
}

}  // namespace
}  // namespace quorvane
