#include "ResidentWindow.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace quorvane::kelverin {
namespace {

constexpr UINT_PTR kCheckTimer = 1;
// The schedule is checked once a minute, so a clean is never more than a minute late.
constexpr UINT kCheckIntervalMs = 60 * 1000;
constexpr DWORD kStopWaitMs = 10 * 1000;

// The window keeps its cleaner with it, handed over when the window is made.
companion::AutoCleaner& CleanerOf(HWND window) {
  return *reinterpret_cast<companion::AutoCleaner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK ResidentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  if (GetWindowLongPtrW(window, GWLP_USERDATA) == 0) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  switch (message) {
    case WM_TIMER:
      if (wParam == kCheckTimer && !CleanerOf(window).Tick()) DestroyWindow(window);
      return 0;
    case WM_QUERYENDSESSION:
      // The reason is what the user sees while the clean holds up the end of the session.
      ShutdownBlockReasonCreate(window, L"Cleaning the traces of this session.");
      CleanerOf(window).SessionEnding();
      ShutdownBlockReasonDestroy(window);
      return TRUE;
    case WM_ENDSESSION:
      // Cleans here too when the query was not sent to this window; once per ending.
      if (wParam) {
        CleanerOf(window).SessionEnding();
      } else {
        CleanerOf(window).SessionContinues();
      }
      return 0;
    case WM_CLOSE:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int RunResident(companion::AutoCleaner& cleaner) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = ResidentProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kResidentClass;
  RegisterClassW(&windowClass);
  // Never shown: a top-level window receives the session's end as every program does.
  const HWND window = CreateWindowExW(0, kResidentClass, kResidentTitle, WS_OVERLAPPED, 0, 0, 0, 0,
                                      nullptr, nullptr, instance, &cleaner);
  if (!window) return 1;
  SetTimer(window, kCheckTimer, kCheckIntervalMs, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

void StopResident() {
  // A copy busy with a clean closes when the clean is done; each window is asked once. The
  // answer waits for the processes to end as well: the installer replaces or deletes
  // Kelverin.exe next, and a copy on its way out still holds the file open.
  std::vector<HANDLE> copies;
  HWND asked = nullptr;
  const DWORD deadline = GetTickCount() + kStopWaitMs;
  const auto timeLeft = [deadline] {
    const LONG left = static_cast<LONG>(deadline - GetTickCount());
    return left > 0 ? static_cast<DWORD>(left) : 0;
  };
  for (HWND window = FindWindowW(kResidentClass, kResidentTitle); window && timeLeft() > 0;
       window = FindWindowW(kResidentClass, kResidentTitle)) {
    if (window != asked) {
      DWORD id = 0;
      GetWindowThreadProcessId(window, &id);
      if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id)) copies.push_back(process);
      PostMessageW(window, WM_CLOSE, 0, 0);
    }
    asked = window;
    Sleep(100);
  }
  for (HANDLE process : copies) {
    WaitForSingleObject(process, timeLeft());
    CloseHandle(process);
  }
}

companion::UtcSeconds SystemClock::NowUtc() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  constexpr ULONGLONG kUnixEpochTicks = 116444736000000000ULL;  // 1970-01-01 in 100 ns ticks
  return static_cast<companion::UtcSeconds>((ticks - kUnixEpochTicks) / 10000000ULL);
}

std::string SystemClock::LocalTimeText() {
  SYSTEMTIME local;
  GetLocalTime(&local);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", local.wYear, local.wMonth,
                local.wDay, local.wHour, local.wMinute, local.wSecond);
  return text;
}

}  // namespace quorvane::kelverin
