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

TEST_F(BindingsTest, CheckBoxShowsItsModelAndTakesTheUsersClick) {
  ui::CheckBox& model = check_;
  model.SetCaption("Cookies");
  int clicks = 0;
  model.onClick = [&] { ++clicks; };
  HWND box = Make(L"Button", BS_CHECKBOX);
  bindings_.Bind(box, model);
  EXPECT_EQ(Caption(box), "Cookies");
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  model.SetValue(1);  // code sets the box: it shows, and the click handler runs
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(clicks, 1);

  SendMessageW(box, BM_CLICK, 0, 0);  // the user unticks it
  EXPECT_EQ(model.Value(), 0);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(clicks, 2);

  model.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(box));
  UserCommand(box, BN_CLICKED);  // a click that slips through changes nothing
  EXPECT_EQ(model.Value(), 0);
  EXPECT_EQ(clicks, 2);
}

TEST_F(BindingsTest, TickFollowsTheModelButIgnoresTheUser) {
  ui::CheckBox& model = check_;
  HWND box = Make(L"Button", BS_CHECKBOX);
  bindings_.BindTick(box, model);
  SendMessageW(box, BM_CLICK, 0, 0);
  EXPECT_EQ(model.Value(), 0);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  model.SetValue(1);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(BindingsTest, ButtonAndLabelFollowCaptionStateAndVisibility) {
  ui::Button& button = button_;
  button.SetCaption("&Exit");
  int clicks = 0;
  button.onClick = [&] { ++clicks; };
  ui::Label& label = label_;
  label.SetCaption("Estimated Drive Space Restored: ");
  HWND buttonControl = Make(L"Button", BS_PUSHBUTTON);
  HWND labelControl = Make(L"Static", SS_LEFT);
  bindings_.Bind(buttonControl, button);
  bindings_.Bind(labelControl, label);

  SendMessageW(buttonControl, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  button.SetCaption("&Done");
  EXPECT_EQ(Caption(buttonControl), "&Done");
  label.SetCaption("  Estimated Drive Space Restored: 1.5 Kb");
  EXPECT_EQ(Caption(labelControl), "  Estimated Drive Space Restored: 1.5 Kb");
  label.SetVisible(false);
  EXPECT_FALSE(IsWindowVisible(labelControl));
  label.SetVisible(true);
  EXPECT_TRUE(IsWindowVisible(labelControl));
  button.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(buttonControl));
}

TEST_F(BindingsTest, ProgressBarTakesValueAndColour) {
  ui::ProgressBar& model = bar_;
  HWND bar = Make(PROGRESS_CLASSW, 0);
  bindings_.Bind(bar, model);
  PBRANGE range{-1, -1};
  SendMessageW(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
  EXPECT_EQ(range.iLow, 0);
  EXPECT_EQ(range.iHigh, 100);
  model.SetValue(9);
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 9);
  model.SetBarColor(255);
  EXPECT_EQ(SendMessageW(bar, PBM_GETBARCOLOR, 0, 0), 255);
}

TEST_F(BindingsTest, ComboBoxListsItemsAndTakesTheUsersChoice) {
  ui::ComboBox& model = combo_;
  int clicks = 0;
  model.onClick = [&] { ++clicks; };
  HWND list = Make(L"ComboBox", CBS_DROPDOWNLIST);
  bindings_.Bind(list, model);
  for (const char* entry : {"Quarter Hour", "Half Hour", "Hour", "Eight Hours"}) {
    model.AddItem(entry);
  }
  model.SetListIndex(3);
  EXPECT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), 4);
  EXPECT_EQ(SendMessageW(list, CB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(Caption(list), "Eight Hours");
  EXPECT_EQ(clicks, 1);

  SendMessageW(list, CB_SETCURSEL, 1, 0);
  UserCommand(list, CBN_SELCHANGE);
  EXPECT_EQ(model.ListIndex(), 1);
  EXPECT_EQ(clicks, 2);

  model.SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(list));
}

TEST_F(BindingsTest, TabStripShowsTabsAndReportsTheUsersSelection) {
  ui::TabStrip& model = tabs_;
  model.tabs = {"Standard Clean Items", "Custom Clean Items", "Netscape"};
  int selections = 0;
  model.onClick = [&] { ++selections; };
  HWND tabs = Make(WC_TABCONTROLW, 0);
  bindings_.Bind(tabs, model);
  EXPECT_EQ(TabCtrl_GetItemCount(tabs), 3);

  // A presenter changes a tab's caption in place and the view draws it again.
  model.tabs[2] = "Netscape 6.2";
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
  EXPECT_EQ(model.SelectedIndex(), 1);
  EXPECT_EQ(selections, 1);

  model.Select(0);
  EXPECT_EQ(TabCtrl_GetCurSel(tabs), 0);
}

TEST_F(BindingsTest, ListViewShowsRowsAndTakesTheUsersSelection) {
  ui::ListView& model = list_;
  model.SetRows({{"Browser Leftovers"}, {"Old Logs"}});
  HWND list = Make(WC_LISTVIEWW, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS);
  bindings_.Bind(list, model);
  EXPECT_EQ(ListView_GetItemCount(list), 2);
  wchar_t text[64] = {};
  ListView_GetItemText(list, 1, 0, text, 64);
  EXPECT_EQ(Narrow(text), "Old Logs");

  ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);  // the user's click
  EXPECT_EQ(model.SelectedIndex(), 1);

  model.RemoveRow(1);
  EXPECT_EQ(ListView_GetItemCount(list), 1);
  model.AddRow({"Temp Files"});
  EXPECT_EQ(ListView_GetItemCount(list), 2);
}

TEST_F(BindingsTest, DetachedModelsNoLongerReachTheirControls) {
  ui::Label& label = label_;
  label.SetCaption("before");
  HWND control = Make(L"Static", SS_LEFT);
  bindings_.Bind(control, label);
  bindings_.DetachAll();
  EXPECT_FALSE(label.changed);
  label.SetCaption("after");
  EXPECT_EQ(Caption(control), "before");
}

}  // namespace
}  // namespace quorvane::views
