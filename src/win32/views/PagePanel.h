#pragma once
// One option page of the main window: a child dialog shown inside the tab strip. Its
// controls' notifications go up to the main window, whose bindings serve every page.

#include "win32/views/Dialog.h"

namespace quorvane::views {

class PagePanel : public Dialog {
 public:
  using Dialog::Dialog;

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;
  bool OnNotify(const NMHDR& header) override;
};

}  // namespace quorvane::views
