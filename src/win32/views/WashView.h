#pragma once
// The clean window "System Cleaning in Progress": a modal dialog drawn from WashPresenter.
// Each opening makes one run: the window shows itself, then the run starts.

#include "clean/WashPresenter.h"
#include "win32/views/Dialog.h"

namespace quorvane::views {

class WashView : public Dialog {
 public:
  explicit WashView(WashPresenter& presenter);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Run();
  void ShowNow();
  void Closed();

  WashPresenter& presenter_;
  bool running_ = false;
  bool closePending_ = false;
};

}  // namespace quorvane::views
