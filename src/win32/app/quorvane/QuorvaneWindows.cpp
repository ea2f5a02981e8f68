#include "QuorvaneWindows.h"

#include "win32/views/TipView.h"
#include "win32/views/WashView.h"

namespace quorvane::app {

QuorvaneWindows::QuorvaneWindows(Platform& platform, AppContext& context, int showCommand)
    : platform_(platform), context_(context), showCommand_(showCommand) {}

void QuorvaneWindows::RegisterHelpFile(std::string_view /*path*/) {
  // F1 in the main window opens the same file through the window's help action, which
  // builds the path from the application folder as start-up does.
}

HWND QuorvaneWindows::MainWindow() const { return mainView_ ? mainView_->Handle() : nullptr; }

void QuorvaneWindows::ShowTipModal() {
  // One presenter serves one showing: the tips are read anew each time.
  TipPresenter tip(platform_, context_);
  tip.Load();
  views::TipView view(tip);
  view.ShowModal(MainWindow());
}

bool QuorvaneWindows::ShowMain() {
  if (mainView_) {
    mainView_->Show();
    return true;
  }
  main_ = std::make_unique<MainPresenter>(platform_, context_);
  main_->hooks.showCleanWindow = [this] { ShowCleanWindow(); };
  main_->hooks.showTipWindow = [this] { ShowTipModal(); };
  main_->hooks.unloadMainWindow = [this] { UnloadMainWindow(); };
  customItems_ = std::make_unique<CustomItemWindows>(platform_, context_, *main_,
                                                     [this] { return MainWindow(); });
  main_->hooks.showProfileWizard = [this] { ShowProfileWizard(); };
  mainView_ = std::make_unique<views::MainView>(*main_);
  // The main window is the program's home: when it goes, the program ends.
  mainView_->onDestroyed = [] { PostQuitMessage(0); };
  if (!mainView_->Create()) {
    // No window means no program: start-up tells the user and the process ends.
    mainView_->onDestroyed = nullptr;
    mainView_.reset();
    main_.reset();
    return false;
  }
  mainView_->Show(showCommand_);
  return true;
}

void QuorvaneWindows::SetMainCaption(std::string_view caption) {
  if (main_) main_->Form.SetCaption(std::string(caption));
}

void QuorvaneWindows::ShowCleanWindow() {
  // A fresh window for every clean: all ticks cleared and the bar at 0.
  WashPresenter wash(platform_, context_);
  views::WashView view(wash);
  view.ShowModal(MainWindow());
}

void QuorvaneWindows::ShowProfileWizard() {
  // One wizard at a time: a second press brings the open one forward.
  if (wizardView_ && wizardView_->Handle()) {
    SetForegroundWindow(wizardView_->Handle());
    return;
  }
  // A fresh wizard scans again, with an empty list.
  wizardView_.reset();
  wizard_ = std::make_unique<ProfileWizardPresenter>(platform_, context_);
  wizardView_ = std::make_unique<views::NetscapeWizardView>(*wizard_);
  wizardView_->Open(MainWindow());
}

void QuorvaneWindows::UnloadMainWindow() {
  if (const HWND window = MainWindow()) DestroyWindow(window);
}

}  // namespace quorvane::app
