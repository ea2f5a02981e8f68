#include "win32/views/RegistryPickerView.h"

#include "win32/views/ViewIds.h"

namespace quorvane::views {

RegistryPickerView::RegistryPickerView(RegistryPickerPresenter& presenter)
    : Dialog(IDD_REGISTRY_PICKER), presenter_(presenter) {}

bool RegistryPickerView::OnInit() {
  RegistryPickerPresenter& p = presenter_;
  bindings.BindCustom(Handle(), p.Form,
                      [this] { DrawCaption(Handle(), presenter_.Form.Caption()); });
  bindings.Bind(Item(IDC_REG_SKINLABEL2), p.SkinLabel2);
  bindings.Bind(Item(IDC_CBOTOPREGKEY), p.cboTopRegKey);
  bindings.Bind(Item(IDC_REG_SKINLABEL3), p.SkinLabel3);
  bindings.Bind(Item(IDC_TXTREGSUBKEY), p.txtRegSubkey);
  bindings.Bind(Item(IDC_REG_SKINLABEL1), p.SkinLabel1);
  bindings.Bind(Item(IDC_CHKDELETEKEY), p.ChkDeletekey);
  bindings.Bind(Item(IDC_CHKDELETEVALUE), p.ChkDeletevalue);
  bindings.Bind(Item(IDC_TXTREGVALUE), p.txtRegValue);
  bindings.Bind(Item(IDC_REG_LISTVIEW1), p.ListView1);
  bindings.Bind(Item(IDC_REG_CMDADD), p.CmdAdd);
  bindings.Bind(Item(IDC_REG_CMDDELETE), p.CmdDelete);
  bindings.Bind(Item(IDC_REG_CMDDONE), p.CmdDone);
  p.onClosed = [this] { EndModal(IDOK); };
  return true;
}

bool RegistryPickerView::OnCommand(int id, int /*code*/, HWND /*control*/) {
  // Escape and the close box (IDCANCEL both) close as Done does.
  if (id == IDCANCEL) presenter_.Close();
  return id == IDOK || id == IDCANCEL;
}

}  // namespace quorvane::views
