#include "main/OptionsPresenter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "MainWindowFixture.h"
#include "tips/TipPresenter.h"

namespace quorvane {
namespace {

using testing::MainWindowFixture;

class OptionsPresenterTest : public MainWindowFixture {};

// Each plain box writes its own key, and only that one.
TEST_F(OptionsPresenterTest, PlainBoxesWriteTheirOwnKeys) {
  auto main = LoadMain();
  OptionsPresenter& o = main->options;
  // The window tests find boxes by caption, blanks and all.
  EXPECT_EQ(o.ChkAutoComplete.Caption(), " IE Auto-Complete Form Data");
  const std::vector<std::pair<ui::CheckBox*, SettingKey>> boxes = {
      {&o.ChkFindHistory, keys::FindHistory},
      {&o.ChkDocumentHistory, keys::DocumentHistory},
      {&o.ChkRunHistory, keys::RunHistory},
      {&o.ChkRecycleBin, keys::RecycleBin},
      {&o.ChkTempFiles, keys::TempFiles},
      {&o.ChkScanTempFiles, keys::ScanTempFiles},
      {&o.ChkMediaPlayer, keys::MediaPlayer},
      {&o.ChkTempIEFiles, keys::TempIEFiles},
      {&o.ChkCookies, keys::IECookies},
      {&o.ChkDownloadDir, keys::DownloadDir},
      {&o.ChkClean, keys::CleanHistory},
      {&o.ChkIEConrolPanel, keys::IEConrolPanel},
      {&o.ChkAutoComplete, keys::AutoComplete},
      {&o.ChkAOL, keys::AOL},
      {&o.ChkCache, keys::NetscapeCache},
      {&o.ChkNetscapeCookies, keys::NetscapeCookies},
      {&o.ChkMailTrash, keys::MailTrash},
      {&o.ChkURLHistory, keys::NetscapeClean},
      {&o.ChkFormData, keys::FormData},
      {&o.ChkWord, keys::MSWord},
      {&o.ChkExcel, keys::MSExcel},
      {&o.ChkAccess, keys::MSAccess},
      {&o.ChkOutlook, keys::MSOutlook},
      {&o.ChkPPT, keys::MSPPT},
      {&o.ChkPHEditor, keys::MSPhEditor},
      {&o.ChkAfterClose, keys::AfterClose},
      {&o.ChkAddBleach, keys::AddBleach},
      {&o.ChkSkipCustomItems, keys::SkipAllCustomWashItems},
      {&o.ChkSkipMessage, keys::SkipMessages},
  };
  for (const auto& [box, key] : boxes) {
    const int writesBefore = fake.profile.writeCount;
    box->Click();
    EXPECT_EQ(Stored(key), "1") << box->Caption();
    EXPECT_EQ(fake.profile.writeCount, writesBefore + 1) << box->Caption();
  }
}

TEST_F(OptionsPresenterTest, OnlyExactlyOneLoadsChecked) {
  SetIni(
      "[Standard Options]\r\nFindHistory=true\r\nRunHistory= 1\r\nTempFiles=1\r\n"
      "MediaPlayer=01\r\n");
  auto main = LoadMain();
  OptionsPresenter& o = main->options;
  EXPECT_EQ(o.ChkFindHistory.Value(), 0);
  EXPECT_EQ(o.ChkMediaPlayer.Value(), 0);
  EXPECT_EQ(o.ChkTempFiles.Value(), 1);
  // The value is stored untouched until the user clicks; the next click stores "1".
  EXPECT_EQ(Stored(keys::FindHistory), "true");
  o.ChkFindHistory.Click();
  EXPECT_EQ(Stored(keys::FindHistory), "1");
  o.ChkTempFiles.Click();
  EXPECT_EQ(Stored(keys::TempFiles), "0");
}

// Loading a "1" raises the box's click and writes the same value back; a "0" raises nothing.
TEST_F(OptionsPresenterTest, LoadingWritesBackOnlyWhatLoadsChecked) {
  SetIni("[Standard Options]\r\nFindHistory=0\r\nDocumentHistory=0\r\n");
  auto quiet = LoadMain();
  EXPECT_EQ(fake.profile.writeCount, 0);

  const std::string file = "[Wash Options]\r\nAddBleach=1\r\nAfterClose=1\r\n";
  SetIni(file);
  auto main = LoadMain();
  EXPECT_EQ(fake.profile.writeCount, 2);
  EXPECT_EQ(fake.profile.FileContent(app.settingsFile), file);
}

TEST_F(OptionsPresenterTest, MemberOfAnUncheckedMasterStaysCheckedAndIsDisabledOnItsPage) {
  SetIni("[IEOptions]\r\nIE=0\r\nCookies=1\r\n");
  auto main = LoadMain();
  OptionsPresenter& o = main->options;
  EXPECT_EQ(o.ChkCookies.Value(), 1);
  // A master that loads unchecked raises no cascade: its members stay enabled for now.
  EXPECT_TRUE(o.ChkCookies.Enabled());

  main->TabStrip1.Select(MainPresenter::kIETab);
  EXPECT_FALSE(o.ChkCookies.Enabled());
  EXPECT_FALSE(o.ChkAOL.Enabled());
  EXPECT_EQ(Stored(keys::IECookies), "1");
}

TEST_F(OptionsPresenterTest, CheckedMasterEnablesItsGroupWhenLoaded) {
  SetIni("[MSOffice]\r\nMSOffice=1\r\nMSWord=0\r\n");
  auto main = LoadMain();
  OptionsPresenter& o = main->options;
  EXPECT_EQ(o.ChkMSOffice.Value(), 1);
  const std::vector<const ui::CheckBox*> group = {&o.ChkOutlook, &o.ChkWord, &o.ChkAccess,
                                                  &o.ChkExcel,   &o.ChkPPT,  &o.ChkPHEditor};
  for (const ui::CheckBox* member : group) EXPECT_TRUE(member->Enabled());
  o.ChkMSOffice.Click();
  EXPECT_EQ(Stored(keys::MSOffice), "0");
  for (const ui::CheckBox* member : group) EXPECT_FALSE(member->Enabled());
  // Disabled members keep their state and ignore clicks.
  o.ChkWord.Click();
  EXPECT_EQ(o.ChkWord.Value(), 0);
  EXPECT_EQ(Stored(keys::MSWord), "0");
}

TEST_F(OptionsPresenterTest, NetscapeMasterSwitchesTheFiveBoxesAndTheProfileButton) {
  InstallNetscape6("6.2.3");
  auto main = LoadMain();
  OptionsPresenter& o = main->options;
  const std::vector<const ui::Control*> group = {&o.ChkCache,     &o.ChkNetscapeCookies,
                                                 &o.ChkMailTrash, &o.ChkURLHistory,
                                                 &o.ChkFormData,  &o.CmdProfile};
  main->TabStrip1.Select(MainPresenter::kNetscapeTab);
  for (const ui::Control* member : group) EXPECT_FALSE(member->Enabled()) << member->Caption();

  o.ChkNetscape.Click();
  EXPECT_EQ(Stored(keys::Netscape), "1");
  for (const ui::Control* member : group) EXPECT_TRUE(member->Enabled()) << member->Caption();
}

TEST_F(OptionsPresenterTest, ShowTipFollowsThePerUserStore) {
  // Absent: the default is on, and loading the box stores it.
  {
    auto main = LoadMain();
    EXPECT_EQ(main->options.ChkShowTip.Value(), 1);
    EXPECT_EQ(ShowTipStored(), "1");
    main->options.ChkShowTip.Click();
    EXPECT_EQ(ShowTipStored(), "0");
    // The settings file is not where this value lives.
    EXPECT_EQ(fake.profile.FileContent(app.settingsFile), "");
  }
  EXPECT_EQ(LoadMain()->options.ChkShowTip.Value(), 0);

  // Start-up shows tips only for 1; the box shows the same for every other value.
  for (const char* stored : {"2", ""}) {
    fake.userSettings.SaveSetting("Quorvane", "Options", "Showtip", stored);
    EXPECT_EQ(LoadMain()->options.ChkShowTip.Value(), 0) << stored;
    EXPECT_EQ(ShowTipStored(), stored);
  }
}

TEST_F(OptionsPresenterTest, TipsTurnedOffFromTheMenuLeaveTheBoxCheckedUntilTheNextStart) {
  fake.files.AddFile(app.appFolder + "\\TIPOFDAY.TXT", "One tip\r\n");
  auto main = LoadMain();
  std::unique_ptr<TipPresenter> tipWindow;
  main->hooks.showTipWindow = [&] {
    tipWindow = std::make_unique<TipPresenter>(fake.platform(), app, [] { return 0.0; });
    tipWindow->Load();
    tipWindow->chkLoadTipsAtStartup.Click();
    tipWindow->cmdOK.Click();
  };
  main->ClickMenu("mnuTip");
  ASSERT_NE(tipWindow, nullptr);
  EXPECT_EQ(ShowTipStored(), "0");
  EXPECT_EQ(main->options.ChkShowTip.Value(), 1);

  EXPECT_EQ(LoadMain()->options.ChkShowTip.Value(), 0);
}

// Without a settings file, or when it refuses writes, a click still changes the box and
// says nothing.
TEST_F(OptionsPresenterTest, FailedWritesLeaveTheBoxAsTheUserSetIt) {
  SetIni("[Standard Options]\r\nTempFiles=1\r\n");
  app.settingsFile.clear();
  auto main = LoadMain();
  EXPECT_EQ(main->options.ChkTempFiles.Value(), 0);
  main->options.ChkAddBleach.Click();
  EXPECT_EQ(main->options.ChkAddBleach.Value(), 1);

  app.settingsFile = app.LocalIniPath();
  fake.profile.failWrites = true;
  main = LoadMain();
  main->options.ChkAddBleach.Click();
  EXPECT_EQ(main->options.ChkAddBleach.Value(), 1);
  EXPECT_EQ(Stored(keys::AddBleach), "");
  EXPECT_TRUE(fake.windows.messageBoxes.empty());
}

}  // namespace
}  // namespace quorvane
