#include "main/OptionsPresenter.h"

#include <initializer_list>
#include <string>

namespace quorvane {
namespace {

// Members keep their checked state and stored value while disabled: the clean run decides
// by the master's value whether the group runs at all.
void EnableGroup(std::initializer_list<ui::Control*> members, bool enabled) {
  for (ui::Control* member : members) member->SetEnabled(enabled);
}

}  // namespace

OptionsPresenter::OptionsPresenter(const Platform& platform, AppContext& app,
                                   AutostartPresenter& autostart)
    : platform_(platform), app_(app), autostart_(autostart) {
  ChkFindHistory.SetCaption("Windows Find/Search History");
  ChkDocumentHistory.SetCaption("Document History");
  ChkRunHistory.SetCaption("Windows Run History");
  ChkRecycleBin.SetCaption("Recycle Bin");
  ChkTempFiles.SetCaption("Temporary Files Directory");
  ChkScanTempFiles.SetCaption("Scandisk Temp Files");
  ChkMediaPlayer.SetCaption("Windows Media Player");

  ChkIE.SetCaption("Clean Internet Explorer");
  ChkTempIEFiles.SetCaption("Cache (Temporary Internet Files)");
  ChkCookies.SetCaption("Cookies");
  ChkDownloadDir.SetCaption("Downloaded Program Files Directory");
  ChkClean.SetCaption("Clean Locked(index.dat) Files/History/Address Bar");
  ChkIEConrolPanel.SetCaption("Use IE Control Panel to Clear Database Files");
  ChkAutoComplete.SetCaption(" IE Auto-Complete Form Data");
  ChkAOL.SetCaption("AOL/Compuserve Drop Down List and Cache");

  ChkNetscape.SetCaption("Clean Netscape");
  ChkCache.SetCaption("Netscape Cache");
  ChkNetscapeCookies.SetCaption("Netscape Cookies");
  ChkMailTrash.SetCaption("Netscape Mail Trash");
  ChkURLHistory.SetCaption("Netscape URL History");
  ChkFormData.SetCaption("Netscape Form Data");
  CmdProfile.SetCaption("Netscape Profile");

  ChkMSOffice.SetCaption("Clean Microsoft Office");
  ChkWord.SetCaption("Microsoft Word");
  ChkExcel.SetCaption("Microsoft Excel");
  ChkAccess.SetCaption("Microsoft Access");
  ChkOutlook.SetCaption("Microsoft Outlook");
  ChkPPT.SetCaption("Microsoft Powerpoint");
  ChkPHEditor.SetCaption("Microsoft Photo Editor");

  ChkAfterClose.SetCaption("Close Quorvane after a Clean");
  ChkAddBleach.SetCaption("Add Bleach to Clean");
  ChkShowTip.SetCaption("Show tips at startup");
  ChkSkipCustomItems.SetCaption("Skip All Custom Clean Items");
  ChkSkipMessage.SetCaption("Skip Messages during Clean");

  BindPlain(ChkFindHistory, keys::FindHistory);
  BindPlain(ChkDocumentHistory, keys::DocumentHistory);
  BindPlain(ChkRunHistory, keys::RunHistory);
  BindPlain(ChkRecycleBin, keys::RecycleBin);
  BindPlain(ChkTempFiles, keys::TempFiles);
  BindPlain(ChkScanTempFiles, keys::ScanTempFiles);
  BindPlain(ChkMediaPlayer, keys::MediaPlayer);

  BindPlain(ChkTempIEFiles, keys::TempIEFiles);
  BindPlain(ChkCookies, keys::IECookies);
  BindPlain(ChkDownloadDir, keys::DownloadDir);
  BindPlain(ChkClean, keys::CleanHistory);
  BindPlain(ChkIEConrolPanel, keys::IEConrolPanel);
  BindPlain(ChkAutoComplete, keys::AutoComplete);
  BindPlain(ChkAOL, keys::AOL);

  BindPlain(ChkCache, keys::NetscapeCache);
  BindPlain(ChkNetscapeCookies, keys::NetscapeCookies);
  BindPlain(ChkMailTrash, keys::MailTrash);
  BindPlain(ChkURLHistory, keys::NetscapeClean);
  BindPlain(ChkFormData, keys::FormData);

  BindPlain(ChkWord, keys::MSWord);
  BindPlain(ChkExcel, keys::MSExcel);
  BindPlain(ChkAccess, keys::MSAccess);
  BindPlain(ChkOutlook, keys::MSOutlook);
  BindPlain(ChkPPT, keys::MSPPT);
  BindPlain(ChkPHEditor, keys::MSPhEditor);

  BindPlain(ChkAfterClose, keys::AfterClose);
  BindPlain(ChkAddBleach, keys::AddBleach);
  BindPlain(ChkSkipCustomItems, keys::SkipAllCustomWashItems);
  BindPlain(ChkSkipMessage, keys::SkipMessages);

  ChkIE.onClick = [this] { ChkIEClick(); };
  ChkNetscape.onClick = [this] { ChkNetscapeClick(); };
  ChkMSOffice.onClick = [this] { ChkMSOfficeClick(); };
  ChkShowTip.onClick = [this] { ChkShowTipClick(); };
}

Settings OptionsPresenter::StoredOptions() const {
  return Settings(platform_.profile, app_.settingsFile);
}

void OptionsPresenter::BindPlain(ui::CheckBox& box, SettingKey key) {
  box.onClick = [this, &box, key] { Store(box, key); };
}

void OptionsPresenter::Store(const ui::CheckBox& box, SettingKey key) {
  // A failed write is not reported: the box keeps the state the user gave it.
  (void)StoredOptions().Write(key, std::to_string(box.Value()));
}

// Only exactly "1" checks a box. Since every box starts unchecked, a "1" raises the box's
// click, which writes the value back and runs any cascade or registry work it carries.
void OptionsPresenter::LoadBox(ui::CheckBox& box, SettingKey key) {
  box.SetValue(StoredOptions().IsOn(key) ? 1 : 0);
}

void OptionsPresenter::ChkIEClick() {
  const bool enabled = ChkIE.Value() != 0;
  Store(ChkIE, keys::IE);
  EnableGroup({&ChkTempIEFiles, &ChkCookies, &ChkDownloadDir, &ChkClean, &ChkIEConrolPanel,
               &ChkAutoComplete, &ChkAOL},
              enabled);
}

void OptionsPresenter::ChkNetscapeClick() {
  const bool enabled = ChkNetscape.Value() != 0;
  Store(ChkNetscape, keys::Netscape);
  EnableGroup(
      {&ChkNetscapeCookies, &ChkMailTrash, &ChkCache, &ChkURLHistory, &ChkFormData, &CmdProfile},
      enabled);
}

void OptionsPresenter::ChkMSOfficeClick() {
  const bool enabled = ChkMSOffice.Value() != 0;
  Store(ChkMSOffice, keys::MSOffice);
  EnableGroup({&ChkOutlook, &ChkWord, &ChkAccess, &ChkExcel, &ChkPPT, &ChkPHEditor}, enabled);
}

void OptionsPresenter::ChkShowTipClick() {
  SaveShowTip(platform_.userSettings, ChkShowTip.Value());
}

void OptionsPresenter::LoadOptions() {
  LoadBox(ChkDocumentHistory, keys::DocumentHistory);
  LoadBox(ChkFindHistory, keys::FindHistory);
  LoadBox(ChkRunHistory, keys::RunHistory);
  LoadBox(ChkMediaPlayer, keys::MediaPlayer);
  LoadBox(ChkRecycleBin, keys::RecycleBin);
  LoadBox(ChkTempFiles, keys::TempFiles);
  LoadBox(ChkScanTempFiles, keys::ScanTempFiles);
  LoadBox(ChkIE, keys::IE);
  LoadBox(ChkNetscape, keys::Netscape);
  LoadBox(ChkMSOffice, keys::MSOffice);
  LoadBox(autostart_.ChkStartup, keys::Startup);
  LoadBox(ChkAfterClose, keys::AfterClose);
  LoadBox(ChkAddBleach, keys::AddBleach);

  // The box is checked exactly when start-up would show the tip window.
  ChkShowTip.SetValue(ShowTipWanted(platform_.userSettings) ? 1 : 0);

  LoadBox(ChkSkipCustomItems, keys::SkipAllCustomWashItems);
  LoadBox(ChkSkipMessage, keys::SkipMessages);
  LoadBox(autostart_.ChkStart, keys::RunAutowashStart);
  LoadBox(autostart_.ChkShutdown, keys::RunAutowashShutdown);
  LoadBox(autostart_.ChkSchedule, keys::RunAutowash);
  autostart_.LoadSchedule();

  LoadBox(ChkTempIEFiles, keys::TempIEFiles);
  LoadBox(ChkCookies, keys::IECookies);
  LoadBox(ChkDownloadDir, keys::DownloadDir);
  LoadBox(ChkClean, keys::CleanHistory);
  LoadBox(ChkIEConrolPanel, keys::IEConrolPanel);
  LoadBox(ChkAOL, keys::AOL);
  LoadBox(ChkAutoComplete, keys::AutoComplete);
  LoadBox(ChkCache, keys::NetscapeCache);
  LoadBox(ChkNetscapeCookies, keys::NetscapeCookies);
  LoadBox(ChkMailTrash, keys::MailTrash);
  LoadBox(ChkURLHistory, keys::NetscapeClean);
  LoadBox(ChkFormData, keys::FormData);
  LoadBox(ChkAccess, keys::MSAccess);
  LoadBox(ChkExcel, keys::MSExcel);
  LoadBox(ChkWord, keys::MSWord);
  LoadBox(ChkOutlook, keys::MSOutlook);
  LoadBox(ChkPPT, keys::MSPPT);
  LoadBox(ChkPHEditor, keys::MSPhEditor);
}

}  // namespace quorvane
