#pragma once
// The registry entry picker, modal over the item editor.

#include "custom/RegistryPickerPresenter.h"
#include "win32/views/Dialog.h"

namespace quorvane::views {

class RegistryPickerView : public Dialog {
 public:
  explicit RegistryPickerView(RegistryPickerPresenter& presenter);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  RegistryPickerPresenter& presenter_;
};

}  // namespace quorvane::views
