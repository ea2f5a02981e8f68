// The binding layer against real controls: each model draws into its control, and what the
// user does to the control reaches the model, under the window procedure a view uses.

#include "win32/views/Bindings.h"

#include <gtest/gtest.h>

#include <string>

#include "win32/platform/WideText.h"

namespace quorvane::views {
namespace {

using win32::Narrow;

LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* bindings = reinterpret_cast<Bindings*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (bindings && message == WM_COMMAND && lParam &&
      bindings->Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam))) {
    return 0;
  }
  if (bindings && message == WM_NOTIFY && bindings->Notify(*reinterpret_cast<NMHDR*>(lParam))) {
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

class BindingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = &HostProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"QuorvaneBindingsHost";
    RegisterClassW(&windowClass);
    host_ = CreateWindowExW(0, L"QuorvaneBindingsHost", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            0, 0, 400, 300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(host_, nullptr);
    SetWindowLongPtrW(host_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&bindings_));
  }

  void TearDown() override {
    bindings_.DetachAll();
    DestroyWindow(host_);
  }

  HWND Make(const wchar_t* className, DWORD style) {
    return CreateWindowExW(0, className, L"", WS_CHILD | WS_VISIBLE | style, 10, 10, 200, 120,
                           host_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(++lastId_)),
                           GetModuleHandleW(nullptr), nullptr);
  }

  static std::string Caption(HWND control) {
    wchar_t text[256] = {};
    GetWindowTextW(control, text, 256);
    return Narrow(text);
  }

  // What the control tells its parent when the user changes it.
  void UserCommand(HWND control, int code) {
    SendMessageW(host_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
  }

  // The models outlive the bindings, as a presenter outlives its window.
  ui::CheckBox check_;
  ui::CheckBox tick_;
  ui::Button button_;
  ui::Label label_;
  ui::ProgressBar bar_;
  ui::ComboBox combo_;
  ui::TabStrip tabs_;
  ui::ListView list_;
  HWND host_ = nullptr;
  Bindings bindings_;
  int lastId_ = 100;
};

TEST_F(BindingsTest, CheckBoxShowsItsModelAndTakesTheUsersClickUnlessATickOnly) {
  check_.SetCaption("Cookies");
  int clicks = 0;
  check_.onClick = [&] { ++clicks; };
  HWND box = Make(L"Button", BS_CHECKBOX);
  HWND tick = Make(L"Button", BS_CHECKBOX);
  bindings_.Bind(box, check_);
  bindings_.BindTick(tick, tick_);
  EXPECT_EQ(Caption(box), "Cookies");

  check_.SetValue(1);  // code sets the box: it shows, and the click handler runs
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(clicks, 1);
  SendMessageW(box, BM_CLICK, 0, 0);  // the user unticks it
  EXPECT_EQ(check_.Value(), 0);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(clicks, 2);
  check_.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(box));
  UserCommand(box, BN_CLICKED);  // a click that slips through changes nothing
  EXPECT_EQ(check_.Value(), 0);
  EXPECT_EQ(clicks, 2);

  SendMessageW(tick, BM_CLICK, 0, 0);  // a tick ignores the user but follows its model
  EXPECT_EQ(tick_.Value(), 0);
  EXPECT_EQ(SendMessageW(tick, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  tick_.SetValue(1);
  EXPECT_EQ(SendMessageW(tick, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(BindingsTest, ButtonLabelAndProgressBarFollowTheirModels) {
  int clicks = 0;
  button_.onClick = [&] { ++clicks; };
  HWND button = Make(L"Button", BS_PUSHBUTTON);
  HWND label = Make(L"Static", SS_LEFT);
  HWND bar = Make(PROGRESS_CLASSW, 0);
  bindings_.Bind(button, button_);
  bindings_.Bind(label, label_);
  bindings_.Bind(bar, bar_);

  SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  button_.SetCaption("&Done");
  EXPECT_EQ(Caption(button), "&Done");
  button_.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(button));
  label_.SetCaption("  Estimated Drive Space Restored: 1.5 Kb");
  EXPECT_EQ(Caption(label), "  Estimated Drive Space Restored: 1.5 Kb");
  label_.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(label));

  EXPECT_EQ(SendMessageW(bar, PBM_GETRANGE, FALSE, 0), 100);
  bar_.SetValue(9);
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 9);
  bar_.SetBarColor(255);
  EXPECT_EQ(SendMessageW(bar, PBM_GETBARCOLOR, 0, 0), 255);
}

TEST_F(BindingsTest, ListsAndTabsShowTheirItemsAndTakeTheUsersChoice) {
  int clicks = 0;
  combo_.onClick = [&] { ++clicks; };
  HWND combo = Make(L"ComboBox", CBS_DROPDOWNLIST);
  bindings_.Bind(combo, combo_);
  for (const char* entry : {"Quarter Hour", "Half Hour", "Hour", "Eight Hours"}) {
    combo_.AddItem(entry);
  }
  combo_.SetListIndex(3);
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(Caption(combo), "Eight Hours");
  SendMessageW(combo, CB_SETCURSEL, 1, 0);
  UserCommand(combo, CBN_SELCHANGE);
  EXPECT_EQ(combo_.ListIndex(), 1);
  EXPECT_EQ(clicks, 2);

  tabs_.tabs = {"Standard Clean Items", "Custom Clean Items", "Netscape"};
  tabs_.onClick = [&] { ++clicks; };
  HWND tabs = Make(WC_TABCONTROLW, 0);
  bindings_.Bind(tabs, tabs_);
  // A presenter changes a tab's caption in place and the view draws it again.
  tabs_.tabs[2] = "Netscape 6.2";
  bindings_.DrawAll();
  wchar_t text[64] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 64;
  TabCtrl_GetItem(tabs, 2, &item);
  EXPECT_EQ(Narrow(text), "Netscape 6.2");
  TabCtrl_SetCurSel(tabs, 1);
  NMHDR change{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGE)};
  SendMessageW(host_, WM_NOTIFY, change.idFrom, reinterpret_cast<LPARAM>(&change));
  EXPECT_EQ(tabs_.SelectedIndex(), 1);
  EXPECT_EQ(clicks, 3);
  tabs_.Select(0);
  EXPECT_EQ(TabCtrl_GetCurSel(tabs), 0);

  list_.SetRows({{"Browser Leftovers"}, {"Old Logs"}});
  HWND list = Make(WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
  bindings_.Bind(list, list_);
  ListView_GetItemText(list, 1, 0, text, 64);
  EXPECT_EQ(Narrow(text), "Old Logs");
  ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);  // the user's click
  EXPECT_EQ(list_.SelectedIndex(), 1);
  list_.RemoveRow(1);
  list_.AddRow({"Temp Files"});
  ListView_GetItemText(list, 1, 0, text, 64);
  EXPECT_EQ(Narrow(text), "Temp Files");
}

TEST_F(BindingsTest, DetachedModelsNoLongerReachTheirControls) {
  label_.SetCaption("before");
  HWND control = Make(L"Static", SS_LEFT);
  bindings_.Bind(control, label_);
  bindings_.DetachAll();
  EXPECT_FALSE(label_.changed);
  label_.SetCaption("after");
  EXPECT_EQ(Caption(control), "before");
}

}  // namespace
}  // namespace quorvane::views
