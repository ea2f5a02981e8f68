#pragma once
// The main window: a modeless dialog with the tab strip, the seven option pages as child
// dialogs, the menu bar, the two buttons and the status bar, all drawn from MainPresenter.

#include <array>
#include <functional>
#include <memory>

#include "main/MainPresenter.h"
#include "win32/views/Dialog.h"
#include "win32/views/PagePanel.h"
#include "win32/views/StatusBarView.h"

namespace quorvane::views {

class MainView : public Dialog {
 public:
  explicit MainView(MainPresenter& presenter);
  ~MainView() override;

  // Creates the window hidden, binds it and runs the window's load (every option box filled
  // from the stores) before the window is first shown.
  HWND Create();
  // `showCommand` is how the user asked the program to start (normal, minimised, ...).
  void Show(int showCommand = SW_SHOW);

  // Raised once the window is gone (E&xit or the close box).
  std::function<void()> onDestroyed;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroy() override;

 private:
  void CreatePages();
  void PlacePage(int tab);
  void BindControls();
  void BindOptionPages();
  void DrawMenus();
  void Unload();

  MainPresenter& presenter_;
  std::array<std::unique_ptr<PagePanel>, MainPresenter::kTabCount> pages_;
  RECT pageArea_{};
  std::unique_ptr<StatusBarView> statusBar_;
  HFONT titleFont_ = nullptr;
};

}  // namespace quorvane::views
