#pragma once
// The main window's status bar: five panels drawn from the presenter's labels. A panel whose
// label is disabled (Caps Lock or Num Lock off) shows its text greyed.

#include <windows.h>

#include <array>

#include "core/ui/Controls.h"
#include "main/MainPresenter.h"
#include "win32/views/Bindings.h"

namespace quorvane::views {

class StatusBarView {
 public:
  static constexpr int kPanels = 5;

  StatusBarView(HWND bar, std::array<ui::Label, kPanels>& panels);
  void Bind(Bindings& bindings);
  // WM_DRAWITEM of a greyed panel; false when the item is not one of this bar's.
  bool DrawItem(const DRAWITEMSTRUCT& item) const;

  // What the status bar shows now: the lock keys and the user's own date and time formats.
  static StatusReading Read();

 private:
  void Draw();
  int TextWidth(const std::wstring& text) const;

  HWND bar_;
  std::array<ui::Label, kPanels>& panels_;
};

}  // namespace quorvane::views
