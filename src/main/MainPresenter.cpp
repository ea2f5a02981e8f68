#include "main/MainPresenter.h"

#include <utility>

#include "about/SupportInfo.h"
#include "core/StartUp.h"
#include "netscape/NetscapeDetection.h"

namespace quorvane {
namespace {

MenuItem Item(std::string name, std::string caption, std::function<void()> onClick) {
  MenuItem item;
  item.name = std::move(name);
  item.caption = std::move(caption);
  item.onClick = std::move(onClick);
  return item;
}

MenuItem Separator(std::string name) {
  MenuItem item;
  item.name = std::move(name);
  item.separator = true;
  return item;
}

MenuItem Submenu(std::string name, std::string caption, std::vector<MenuItem> items) {
  MenuItem item;
  item.name = std::move(name);
  item.caption = std::move(caption);
  item.items = std::move(items);
  return item;
}

MenuItem* FindIn(std::vector<MenuItem>& items, std::string_view name) {
  for (MenuItem& item : items) {
    if (item.name == name) return &item;
    if (MenuItem* found = FindIn(item.items, name)) return found;
  }
  return nullptr;
}

void Run(const std::function<void()>& action) {
  if (action) action();
}

}  // namespace

MainPresenter::MainPresenter(const Platform& platform, AppContext& app)
    : autostart(platform, app),
      options(platform, app, autostart),
      about(platform),
      platform_(platform),
      app_(app),
      reg_(platform.registry, platform.windows),
      tabKeys_{"StandardWash", "CustomWash", "WashOptions", "IE", "Netscape", "Office", "About"} {
  Form.SetCaption(std::string(kAppTitle));
  TabStrip1.tabs = {"Standard Clean Items",
                    "Custom Clean Items",
                    "Additional Options",
                    "Internet Explorer",
                    "Netscape",
                    "MS-Office Tracks",
                    "About"};
  TabStrip1.onClick = [this] { TabStrip1Click(); };

  CmdClean.SetCaption("&Clean Now");
  CmdClean.onClick = [this] { Run(hooks.showCleanWindow); };
  CmdHelp.SetCaption("&Help");
  CmdHelp.onClick = [this] { OpenHelp(); };

  CmdAdd.SetCaption("&Add");
  CmdEdit.SetCaption("&Edit");
  CmdDelete.SetCaption("&Delete");
  options.CmdProfile.onClick = [this] { Run(hooks.showProfileWizard); };

  StatusBar1[0].SetCaption("CAPS");
  StatusBar1[0].SetEnabled(false);
  StatusBar1[1].SetCaption("NUM");
  StatusBar1[1].SetEnabled(false);
  StatusBar1[4].SetCaption(std::string(kProductName));

  BuildMenus();
}

void MainPresenter::BuildMenus() {
  auto select = [this](int tab) { return [this, tab] { SelectTab(tab); }; };
  Menus = {
      Submenu("mnuFile", "File",
              {Item("mnuStandard", "&Standard Clean Items", select(kStandardTab)),
               Item("mnuCustomCleanItems", "&Custom Clean Items", select(kCustomTab)),
               Item("mnuAdditionalOptions", "&Additional Options", select(kOptionsTab)),
               Item("mnuIE", "&Internet Explorer", select(kIETab)),
               Item("mnuNetscape", "&Netscape", select(kNetscapeTab)),
               Item("mnuOffice", "&MS-Office Tracks", select(kOfficeTab)), Separator("mnuDash1"),
               Item("mnuExit", "E&xit", [this] { Run(hooks.unloadMainWindow); })}),
      Submenu("mnuHelp", "Help",
              {Item("mnuUserGuide", "User's Guide", [this] { OpenHelp(); }),
               Item("mnuTip", "Tip of the Day", [this] { Run(hooks.showTipWindow); }),
               Separator("mnuDash2"),
               Submenu("mnuContactus", "Contact us",
                       {Item("mnuVisitWeb", "Visit Our Website", [this] { VisitWebsite(); }),
                        Item("mnuEmailus", "Email us", [this] { EmailUs(); })}),
               Separator("mnuDash3"), Item("mnuAbout", "&About", select(kAboutTab))}),
  };
}

void MainPresenter::Load() {
  Form.SetCaption(MainWindowCaption());
  if (MenuItem* aboutItem = FindMenuItem("mnuAbout")) {
    aboutItem->caption = "&About " + std::string(kAppTitle);
    Run(menusChanged);
  }
  ShowPage(FrameStandardOptions);
  options.LoadOptions();

  // Netscape is detected once per load; installing or removing it shows after a restart.
  const std::string version = NetscapeVersion(reg_, app_);
  // The profile wizard serves Netscape 6 only.
  if (app_.netscapeGeneration != kNetscape6) options.CmdProfile.SetVisible(false);
  if (!version.empty()) {
    TabStrip1.tabs[kNetscapeTab] = "Netscape " + version;
    Run(TabStrip1.changed);
  } else {
    tabTags_[kNetscapeTab] = std::string(kDisableTag);
  }
}

std::array<PageFrame*, MainPresenter::kTabCount> MainPresenter::Pages() {
  return {&FrameStandardOptions, &FrameCustomWash, &FrameWashOptions, &FrameIE,
          &FrameNetscape,        &FrameMSOffice,   &FrameAbout};
}

void MainPresenter::ShowPage(PageFrame& page) {
  for (PageFrame* frame : Pages()) {
    if (frame != &page) frame->SetVisible(false);
  }
  page.SetVisible(true);
  page.Move(FrameStandardOptions.Left(), FrameStandardOptions.Top());
}

void MainPresenter::TabStrip1Click() {
  const int tab = TabStrip1.SelectedIndex();
  if (tab < 0 || tab >= kTabCount) return;
  const std::string& key = tabKeys_[static_cast<std::size_t>(tab)];
  // A refused tab leaves the page shown before, and the highlight goes back to its tab.
  if (TabTag(tab) == kDisableTag) {
    platform_.windows.MessageBox(kNetscapeNotInstalled, kAppTitle, message_box::IconInformation);
    TabStrip1.Restore(shownTab_);
    return;
  }
  shownTab_ = tab;
  if (key == "StandardWash") {
    ShowPage(FrameStandardOptions);
  } else if (key == "CustomWash") {
    ShowPage(FrameCustomWash);
    Run(hooks.refreshCustomList);
  } else if (key == "WashOptions") {
    ShowPage(FrameWashOptions);
  } else if (key == "IE") {
    ShowPage(FrameIE);
    options.ChkIEClick();
  } else if (key == "Netscape") {
    ShowPage(FrameNetscape);
    options.ChkNetscapeClick();
  } else if (key == "Office") {
    ShowPage(FrameMSOffice);
    options.ChkMSOfficeClick();
  } else if (key == "About") {
    ShowPage(FrameAbout);
    FrameAbout.Move(main_layout::kAboutPageLeft, FrameAbout.Top());
    about.ShowAboutInfo();
  }
}

void MainPresenter::SelectTab(int tab) { TabStrip1.Select(tab); }

const std::string& MainPresenter::TabKey(int tab) const {
  return tabKeys_.at(static_cast<std::size_t>(tab));
}

const std::string& MainPresenter::TabTag(int tab) const {
  return tabTags_.at(static_cast<std::size_t>(tab));
}

MenuItem* MainPresenter::FindMenuItem(std::string_view name) { return FindIn(Menus, name); }

void MainPresenter::ClickMenu(std::string_view name) {
  if (MenuItem* item = FindMenuItem(name)) Run(item->onClick);
}

// A missing help file or no program for web or mail links is not reported: the shell's
// failure simply leaves everything as it was.
void MainPresenter::OpenWithShell(const std::string& target, WindowStyle style) {
  (void)platform_.shell.OpenDocument(target, style);
}

// The guide opens maximised, the web site in a normal window, the mail program as it likes.
void MainPresenter::OpenHelp() { OpenWithShell(app_.HelpFile(), WindowStyle::Maximized); }

void MainPresenter::VisitWebsite() {
  OpenWithShell(std::string(kSupportWebAddress), WindowStyle::NormalFocus);
}

void MainPresenter::EmailUs() {
  OpenWithShell("mailto:" + std::string(kSupportEmailAddress), WindowStyle::Shown);
}

void MainPresenter::Tick(const StatusReading& reading) {
  StatusBar1[0].SetEnabled(reading.capsLock);
  StatusBar1[1].SetEnabled(reading.numLock);
  StatusBar1[2].SetCaption(reading.date);
  StatusBar1[3].SetCaption(reading.time);
}

}  // namespace quorvane
