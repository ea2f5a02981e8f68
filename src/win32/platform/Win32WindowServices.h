#pragma once
// Message boxes, the event pump and the single-instance token of a Windows program.

#include <string>

#include "core/platform/WindowServices.h"

struct tagMSG;

namespace quorvane::win32 {

// Dialog keys (Tab, Enter, Escape, access keys) go to whichever of the program's dialogs
// holds the message's window; everything else is dispatched as usual. Both the main loop
// and the pump that runs during a clean use it, so the keys work in either.
void DispatchToDialogs(tagMSG& message);

class Win32WindowServices final : public WindowServices {
 public:
  Win32WindowServices() = default;
  ~Win32WindowServices() override;
  Win32WindowServices(const Win32WindowServices&) = delete;
  Win32WindowServices& operator=(const Win32WindowServices&) = delete;

  int MessageBox(std::string_view text, std::string_view title, std::uint32_t style) override;
  void ProcessPendingEvents() override;
  // One token per program: a second name is refused while the first is held.
  bool AcquireSingleInstance(std::string_view name) override;
  void ReleaseSingleInstance() override;
  bool InstanceRunning(std::string_view name) override;
  // A named mutex that every clean of this user's session holds while it runs.
  bool WaitForCleanTurn(std::uint32_t milliseconds) override;
  void EndCleanTurn() override;

  // "Local\<name>.SingleInstance.<user>": one token per name, user and session.
  static std::wstring SingleInstanceMutexName(std::string_view name);

 private:
  void* instanceMutex_ = nullptr;  // held until released or the program ends
  std::string instanceName_;
  void* cleanTurn_ = nullptr;  // the mutex of the clean turn, opened at the first wait
  bool holdsCleanTurn_ = false;
};

}  // namespace quorvane::win32
