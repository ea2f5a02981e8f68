#pragma once
// The registry entry picker: a root key, a sub-key path and whether the entry removes the
// whole sub-key ("K") or one value in it ("V"). The list starts with the item's saved
// registry entries; when the window closes it becomes the registry working copy, or, for an
// existing item whose list was emptied, the item's registry item file is deleted. Entries
// are only text: nothing here reads or changes the registry.
//
// The registry splits key paths at back-slashes only, so forward slashes typed into the
// sub-key become back-slashes when the entry is added; a sub-key of nothing but separators
// and blanks would name the root key itself and is refused like an empty one.

#include <functional>
#include <string>

#include "core/AppContext.h"
#include "core/platform/Platform.h"
#include "core/ui/Controls.h"

namespace quorvane {

class RegistryPickerPresenter {
 public:
  // Columns of an entry's row: the key path, the value name, the kind ("K" or "V").
  enum Column { kKeyColumn, kValueColumn, kKindColumn };

  // `name` is the item name in the editor's name box.
  RegistryPickerPresenter(const Platform& platform, AppContext& app, std::string name);
  RegistryPickerPresenter(const RegistryPickerPresenter&) = delete;
  RegistryPickerPresenter& operator=(const RegistryPickerPresenter&) = delete;

  std::function<void()> onClosed;

  ui::Control Form;      // no title text
  ui::Label SkinLabel2;  // "Top level Registry Key"
  ui::ComboBox cboTopRegKey;
  ui::Label SkinLabel3;  // "Subkey path of Registry entry to be erased"
  ui::TextBox txtRegSubkey;
  ui::Label SkinLabel1;  // the example sub-key
  ui::CheckBox ChkDeletekey;
  ui::CheckBox ChkDeletevalue;
  ui::TextBox txtRegValue;  // enabled exactly while new entries are "V" entries
  ui::ListView ListView1;
  ui::Button CmdAdd;
  ui::Button CmdDelete;
  ui::Button CmdDone;

  // The saved entries of the item and the five root keys, none chosen.
  void Load();
  void Add();
  void Delete();
  // Done and the window's close box alike.
  void Close();

 private:
  Platform platform_;
  AppContext& app_;
  std::string name_;
  bool closed_ = false;
};

}  // namespace quorvane
