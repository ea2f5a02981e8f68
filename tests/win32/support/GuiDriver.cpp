#include "support/GuiDriver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "win32/platform/WideText.h"

namespace quorvane::testing {
using win32::Widen;

namespace {

// Real pixels on both sides whatever the scaling, before any window's position is read.
[[maybe_unused]] const bool kDpiAware = SetProcessDPIAware() != FALSE;

BOOL CALLBACK Collect(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

}  // namespace

// Wine hands back no process handle of a Linux program to wait on, so the shell that runs
// the X tool leaves its exit code in a marker file, which this side waits for.
bool RunUnixTool(const std::string& commandLine) {
  const std::string marker = "/tmp/quorvane-gui-" + std::to_string(GetCurrentProcessId());
  RunningProgram shell("Z:\\bin\\sh -c \"" + commandLine + "; echo $? > " + marker + "\"",
                       "Z:\\tmp");
  std::string exitCode;
  WaitUntil(  // a line without its end is still being written
      [&] {
        std::ifstream file("Z:" + marker);
        return std::getline(file, exitCode) && !file.eof();
      },
      30000);
  std::remove(("Z:" + marker).c_str());
  // Input goes on through Wine's desktop: the other process takes it a moment later.
  Sleep(300);
  return exitCode == "0";
}

namespace {

bool ClickAt(int x, int y) {
  return RunUnixTool("/usr/bin/xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) +
                     " click 1");
}

// Memory in the process that owns `window`, for a common control's answer through a
// pointer (the system carries only the standard controls' texts between processes).
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, size_t size) : size_(size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    process_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  void* At(size_t offset) const { return static_cast<char*>(address_) + offset; }
  bool Write(size_t offset, const void* bytes, size_t size) const {
    return WriteProcessMemory(process_, At(offset), bytes, size, nullptr) != FALSE;
  }
  bool Read(size_t offset, void* bytes, size_t size) const {
    return offset + size <= size_ && ReadProcessMemory(process_, At(offset), bytes, size, nullptr);
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
  size_t size_;
};

LRESULT Ask(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
  return static_cast<LRESULT>(result);
}

constexpr size_t kTextChars = 1024;

}  // namespace

RunningProgram::RunningProgram(std::string commandLine, const std::string& workingFolder) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  std::wstring command = Widen(commandLine);
  CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                 Widen(workingFolder).c_str(), &startup, &info);
  CloseHandle(info.hThread);
}

RunningProgram::~RunningProgram() {
  TerminateProcess(info.hProcess, 1);  // fails harmlessly when it has ended or never started
  WaitForSingleObject(info.hProcess, 10000);
  CloseHandle(info.hProcess);
}

bool RunningProgram::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
  return WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0 &&
         (!exitCode || GetExitCodeProcess(info.hProcess, exitCode));
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  for (const ULONGLONG deadline = GetTickCount64() + timeoutMs; !condition(); Sleep(100)) {
    if (GetTickCount64() >= deadline) return false;
  }
  return true;
}

std::vector<HWND> TopLevelWindows(DWORD processId, std::string_view caption) {
  std::vector<HWND> all, found;
  EnumWindows(&Collect, reinterpret_cast<LPARAM>(&all));
  for (HWND window : all) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((processId == kAnyProcess || owner == processId) && IsWindowVisible(window) &&
        Text(window) == caption) {
      found.push_back(window);
    }
  }
  return found;
}

HWND WaitForWindow(DWORD processId, std::string_view caption, DWORD timeoutMs) {
  std::vector<HWND> windows;
  WaitUntil([&] { return !(windows = TopLevelWindows(processId, caption)).empty(); }, timeoutMs);
  return windows.empty() ? nullptr : windows.front();
}

std::vector<HWND> Descendants(HWND window) {
  std::vector<HWND> found;
  EnumChildWindows(window, &Collect, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND FindControl(HWND window, std::string_view caption) {
  for (HWND control : Descendants(window)) {
    if (Text(control) == caption) return control;
  }
  return nullptr;
}

std::string Text(HWND window) {
  wchar_t text[4096] = {};
  wchar_t className[32] = {};
  GetClassNameW(window, className, 32);
  if (lstrcmpiW(className, L"Edit") == 0) {
    // For another process's window GetWindowText returns only the text the system keeps,
    // which an edit box does not use: ask the box itself.
    Ask(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
  } else {
    // The kept text needs no answer from the window, so it can be read while the program is
    // busy (a clean run between two targets answers nothing).
    GetWindowTextW(window, text, 4096);
  }
  return win32::Narrow(text);
}

void Press(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

bool PressKeys(std::string_view keys) {
  return RunUnixTool("/usr/bin/xdotool key " + std::string(keys));
}

bool ClickTab(HWND tabControl, int index) {
  // The control answers through a pointer, so its answer goes to memory in its own process.
  DWORD processId = 0;
  GetWindowThreadProcessId(tabControl, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ, FALSE, processId);
  void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT, PAGE_READWRITE);
  RECT rect{};
  DWORD_PTR found = 0;
  SendMessageTimeoutW(tabControl, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(remote),
                      SMTO_ABORTIFHUNG, 5000, &found);
  found = found && ReadProcessMemory(process, remote, &rect, sizeof(rect), nullptr);
  VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  CloseHandle(process);
  MapWindowPoints(tabControl, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return found && ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

bool ClickMenuBar(HWND window, int offsetX) {
  RECT frame{};
  GetWindowRect(window, &frame);
  POINT clientTop{0, 0};
  ClientToScreen(window, &clientTop);
  return ClickAt(frame.left + offsetX, clientTop.y - GetSystemMetrics(SM_CYMENU) / 2);
}

bool SaveScreenshot(const std::string& unixPngPath, const RECT& area) {
  return RunUnixTool("/usr/bin/import -window root -crop " +
                     std::to_string(area.right - area.left) + "x" +
                     std::to_string(area.bottom - area.top) + "+" + std::to_string(area.left) +
                     "+" + std::to_string(area.top) + " +repage " + unixPngPath);
}

void Picture(const std::string& name, HWND window, HWND over) {
  RECT area{}, part{};
  GetWindowRect(window, &area);
  if (over && GetWindowRect(over, &part)) UnionRect(&area, &area, &part);
  if (const char* folder = std::getenv("QUORVANE_SCREENSHOTS")) {
    if (!SaveScreenshot(folder + ("/" + name + ".png"), area)) ADD_FAILURE() << name;
  }
}

std::vector<std::string> ListBoxItems(HWND listBox) {
  // The system carries a list box's texts between processes itself, as it does WM_GETTEXT.
  std::vector<std::string> items;
  const auto count = static_cast<int>(Ask(listBox, LB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    wchar_t text[kTextChars] = {};
    if (Ask(listBox, LB_GETTEXTLEN, i, 0) >= static_cast<LRESULT>(kTextChars)) continue;
    Ask(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    items.push_back(win32::Narrow(text));
  }
  return items;
}

std::vector<std::string> ListViewTexts(HWND listView) {
  std::vector<std::string> texts;
  RemoteBuffer buffer(listView, sizeof(LVITEMW) + kTextChars * sizeof(wchar_t));
  const auto count = static_cast<int>(Ask(listView, LVM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = static_cast<wchar_t*>(buffer.At(sizeof(LVITEMW)));
    item.cchTextMax = kTextChars;
    buffer.Write(0, &item, sizeof(item));
    Ask(listView, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(buffer.At(0)));
    wchar_t text[kTextChars] = {};
    buffer.Read(sizeof(LVITEMW), text, sizeof(text) - sizeof(wchar_t));
    texts.push_back(win32::Narrow(text));
  }
  return texts;
}

void SelectListViewItem(HWND listView, int index) {
  RemoteBuffer buffer(listView, sizeof(LVITEMW));
  LVITEMW item{};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  buffer.Write(0, &item, sizeof(item));
  Ask(listView, LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(buffer.At(0)));
}

void SetText(HWND control, std::string_view text) {
  const std::wstring wide = Widen(text);
  Ask(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void ChooseItem(HWND control, int index, bool open) {
  wchar_t className[32] = {};
  GetClassNameW(control, className, 32);
  const bool comboBox = _wcsicmp(className, L"ComboBox") == 0;
  const bool extended = (GetWindowLongPtrW(control, GWL_STYLE) & LBS_EXTENDEDSEL) != 0;
  if (comboBox) {
    Ask(control, CB_SETCURSEL, index, 0);
  } else if (extended) {
    Ask(control, LB_SETSEL, TRUE, index);
    Ask(control, LB_SETCARETINDEX, index, 0);
  } else {
    Ask(control, LB_SETCURSEL, index, 0);
  }
  const WORD code = comboBox ? CBN_SELCHANGE : open ? LBN_DBLCLK : LBN_SELCHANGE;
  PostMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

}  // namespace quorvane::testing
