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

// Memory in the process that owns `window`, for messages that answer through a pointer.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND window, size_t size) : size_(size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    process_ =
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
    if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteBuffer() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;
  bool valid() const { return address_ != nullptr; }
  LPARAM at(size_t offset = 0) const {
    return reinterpret_cast<LPARAM>(static_cast<char*>(address_) + offset);
  }
  bool Write(const void* data, size_t size, size_t offset = 0) const {
    return offset + size <= size_ &&
           WriteProcessMemory(process_, reinterpret_cast<void*>(at(offset)), data, size, nullptr);
  }
  bool Read(void* data, size_t size, size_t offset = 0) const {
    return offset + size <= size_ &&
           ReadProcessMemory(process_, reinterpret_cast<void*>(at(offset)), data, size, nullptr);
  }

 private:
  size_t size_;
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

bool ClickAt(int x, int y) {
  return RunUnixTool("/usr/bin/xdotool mousemove " + std::to_string(x) + " " + std::to_string(y) +
                     " click 1");
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
  const RemoteBuffer remote(tabControl, sizeof(RECT));
  RECT rect{};
  DWORD_PTR found = 0;
  SendMessageTimeoutW(tabControl, TCM_GETITEMRECT, index, remote.at(), SMTO_ABORTIFHUNG, 5000,
                      &found);
  found = found && remote.Read(&rect, sizeof(rect));
  MapWindowPoints(tabControl, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return found && ClickAt((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

std::vector<std::vector<std::string>> ListRows(HWND list, int columns) {
  constexpr int kTextLength = 1024;
  const RemoteBuffer remote(list, sizeof(LVITEMW) + kTextLength * sizeof(wchar_t));
  std::vector<std::vector<std::string>> rows;
  const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count && remote.valid(); ++row) {
    std::vector<std::string>& texts = rows.emplace_back();
    for (int column = 0; column < columns; ++column) {
      LVITEMW item{};
      item.iSubItem = column;
      item.pszText = reinterpret_cast<wchar_t*>(remote.at(sizeof(LVITEMW)));
      item.cchTextMax = kTextLength;
      remote.Write(&item, sizeof(item));
      const auto length = SendMessageW(list, LVM_GETITEMTEXTW, row, remote.at());
      std::wstring text(static_cast<size_t>(length), L'\0');
      remote.Read(text.data(), text.size() * sizeof(wchar_t), sizeof(LVITEMW));
      texts.push_back(win32::Narrow(text));
    }
  }
  return rows;
}

namespace {
// Sets a list view row's state through memory of the list's own process.
bool SetRowState(HWND list, int row, UINT mask, UINT state) {
  const RemoteBuffer remote(list, sizeof(LVITEMW));
  LVITEMW item{};
  item.stateMask = mask;
  item.state = state;
  return remote.Write(&item, sizeof(item)) &&
         SendMessageW(list, LVM_SETITEMSTATE, row, remote.at()) != FALSE;
}
}  // namespace

bool SetListCheck(HWND list, int row, bool checked) {
  return SetRowState(list, row, LVIS_STATEIMAGEMASK, INDEXTOSTATEIMAGEMASK(checked ? 2 : 1));
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
  for (const auto& row : ListRows(listView, 1)) texts.push_back(row.front());
  return texts;
}

void SelectListViewItem(HWND listView, int index) {
  SetRowState(listView, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
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
