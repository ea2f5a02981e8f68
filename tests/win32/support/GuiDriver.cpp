#include "support/GuiDriver.h"

#include <commctrl.h>

#include <cstdio>
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
    if (owner == processId && IsWindowVisible(window) && Text(window) == caption) {
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
  GetWindowTextW(window, text, 4096);
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

bool SetListCheck(HWND list, int row, bool checked) {
  const RemoteBuffer remote(list, sizeof(LVITEMW));
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  return remote.Write(&item, sizeof(item)) &&
         SendMessageW(list, LVM_SETITEMSTATE, row, remote.at()) != FALSE;
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

}  // namespace quorvane::testing
