#include "win32/platform/Win32WindowServices.h"

#include <windows.h>
// The interface names its call after the platform's; the macro would rename the member.
#undef MessageBox

#include "win32/platform/WideText.h"

namespace quorvane::win32 {

namespace {

// Kernel object names may not hold a back-slash after their namespace prefix.
std::wstring TokenPart(std::wstring text) {
  for (auto& c : text) {
    if (c == L'\\') c = L'_';
  }
  return text;
}

std::wstring UserName() {
  wchar_t name[257] = {};
  DWORD length = 257;
  return GetUserNameW(name, &length) ? std::wstring(name) : std::wstring();
}

}  // namespace

void DispatchToDialogs(MSG& message) {
  const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (root && IsDialogMessageW(root, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

Win32WindowServices::~Win32WindowServices() {
  ReleaseSingleInstance();
  if (holdsCleanTurn_) ReleaseMutex(cleanTurn_);
  if (cleanTurn_) CloseHandle(cleanTurn_);
}

int Win32WindowServices::MessageBox(std::string_view text, std::string_view title,
                                    std::uint32_t style) {
  return MessageBoxW(GetActiveWindow(), Widen(text).c_str(), Widen(title).c_str(), style);
}

void Win32WindowServices::ProcessPendingEvents() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // The quit belongs to the main loop; hand it back so the program still ends.
      PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    DispatchToDialogs(message);
  }
}

std::wstring Win32WindowServices::SingleInstanceMutexName(std::string_view name) {
  // "Local\" keeps the token inside the user's session; the user name keeps apart two users
  // who share one session.
  return L"Local\\" + TokenPart(Widen(name)) + L".SingleInstance." + TokenPart(UserName());
}

bool Win32WindowServices::AcquireSingleInstance(std::string_view name) {
  if (instanceMutex_) return name == instanceName_;
  HANDLE mutex = CreateMutexW(nullptr, FALSE, SingleInstanceMutexName(name).c_str());
  // A mutex that cannot be created at all does not keep the program from running.
  if (!mutex) return true;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return false;
  }
  instanceMutex_ = mutex;
  instanceName_ = name;
  return true;
}

void Win32WindowServices::ReleaseSingleInstance() {
  if (!instanceMutex_) return;
  // The last handle to the named mutex goes, and with it the name.
  CloseHandle(instanceMutex_);
  instanceMutex_ = nullptr;
  instanceName_.clear();
}

bool Win32WindowServices::InstanceRunning(std::string_view name) {
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, SingleInstanceMutexName(name).c_str());
  if (!mutex) return false;
  CloseHandle(mutex);
  return true;
}

bool Win32WindowServices::WaitForCleanTurn(std::uint32_t milliseconds) {
  if (holdsCleanTurn_) return true;
  if (!cleanTurn_) {
    const std::wstring name = L"Local\\Quorvane.CleanTurn." + TokenPart(UserName());
    cleanTurn_ = CreateMutexW(nullptr, FALSE, name.c_str());
    // Without the mutex the clean runs: one clean at a time is a courtesy, not a safety rule.
    if (!cleanTurn_) return true;
  }
  const DWORD waited = WaitForSingleObject(cleanTurn_, milliseconds);
  // An abandoned turn belonged to a program that ended during its clean; it is ours now.
  holdsCleanTurn_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
  return holdsCleanTurn_;
}

void Win32WindowServices::EndCleanTurn() {
  if (!holdsCleanTurn_) return;
  ReleaseMutex(cleanTurn_);
  holdsCleanTurn_ = false;
}

}  // namespace quorvane::win32
