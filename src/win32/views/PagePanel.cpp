#include "win32/views/PagePanel.h"

#include <uxtheme.h>

namespace quorvane::views {

bool PagePanel::OnInit() {
  // With visual styles on, the page takes the tab body's background instead of grey.
  EnableThemeDialogTexture(Handle(), ETDT_ENABLETAB);
  return true;
}

bool PagePanel::OnCommand(int id, int code, HWND control) {
  SendMessageW(GetParent(Handle()), WM_COMMAND, MAKEWPARAM(id, code),
               reinterpret_cast<LPARAM>(control));
  return true;
}

bool PagePanel::OnNotify(const NMHDR& header) {
  SendMessageW(GetParent(Handle()), WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
  return true;
}

}  // namespace quorvane::views
