#pragma once
// Drives a running program's windows from another process, as a user would: windows and
// controls are found by the captions the user sees, buttons and check boxes are pressed,
// and tabs and menus are clicked with the X server's own mouse (xdotool), which is the
// input that reaches another process's windows under Wine's virtual desktop.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::testing {

// A program started for a test; ended when the object goes, if it still runs.
class RunningProgram {
 public:
  RunningProgram(std::string_view commandLine, std::string_view workingFolder);
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool Started() const { return process_ != nullptr; }
  DWORD Id() const { return id_; }
  // True when the program ended within the time; its exit code goes to `exitCode`.
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr) const;

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// Polls `condition` until it holds or `timeoutMs` has passed; returns its last result.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 20000);

// The visible top-level windows of a process whose caption is exactly `caption`.
std::vector<HWND> TopLevelWindows(DWORD processId, std::string_view caption);
// Waits for one such window; null when none showed within the time.
HWND WaitForWindow(DWORD processId, std::string_view caption, DWORD timeoutMs = 20000);

// A descendant control of `window` whose text is exactly `caption` (any depth, hidden
// pages included); null when there is none. `className` narrows the search when given.
HWND FindControl(HWND window, std::string_view caption, std::string_view className = {});
// Every descendant control of the class, in the order the window lists them.
std::vector<HWND> Controls(HWND window, std::string_view className);

std::string Text(HWND window);
bool IsChecked(HWND checkBox);
// Shown on screen: the control and every window above it are visible.
bool IsShown(HWND control);
// Presses a button or check box as a click does (BM_CLICK, posted).
void Press(HWND button);
// The control that has the keyboard in the thread that owns `window`.
HWND FocusedControl(HWND window);

// The X server's mouse and keyboard, at screen coordinates of the virtual desktop.
bool ClickAt(int x, int y);
bool ClickCentre(const RECT& screenRect);
bool PressKeys(std::string_view keys);  // xdotool key names, e.g. "alt+c" or "Escape"
// Clicks the tab at `index` of a tab control in another process.
bool ClickTab(HWND tabControl, int index);
// The caption of the tab at `index` of a tab control in another process.
std::string TabText(HWND tabControl, int index);
// Clicks the menu bar of a top-level window at `offsetX` pixels from its left edge.
bool ClickMenuBar(HWND window, int offsetX);
// Saves the screen, or the part of it in `area` (screen coordinates), as a PNG file at a
// Linux path.
bool SaveScreenshot(std::string_view unixPngPath, const RECT* area = nullptr);

// Runs a Linux program (the X tools) from inside Wine and waits for it.
bool RunUnixTool(std::string_view commandLine);
// The Linux form of a Windows path, as the X tools need it.
std::string UnixPath(std::string_view windowsPath);

}  // namespace quorvane::testing
