#include "win32/views/MainView.h"

#include <commctrl.h>

#include <string>
#include <string_view>
#include <utility>

#include "win32/platform/WideText.h"
#include "win32/views/ViewIds.h"

namespace quorvane::views {
namespace {

constexpr UINT_PTR kClockTimer = 1;
// Often enough that a Caps Lock or Num Lock press shows at once to the eye.
constexpr UINT kClockIntervalMs = 250;

constexpr std::array<int, MainPresenter::kTabCount> kPageTemplates = {
    IDD_PAGE_STANDARD, IDD_PAGE_CUSTOM, IDD_PAGE_OPTIONS, IDD_PAGE_IE,
    IDD_PAGE_NETSCAPE, IDD_PAGE_OFFICE, IDD_PAGE_ABOUT};

struct MenuId {
  int id;
  std::string_view name;
};
constexpr MenuId kMenuIds[] = {
    {IDM_STANDARD, "mnuStandard"},
    {IDM_CUSTOMCLEANITEMS, "mnuCustomCleanItems"},
    {IDM_ADDITIONALOPTIONS, "mnuAdditionalOptions"},
    {IDM_IE, "mnuIE"},
    {IDM_NETSCAPE, "mnuNetscape"},
    {IDM_OFFICE, "mnuOffice"},
    {IDM_EXIT, "mnuExit"},
    {IDM_USERGUIDE, "mnuUserGuide"},
    {IDM_TIP, "mnuTip"},
    {IDM_VISITWEB, "mnuVisitWeb"},
    {IDM_EMAILUS, "mnuEmailus"},
    {IDM_ABOUT, "mnuAbout"},
};

void SetMenuCaption(HMENU menu, UINT item, BOOL byPosition, const std::string& caption) {
  std::wstring text = win32::Widen(caption);
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  info.dwTypeData = text.data();
  SetMenuItemInfoW(menu, item, byPosition, &info);
}

}  // namespace

MainView::MainView(MainPresenter& presenter) : Dialog(IDD_MAIN), presenter_(presenter) {}

MainView::~MainView() {
  if (titleFont_) DeleteObject(titleFont_);
}

HWND MainView::Create() { return Dialog::Create(nullptr); }

void MainView::Show(int showCommand) {
  ShowWindow(Handle(), showCommand);
  SetForegroundWindow(Handle());
}

bool MainView::OnInit() {
  const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_QUORVANE));
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  // The tabs first: the pages fill what the strip's rows of tabs leave free.
  bindings.Bind(Item(IDC_TABSTRIP1), presenter_.TabStrip1);
  CreatePages();
  BindControls();
  BindOptionPages();
  presenter_.menusChanged = [this] { DrawMenus(); };

  // The window's load, as the user first sees it: caption, first page, every option box.
  presenter_.Load();
  bindings.DrawAll();
  DrawMenus();
  SetTimer(Handle(), kClockTimer, kClockIntervalMs, nullptr);
  presenter_.Tick(StatusBarView::Read());
  // Asked for while still hidden, so that the window opens active, as the program's first
  // window should (asked for later, Wine draws it inactive).
  SetForegroundWindow(Handle());
  return true;
}

void MainView::CreatePages() {
  const HWND tabStrip = Item(IDC_TABSTRIP1);
  RECT area{};
  GetWindowRect(tabStrip, &area);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&area), 2);
  TabCtrl_AdjustRect(tabStrip, FALSE, &area);
  pageArea_ = area;
  for (size_t i = 0; i < pages_.size(); ++i) {
    pages_[i] = std::make_unique<PagePanel>(kPageTemplates[i]);
    const HWND page = pages_[i]->Create(Handle());
    // Above the tab strip: first in the Tab order and drawn over the strip's body.
    SetWindowPos(page, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  titleFont_ = CreateHeadingFont(Handle(), 150, true);
  SendMessageW(pages_[MainPresenter::kAboutTab]->Item(IDC_LBLTITLE), WM_SETFONT,
               reinterpret_cast<WPARAM>(titleFont_), TRUE);
}

void MainView::PlacePage(int tab) {
  // Pages stand where the presenter puts them, counted from the first page's place; the
  // About page sits a little further right, as it always has.
  const PageFrame& frame = *presenter_.Pages()[static_cast<size_t>(tab)];
  const int dx = TwipsToPixels(Handle(), frame.Left() - main_layout::kPageLeft);
  const int dy = TwipsToPixels(Handle(), frame.Top() - main_layout::kPageTop);
  SetWindowPos(pages_[static_cast<size_t>(tab)]->Handle(), nullptr, pageArea_.left + dx,
               pageArea_.top + dy, pageArea_.right - pageArea_.left - dx,
               pageArea_.bottom - pageArea_.top - dy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainView::BindControls() {
  MainPresenter& p = presenter_;
  bindings.BindCustom(Handle(), p.Form,
                      [this] { DrawCaption(Handle(), presenter_.Form.Caption()); });
  bindings.Bind(Item(IDC_CMDCLEAN), p.CmdClean);
  bindings.Bind(Item(IDC_CMDHELP), p.CmdHelp);
  const auto frames = p.Pages();
  for (size_t i = 0; i < frames.size(); ++i) {
    const HWND page = pages_[i]->Handle();
    bindings.BindCustom(page, *frames[i], [this, page, i, frame = frames[i]] {
      PlacePage(static_cast<int>(i));
      DrawState(page, *frame);
    });
  }
  const PagePanel& custom = *pages_[MainPresenter::kCustomTab];
  bindings.Bind(custom.Item(IDC_LISTVIEW1), p.ListView1);
  bindings.Bind(custom.Item(IDC_CMDADD), p.CmdAdd);
  bindings.Bind(custom.Item(IDC_CMDEDIT), p.CmdEdit);
  bindings.Bind(custom.Item(IDC_CMDDELETE), p.CmdDelete);

  statusBar_ = std::make_unique<StatusBarView>(Item(IDC_STATUSBAR1), p.StatusBar1);
  statusBar_->Bind(bindings);
}

void MainView::BindOptionPages() {
  OptionsPresenter& o = presenter_.options;
  AutostartPresenter& a = presenter_.autostart;
  AboutPresenter& about = presenter_.about;
  const auto& page = [this](int tab) -> const PagePanel& {
    return *pages_[static_cast<size_t>(tab)];
  };
  const std::pair<int, ui::CheckBox*> boxes[] = {
      {IDC_CHKFINDHISTORY, &o.ChkFindHistory},
      {IDC_CHKDOCUMENTHISTORY, &o.ChkDocumentHistory},
      {IDC_CHKRUNHISTORY, &o.ChkRunHistory},
      {IDC_CHKRECYCLEBIN, &o.ChkRecycleBin},
      {IDC_CHKTEMPFILES, &o.ChkTempFiles},
      {IDC_CHKSCANTEMPFILES, &o.ChkScanTempFiles},
      {IDC_CHKMEDIAPLAYER, &o.ChkMediaPlayer},
      {IDC_CHKIE, &o.ChkIE},
      {IDC_CHKTEMPIEFILES, &o.ChkTempIEFiles},
      {IDC_CHKCOOKIES, &o.ChkCookies},
      {IDC_CHKDOWNLOADDIR, &o.ChkDownloadDir},
      {IDC_CHKCLEAN, &o.ChkClean},
      {IDC_CHKIECONROLPANEL, &o.ChkIEConrolPanel},
      {IDC_CHKAUTOCOMPLETE, &o.ChkAutoComplete},
      {IDC_CHKAOL, &o.ChkAOL},
      {IDC_CHKNETSCAPE, &o.ChkNetscape},
      {IDC_CHKCACHE, &o.ChkCache},
      {IDC_CHKNETSCAPECOOKIES, &o.ChkNetscapeCookies},
      {IDC_CHKMAILTRASH, &o.ChkMailTrash},
      {IDC_CHKURLHISTORY, &o.ChkURLHistory},
      {IDC_CHKFORMDATA, &o.ChkFormData},
      {IDC_CHKMSOFFICE, &o.ChkMSOffice},
      {IDC_CHKWORD, &o.ChkWord},
      {IDC_CHKEXCEL, &o.ChkExcel},
      {IDC_CHKACCESS, &o.ChkAccess},
      {IDC_CHKOUTLOOK, &o.ChkOutlook},
      {IDC_CHKPPT, &o.ChkPPT},
      {IDC_CHKPHEDITOR, &o.ChkPHEditor},
      {IDC_CHKSTARTUP, &a.ChkStartup},
      {IDC_CHKAFTERCLOSE, &o.ChkAfterClose},
      {IDC_CHKADDBLEACH, &o.ChkAddBleach},
      {IDC_CHKSHOWTIP, &o.ChkShowTip},
      {IDC_CHKSKIPCUSTOMITEMS, &o.ChkSkipCustomItems},
      {IDC_CHKSKIPMESSAGE, &o.ChkSkipMessage},
      {IDC_CHKSTART, &a.ChkStart},
      {IDC_CHKSHUTDOWN, &a.ChkShutdown},
      {IDC_CHKSCHEDULE, &a.ChkSchedule},
  };
  for (const auto& [id, box] : boxes) {
    // Each id lives on exactly one page.
    for (const auto& panel : pages_) {
      if (const HWND control = panel->Item(id)) bindings.Bind(control, *box);
    }
  }
  const PagePanel& options = page(MainPresenter::kOptionsTab);
  bindings.Bind(options.Item(IDC_LBLRUNAUTOWASH), a.lblRunAutoWash);
  bindings.Bind(options.Item(IDC_CBOSCHEDULE), a.cboSchedule);
  bindings.Bind(page(MainPresenter::kNetscapeTab).Item(IDC_CMDPROFILE), o.CmdProfile);

  const PagePanel& aboutPage = page(MainPresenter::kAboutTab);
  bindings.Bind(aboutPage.Item(IDC_LBLTITLE), about.lblTitle);
  bindings.Bind(aboutPage.Item(IDC_SKINLABEL1), about.SkinLabel1);
  bindings.Bind(aboutPage.Item(IDC_LBLHOME), about.lblHome);
  bindings.Bind(aboutPage.Item(IDC_SKINLABEL2), about.SkinLabel2);
  bindings.Bind(aboutPage.Item(IDC_LBLSUPPORT), about.lblSupport);
  bindings.Bind(aboutPage.Item(IDC_LBLDISCLAIMER), about.lblDisclaimer);
  bindings.Bind(aboutPage.Item(IDC_CMDSYSINFO), about.cmdSysInfo);
}

void MainView::DrawMenus() {
  const HMENU bar = GetMenu(Handle());
  if (!bar) return;
  for (size_t top = 0; top < presenter_.Menus.size(); ++top) {
    SetMenuCaption(bar, static_cast<UINT>(top), TRUE, presenter_.Menus[top].caption);
  }
  for (const MenuId& entry : kMenuIds) {
    if (const MenuItem* item = presenter_.FindMenuItem(entry.name)) {
      SetMenuCaption(bar, static_cast<UINT>(entry.id), FALSE, item->caption);
    }
  }
  DrawMenuBar(Handle());
}

bool MainView::OnCommand(int id, int /*code*/, HWND control) {
  if (!control) {
    for (const MenuId& entry : kMenuIds) {
      if (entry.id == id) {
        presenter_.ClickMenu(entry.name);
        return true;
      }
    }
  }
  // Enter and Escape on the main window do nothing: no default action, and closing the
  // program is the user's explicit choice (E&xit or the close box).
  return id == IDOK || id == IDCANCEL;
}

std::optional<INT_PTR> MainView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam != kClockTimer) return std::nullopt;
      presenter_.Tick(StatusBarView::Read());
      return TRUE;
    case WM_DRAWITEM:
      if (statusBar_ && statusBar_->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) {
        return TRUE;
      }
      return std::nullopt;
    case WM_HELP:
      presenter_.OpenHelp();
      return TRUE;
    case WM_CLOSE:
      Unload();
      return TRUE;
    default:
      return std::nullopt;
  }
}

void MainView::Unload() {
  if (presenter_.hooks.unloadMainWindow) {
    presenter_.hooks.unloadMainWindow();
  } else {
    DestroyWindow(Handle());
  }
}

void MainView::OnDestroy() {
  KillTimer(Handle(), kClockTimer);
  presenter_.menusChanged = nullptr;
  if (onDestroyed) onDestroyed();
}

}  // namespace quorvane::views
