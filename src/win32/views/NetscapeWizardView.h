#pragma once
// The Netscape profile wizard: a modeless dialog with the side picture and three pages, drawn
// from ProfileWizardPresenter. A timer brings the search's progress to the window about ten
// times a second. Enter presses the page's forward button, Escape its way out (Skip, Stop or
// Cancel); the close box closes the wizard at any time, a running search included.

#include <array>
#include <memory>

#include "netscape/ProfileWizardPresenter.h"
#include "win32/views/Dialog.h"
#include "win32/views/PagePanel.h"

namespace quorvane::views {

class NetscapeWizardView : public Dialog {
 public:
  explicit NetscapeWizardView(ProfileWizardPresenter& presenter);

  // Creates the window, owned by `owner`, runs its load and shows it.
  HWND Open(HWND owner);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroy() override;

 private:
  void CreatePages();
  void BindControls();

  ProfileWizardPresenter& presenter_;
  std::array<std::unique_ptr<PagePanel>, 3> pages_;
};

}  // namespace quorvane::views
