#pragma once
// The custom item windows as the main window's custom page opens them: the list answers the
// page's buttons, Add and Edit open the editor modally over the main window, and the
// editor's Select buttons open the pickers modally over the editor. Each window gets a fresh
// presenter for each showing. Portable headers first (see QuorvaneWindows.h).

#include <functional>
#include <string>

#include "core/AppContext.h"
#include "core/platform/Platform.h"
#include "custom/CustomListPresenter.h"
#include "main/MainPresenter.h"
#include "win32/views/Dialog.h"

namespace quorvane::app {

class CustomItemWindows {
 public:
  // `owner` gives the main window, over which the editor opens.
  CustomItemWindows(Platform& platform, AppContext& context, MainPresenter& main,
                    std::function<HWND()> owner);
  CustomItemWindows(const CustomItemWindows&) = delete;
  CustomItemWindows& operator=(const CustomItemWindows&) = delete;

 private:
  void ShowEditor(const std::string& name);

  Platform& platform_;
  AppContext& context_;
  std::function<HWND()> owner_;
  CustomListPresenter list_;
};

}  // namespace quorvane::app
