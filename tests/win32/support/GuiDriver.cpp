#include "support/GuiDriver.h"

#include <commctrl.h>

#include "win32/platform/WideText.h"

namespace quorvane::testing {
using win32::Narrow;
using win32::Widen;

namespace {

constexpr DWORD kPollMs = 100;
constexpr UINT kMessageTimeoutMs = 5000;

std::string ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return Narrow(name);
}

struct ControlSearch {
  std::string caption;
  std::string className;
  bool matchCaption = true;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectControl(HWND control, LPARAM lParam) {
  auto& search = *reinterpret_cast<ControlSearch*>(lParam);
  if (!search.className.empty() &&
      _stricmp(ClassOf(control).c_str(), search.className.c_str()) != 0) {
    return TRUE;
  }
  if (search.matchCaption && Text(control) != search.caption) return TRUE;
  search.found.push_back(control);
  return TRUE;
}

struct WindowSearch {
  DWORD processId;
  std::string caption;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
  auto& search = *reinterpret_cast<WindowSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search.processId && IsWindowVisible(window) && Text(window) == search.caption) {
    search.found.push_back(window);
  }
  return TRUE;
}

// Coordinates must be the real pixels on both sides, whatever the system's scaling, so the
// driving process declares itself DPI aware before it reads any window's position.
[[maybe_unused]] const bool kDpiAware = SetProcessDPIAware() != FALSE;

}  // namespace

RunningProgram::RunningProgram(std::string_view commandLine, std::string_view workingFolder) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  std::wstring command = Widen(commandLine);
  const std::wstring folder = Widen(workingFolder);
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
  }
}

RunningProgram::~RunningProgram() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 10000);
  }
  CloseHandle(process_);
}

bool RunningProgram::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
  if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode) GetExitCodeProcess(process_, exitCode);
  return true;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (true) {
    if (condition()) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(kPollMs);
  }
}

std::vector<HWND> TopLevelWindows(DWORD processId, std::string_view caption) {
  WindowSearch search{processId, std::string(caption), {}};
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(DWORD processId, std::string_view caption, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        const auto windows = TopLevelWindows(processId, caption);
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

HWND FindControl(HWND window, std::string_view caption, std::string_view className) {
  ControlSearch search{std::string(caption), std::string(className), true, {}};
  EnumChildWindows(window, &CollectControl, reinterpret_cast<LPARAM>(&search));
  return search.found.empty() ? nullptr : search.found.front();
}

std::vector<HWND> Controls(HWND window, std::string_view className) {
  ControlSearch search{{}, std::string(className), false, {}};
  EnumChildWindows(window, &CollectControl, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string Text(HWND window) {
  wchar_t text[4096] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text),
                           SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied)) {
    return {};
  }
  return Narrow(std::wstring_view(text, copied));
}

bool IsChecked(HWND checkBox) {
  DWORD_PTR state = 0;
  SendMessageTimeoutW(checkBox, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &state);
  return state == BST_CHECKED;
}

bool IsShown(HWND control) { return control && IsWindowVisible(control); }

void Press(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

HWND FocusedControl(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  const DWORD thread = GetWindowThreadProcessId(window, nullptr);
  return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

bool RunUnixTool(std::string_view commandLine) {
  // Wine starts a Linux program but hands back no process handle to wait on, so the shell
  // that runs it leaves its exit code in a marker file, which this side waits for.
  wchar_t folder[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, folder);
  wchar_t markerPath[MAX_PATH + 1] = {};
  if (!GetTempFileNameW(folder, L"qvx", 0, markerPath)) return false;
  DeleteFileW(markerPath);
  const std::string marker = UnixPath(Narrow(markerPath));
  if (marker.empty()) return false;
  std::wstring command =
      L"Z:\\bin\\sh -c \"" + Widen(commandLine) + L"; echo $? > '" + Widen(marker) + L"'\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return false;
  }
  if (info.hThread) CloseHandle(info.hThread);
  if (info.hProcess) CloseHandle(info.hProcess);
  std::string exitCode;
  WaitUntil(
      [&] {
        HANDLE file = CreateFileW(markerPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        char text[16] = {};
        DWORD got = 0;
        ReadFile(file, text, sizeof(text) - 1, &got, nullptr);
        CloseHandle(file);
        exitCode.assign(text, got);
        // The shell writes the code and its line end at once; until then keep waiting.
        return exitCode.find('\n') != std::string::npos;
      },
      30000);
  DeleteFileW(markerPath);
  return exitCode == "0\n";
}

std::string UnixPath(std::string_view windowsPath) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  const auto toUnix = reinterpret_cast<ToUnix>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name"));
  if (!toUnix) return {};
  char* unixPath = toUnix(Widen(windowsPath).c_str());
  if (!unixPath) return {};
  std::string result(unixPath);
  HeapFree(GetProcessHeap(), 0, unixPath);
  return result;
}

bool ClickAt(int x, int y) {
  const bool clicked = RunUnixTool("/usr/bin/xdotool mousemove " + std::to_string(x) + " " +
                                   std::to_string(y) + " click 1");
  // The click travels from the X server through Wine's desktop to the window; give the
  // other process a moment to take it before the test looks.
  Sleep(300);
  return clicked;
}

bool ClickCentre(const RECT& screenRect) {
  return ClickAt((screenRect.left + screenRect.right) / 2,
                 (screenRect.top + screenRect.bottom) / 2);
}

bool PressKeys(std::string_view keys) {
  const bool pressed = RunUnixTool("/usr/bin/xdotool key " + std::string(keys));
  Sleep(300);
  return pressed;
}

namespace {

// Memory in another process, for the controls' messages that answer through a pointer: the
// answer is written there and read back.
class RemoteBuffer {
 public:
  RemoteBuffer(HWND control, SIZE_T size) {
    DWORD processId = 0;
    GetWindowThreadProcessId(control, &processId);
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

  char* Address() const { return static_cast<char*>(address_); }
  bool Write(SIZE_T offset, const void* data, SIZE_T size) const {
    SIZE_T done = 0;
    return address_ && WriteProcessMemory(process_, Address() + offset, data, size, &done);
  }
  bool Read(SIZE_T offset, void* data, SIZE_T size) const {
    SIZE_T done = 0;
    return address_ && ReadProcessMemory(process_, Address() + offset, data, size, &done);
  }

 private:
  HANDLE process_ = nullptr;
  void* address_ = nullptr;
};

bool Ask(HWND control, UINT message, WPARAM wParam, const RemoteBuffer& buffer) {
  DWORD_PTR result = 0;
  return buffer.Address() &&
         SendMessageTimeoutW(control, message, wParam, reinterpret_cast<LPARAM>(buffer.Address()),
                             SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result) &&
         result != 0;
}

}  // namespace

bool ClickTab(HWND tabControl, int index) {
  RemoteBuffer buffer(tabControl, sizeof(RECT));
  RECT rect{};
  if (!Ask(tabControl, TCM_GETITEMRECT, static_cast<WPARAM>(index), buffer) ||
      !buffer.Read(0, &rect, sizeof(rect))) {
    return false;
  }
  MapWindowPoints(tabControl, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return ClickCentre(rect);
}

std::string TabText(HWND tabControl, int index) {
  constexpr int kChars = 256;
  RemoteBuffer buffer(tabControl, sizeof(TCITEMW) + kChars * sizeof(wchar_t));
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = reinterpret_cast<wchar_t*>(buffer.Address() + sizeof(TCITEMW));
  item.cchTextMax = kChars;
  wchar_t text[kChars] = {};
  if (!buffer.Write(0, &item, sizeof(item)) ||
      !Ask(tabControl, TCM_GETITEMW, static_cast<WPARAM>(index), buffer) ||
      !buffer.Read(sizeof(TCITEMW), text, sizeof(text) - sizeof(wchar_t))) {
    return {};
  }
  return Narrow(text);
}

bool ClickMenuBar(HWND window, int offsetX) {
  RECT frame{};
  GetWindowRect(window, &frame);
  POINT clientTop{0, 0};
  ClientToScreen(window, &clientTop);
  return ClickAt(frame.left + offsetX, clientTop.y - GetSystemMetrics(SM_CYMENU) / 2);
}

bool SaveScreenshot(std::string_view unixPngPath, const RECT* area) {
  std::string crop;
  if (area) {
    crop = " -crop " + std::to_string(area->right - area->left) + "x" +
           std::to_string(area->bottom - area->top) + "+" + std::to_string(area->left) + "+" +
           std::to_string(area->top) + " +repage";
  }
  return RunUnixTool("/usr/bin/import -window root" + crop + " '" + std::string(unixPngPath) + "'");
}

}  // namespace quorvane::testing
