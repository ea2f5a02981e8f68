// Quorvane.exe: start-up opens the windows, then the message loop runs until the main
// window closes.

#include <windows.h>

#include <commctrl.h>

#include <memory>

#include "QuorvaneWindows.h"
#include "core/AppContext.h"
#include "core/StartUp.h"
#include "win32/platform/Win32Platform.h"
#include "win32/platform/Win32WindowServices.h"

namespace {

int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) quorvane::win32::DispatchToDialogs(message);
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  // The manifest asks for version 6 of the common controls; they still want registering.
  INITCOMMONCONTROLSEX controls{sizeof(controls),
                                ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&controls);

  quorvane::win32::Win32Platform win32Platform;
  quorvane::Platform platform = win32Platform.platform();
  quorvane::AppContext context;
  quorvane::app::QuorvaneWindows windows(platform, context, showCommand);
  quorvane::StartUp startUp(platform, context, windows);
  switch (startUp.Main()) {
    case quorvane::StartUpResult::AlreadyRunning:
      return 0;
    case quorvane::StartUpResult::MainWindowFailed:
      return 1;
    case quorvane::StartUpResult::Started:
      break;
  }
  return RunMessageLoop();
}
