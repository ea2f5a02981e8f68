#include "win32/views/TipView.h"

#include "win32/views/ViewIds.h"

namespace quorvane::views {

TipView::TipView(TipPresenter& presenter) : Dialog(IDD_TIP), presenter_(presenter) {}

TipView::~TipView() {
  if (headingFont_) DeleteObject(headingFont_);
}

bool TipView::OnInit() {
  SendMessageW(Item(IDC_PICTURE1), STM_SETICON,
               reinterpret_cast<WPARAM>(LoadIconW(nullptr, IDI_INFORMATION)), 0);
  headingFont_ = CreateHeadingFont(Handle(), 120, true);
  SendMessageW(Item(IDC_LABEL1), WM_SETFONT, reinterpret_cast<WPARAM>(headingFont_), TRUE);

  TipPresenter& p = presenter_;
  bindings.BindCustom(Handle(), p.Form,
                      [this] { DrawCaption(Handle(), presenter_.Form.Caption()); });
  bindings.Bind(Item(IDC_LABEL1), p.Label1);
  bindings.Bind(Item(IDC_LBLTIPTEXT), p.lblTipText);
  bindings.Bind(Item(IDC_CHKLOADTIPSATSTARTUP), p.chkLoadTipsAtStartup);
  bindings.Bind(Item(IDC_CMDNEXTTIP), p.cmdNextTip);
  bindings.Bind(Item(IDC_CMDOK), p.cmdOK);
  p.onClose = [this] { EndModal(IDOK); };
  // The tip opens before any other window of the program; it takes the keyboard at once.
  SetForegroundWindow(Handle());
  SetFocus(Item(IDC_CMDOK));
  return false;
}

bool TipView::OnCommand(int id, int /*code*/, HWND /*control*/) {
  if (id != IDOK && id != IDCANCEL) return false;
  // Enter presses OK (the default button takes it as a click); Escape and the close box
  // simply close the window, as OK does.
  EndModal(id);
  return true;
}

RECT TipView::TipPanel() const {
  RECT panel{7, 7, 255, 112};
  MapDialogRect(Handle(), &panel);
  return panel;
}

std::optional<INT_PTR> TipView::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      const auto dc = reinterpret_cast<HDC>(wParam);
      RECT client{};
      GetClientRect(Handle(), &client);
      FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
      RECT panel = TipPanel();
      FillRect(dc, &panel, GetSysColorBrush(COLOR_WINDOW));
      DrawEdge(dc, &panel, EDGE_SUNKEN, BF_RECT);
      SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, TRUE);
      return TRUE;
    }
    case WM_CTLCOLORSTATIC: {
      const auto control = reinterpret_cast<HWND>(lParam);
      if (control == Item(IDC_CHKLOADTIPSATSTARTUP)) return std::nullopt;
      // The picture, the heading and the tip stand on the white panel.
      const auto dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_WINDOW));
    }
    default:
      return std::nullopt;
  }
}

}  // namespace quorvane::views
