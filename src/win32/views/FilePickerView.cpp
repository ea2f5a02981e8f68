#include "win32/views/FilePickerView.h"

#include "win32/views/ViewIds.h"

namespace quorvane::views {

FilePickerView::FilePickerView(FilePickerPresenter& presenter)
    : Dialog(IDD_FILE_PICKER), presenter_(presenter) {}

bool FilePickerView::OnInit() {
  FilePickerPresenter& p = presenter_;
  bindings.BindCustom(Handle(), p.Form,
                      [this] { DrawCaption(Handle(), presenter_.Form.Caption()); });
  bindings.Bind(Item(IDC_LBLPATH), p.lblPath);
  bindings.Bind(Item(IDC_DRIVE1), p.Drive1);
  bindings.Bind(Item(IDC_DIR1), p.Dir1);
  bindings.Bind(Item(IDC_FILE1), p.File1);
  bindings.Bind(Item(IDC_FILE_SKINLABEL1), p.SkinLabel1);
  bindings.Bind(Item(IDC_TXTPATTERN), p.txtPattern);
  bindings.Bind(Item(IDC_CHKWILDCARD), p.ChkWildcard);
  bindings.Bind(Item(IDC_FILE_SKINLABEL2), p.SkinLabel2);
  bindings.Bind(Item(IDC_FILE_LISTVIEW1), p.ListView1);
  bindings.Bind(Item(IDC_FILE_CMDADD), p.CmdAdd);
  bindings.Bind(Item(IDC_FILE_CMDDELETE), p.CmdDelete);
  bindings.Bind(Item(IDC_FILE_CMDDONE), p.CmdDone);
  p.onClosed = [this] { EndModal(IDOK); };
  return true;
}

bool FilePickerView::OnCommand(int id, int /*code*/, HWND /*control*/) {
  if (id == IDOK) {
    // Enter: in the folder list it opens the chosen folder; elsewhere it adds.
    if (GetFocus() == Item(IDC_DIR1)) {
      presenter_.Dir1.Open(presenter_.Dir1.ListIndex());
    } else {
      presenter_.CmdAdd.Click();
    }
    return true;
  }
  // Escape and the close box (IDCANCEL both) close as Done does.
  if (id == IDCANCEL) presenter_.Close();
  return id == IDCANCEL;
}

}  // namespace quorvane::views
