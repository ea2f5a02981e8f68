// Quorvane.exe: start-up opens the windows, then the message loop runs until the main
// window closes.

#include <windows.h>

#include <commctrl.h>

#include "MainWindow.h"
#include "TipWindow.h"
#include "core/AppContext.h"
#include "core/StartUp.h"
#include "win32/platform/Win32Platform.h"

namespace {

using namespace quorvane;

class QuorvaneWindows final : public StartUpWindows {
 public:
  QuorvaneWindows(HINSTANCE instance, Shell& shell, int showCommand)
      : instance_(instance), main_(instance, shell), showCommand_(showCommand) {}

  void RegisterHelpFile(std::string_view path) override { main_.SetHelpFile(path); }
  void ShowTipModal() override { app::ShowTipWindowModal(instance_, main_.Handle()); }
  void ShowMain() override { main_.Show(showCommand_); }
  void SetMainCaption(std::string_view caption) override { main_.SetCaption(caption); }

 private:
  HINSTANCE instance_;
  app::MainWindow main_;
  int showCommand_;
};

int RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
  // The manifest asks for version 6 of the common controls; they still want registering.
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  win32::Win32Platform win32Platform;
  Platform platform = win32Platform.platform();
  AppContext context;
  QuorvaneWindows windows(instance, platform.shell, showCommand);
  StartUp startUp(platform, context, windows);
  if (startUp.Main() == StartUpResult::AlreadyRunning) return 0;
  return RunMessageLoop();
}
