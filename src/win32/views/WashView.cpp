#include "win32/views/WashView.h"

#include "win32/views/ViewIds.h"

namespace quorvane::views {
namespace {
// Posted when the window has been made. A modal dialog is first shown only when its queue
// runs empty, which a run that pumps its own events never lets happen; so the run shows
// and paints the window itself before its first target.
constexpr UINT kStartRun = WM_APP + 1;
}  // namespace

WashView::WashView(WashPresenter& presenter) : Dialog(IDD_WASH), presenter_(presenter) {}

bool WashView::OnInit() {
  auto& lines = presenter_.Lines();
  for (size_t i = 0; i < lines.size(); ++i) {
    bindings.BindTick(Item(IDC_WASHCHECK + static_cast<int>(i)), lines[i].check);
    bindings.Bind(Item(IDC_WASHLABEL + static_cast<int>(i)), lines[i].label);
  }
  bindings.Bind(Item(IDC_PROGRESSBAR1), presenter_.progressBar);
  bindings.Bind(Item(IDC_LBLRESTORESPACE), presenter_.lblRestoreSpace);
  bindings.Bind(Item(IDC_LBLREMOVED), presenter_.lblRemoved);
  bindings.Bind(Item(IDC_LBLNOTREMOVED), presenter_.lblNotRemoved);
  bindings.Bind(Item(IDC_CMDEXIT), presenter_.cmdExit);
  presenter_.onClosed = [this] { Closed(); };
  presenter_.showWindow = [this] { ShowNow(); };
  PostMessageW(Handle(), kStartRun, 0, 0);
  return true;
}

void WashView::ShowNow() {
  ShowWindow(Handle(), SW_SHOWNORMAL);
  RedrawWindow(Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void WashView::Run() {
  running_ = true;
  presenter_.Activate();
  running_ = false;
  if (closePending_) EndModal(IDCANCEL);
}

void WashView::Closed() {
  if (!running_) {
    EndModal(IDCANCEL);
    return;
  }
  // Closed during the run: the window goes away at once, but the dialog ends only when the
  // remaining targets have run, so that the main window cannot start a second run meanwhile.
  ShowWindow(Handle(), SW_HIDE);
  closePending_ = true;
}

bool WashView::OnCommand(int id, int /*code*/, HWND /*control*/) {
  if (id == IDCANCEL) {
    // Escape closes the window once the run is over; during the run only the button and the
    // close box stop it, so that a stray key press does not.
    if (presenter_.Report()) presenter_.Close();
    return true;
  }
  return id == IDOK;
}

std::optional<INT_PTR> WashView::OnMessage(UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/) {
  switch (message) {
    case kStartRun:
      Run();
      return TRUE;
    case WM_CLOSE:
      presenter_.Close();
      return TRUE;
    default:
      return std::nullopt;
  }
}

}  // namespace quorvane::views
