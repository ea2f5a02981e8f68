#include "main/AutostartPresenter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "MainWindowFixture.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;
using testing::HKCU;
using testing::MainWindowFixture;

class AutostartPresenterTest : public MainWindowFixture {
 protected:
  // Every registry step closes what it opened.
  void TearDown() override { EXPECT_EQ(fake.registry.OpenHandleCount(), 0u); }
};

TEST_F(AutostartPresenterTest, StartupBoxRegistersTheRunningProgram) {
  auto main = LoadMain();
  main->autostart.ChkStartup.Click();
  EXPECT_EQ(Stored(keys::Startup), "1");
  EXPECT_EQ(RunValue("Quorvane"), "C:\\Program Files\\Quorvane\\Quorvane.exe");
  EXPECT_EQ(fake.registry.GetValue(HKCU, kRunKey, "Quorvane")->type, reg_type::String);

  main->autostart.ChkStartup.Click();
  EXPECT_EQ(Stored(keys::Startup), "0");
  EXPECT_EQ(RunValue("Quorvane"), "<absent>");

  // Unchecking after the value was removed elsewhere is silent.
  main->autostart.ChkStartup.Click();
  RegKey run = 0;
  ASSERT_EQ(fake.registry.OpenKey(HKCU, kRunKey, 0, run), reg_status::Success);
  ASSERT_EQ(fake.registry.DeleteValue(run, "Quorvane"), reg_status::Success);
  ASSERT_EQ(fake.registry.CloseKey(run), reg_status::Success);
  main->autostart.ChkStartup.Click();
  EXPECT_EQ(Stored(keys::Startup), "0");
  EXPECT_EQ(RunValue("Quorvane"), "<absent>");
  EXPECT_TRUE(fake.windows.messageBoxes.empty());
}

TEST_F(AutostartPresenterTest, StartedAndShutdownShareOneRunValueAndTheLastClickDecides) {
  auto main = LoadMain();
  AutostartPresenter& a = main->autostart;
  a.ChkStart.Click();
  EXPECT_EQ(RunValue("Ostrevane"), "C:\\Program Files\\Quorvane\\Kelverin.exe");
  a.ChkShutdown.Click();
  a.ChkStart.Click();
  EXPECT_EQ(Stored(keys::RunAutowashStart), "0");
  EXPECT_EQ(Stored(keys::RunAutowashShutdown), "1");
  EXPECT_EQ(a.ChkShutdown.Value(), 1);
  EXPECT_EQ(RunValue("Ostrevane"), "<absent>");
  // The program's own value is not touched by the companion's boxes.
  EXPECT_EQ(RunValue("Quorvane"), "<absent>");
}

TEST_F(AutostartPresenterTest, LoadingRegistersAgainFromTheFolderOfTheRunningCopy) {
  SetIni("[Wash Options]\r\nStartup=1\r\nRunAutowashShutdown=1\r\n");
  fake.registry.SetString(HKCU, kRunKey, "Quorvane", "D:\\Old Place\\Quorvane.exe");
  auto main = LoadMain();
  EXPECT_EQ(main->autostart.ChkStartup.Value(), 1);
  EXPECT_EQ(RunValue("Quorvane"), "C:\\Program Files\\Quorvane\\Quorvane.exe");
  EXPECT_EQ(RunValue("Ostrevane"), "C:\\Program Files\\Quorvane\\Kelverin.exe");
}

TEST_F(AutostartPresenterTest, ProgramAtADriveRootKeepsBothSeparators) {
  app.appFolder = "E:\\";
  app.settingsFile = app.LocalIniPath();
  SetIni("");
  auto main = LoadMain();
  main->autostart.ChkStartup.Click();
  main->autostart.ChkStart.Click();
  EXPECT_EQ(RunValue("Quorvane"), "E:\\\\Quorvane.exe");
  EXPECT_EQ(RunValue("Ostrevane"), "E:\\\\Kelverin.exe");
}

TEST_F(AutostartPresenterTest, MissingRunKeyKeepsTheSettingAndStaysSilent) {
  fake.registry.DeleteKey(HKCU, kRunKey);
  ASSERT_FALSE(fake.registry.KeyExists(HKCU, kRunKey));
  auto main = LoadMain();
  main->autostart.ChkStart.Click();
  main->autostart.ChkStartup.Click();
  EXPECT_EQ(Stored(keys::RunAutowashStart), "1");
  EXPECT_EQ(Stored(keys::Startup), "1");
  EXPECT_EQ(main->autostart.ChkStart.Value(), 1);
  EXPECT_FALSE(fake.registry.KeyExists(HKCU, kRunKey));
  EXPECT_TRUE(fake.windows.messageBoxes.empty());
}

TEST_F(AutostartPresenterTest, TheStoredIntervalShowsEnabledOnlyWhileTheScheduleIsOn) {
  SetIni("[Wash Options]\r\nSchedule=3\r\nRunAutowash=1\r\n");
  auto main = LoadMain();
  EXPECT_THAT(
      main->autostart.cboSchedule.Items(),
      ElementsAre("Quarter Hour", "Half Hour", "Hour", "Eight Hours", "Day", "Week", "Month"));
  EXPECT_EQ(main->autostart.ChkSchedule.Value(), 1);
  EXPECT_TRUE(main->autostart.cboSchedule.Enabled());
  EXPECT_EQ(main->autostart.cboSchedule.ListIndex(), 3);

  SetIni("[Wash Options]\r\nRunAutowash=0\r\nSchedule=5\r\n");
  main = LoadMain();
  EXPECT_FALSE(main->autostart.cboSchedule.Enabled());
  EXPECT_EQ(main->autostart.cboSchedule.ListIndex(), 5);
}

TEST_F(AutostartPresenterTest, AnIntervalThatNamesNoEntryShowsTheFirstAndIsNotRewritten) {
  for (const char* stored : {"", "7", "abc", "-1"}) {
    SetIni(std::string("[Wash Options]\r\nSchedule=") + stored + "\r\n");
    auto main = LoadMain();
    EXPECT_EQ(main->autostart.cboSchedule.ListIndex(), 0) << stored;
    EXPECT_EQ(Stored(keys::Schedule), stored);
  }
  EXPECT_EQ(fake.profile.writeCount, 0);
}

TEST_F(AutostartPresenterTest, ScheduleBoxOpensTheListWithoutTouchingTheRunKey) {
  auto main = LoadMain();
  AutostartPresenter& a = main->autostart;
  a.ChkSchedule.Click();
  EXPECT_EQ(Stored(keys::RunAutowash), "1");
  EXPECT_TRUE(a.cboSchedule.Enabled());
  EXPECT_TRUE(fake.registry.ValueNames(HKCU, kRunKey).empty());

  // The chosen interval is kept for the next start.
  a.cboSchedule.SetListIndex(4);
  EXPECT_EQ(Stored(keys::Schedule), "4");
  EXPECT_EQ(LoadMain()->autostart.cboSchedule.ListIndex(), 4);

  a.ChkSchedule.Click();
  EXPECT_EQ(Stored(keys::RunAutowash), "0");
  EXPECT_FALSE(a.cboSchedule.Enabled());
}

TEST_F(AutostartPresenterTest, AFailedSettingsWriteStillRegisters) {
  auto main = LoadMain();
  fake.profile.failWrites = true;
  main->autostart.ChkStart.Click();
  EXPECT_EQ(main->autostart.ChkStart.Value(), 1);
  EXPECT_EQ(RunValue("Ostrevane"), "C:\\Program Files\\Quorvane\\Kelverin.exe");
}

}  // namespace
}  // namespace quorvane
