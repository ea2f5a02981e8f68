#include "MainWindow.h"

#include "win32/platform/WideText.h"

namespace quorvane::app {

namespace {

constexpr wchar_t kClassName[] = L"QuorvaneMainWindow";
// 7200 by 6400 twips at the usual 96 dots per inch.
constexpr int kWidth = 480;
constexpr int kHeight = 427;

}  // namespace

bool MainWindow::Create() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance_;
  windowClass.lpszClassName = kClassName;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassExW(&windowClass);
  window_ = CreateWindowExW(0, kClassName, L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                            kWidth, kHeight, nullptr, nullptr, instance_, this);
  return window_ != nullptr;
}

void MainWindow::Show(int showCommand) {
  if (!window_ && !Create()) return;
  ShowWindow(window_, showCommand);
  UpdateWindow(window_);
}

void MainWindow::SetCaption(std::string_view caption) {
  if (window_) SetWindowTextW(window_, win32::Widen(caption).c_str());
}

LRESULT CALLBACK MainWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return self ? self->HandleMessage(message, wParam, lParam)
              : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_HELP:
      // A missing help file is the shell's to report.
      if (!helpFile_.empty()) (void)shell_.OpenDocument(helpFile_);
      return TRUE;
    case WM_DESTROY:
      // The main window is the program's last window: closing it ends the program.
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

}  // namespace quorvane::app
