#include "win32/views/ItemEditorView.h"

#include "win32/views/ViewIds.h"

namespace quorvane::views {

ItemEditorView::ItemEditorView(ItemEditorPresenter& presenter)
    : Dialog(IDD_ITEM_EDITOR), presenter_(presenter) {}

bool ItemEditorView::OnInit() {
  ItemEditorPresenter& p = presenter_;
  bindings.BindCustom(Handle(), p.Form,
                      [this] { DrawCaption(Handle(), presenter_.Form.Caption()); });
  bindings.Bind(Item(IDC_LBLITEMNAME), p.lblItemName);
  bindings.Bind(Item(IDC_TXTITEMNAME), p.txtItemName);
  bindings.Bind(Item(IDC_CHKCLEANFILES), p.ChkCleanFiles);
  bindings.Bind(Item(IDC_CMDSELECTFILE), p.CmdSelectFile);
  bindings.Bind(Item(IDC_CHKCLEANREGISTRY), p.ChkCleanRegistry);
  bindings.Bind(Item(IDC_CMDSELECTREGISTRY), p.CmdSelectRegistry);
  bindings.Bind(Item(IDC_CMDSAVE), p.CmdSave);
  bindings.Bind(Item(IDC_EDITOR_CMDEXIT), p.CmdExit);
  p.onClosed = [this] { EndModal(IDOK); };
  p.Load();
  return true;
}

bool ItemEditorView::OnCommand(int id, int /*code*/, HWND /*control*/) {
  // Escape and the close box (which the dialog turns into IDCANCEL) pass the close check,
  // as Exit does.
  if (id == IDCANCEL) presenter_.RequestClose();
  return id == IDOK || id == IDCANCEL;
}

}  // namespace quorvane::views
