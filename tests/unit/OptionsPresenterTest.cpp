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

// The companion's Started and Shutdown boxes share its one Run value: the last click decides.
TEST_F(AutostartPresenterTest, BoxesRegisterInTheRunKeyAndStoreTheirState) {
  auto main = LoadMain();
  AutostartPresenter& a = main->autostart;
  a.ChkStartup.Click();
  EXPECT_EQ(RunValue("Quorvane"), "C:\\Program Files\\Quorvane\\Quorvane.exe");
  a.ChkStartup.Click();
  a.ChkStart.Click();
  a.ChkShutdown.Click();
  a.ChkStart.Click();
  EXPECT_EQ(Stored(keys::RunAutowashShutdown), "1");
  a.ChkSchedule.Click();  // opens the list of intervals and registers nothing
  EXPECT_TRUE(a.cboSchedule.Enabled());
  a.cboSchedule.SetListIndex(4);
  EXPECT_EQ(Stored(keys::Schedule), "4");
  EXPECT_TRUE(fake.registry.ValueNames(reg_root::CurrentUser, kRunKey).empty());
  fake.profile.failWrites = true;  // a refused write still registers
  a.ChkStart.Click();
  EXPECT_EQ(RunValue("Ostrevane"), "C:\\Program Files\\Quorvane\\Kelverin.exe");
  EXPECT_EQ(fake.registry.OpenHandleCount(), 0u);
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
