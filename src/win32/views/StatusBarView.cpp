#include "win32/views/StatusBarView.h"

#include <commctrl.h>

#include <string>

#include "win32/platform/WideText.h"

namespace quorvane::views {
using win32::Narrow;
using win32::Widen;

StatusBarView::StatusBarView(HWND bar, std::array<ui::Label, kPanels>& panels)
    : bar_(bar), panels_(panels) {}

void StatusBarView::Bind(Bindings& bindings) {
  for (ui::Label& panel : panels_) bindings.BindCustom(bar_, panel, [this] { Draw(); });
}

int StatusBarView::TextWidth(const std::wstring& text) const {
  HDC dc = GetDC(bar_);
  const auto font = reinterpret_cast<HFONT>(SendMessageW(bar_, WM_GETFONT, 0, 0));
  const HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  if (old) SelectObject(dc, old);
  ReleaseDC(bar_, dc);
  return size.cx;
}

void StatusBarView::Draw() {
  // Panels are as wide as their text plus a margin of about two letters, so that they
  // grow with the system's font size; the product name takes what is left.
  const int margin = TextWidth(L"MM");
  std::array<int, kPanels> edges{};
  int right = 0;
  for (int i = 0; i < kPanels - 1; ++i) {
    right += TextWidth(Widen(panels_[i].Caption())) + margin;
    edges[i] = right;
  }
  edges[kPanels - 1] = -1;
  SendMessageW(bar_, SB_SETPARTS, kPanels, reinterpret_cast<LPARAM>(edges.data()));
  for (int i = 0; i < kPanels; ++i) {
    if (panels_[i].Enabled()) {
      const std::wstring text = Widen(panels_[i].Caption());
      SendMessageW(bar_, SB_SETTEXTW, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(text.c_str()));
    } else {
      SendMessageW(bar_, SB_SETTEXTW, static_cast<WPARAM>(i) | SBT_OWNERDRAW,
                   static_cast<LPARAM>(i));
    }
  }
}

bool StatusBarView::DrawItem(const DRAWITEMSTRUCT& item) const {
  if (item.hwndItem != bar_ || item.itemData >= kPanels) return false;
  const std::wstring text = Widen(panels_[item.itemData].Caption());
  RECT area = item.rcItem;
  area.left += TextWidth(L"M") / 2;
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, GetSysColor(COLOR_GRAYTEXT));
  DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &area,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  return true;
}

StatusReading StatusBarView::Read() {
  StatusReading reading;
  reading.capsLock = (GetKeyState(VK_CAPITAL) & 1) != 0;
  reading.numLock = (GetKeyState(VK_NUMLOCK) & 1) != 0;
  wchar_t text[128] = {};
  if (GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, text, 128,
                      nullptr) > 0) {
    reading.date = Narrow(text);
  }
  if (GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, text, 128) > 0) {
    reading.time = Narrow(text);
  }
  return reading;
}

}  // namespace quorvane::views
