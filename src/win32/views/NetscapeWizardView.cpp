#include "win32/views/NetscapeWizardView.h"

#include <commctrl.h>

#include "win32/views/ViewIds.h"

namespace quorvane::views {
namespace {

constexpr UINT_PTR kProgressTimer = 1;
// The path label moves about ten times a second: lively to the eye, and no cost to the walk.
constexpr UINT kProgressIntervalMs = 100;
// Between the side picture and the pages, in dialog units.
constexpr int kPageMargin = 4;

// A page of the wizard: unlike a tab page it stands on the dialog's own background.
class WizardPage final : public PagePanel {
 public:
  using PagePanel::PagePanel;

 protected:
  bool OnInit() override { return true; }
};

}  // namespace

NetscapeWizardView::NetscapeWizardView(ProfileWizardPresenter& presenter)
    : Dialog(IDD_NSWIZARD), presenter_(presenter) {}

HWND NetscapeWizardView::Open(HWND owner) {
  const HWND window = Create(owner);
  if (window) ShowWindow(window, SW_SHOW);
  return window;
}

bool NetscapeWizardView::OnInit() {
  const HINSTANCE module = GetModuleHandleW(nullptr);
  const auto icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_NSWIZARD),
                                                  IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  SendMessageW(Item(IDC_NS_PICTURE1), STM_SETIMAGE, IMAGE_BITMAP,
               reinterpret_cast<LPARAM>(LoadImageW(module, MAKEINTRESOURCEW(IDB_NSWIZARD),
                                                   IMAGE_BITMAP, 0, 0, LR_SHARED)));
  SetWindowPos(Handle(), nullptr, 0, 0, TwipsToPixels(Handle(), wizard_layout::kWindowWidth),
               TwipsToPixels(Handle(), wizard_layout::kWindowHeight),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  CreatePages();
  SendMessageW(pages_[0]->Item(IDC_NS_PICNETSCAPE), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  BindControls();
  presenter_.onClose = [this] { DestroyWindow(Handle()); };
  presenter_.Load();
  SetTimer(Handle(), kProgressTimer, kProgressIntervalMs, nullptr);
  SetFocus(pages_[0]->Item(IDC_NS_CMDNEXT));
  return false;
}

void NetscapeWizardView::CreatePages() {
  // The picture keeps its pixels whatever the font, so the pages start a margin beyond it.
  RECT picture{};
  GetWindowRect(Item(IDC_NS_PICTURE1), &picture);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&picture), 2);
  RECT margin{kPageMargin, 0, kPageMargin, 0};
  MapDialogRect(Handle(), &margin);
  const RECT place{picture.right + margin.left, 0, 0, 0};
  RECT client{};
  GetClientRect(Handle(), &client);
  const int templates[] = {IDD_NSWIZARD_PAGE1, IDD_NSWIZARD_PAGE2, IDD_NSWIZARD_PAGE3};
  for (size_t i = 0; i < pages_.size(); ++i) {
    pages_[i] = std::make_unique<WizardPage>(templates[i]);
    const HWND page = pages_[i]->Create(Handle());
    // Every page stands at the first page's place.
    SetWindowPos(page, nullptr, place.left, 0, client.right - place.left, client.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void NetscapeWizardView::BindControls() {
  ProfileWizardPresenter& p = presenter_;
  bindings.BindCustom(Handle(), p.Form,
                      [this] { DrawCaption(Handle(), presenter_.Form.Caption()); });
  bindings.BindPanel(pages_[0]->Handle(), p.Frame1);
  bindings.BindPanel(pages_[1]->Handle(), p.Frame2);
  bindings.BindPanel(pages_[2]->Handle(), p.Frame3);

  const PagePanel& first = *pages_[0];
  bindings.Bind(first.Item(IDC_NS_LABEL1), p.Label1);
  bindings.Bind(first.Item(IDC_NS_LBLNETSCAPEVERSION), p.lblNetscapeVersion);
  bindings.Bind(first.Item(IDC_NS_LABEL2), p.Label2);
  bindings.Bind(first.Item(IDC_NS_CMDNEXT), p.cmdNext);
  bindings.Bind(first.Item(IDC_NS_CMDSKIP), p.cmdSkip);

  const PagePanel& second = *pages_[1];
  bindings.Bind(second.Item(IDC_NS_LABEL3), p.Label3);
  bindings.Bind(second.Item(IDC_NS_LBLSCAN), p.lblScan);
  bindings.Bind(second.Item(IDC_NS_LBLPATH), p.lblPath);
  bindings.Bind(second.Item(IDC_NS_PROGRESSBAR1), p.ProgressBar1);
  bindings.Bind(second.Item(IDC_NS_CMDSTOP), p.CmdStop);

  const PagePanel& third = *pages_[2];
  bindings.Bind(third.Item(IDC_NS_LABEL4), p.Label4);
  bindings.Bind(third.Item(IDC_NS_LISTVIEW1), p.ListView1);
  bindings.Bind(third.Item(IDC_NS_CMDOK), p.cmdOK);
  bindings.Bind(third.Item(IDC_NS_CMDCANCEL), p.CmdCancel);
}

bool NetscapeWizardView::OnCommand(int id, int /*code*/, HWND /*control*/) {
  if (id != IDOK && id != IDCANCEL) return false;
  // The page shown decides what Enter and Escape press; a page's buttons stay the only way.
  ProfileWizardPresenter& p = presenter_;
  if (p.Frame1.Visible()) {
    (id == IDOK ? p.cmdNext : p.cmdSkip).Click();
  } else if (p.Frame2.Visible()) {
    if (id == IDCANCEL) p.CmdStop.Click();
  } else if (p.Frame3.Visible()) {
    (id == IDOK ? p.cmdOK : p.CmdCancel).Click();
  }
  return true;
}

std::optional<INT_PTR> NetscapeWizardView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam != kProgressTimer) return std::nullopt;
      presenter_.Tick();
      return TRUE;
    case WM_SETCURSOR:
      // The search runs behind the window, which stays usable: the pointer says both.
      if (!presenter_.Busy() || LOWORD(lParam) != HTCLIENT) return std::nullopt;
      SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
      SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, TRUE);
      return TRUE;
    case WM_CLOSE:
      DestroyWindow(Handle());
      return TRUE;
    default:
      return std::nullopt;
  }
}

void NetscapeWizardView::OnDestroy() {
  KillTimer(Handle(), kProgressTimer);
  // The search ends before the window's models could be drawn again.
  presenter_.Shutdown();
  presenter_.onClose = nullptr;
}

}  // namespace quorvane::views
