#include "win32/views/Bindings.h"

#include <uxtheme.h>

#include <string>

#include "win32/platform/WideText.h"

namespace quorvane::views {
using win32::Widen;

namespace {

// Draws only what differs, so that a model change does not make every control flicker.
void DrawVisible(HWND control, bool visible) {
  const bool shown = (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
  if (shown != visible) ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
}

std::wstring WindowText(HWND control) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return text;
}

template <typename Snapshot>
std::shared_ptr<Snapshot> MakeSnapshot() {
  return std::make_shared<Snapshot>();
}

}  // namespace

void DrawCaption(HWND control, const std::string& caption) {
  const std::wstring wide = Widen(caption);
  if (WindowText(control) != wide) SetWindowTextW(control, wide.c_str());
}

void DrawState(HWND control, const ui::Control& model) {
  if ((IsWindowEnabled(control) != FALSE) != model.Enabled()) {
    EnableWindow(control, model.Enabled());
  }
  DrawVisible(control, model.Visible());
}

void Bindings::Attach(HWND control, ui::Control& model, std::function<void()> draw,
                      std::function<void(int)> onCommand,
                      std::function<void(const NMHDR&)> onNotify) {
  if (!control) return;
  auto binding = std::make_unique<Binding>();
  binding->control = control;
  binding->model = &model;
  binding->onCommand = std::move(onCommand);
  binding->onNotify = std::move(onNotify);
  model.changed = [this, draw] {
    const bool wasDrawing = drawing_;
    drawing_ = true;
    draw();
    drawing_ = wasDrawing;
  };
  bindings_.push_back(std::move(binding));
  model.changed();
}

void Bindings::Bind(HWND control, ui::Control& model) {
  Attach(control, model, [control, &model] {
    DrawCaption(control, model.Caption());
    DrawState(control, model);
  });
}

void Bindings::BindPanel(HWND window, ui::Control& model) {
  Attach(window, model, [window, &model] { DrawState(window, model); });
}

void Bindings::Bind(HWND control, ui::Button& model) {
  Attach(
      control, model,
      [control, &model] {
        DrawCaption(control, model.Caption());
        DrawState(control, model);
      },
      [&model](int code) {
        if (code == BN_CLICKED) model.Click();
      });
}

void Bindings::Bind(HWND control, ui::CheckBox& model) {
  Attach(
      control, model,
      [control, &model] {
        DrawCaption(control, model.Caption());
        DrawState(control, model);
        SendMessageW(control, BM_SETCHECK, model.Value() == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
      },
      [&model](int code) {
        if (code == BN_CLICKED) model.Click();
      });
}

void Bindings::BindTick(HWND control, ui::CheckBox& model) {
  Attach(control, model, [control, &model] {
    DrawState(control, model);
    SendMessageW(control, BM_SETCHECK, model.Value() == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
  });
}

void Bindings::Bind(HWND control, ui::TextBox& model) {
  Attach(
      control, model,
      [control, &model] {
        DrawCaption(control, model.Text());
        DrawState(control, model);
        const bool readOnly = (GetWindowLongPtrW(control, GWL_STYLE) & ES_READONLY) != 0;
        if (readOnly != model.ReadOnly())
          SendMessageW(control, EM_SETREADONLY, model.ReadOnly(), 0);
      },
      [this, control, &model](int code) {
        if (code == EN_CHANGE && !drawing_) model.SetText(win32::Narrow(WindowText(control)));
      });
}

void Bindings::Bind(HWND control, ui::ProgressBar& model) {
  auto themeOff = std::make_shared<bool>(false);
  Attach(control, model, [control, &model, themeOff] {
    DrawState(control, model);
    SendMessageW(control, PBM_SETRANGE32, static_cast<WPARAM>(model.Min()),
                 static_cast<LPARAM>(model.Max()));
    SendMessageW(control, PBM_SETPOS, static_cast<WPARAM>(model.Value()), 0);
    if (const auto color = model.BarColor()) {
      // A themed bar ignores the colour, so this bar alone loses its visual style. A blank
      // class name matches no theme class anywhere; Wine ignores the empty name that
      // Windows also accepts, and would keep drawing the bar themed.
      if (!*themeOff) {
        SetWindowTheme(control, L" ", L" ");
        *themeOff = true;
      }
      SendMessageW(control, PBM_SETBARCOLOR, 0, static_cast<LPARAM>(*color));
    }
  });
}

void Bindings::Bind(HWND control, ui::ComboBox& model) {
  auto shown = MakeSnapshot<std::vector<std::string>>();
  Attach(
      control, model,
      [control, &model, shown] {
        DrawState(control, model);
        if (*shown != model.Items()) {
          SendMessageW(control, CB_RESETCONTENT, 0, 0);
          for (const std::string& item : model.Items()) {
            SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
          }
          *shown = model.Items();
        }
        SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(model.ListIndex()), 0);
      },
      [this, control, &model](int code) {
        if (code != CBN_SELCHANGE || drawing_) return;
        model.SetListIndex(static_cast<int>(SendMessageW(control, CB_GETCURSEL, 0, 0)));
      });
}

void Bindings::Bind(HWND control, ui::ListView& model) {
  BindList(control, model, LVS_EX_FULLROWSELECT, {}, {});
}

void Bindings::Bind(HWND control, ui::CheckListView& model) {
  BindList(
      control, model, LVS_EX_FULLROWSELECT | LVS_EX_CHECKBOXES,
      [control, &model] {
        const int count = ListView_GetItemCount(control);
        for (int row = 0; row < count; ++row) {
          if ((ListView_GetCheckState(control, row) != FALSE) != model.Checked(row)) {
            ListView_SetCheckState(control, row, model.Checked(row));
          }
        }
      },
      [&model](const NMLISTVIEW& change) {
        // The check box is the row's state image: 1 unticked, 2 ticked.
        if (!(change.uChanged & LVIF_STATE) ||
            !((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK)) {
          return;
        }
        model.SetChecked(change.iItem,
                         (change.uNewState & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2));
      });
}

void Bindings::BindList(HWND control, ui::ListView& model, DWORD extendedStyle,
                        std::function<void()> drawMore,
                        std::function<void(const NMLISTVIEW&)> onItemChanged) {
  ListView_SetExtendedListViewStyle(control, extendedStyle);
  // A list without column names shows no empty header either.
  bool named = false;
  for (const std::string& column : model.columns) named = named || !column.empty();
  if (!named) {
    SetWindowLongPtrW(control, GWL_STYLE,
                      GetWindowLongPtrW(control, GWL_STYLE) | LVS_NOCOLUMNHEADER);
  }
  RECT client{};
  GetClientRect(control, &client);
  const std::vector<std::string> columns =
      model.columns.empty() ? std::vector<std::string>{std::string()} : model.columns;
  const int usable = client.right - client.left - GetSystemMetrics(SM_CXVSCROLL);
  for (size_t i = 0; i < columns.size(); ++i) {
    std::wstring text = Widen(columns[i]);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = text.data();
    column.cx = i < model.columnWidths.size() ? MulDiv(usable, model.columnWidths[i], 100)
                                              : usable / static_cast<int>(columns.size());
    ListView_InsertColumn(control, static_cast<int>(i), &column);
  }
  auto shown = MakeSnapshot<std::vector<std::vector<std::string>>>();
  Attach(
      control, model,
      [control, &model, shown, drawMore] {
        DrawState(control, model);
        if (*shown != model.Rows()) {
          ListView_DeleteAllItems(control);
          int index = 0;
          for (const auto& row : model.Rows()) {
            for (size_t column = 0; column < row.size(); ++column) {
              std::wstring text = Widen(row[column]);
              LVITEMW item{};
              item.mask = LVIF_TEXT;
              item.iItem = index;
              item.iSubItem = static_cast<int>(column);
              item.pszText = text.data();
              if (column == 0) {
                ListView_InsertItem(control, &item);
              } else {
                ListView_SetItem(control, &item);
              }
            }
            ++index;
          }
          *shown = model.Rows();
        }
        if (drawMore) drawMore();
        const int selected = model.SelectedIndex();
        if (ListView_GetNextItem(control, -1, LVNI_SELECTED) != selected) {
          ListView_SetItemState(control, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
          if (selected >= 0) {
            ListView_SetItemState(control, selected, LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
          }
        }
      },
      {},
      [this, &model, onItemChanged](const NMHDR& header) {
        if (header.code != LVN_ITEMCHANGED || drawing_) return;
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        if (onItemChanged) onItemChanged(change);
        const bool nowSelected = (change.uNewState & LVIS_SELECTED) != 0;
        const bool wasSelected = (change.uOldState & LVIS_SELECTED) != 0;
        if (nowSelected && !wasSelected) {
          model.Select(change.iItem);
        } else if (wasSelected && !nowSelected && model.SelectedIndex() == change.iItem) {
          model.Select(-1);
        }
      });
}

void Bindings::Bind(HWND control, ui::ListBox& model) {
  const bool multi =
      (GetWindowLongPtrW(control, GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
  auto shown = MakeSnapshot<std::vector<std::string>>();
  Attach(
      control, model,
      [control, &model, shown, multi] {
        DrawState(control, model);
        if (*shown != model.Items()) {
          SendMessageW(control, WM_SETREDRAW, FALSE, 0);
          SendMessageW(control, LB_RESETCONTENT, 0, 0);
          for (const std::string& item : model.Items()) {
            SendMessageW(control, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
          }
          SendMessageW(control, WM_SETREDRAW, TRUE, 0);
          InvalidateRect(control, nullptr, TRUE);
          *shown = model.Items();
        }
        if (multi) {
          SendMessageW(control, LB_SETSEL, FALSE, -1);
          for (int index : model.Selected()) SendMessageW(control, LB_SETSEL, TRUE, index);
        } else {
          SendMessageW(control, LB_SETCURSEL, static_cast<WPARAM>(model.ListIndex()), 0);
        }
      },
      [this, control, &model, multi](int code) {
        if (drawing_) return;
        const int caret = static_cast<int>(SendMessageW(control, LB_GETCURSEL, 0, 0));
        if (code == LBN_DBLCLK) {
          model.Open(multi ? static_cast<int>(SendMessageW(control, LB_GETCARETINDEX, 0, 0))
                           : caret);
          return;
        }
        if (code != LBN_SELCHANGE) return;
        if (!multi) {
          model.Select(caret);
          return;
        }
        std::vector<int> selected(static_cast<size_t>(SendMessageW(control, LB_GETSELCOUNT, 0, 0)));
        if (!selected.empty()) {
          SendMessageW(control, LB_GETSELITEMS, selected.size(),
                       reinterpret_cast<LPARAM>(selected.data()));
        }
        model.SetSelected(std::move(selected));
      });
}

void Bindings::Bind(HWND control, ui::TabStrip& model) {
  Attach(
      control, model,
      [control, &model] {
        DrawState(control, model);
        const int count = TabCtrl_GetItemCount(control);
        for (size_t i = 0; i < model.tabs.size(); ++i) {
          std::wstring text = Widen(model.tabs[i]);
          TCITEMW item{};
          item.mask = TCIF_TEXT;
          item.pszText = text.data();
          if (static_cast<int>(i) >= count) {
            TabCtrl_InsertItem(control, static_cast<int>(i), &item);
            continue;
          }
          wchar_t current[256] = {};
          TCITEMW read{};
          read.mask = TCIF_TEXT;
          read.pszText = current;
          read.cchTextMax = 256;
          TabCtrl_GetItem(control, static_cast<int>(i), &read);
          if (text != current) TabCtrl_SetItem(control, static_cast<int>(i), &item);
        }
        if (TabCtrl_GetCurSel(control) != model.SelectedIndex()) {
          TabCtrl_SetCurSel(control, model.SelectedIndex());
        }
      },
      {},
      [this, control, &model](const NMHDR& header) {
        if (header.code != TCN_SELCHANGE || drawing_) return;
        model.Select(TabCtrl_GetCurSel(control));
      });
}

void Bindings::BindCustom(HWND control, ui::Control& model, std::function<void()> draw) {
  Attach(control, model, std::move(draw));
}

void Bindings::DrawAll() {
  for (const auto& binding : bindings_) {
    if (binding->model->changed) binding->model->changed();
  }
}

bool Bindings::Command(HWND control, int code) {
  for (const auto& binding : bindings_) {
    if (binding->control != control || !binding->onCommand) continue;
    // A copy: the handler may close the window and so end this binding.
    const auto handler = binding->onCommand;
    handler(code);
    return true;
  }
  return false;
}

bool Bindings::Notify(const NMHDR& header) {
  for (const auto& binding : bindings_) {
    if (binding->control != header.hwndFrom || !binding->onNotify) continue;
    const auto handler = binding->onNotify;
    handler(header);
    return true;
  }
  return false;
}

void Bindings::DetachAll() {
  for (const auto& binding : bindings_) binding->model->changed = nullptr;
  bindings_.clear();
}

}  // namespace quorvane::views
