#pragma once
// The tip window that start-up shows before the main window: for now a short modal notice
// with an OK button.

#include <windows.h>

namespace quorvane::app {

// Returns when the user has closed the window.
void ShowTipWindowModal(HINSTANCE instance, HWND owner);

}  // namespace quorvane::app
