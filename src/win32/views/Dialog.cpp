#include "win32/views/Dialog.h"

namespace quorvane::views {

Dialog::~Dialog() {
  if (hwnd_ && !modal_) DestroyWindow(hwnd_);
}

INT_PTR Dialog::ShowModal(HWND owner) {
  modal_ = true;
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), owner,
                         &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
}

HWND Dialog::Create(HWND parent) {
  modal_ = false;
  return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent,
                            &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
}

void Dialog::EndModal(INT_PTR result) {
  if (hwnd_ && modal_) EndDialog(hwnd_, result);
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<Dialog*>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    self->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (!self) return FALSE;
  const INT_PTR result = self->Dispatch(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, DWLP_USER, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInit() ? TRUE : FALSE;
    case WM_COMMAND: {
      const auto control = reinterpret_cast<HWND>(lParam);
      const int code = HIWORD(wParam);
      if (control && bindings.Command(control, code)) return TRUE;
      return OnCommand(LOWORD(wParam), code, control) ? TRUE : FALSE;
    }
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (bindings.Notify(header)) return TRUE;
      return OnNotify(header) ? TRUE : FALSE;
    }
    case WM_DESTROY:
      // The models outlive the window; they must not draw into a control that is gone.
      bindings.DetachAll();
      OnDestroy();
      return FALSE;
    default:
      break;
  }
  if (const auto handled = OnMessage(message, wParam, lParam)) {
    return *handled;
  }
  return FALSE;
}

int TwipsToPixels(HWND window, int twips) {
  HDC dc = GetDC(window);
  const int dpi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(window, dc);
  return MulDiv(twips, dpi, 1440);
}

HFONT CreateHeadingFont(HWND dialog, int percent, bool bold) {
  LOGFONTW font{};
  auto base = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
  if (!base) base = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  GetObjectW(base, sizeof(font), &font);
  font.lfHeight = MulDiv(font.lfHeight, percent, 100);
  if (bold) font.lfWeight = FW_BOLD;
  return CreateFontIndirectW(&font);
}

}  // namespace quorvane::views
