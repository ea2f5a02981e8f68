#pragma once
// Tip of the Day: a modal dialog drawn from TipPresenter. OK, Enter, Escape and the close
// box all close it.

#include "tips/TipPresenter.h"
#include "win32/views/Dialog.h"

namespace quorvane::views {

class TipView : public Dialog {
 public:
  explicit TipView(TipPresenter& presenter);
  ~TipView() override;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  RECT TipPanel() const;

  TipPresenter& presenter_;
  HFONT headingFont_ = nullptr;
};

}  // namespace quorvane::views
