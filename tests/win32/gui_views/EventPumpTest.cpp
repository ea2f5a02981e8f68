// The event pump that runs while a clean works, against real windows.

#include <windows.h>

#include <gtest/gtest.h>

#include "win32/platform/Win32WindowServices.h"

namespace quorvane::win32 {
namespace {

// A clean runs inside a dialog and pumps its events meanwhile: Enter there must still press
// the dialog's default button.
TEST(Win32WindowServicesTest, ThePumpHandsDialogKeysToTheirDialog) {
  // A pop-up holding one default push button, laid out word by word as the template asks.
  constexpr DWORD kDialog = WS_POPUP, kButton = WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON;
  alignas(DWORD) const WORD layout[] = {LOWORD(kDialog),
                                        HIWORD(kDialog),
                                        0,
                                        0,
                                        1,
                                        0,
                                        0,
                                        100,
                                        50,
                                        0,
                                        0,
                                        0,
                                        LOWORD(kButton),
                                        HIWORD(kButton),
                                        0,
                                        0,
                                        5,
                                        5,
                                        40,
                                        14,
                                        IDOK,
                                        0xFFFF,
                                        0x0080,
                                        0,
                                        0};
  static bool pressed = false;
  const DLGPROC procedure = [](HWND, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) pressed = true;
    return FALSE;
  };
  HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                           reinterpret_cast<const DLGTEMPLATE*>(layout), nullptr,
                                           procedure, 0);
  ASSERT_NE(dialog, nullptr);
  PostMessageW(GetDlgItem(dialog, IDOK), WM_KEYDOWN, VK_RETURN, 0);
  Win32WindowServices().ProcessPendingEvents();
  EXPECT_TRUE(pressed);
  DestroyWindow(dialog);
}

}  // namespace
}  // namespace quorvane::win32
