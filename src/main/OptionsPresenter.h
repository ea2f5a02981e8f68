#pragma once
// The option boxes of the main window's pages. Each box is a direct view of one stored
// value: loading fills it from the store, and every change of the box writes the new state
// back at once. Three boxes are masters that enable or disable the boxes of their group.
// Setting a box in code raises its click, which the loader relies on: a box that loads "1"
// writes its value back, runs a master's cascade or repeats its autostart registry work.

#include <string_view>

#include "core/AppContext.h"
#include "core/SettingsKeys.h"
#include "core/StartUp.h"
#include "core/platform/Platform.h"
#include "core/ui/Controls.h"
#include "main/AutostartPresenter.h"

namespace quorvane {

class OptionsPresenter {
 public:
  // The autostart boxes sit on the "Additional Options" page and are loaded in the same
  // pass, in their place in the loading order.
  OptionsPresenter(const Platform& platform, AppContext& app, AutostartPresenter& autostart);
  OptionsPresenter(const OptionsPresenter&) = delete;
  OptionsPresenter& operator=(const OptionsPresenter&) = delete;

  // Standard Clean Items page.
  ui::CheckBox ChkFindHistory;      // "Windows Find/Search History"
  ui::CheckBox ChkDocumentHistory;  // "Document History"
  ui::CheckBox ChkRunHistory;       // "Windows Run History"
  ui::CheckBox ChkRecycleBin;       // "Recycle Bin"
  ui::CheckBox ChkTempFiles;        // "Temporary Files Directory"
  ui::CheckBox ChkScanTempFiles;    // "Scandisk Temp Files"
  ui::CheckBox ChkMediaPlayer;      // "Windows Media Player"

  // Internet Explorer page.
  ui::CheckBox ChkIE;             // "Clean Internet Explorer" (master)
  ui::CheckBox ChkTempIEFiles;    // "Cache (Temporary Internet Files)"
  ui::CheckBox ChkCookies;        // "Cookies"
  ui::CheckBox ChkDownloadDir;    // "Downloaded Program Files Directory"
  ui::CheckBox ChkClean;          // "Clean Locked(index.dat) Files/History/Address Bar"
  ui::CheckBox ChkIEConrolPanel;  // "Use IE Control Panel to Clear Database Files"
  ui::CheckBox ChkAutoComplete;   // " IE Auto-Complete Form Data"
  ui::CheckBox ChkAOL;            // "AOL/Compuserve Drop Down List and Cache"

  // Netscape page.
  ui::CheckBox ChkNetscape;         // "Clean Netscape" (master)
  ui::CheckBox ChkCache;            // "Netscape Cache"
  ui::CheckBox ChkNetscapeCookies;  // "Netscape Cookies"
  ui::CheckBox ChkMailTrash;        // "Netscape Mail Trash"
  ui::CheckBox ChkURLHistory;       // "Netscape URL History"
  ui::CheckBox ChkFormData;         // "Netscape Form Data"
  ui::Button CmdProfile;            // "Netscape Profile"; enabled with the Netscape group

  // MS-Office Tracks page.
  ui::CheckBox ChkMSOffice;  // "Clean Microsoft Office" (master)
  ui::CheckBox ChkWord;      // "Microsoft Word"
  ui::CheckBox ChkExcel;     // "Microsoft Excel"
  ui::CheckBox ChkAccess;    // "Microsoft Access"
  ui::CheckBox ChkOutlook;   // "Microsoft Outlook"
  ui::CheckBox ChkPPT;       // "Microsoft Powerpoint"
  ui::CheckBox ChkPHEditor;  // "Microsoft Photo Editor"

  // Additional Options page (the autostart boxes are in AutostartPresenter).
  ui::CheckBox ChkAfterClose;       // "Close Quorvane after a Clean"
  ui::CheckBox ChkAddBleach;        // "Add Bleach to Clean"
  ui::CheckBox ChkShowTip;          // "Show tips at startup" (per-user store)
  ui::CheckBox ChkSkipCustomItems;  // "Skip All Custom Clean Items"
  ui::CheckBox ChkSkipMessage;      // "Skip Messages during Clean"

  // Fills every box from the stores; called once while the main window loads.
  void LoadOptions();

  // The masters' click handlers: store the master's state and enable its group with it.
  // The main window also runs them each time it shows the master's page.
  void ChkIEClick();
  void ChkNetscapeClick();
  void ChkMSOfficeClick();
  void ChkShowTipClick();

 private:
  Settings StoredOptions() const;
  void BindPlain(ui::CheckBox& box, SettingKey key);
  void LoadBox(ui::CheckBox& box, SettingKey key);
  void Store(const ui::CheckBox& box, SettingKey key);

  Platform platform_;
  AppContext& app_;
  AutostartPresenter& autostart_;
};

}  // namespace quorvane
