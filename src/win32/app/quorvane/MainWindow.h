#pragma once
// The program's main window: its home from start-up to exit. Closing it ends the program.

#include <windows.h>

#include <string>
#include <string_view>

#include "core/platform/Shell.h"

namespace quorvane::app {

class MainWindow {
 public:
  MainWindow(HINSTANCE instance, Shell& shell) : instance_(instance), shell_(shell) {}
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Creates the window on first use and shows it.
  void Show(int showCommand);
  void SetCaption(std::string_view caption);
  // The file that F1 opens.
  void SetHelpFile(std::string_view path) { helpFile_ = path; }
  HWND Handle() const { return window_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool Create();

  HINSTANCE instance_;
  Shell& shell_;
  HWND window_ = nullptr;
  std::string helpFile_;
};

}  // namespace quorvane::app
