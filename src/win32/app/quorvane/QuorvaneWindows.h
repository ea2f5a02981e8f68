#pragma once
// The program's windows as start-up and the main window ask for them: the presenters with
// their views, created when a window opens and released when it closes. The portable
// headers come before the views' Windows headers, whose macros would rename their members.

#include <memory>
#include <string_view>

#include "clean/WashPresenter.h"
#include "core/AppContext.h"
#include "core/StartUp.h"
#include "core/platform/Platform.h"
#include "main/MainPresenter.h"
#include "netscape/ProfileWizardPresenter.h"
#include "tips/TipPresenter.h"
#include "win32/views/MainView.h"
#include "win32/views/NetscapeWizardView.h"
// After the portable headers: it brings the views' Windows headers too.
#include "CustomItemWindows.h"

namespace quorvane::app {

class QuorvaneWindows final : public StartUpWindows {
 public:
  QuorvaneWindows(Platform& platform, AppContext& context, int showCommand);
  QuorvaneWindows(const QuorvaneWindows&) = delete;
  QuorvaneWindows& operator=(const QuorvaneWindows&) = delete;

  void RegisterHelpFile(std::string_view path) override;
  void ShowTipModal() override;
  bool ShowMain() override;
  void SetMainCaption(std::string_view caption) override;

 private:
  HWND MainWindow() const;
  void ShowCleanWindow();
  void UnloadMainWindow();
  void ShowProfileWizard();

  Platform& platform_;
  AppContext& context_;
  int showCommand_;
  std::unique_ptr<MainPresenter> main_;
  std::unique_ptr<CustomItemWindows> customItems_;
  std::unique_ptr<views::MainView> mainView_;
  // The profile wizard, kept until the next opening once its window has gone.
  std::unique_ptr<ProfileWizardPresenter> wizard_;
  std::unique_ptr<views::NetscapeWizardView> wizardView_;
};

}  // namespace quorvane::app
