#include "core/StartUp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fakes/FakePlatform.h"

namespace quorvane {
namespace {

constexpr char kFolder[] = "C:\\Program Files\\Quorvane";
constexpr char kIni[] = "C:\\Program Files\\Quorvane\\Local.Ini";
constexpr char kCustom[] = "C:\\Program Files\\Quorvane\\Custom";

class RecordingWindows final : public StartUpWindows {
 public:
  void RegisterHelpFile(std::string_view path) override { events.push_back(std::string(path)); }
  void ShowTipModal() override { events.emplace_back("tip"); }
  void ShowMain() override { events.emplace_back("main"); }
  void SetMainCaption(std::string_view caption) override { events.push_back(std::string(caption)); }
  std::vector<std::string> events;
};

struct StartUpRun {
  StartUpRun() {
    fake.shell.applicationFolder = kFolder;
    fake.files.AddFolder(kFolder);
  }
  StartUpResult Run() {
    Platform platform = fake.platform();
    return StartUp(platform, context, windows).Main();
  }
  fakes::FakePlatform fake;
  AppContext context;
  RecordingWindows windows;
};

TEST(StartUpTest, OpensTipThenMainWindowMakesTheCustomFolderAndNoSettingsFile) {
  StartUpRun first;
  ASSERT_EQ(first.Run(), StartUpResult::Started);
  EXPECT_EQ(first.windows.events,
            (std::vector<std::string>{"C:\\Program Files\\Quorvane\\Help\\Help.chm", "tip", "main",
                                      "Quorvane Version 5.0"}));
  EXPECT_TRUE(first.fake.files.Attributes(kCustom) & file_attr::Directory);
  EXPECT_EQ(first.context.settingsFile, "");
  EXPECT_FALSE(first.fake.files.Exists(kIni));
  EXPECT_FALSE(first.fake.userSettings.Has("Quorvane", "Options", "Showtip"));

  // A second copy ends at once and touches nothing.
  first.fake.files.ClearCalls();
  RecordingWindows secondWindows;
  AppContext secondContext;
  Platform platform = first.fake.platform();
  EXPECT_EQ(StartUp(platform, secondContext, secondWindows).Main(), StartUpResult::AlreadyRunning);
  EXPECT_TRUE(secondWindows.events.empty());
  EXPECT_TRUE(first.fake.files.Calls().empty());
}

TEST(StartUpTest, OnlyAnOrdinaryLocalIniBecomesTheSettingsFileAndACustomFileStays) {
  for (std::uint32_t attrs : {file_attr::Hidden, file_attr::ReadOnly}) {
    StartUpRun run;
    run.fake.files.AddFile(kIni, "[IEOptions]\r\n", attrs);
    run.fake.files.AddFile(kCustom, "not a folder");
    ASSERT_EQ(run.Run(), StartUpResult::Started);
    EXPECT_EQ(run.context.settingsFile, attrs == file_attr::ReadOnly ? kIni : "") << attrs;
    EXPECT_EQ(run.fake.files.Content(kCustom), "not a folder");
    EXPECT_EQ(run.windows.events.back(), "Quorvane Version 5.0");
  }
}

TEST(StartUpTest, TheTipShowsWhenTheProgramsShowtipIsAbsentOrRoundsToOne) {
  // "1.5" rounds to 2 and the tie "0.5" to the even 0; "257" is not taken modulo 256.
  const struct {
    const char *program, *section, *value;
    int tips;
  } cases[] = {{"Quorvane", "Options", "1.4", 1}, {"Kelverin", "Options", "0", 1},
               {"Quorvane", "Other", "0", 1},     {"Quorvane", "Options", "1.5", 0},
               {"Quorvane", "Options", "0.5", 0}, {"Quorvane", "Options", "257", 0}};
  for (const auto& c : cases) {
    StartUpRun run;
    run.fake.userSettings.SaveSetting(c.program, c.section, "Showtip", c.value);
    ASSERT_EQ(run.Run(), StartUpResult::Started);
    EXPECT_EQ(std::ranges::count(run.windows.events, "tip"), c.tips) << c.section << c.value;
  }
}

}  // namespace
}  // namespace quorvane
