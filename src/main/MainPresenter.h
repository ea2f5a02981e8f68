#pragma once
// The main window: seven option pages behind a row of tabs, two menus, the Clean Now and
// Help buttons and a status bar. Menu items that name a page select its tab, so a menu and a
// click on the tab behave alike, the refusal of an absent Netscape included.

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "about/AboutPresenter.h"
#include "core/AppContext.h"
#include "core/Reg32.h"
#include "core/platform/Platform.h"
#include "core/ui/Controls.h"
#include "main/AutostartPresenter.h"
#include "main/OptionsPresenter.h"

namespace quorvane {

// Sizes and positions of the main window in twips (1/1440 inch).
namespace main_layout {
inline constexpr int kWindowWidth = 7200;
inline constexpr int kWindowHeight = 6400;
// Where FrameStandardOptions stands; every page is shown there, except the About page,
// which moves to kAboutPageLeft.
inline constexpr int kPageLeft = 240;
inline constexpr int kPageTop = 600;
inline constexpr int kAboutPageLeft = 300;
}  // namespace main_layout

inline constexpr std::string_view kNetscapeNotInstalled =
    "Netscape is not installed in your system.";
inline constexpr std::string_view kDisableTag = "Disable";

// A page frame: shown or hidden, and placed in twips.
class PageFrame : public ui::Control {
 public:
  int Left() const { return left_; }
  int Top() const { return top_; }
  void Move(int left, int top) {
    Update(left_, left);
    Update(top_, top);
  }

 private:
  int left_ = main_layout::kPageLeft;
  int top_ = main_layout::kPageTop;
};

// One entry of the menu bar. An entry with `items` opens a submenu; a separator has no
// caption and no action.
struct MenuItem {
  std::string name;     // "mnuStandard"
  std::string caption;  // "&Standard Clean Items"
  bool separator = false;
  std::vector<MenuItem> items;
  std::function<void()> onClick;
};

// What the application supplies: the other windows and the end of the program.
struct MainHooks {
  std::function<void()> showCleanWindow;    // "&Clean Now": the clean window, modally
  std::function<void()> showTipWindow;      // "Tip of the Day": the tip window, modally
  std::function<void()> unloadMainWindow;   // "E&xit"
  std::function<void()> refreshCustomList;  // the custom page was selected
  std::function<void()> showProfileWizard;  // "Netscape Profile", not modal
};

// What the view reads for the status bar on every tick of its clock.
struct StatusReading {
  bool capsLock = false;
  bool numLock = false;
  std::string date;  // in the user's own short date format
  std::string time;  // in the user's own time format
};

class MainPresenter {
 public:
  static constexpr int kTabCount = 7;
  // Tab numbers, from 0, in the order of the tab strip.
  enum Tab { kStandardTab, kCustomTab, kOptionsTab, kIETab, kNetscapeTab, kOfficeTab, kAboutTab };

  MainPresenter(const Platform& platform, AppContext& app);
  MainPresenter(const MainPresenter&) = delete;
  MainPresenter& operator=(const MainPresenter&) = delete;

  MainHooks hooks;

  ui::Control Form;  // the window's caption: "Quorvane Version 5.0" after Load
  ui::TabStrip TabStrip1;

  PageFrame FrameStandardOptions;
  PageFrame FrameCustomWash;
  PageFrame FrameWashOptions;
  PageFrame FrameIE;
  PageFrame FrameNetscape;
  PageFrame FrameMSOffice;
  PageFrame FrameAbout;

  ui::Button CmdClean;  // "&Clean Now"
  ui::Button CmdHelp;   // "&Help"

  // The custom page; the item list and its buttons are served by the custom item list.
  ui::ListView ListView1;
  ui::Button CmdAdd;     // "&Add"
  ui::Button CmdEdit;    // "&Edit"
  ui::Button CmdDelete;  // "&Delete"

  // Caps Lock ("CAPS", enabled while on), Num Lock ("NUM"), date, time, "Quorvane".
  std::array<ui::Label, 5> StatusBar1;

  // The menu bar: "File" and "Help", each with its items.
  std::vector<MenuItem> Menus;
  std::function<void()> menusChanged;

  // The pages' own presenters. autostart is declared before options, which loads it.
  AutostartPresenter autostart;
  OptionsPresenter options;
  AboutPresenter about;

  // The window's load: caption, first page, every option box, Netscape detection.
  void Load();

  void ShowPage(PageFrame& page);
  // Runs whenever a tab becomes selected, by a click or by a menu item.
  void TabStrip1Click();
  // Sets the tab's selected state, which runs the selection handler as a click does.
  void SelectTab(int tab);

  const std::string& TabKey(int tab) const;
  const std::string& TabTag(int tab) const;
  std::array<PageFrame*, kTabCount> Pages();

  // A menu item by its name ("mnuAbout"), searched through the submenus; null if none.
  MenuItem* FindMenuItem(std::string_view name);
  // Runs the action of the named menu item, as a click on it does.
  void ClickMenu(std::string_view name);

  void OpenHelp();
  void VisitWebsite();
  void EmailUs();

  // Brings the status bar up to date; the view calls it from its clock and on key presses.
  void Tick(const StatusReading& reading);

 private:
  void BuildMenus();
  void OpenWithShell(const std::string& target, WindowStyle style);

  Platform platform_;
  AppContext& app_;
  Reg32 reg_;
  std::array<std::string, kTabCount> tabKeys_;
  std::array<std::string, kTabCount> tabTags_;
  int shownTab_ = kStandardTab;  // the tab whose page is shown
};

}  // namespace quorvane
