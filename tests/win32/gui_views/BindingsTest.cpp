// The binding layer against real controls: each model draws into its control, and what the
// user does to the control reaches the model, under the window procedure a view uses.

#include "win32/views/Bindings.h"

#include <gtest/gtest.h>

#include "support/GuiDriver.h"
#include "win32/platform/WideText.h"

namespace quorvane::views {
namespace {

LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& bindings = *reinterpret_cast<Bindings*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_COMMAND && bindings.Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam))) {
    return 0;
  }
  if (message == WM_NOTIFY && bindings.Notify(*reinterpret_cast<NMHDR*>(lParam))) return 0;
  return DefWindowProcW(window, message, wParam, lParam);
}

class BindingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCommonControls();
    const WNDCLASSW host{0,       &HostProcedure, 0,       0,       nullptr,
                         nullptr, nullptr,        nullptr, nullptr, L"QuorvaneBindingsHost"};
    RegisterClassW(&host);
    host_ = CreateWindowExW(0, host.lpszClassName, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                            300, nullptr, nullptr, nullptr, nullptr);
    SetWindowLongPtrW(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&bindings_));
  }
  void TearDown() override { DestroyWindow(host_); }

  HWND Make(const wchar_t* className, DWORD style) {
    return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 120, host_,
                           nullptr, nullptr, nullptr);
  }

  // The models outlive the bindings, as a presenter outlives its window.
  ui::CheckBox check_;
  ui::Button button_;
  ui::Label label_;
  ui::ProgressBar bar_;
  ui::TabStrip tabs_;
  ui::ListView list_;
  ui::ListBox folders_;
  ui::ListBox files_;
  ui::TextBox name_;
  Bindings bindings_;
  HWND host_ = nullptr;
  int clicks_ = 0;
};

TEST_F(BindingsTest, BoxesButtonsLabelsAndBarsShowTheirModelsAndTakeClicksUntilDetached) {
  HWND box = Make(L"Button", BS_CHECKBOX);
  HWND button = Make(L"Button", BS_PUSHBUTTON);
  HWND label = Make(L"Static", SS_LEFT);
  HWND bar = Make(PROGRESS_CLASSW, 0);
  check_.onClick = button_.onClick = [&] { ++clicks_; };
  bindings_.Bind(box, check_);
  bindings_.Bind(button, button_);
  bindings_.Bind(label, label_);
  bindings_.Bind(bar, bar_);

  check_.SetValue(1);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageW(box, BM_CLICK, 0, 0);
  EXPECT_EQ(check_.Value(), 0);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks_, 3);  // the box's two changes and the button
  label_.SetCaption("  Estimated Drive Space Restored: 1.5 Kb");
  EXPECT_EQ(testing::Text(label), "  Estimated Drive Space Restored: 1.5 Kb");
  label_.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(label));
  bar_.SetValue(9);
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 9);

  bindings_.DetachAll();
  label_.SetCaption("after");
  EXPECT_EQ(testing::Text(label), "  Estimated Drive Space Restored: 1.5 Kb");
}

TEST_F(BindingsTest, ListsAndTabsShowTheirItemsAndTakeTheUsersChoice) {
  HWND tabs = Make(WC_TABCONTROLW, 0);
  HWND list = Make(WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL);
  tabs_.onClick = [&] { ++clicks_; };
  tabs_.tabs = {"Standard Clean Items", "Netscape"};
  bindings_.Bind(tabs, tabs_);
  list_.SetRows({{"Browser Leftovers"}, {"Old Logs"}});
  bindings_.Bind(list, list_);

  tabs_.tabs[1] = "Netscape 6.2";  // changed in place, drawn again on request
  bindings_.DrawAll();
  wchar_t text[64] = {};
  TCITEMW item{TCIF_TEXT, 0, 0, text, 64, 0, 0};
  TabCtrl_GetItem(tabs, 1, &item);
  EXPECT_EQ(win32::Narrow(text), "Netscape 6.2");
  TabCtrl_SetCurSel(tabs, 1);  // the user's click, as the control reports it
  NMHDR change{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(host_, WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
  EXPECT_EQ(tabs_.SelectedIndex(), 1);
  EXPECT_EQ(clicks_, 1);
  tabs_.Select(0);
  EXPECT_EQ(TabCtrl_GetCurSel(tabs), 0);

  ListView_GetItemText(list, 1, 0, text, 64);
  EXPECT_EQ(win32::Narrow(text), "Old Logs");
  ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);  // the user's click
  EXPECT_EQ(list_.SelectedIndex(), 1);
}

// The file picker's lists: one that opens an item, one that takes several at once, and an
// entry list whose last column is kept but hidden; the name box that turns read-only.
TEST_F(BindingsTest, ListBoxesTakeOneOrManyAndOpenItemsHiddenColumnsAndReadOnlyBoxesHold) {
  HWND folders = Make(L"ListBox", LBS_NOTIFY);
  HWND files = Make(L"ListBox", LBS_NOTIFY | LBS_EXTENDEDSEL);
  HWND entries = Make(WC_LISTVIEWW, LVS_REPORT);
  HWND name = Make(L"Edit", ES_AUTOHSCROLL);
  int opened = -1;
  folders_.onOpen = [&] { opened = folders_.ListIndex(); };
  files_.multiSelect = true;
  folders_.SetItems({"C:\\", "   Data"});
  files_.SetItems({"a.log", "b.log", "c.log"});
  list_.columns = {"", "", ""};
  list_.columnWidths = {50, 50, 0};
  bindings_.Bind(folders, folders_);
  bindings_.Bind(files, files_);
  bindings_.Bind(entries, list_);
  bindings_.Bind(name, name_);

  EXPECT_EQ(SendMessageW(files, LB_GETCOUNT, 0, 0), 3);
  files_.SetSelected({2, 0});
  EXPECT_EQ(SendMessageW(files, LB_GETSELCOUNT, 0, 0), 2);
  EXPECT_GT(SendMessageW(files, LB_GETSEL, 2, 0), 0);
  // The user extends the selection with Ctrl: the control reports, the model follows.
  SendMessageW(files, LB_SETSEL, TRUE, 1);
  SendMessageW(host_, WM_COMMAND, MAKEWPARAM(0, LBN_SELCHANGE), reinterpret_cast<LPARAM>(files));
  EXPECT_EQ(files_.Selected(), (std::vector<int>{0, 1, 2}));
  files_.SetItems({"d.log"});  // another folder: nothing selected
  EXPECT_EQ(SendMessageW(files, LB_GETSELCOUNT, 0, 0), 0);

  SendMessageW(folders, LB_SETCURSEL, 1, 0);  // a double click on "Data"
  SendMessageW(host_, WM_COMMAND, MAKEWPARAM(0, LBN_DBLCLK), reinterpret_cast<LPARAM>(folders));
  EXPECT_EQ(opened, 1);
  folders_.Select(0);
  EXPECT_EQ(SendMessageW(folders, LB_GETCURSEL, 0, 0), 0);

  EXPECT_NE(GetWindowLongPtrW(entries, GWL_STYLE) & LVS_NOCOLUMNHEADER, 0);
  EXPECT_GT(ListView_GetColumnWidth(entries, 1), 0);
  EXPECT_EQ(ListView_GetColumnWidth(entries, 2), 0);

  name_.SetText("Browser");
  name_.SetReadOnly(true);
  EXPECT_NE(GetWindowLongPtrW(name, GWL_STYLE) & ES_READONLY, 0);
  EXPECT_EQ(testing::Text(name), "Browser");
}

}  // namespace
}  // namespace quorvane::views
