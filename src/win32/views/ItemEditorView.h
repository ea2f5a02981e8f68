#pragma once
// The custom item editor "Add Clean item", modal over the main window.

#include "custom/ItemEditorPresenter.h"
#include "win32/views/Dialog.h"

namespace quorvane::views {

class ItemEditorView : public Dialog {
 public:
  explicit ItemEditorView(ItemEditorPresenter& presenter);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  ItemEditorPresenter& presenter_;
};

}  // namespace quorvane::views
