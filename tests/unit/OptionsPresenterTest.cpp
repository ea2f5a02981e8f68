#include "main/OptionsPresenter.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "MainWindowFixture.h"
#include "main/AutostartPresenter.h"

namespace quorvane {
namespace {

class OptionsPresenterTest : public testing::MainWindowFixture {};

// A plain box's click comes back at the next start, on that box and no other.
TEST_F(OptionsPresenterTest, EachPlainBoxComesBackAloneAfterARestart) {
  using O = OptionsPresenter;
  const auto boxes = {&O::ChkFindHistory,  &O::ChkDocumentHistory,
                      &O::ChkRunHistory,   &O::ChkRecycleBin,
                      &O::ChkTempFiles,    &O::ChkScanTempFiles,
                      &O::ChkMediaPlayer,  &O::ChkTempIEFiles,
                      &O::ChkCookies,      &O::ChkDownloadDir,
                      &O::ChkClean,        &O::ChkIEConrolPanel,
                      &O::ChkAutoComplete, &O::ChkAOL,
                      &O::ChkCache,        &O::ChkNetscapeCookies,
                      &O::ChkMailTrash,    &O::ChkURLHistory,
                      &O::ChkFormData,     &O::ChkWord,
                      &O::ChkExcel,        &O::ChkAccess,
                      &O::ChkOutlook,      &O::ChkPPT,
                      &O::ChkPHEditor,     &O::ChkAfterClose,
                      &O::ChkAddBleach,    &O::ChkSkipCustomItems,
                      &O::ChkSkipMessage};
  for (auto box : boxes) {
    fake.profile.SetFileContent(app.settingsFile, "");
    (LoadMain()->options.*box).Click();
    auto main = LoadMain();
    for (auto other : boxes) EXPECT_EQ((main->options.*other).Value(), other == box ? 1 : 0);
  }
}

// Only exactly "1" checks a box; loading leaves the settings file as it was.
TEST_F(OptionsPresenterTest, OnlyExactlyOneLoadsChecked) {
  const std::string file = "[Standard Options]\r\nFindHistory=true\r\nTempFiles=1\r\n";
  fake.profile.SetFileContent(app.settingsFile, file);
  auto main = LoadMain();
  EXPECT_EQ(main->options.ChkFindHistory.Value(), 0);
  EXPECT_EQ(main->options.ChkTempFiles.Value(), 1);
  EXPECT_EQ(fake.profile.FileContent(app.settingsFile), file);
}

// Kept in the per-user store, not the settings file; checked only for a stored 1.
TEST_F(OptionsPresenterTest, ShowTipFollowsThePerUserStore) {
  EXPECT_EQ(LoadMain()->options.ChkShowTip.Value(), 1);
  EXPECT_EQ(ShowTipStored(), "1");
  LoadMain()->options.ChkShowTip.Click();
  EXPECT_EQ(ShowTipStored(), "0");
  fake.userSettings.SaveSetting("Quorvane", "Options", "Showtip", "2");
  EXPECT_EQ(LoadMain()->options.ChkShowTip.Value(), 0);
  EXPECT_EQ(fake.profile.FileContent(app.settingsFile), "");
}

class AutostartPresenterTest : public testing::MainWindowFixture {};

// The companion's Run value exists exactly while one of its three boxes is ticked, whichever
// was clicked last; the program's own value belongs to its box alone.
TEST_F(AutostartPresenterTest, TheCompanionIsRegisteredWhileAnyOfItsBoxesIsTicked) {
  auto main = LoadMain();
  AutostartPresenter& a = main->autostart;
  fake.windows.runningInstances.insert("Kelverin");  // starting is checked on its own below
  a.ChkStartup.Click();
  EXPECT_EQ(RunValue("Quorvane"), "C:\\Program Files\\Quorvane\\Quorvane.exe");
  a.ChkStartup.Click();
  EXPECT_TRUE(fake.registry.ValueNames(reg_root::CurrentUser, kRunKey).empty());

  ui::CheckBox* boxes[] = {&a.ChkStart, &a.ChkShutdown, &a.ChkSchedule};
  // Walks through all eight combinations and back to none, one click at a time.
  for (int changed : {0, 1, 0, 2, 0, 1, 0, 2}) {
    boxes[changed]->Click();
    const bool anyTicked = a.ChkStart.Value() + a.ChkShutdown.Value() + a.ChkSchedule.Value() > 0;
    SCOPED_TRACE(std::to_string(a.ChkStart.Value()) + std::to_string(a.ChkShutdown.Value()) +
                 std::to_string(a.ChkSchedule.Value()));
    EXPECT_EQ(RunValue("Ostrevane"),
              anyTicked ? "C:\\Program Files\\Quorvane\\Kelverin.exe" : "<absent>");
  }
  EXPECT_EQ(Stored(keys::RunAutowashStart), std::to_string(a.ChkStart.Value()));
  EXPECT_EQ(Stored(keys::RunAutowashShutdown), std::to_string(a.ChkShutdown.Value()));
  EXPECT_EQ(Stored(keys::RunAutowash), std::to_string(a.ChkSchedule.Value()));
  EXPECT_EQ(a.cboSchedule.Enabled(), a.ChkSchedule.Value() == 1);
  a.cboSchedule.SetListIndex(4);
  EXPECT_EQ(Stored(keys::Schedule), "4");

  fake.profile.failWrites = true;  // a refused write still registers
  if (a.ChkStart.Value() == 1) a.ChkStart.Click();
  if (a.ChkShutdown.Value() == 1) a.ChkShutdown.Click();
  if (a.ChkSchedule.Value() == 1) a.ChkSchedule.Click();
  EXPECT_EQ(RunValue("Ostrevane"), "<absent>");
  a.ChkStart.Click();
  EXPECT_EQ(RunValue("Ostrevane"), "C:\\Program Files\\Quorvane\\Kelverin.exe");
  EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);
  EXPECT_TRUE(fake.shell.startedPrograms.empty());
}

// A tick that needs a companion which stays running starts one, unless one runs already;
// the logon clean alone needs none before the next logon.
TEST_F(AutostartPresenterTest, ATickStartsTheResidentCompanionWhenNoneRuns) {
  auto main = LoadMain();
  AutostartPresenter& a = main->autostart;
  a.ChkStart.Click();
  EXPECT_TRUE(fake.shell.startedPrograms.empty());
  a.ChkShutdown.Click();
  ASSERT_EQ(fake.shell.startedPrograms.size(), 1u);
  EXPECT_EQ(fake.shell.startedPrograms[0].path, "C:\\Program Files\\Quorvane\\Kelverin.exe");
  EXPECT_EQ(fake.shell.startedPrograms[0].arguments, "--resident");

  fake.windows.runningInstances.insert("Kelverin");
  a.ChkSchedule.Click();
  a.ChkShutdown.Click();  // unticking starts nothing either
  EXPECT_EQ(fake.shell.startedPrograms.size(), 1u);

  // Loading a ticked box is a tick too: a companion that is not running (ended by hand, say)
  // is started again with the window.
  fake.windows.runningInstances.clear();
  fake.shell.startedPrograms.clear();
  main.reset();
  main = LoadMain();
  EXPECT_EQ(main->autostart.ChkSchedule.Value(), 1);
  EXPECT_EQ(fake.shell.startedPrograms.size(), 1u);
}

// An interval that names no entry shows the first one and is not rewritten. The program is
// registered again from the folder it now runs from.
TEST_F(AutostartPresenterTest, LoadingShowsTheStoredStateAndRegistersTheRunningCopy) {
  Set(keys::Startup, "1");
  fake.registry.SetString(reg_root::CurrentUser, kRunKey, "Quorvane", "D:\\Old\\Quorvane.exe");
  const std::tuple<const char*, const char*, int> rows[] = {
      {"1", "3", 3}, {"0", "6", 6}, {"1", "7", 0}, {"1", "abc", 0}};
  for (const auto& [on, interval, index] : rows) {
    Set(keys::RunAutowash, on);
    Set(keys::Schedule, interval);
    auto main = LoadMain();
    EXPECT_EQ(main->autostart.cboSchedule.Enabled(), *on == '1') << interval;
    EXPECT_EQ(main->autostart.cboSchedule.ListIndex(), index) << interval;
    EXPECT_EQ(Stored(keys::Schedule), interval);
  }
  EXPECT_EQ(RunValue("Quorvane"), "C:\\Program Files\\Quorvane\\Quorvane.exe");
}

}  // namespace
}  // namespace quorvane
