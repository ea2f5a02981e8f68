#pragma once
// A window built from a dialog template, shown modally (DialogBoxParam) or modelessly
// (CreateDialogParam). Subclasses bind their presenter's models in OnInit and handle the
// few messages a view needs; notifications of bound controls reach the models without them.

#include <windows.h>

#include <optional>

#include "win32/views/Bindings.h"

namespace quorvane::views {

class Dialog {
 public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Returns when the window has been closed with EndModal.
  INT_PTR ShowModal(HWND owner);
  // Creates the window (hidden unless its template says otherwise) and returns it.
  HWND Create(HWND parent);
  HWND Handle() const { return hwnd_; }
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

 protected:
  // Returns false when it has set the focus itself; true lets the first tab stop have it.
  virtual bool OnInit() { return true; }
  // A command that no binding took: menu items, IDOK and IDCANCEL, unbound controls.
  virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
  virtual bool OnNotify(const NMHDR& /*header*/) { return false; }
  // Any other message; a value means it was handled and is the dialog procedure's result.
  virtual std::optional<INT_PTR> OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return std::nullopt;
  }
  virtual void OnDestroy() {}

  void EndModal(INT_PTR result);
  bool IsModal() const { return modal_; }

  Bindings bindings;

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  int templateId_;
  HWND hwnd_ = nullptr;
  bool modal_ = false;
};

// Window sizes and positions are kept in twips (1/1440 inch), whatever the screen's scale.
int TwipsToPixels(HWND window, int twips);

// The dialog font scaled and weighted for headings; the caller owns the font.
HFONT CreateHeadingFont(HWND dialog, int percent, bool bold);

}  // namespace quorvane::views
