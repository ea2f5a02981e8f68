#pragma once
// Control models of the program's windows. A presenter owns them and sets their state; a
// view maps each one to its real control, forwards user input (Click, SetText, Select)
// and redraws when `changed` fires. Setting a check box's value in code raises its click
// handler when the value changes, as the option loader relies on.

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorvane::ui {

class Control {
 public:
  // Called after any change of the model's state; the view uses it to redraw.
  std::function<void()> changed;

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { Update(caption_, std::move(caption)); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { Update(enabled_, enabled); }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { Update(visible_, visible); }

 protected:
  template <typename T>
  void Update(T& field, T value) {
    if (field == value) return;
    field = std::move(value);
    Notify();
  }
  void Notify() {
    if (changed) changed();
  }

 private:
  std::string caption_;
  bool enabled_ = true;
  bool visible_ = true;
};

using Label = Control;

class Button : public Control {
 public:
  std::function<void()> onClick;
  // A click from the user (or a test); a disabled button ignores it.
  void Click() {
    if (Enabled() && onClick) onClick();
  }
};

class CheckBox : public Control {
 public:
  std::function<void()> onClick;
  int Value() const { return value_; }
  // Raises onClick when the value changes, whether the user or code changed it.
  void SetValue(int value) {
    if (value == value_) return;
    value_ = value;
    Notify();
    if (onClick) onClick();
  }
  // The user's click toggles the box; a disabled box ignores it.
  void Click() {
    if (Enabled()) SetValue(value_ == 1 ? 0 : 1);
  }

 private:
  int value_ = 0;
};

class TextBox : public Control {
 public:
  std::function<void()> onChange;
  const std::string& Text() const { return Caption(); }
  void SetText(std::string text) {
    if (text == Caption()) return;
    SetCaption(std::move(text));
    if (onChange) onChange();
  }
  // A read-only box shows its text and lets it be selected and copied, not typed over.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { Update(readOnly_, readOnly); }

 private:
  bool readOnly_ = false;
};

class ProgressBar : public Control {
 public:
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Value() const { return value_; }
  void SetValue(int value) { Update(value_, value); }
  void SetMax(int max) { Update(max_, max); }
  // The bar colour in 0x00BBGGRR, or none for the platform's default.
  std::optional<std::uint32_t> BarColor() const { return barColor_; }
  void SetBarColor(std::uint32_t color) { Update(barColor_, std::optional<std::uint32_t>(color)); }

 private:
  int min_ = 0;
  int max_ = 100;
  int value_ = 0;
  std::optional<std::uint32_t> barColor_;
};

class ComboBox : public Control {
 public:
  std::function<void()> onClick;
  const std::vector<std::string>& Items() const { return items_; }
  void AddItem(std::string item) {
    items_.push_back(std::move(item));
    Notify();
  }
  int ListIndex() const { return listIndex_; }
  // -1 selects nothing. Raises onClick when the selection changes.
  void SetListIndex(int index) {
    if (index < -1 || index >= static_cast<int>(items_.size()) || index == listIndex_) return;
    listIndex_ = index;
    Notify();
    if (onClick) onClick();
  }

 private:
  std::vector<std::string> items_;
  int listIndex_ = -1;
};

class TabStrip : public Control {
 public:
  std::function<void()> onClick;
  std::vector<std::string> tabs;
  int SelectedIndex() const { return selected_; }
  // Raises onClick for every selection, as a click on a tab does.
  void Select(int index) {
    if (index < 0 || index >= static_cast<int>(tabs.size())) return;
    selected_ = index;
    Notify();
    if (onClick) onClick();
  }
  // Moves the highlight back without a click, when a selection was refused.
  void Restore(int index) {
    if (index < 0 || index >= static_cast<int>(tabs.size())) return;
    selected_ = index;
    Notify();
  }

 private:
  int selected_ = 0;
};

// A list of texts. A single-selection list holds at most one selected item; a
// multi-selection list any number (Shift and Ctrl extend it). Opening an item is the
// double click or Enter on it.
class ListBox : public Control {
 public:
  std::function<void()> onSelect;
  std::function<void()> onOpen;
  bool multiSelect = false;

  const std::vector<std::string>& Items() const { return items_; }
  // New items clear the selection.
  void SetItems(std::vector<std::string> items) {
    items_ = std::move(items);
    selected_.clear();
    Notify();
  }
  // The selected items from the top of the list to its bottom.
  const std::vector<int>& Selected() const { return selected_; }
  int ListIndex() const { return selected_.empty() ? -1 : selected_.front(); }
  // Indices outside the list are dropped; a single-selection list keeps the first one.
  void SetSelected(std::vector<int> indices) {
    std::vector<int> kept;
    for (int index : indices) {
      if (index >= 0 && index < static_cast<int>(items_.size())) kept.push_back(index);
    }
    std::sort(kept.begin(), kept.end());
    kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    if (!multiSelect && kept.size() > 1) kept.resize(1);
    if (kept == selected_) return;
    selected_ = std::move(kept);
    Notify();
    if (onSelect) onSelect();
  }
  void Select(int index) { SetSelected(index < 0 ? std::vector<int>{} : std::vector<int>{index}); }
  void Open(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    Select(index);
    if (onOpen) onOpen();
  }

 private:
  std::vector<std::string> items_;
  std::vector<int> selected_;
};

// A report-style list: rows of column texts, with an optional selection. Without column
// names the list shows no header.
class ListView : public Control {
 public:
  std::function<void()> onSelect;
  std::vector<std::string> columns;
  // Each column's share of the list's width in percent, 0 hiding it; empty shares the
  // width out evenly.
  std::vector<int> columnWidths;
  const std::vector<std::vector<std::string>>& Rows() const { return rows_; }
  void SetRows(std::vector<std::vector<std::string>> rows) {
    rows_ = std::move(rows);
    if (selected_ >= static_cast<int>(rows_.size())) selected_ = -1;
    Notify();
  }
  void AddRow(std::vector<std::string> row) {
    rows_.push_back(std::move(row));
    Notify();
  }
  void RemoveRow(int index) {
    if (index < 0 || index >= static_cast<int>(rows_.size())) return;
    rows_.erase(rows_.begin() + index);
    if (selected_ >= static_cast<int>(rows_.size())) selected_ = static_cast<int>(rows_.size()) - 1;
    Notify();
  }
  int SelectedIndex() const { return selected_; }
  void Select(int index) {
    if (index < -1 || index >= static_cast<int>(rows_.size())) return;
    selected_ = index;
    Notify();
    if (onSelect) onSelect();
  }

 private:
  std::vector<std::vector<std::string>> rows_;
  int selected_ = -1;
};

// A report list with a check box on every row. The ticks belong to the rows shown: rows set
// anew come unticked.
class CheckListView : public ListView {
 public:
  void SetRows(std::vector<std::vector<std::string>> rows) {
    ticks_.assign(rows.size(), false);
    ListView::SetRows(std::move(rows));
  }
  bool Checked(int row) const {
    return row >= 0 && row < static_cast<int>(ticks_.size()) &&
           ticks_[static_cast<std::size_t>(row)];
  }
  // The user's tick or untick; a row that is not shown is ignored.
  void SetChecked(int row, bool checked) {
    if (row < 0 || row >= static_cast<int>(ticks_.size()) || Checked(row) == checked) return;
    ticks_[static_cast<std::size_t>(row)] = checked;
    Notify();
  }

 private:
  std::vector<bool> ticks_;
};

}  // namespace quorvane::ui
