#include "TipWindow.h"

namespace quorvane::app {

namespace {

INT_PTR CALLBACK TipProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

void ShowTipWindowModal(HINSTANCE instance, HWND owner) {
  DialogBoxParamW(instance, L"QUORVANE_TIP", owner, TipProc, 0);
}

}  // namespace quorvane::app
