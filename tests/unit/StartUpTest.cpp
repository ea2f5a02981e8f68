#include "core/StartUp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/FakePlatform.h"

namespace quorvane {
namespace {

constexpr char kFolder[] = "C:\\Program Files\\Quorvane";

class RecordingWindows final : public StartUpWindows {
 public:
  void RegisterHelpFile(std::string_view path) override { events.push_back(std::string(path)); }
  void ShowTipModal() override { events.emplace_back("tip"); }
  bool ShowMain() override {
    events.emplace_back("main");
    return mainOpens;
  }
  void SetMainCaption(std::string_view caption) override { events.push_back(std::string(caption)); }
  std::vector<std::string> events;
  bool mainOpens = true;
};

StartUpResult Start(fakes::FakePlatform& fake, RecordingWindows& windows) {
  fake.shell.applicationFolder = kFolder;
  Platform platform = fake.platform();
  AppContext context;
  return StartUp(platform, context, windows).Main();
}

TEST(StartUpTest, OpensTipThenMainWindowAndMakesTheCustomFolderButNoSettingsFile) {
  fakes::FakePlatform fake;
  fake.files.AddFolder(kFolder);
  RecordingWindows windows;
  ASSERT_EQ(Start(fake, windows), StartUpResult::Started);
  EXPECT_EQ(windows.events, (std::vector<std::string>{"C:\\Program Files\\Quorvane\\Help\\Help.chm",
                                                      "tip", "main", "Quorvane Version 5.0"}));
  EXPECT_TRUE(fake.files.Attributes("C:\\Program Files\\Quorvane\\Custom") & file_attr::Directory);
  EXPECT_FALSE(fake.files.Exists("C:\\Program Files\\Quorvane\\Local.Ini"));
}

TEST(StartUpTest, TheTipShowsWhenTheProgramsShowtipIsAbsentOrRoundsToOne) {
  // "1.5" rounds to 2; "257" is not taken modulo 256.
  const struct {
    const char *program, *section, *value;
    int tips;
  } cases[] = {{"Quorvane", "Options", "1.4", 1},
               {"Kelverin", "Options", "0", 1},
               {"Quorvane", "Other", "0", 1},
               {"Quorvane", "Options", "1.5", 0},
               {"Quorvane", "Options", "257", 0}};
  for (const auto& c : cases) {
    fakes::FakePlatform fake;
    fake.userSettings.SaveSetting(c.program, c.section, "Showtip", c.value);
    RecordingWindows windows;
    ASSERT_EQ(Start(fake, windows), StartUpResult::Started);
    EXPECT_EQ(std::ranges::count(windows.events, "tip"), c.tips) << c.section << c.value;
  }
}

// A program without its main window would live on unseen and refuse every later start.
TEST(StartUpTest, WithoutAMainWindowTheUserIsToldAndTheNextStartIsNotRefused) {
  fakes::FakePlatform fake;
  RecordingWindows windows;
  windows.mainOpens = false;
  ASSERT_EQ(Start(fake, windows), StartUpResult::MainWindowFailed);
  EXPECT_EQ(windows.events.back(), "main");  // no caption for a window that is not there
  ASSERT_EQ(fake.windows.messageBoxes.size(), 1u);
  EXPECT_EQ(fake.windows.messageBoxes[0].text, kMainWindowFailed);
  EXPECT_EQ(fake.windows.messageBoxes[0].title, "Quorvane");
  RecordingWindows next;
  EXPECT_EQ(Start(fake, next), StartUpResult::Started);
}

}  // namespace
}  // namespace quorvane
