#pragma once
// Drives a running program's windows from another process, as a user would: controls are
// found by their captions and pressed; clicks and keys go through the X server (xdotool), the
// input that reaches another process's windows under Wine.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::testing {

// A program started for a test; ended when the object goes, if it still runs.
struct RunningProgram {
  RunningProgram(std::string commandLine, const std::string& workingFolder);
  RunningProgram(const RunningProgram&) = delete;
  ~RunningProgram();
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const;
  DWORD Id() const { return info.dwProcessId; }
  PROCESS_INFORMATION info{};
};

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 20000);
// For the windows of a program that another one started (a document's viewer, say).
inline constexpr DWORD kAnyProcess = 0;
std::vector<HWND> TopLevelWindows(DWORD processId, std::string_view caption);  // visible ones
HWND WaitForWindow(DWORD processId, std::string_view caption, DWORD timeoutMs = 20000);
std::vector<HWND> Descendants(HWND window);  // hidden pages' controls included
HWND FindControl(HWND window, std::string_view caption);
std::string Text(HWND window);
void Press(HWND button);                // BM_CLICK, posted as a click is
bool PressKeys(std::string_view keys);  // xdotool key names, e.g. "alt+c" or "Escape"
bool ClickTab(HWND tabControl, int index);
bool ClickMenuBar(HWND window, int offsetX);  // `offsetX` pixels from the window's left edge
// A report list's rows as text, `columns` columns each.
std::vector<std::vector<std::string>> ListRows(HWND list, int columns);
// Ticks or unticks a row's check box through the control, which tells its window as a
// click on the box does.
bool SetListCheck(HWND list, int row, bool checked);
// Runs a Linux command line through /bin/sh; true when it exits with 0.
bool RunUnixTool(const std::string& commandLine);
bool SaveScreenshot(const std::string& unixPngPath, const RECT& area);
// Saves the window, with the one over it, as a picture for the README when
// scripts/screenshots asks (QUORVANE_SCREENSHOTS names the Linux folder); else nothing.
void Picture(const std::string& name, HWND window, HWND over = nullptr);

// Lists of another process, whose answers go through pointers into that process's memory.
std::vector<std::string> ListBoxItems(HWND listBox);
std::vector<std::string> ListViewTexts(HWND listView);  // the first column of each row
void SelectListViewItem(HWND listView, int index);
// Sets an edit box's text as typing would (the box tells its window of the change).
void SetText(HWND control, std::string_view text);
// Chooses a list box or combo box item and tells the window, as the mouse would.
void ChooseItem(HWND control, int index, bool open = false);
// Runs a Linux shell command line (quick set-ups that Wine would make slowly); true when it
// ended with status 0.
bool RunUnixTool(const std::string& commandLine);

}  // namespace quorvane::testing
