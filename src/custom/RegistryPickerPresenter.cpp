#include "custom/RegistryPickerPresenter.h"

#include <algorithm>
#include <utility>

#include "custom/CustomItemFile.h"
#include "custom/CustomMessages.h"

namespace quorvane {

RegistryPickerPresenter::RegistryPickerPresenter(const Platform& platform, AppContext& app,
                                                 std::string name)
    : platform_(platform), app_(app), name_(std::move(name)) {
  SkinLabel2.SetCaption("Top level Registry Key");
  SkinLabel3.SetCaption("Subkey path of Registry entry to be erased");
  SkinLabel1.SetCaption("Sub-key e.g.: Software\\Tavrel\\test");
  ChkDeletekey.SetCaption("Remove entire sub-key");
  ChkDeletevalue.SetCaption("Remove value withing a sub-key");
  CmdAdd.SetCaption("&Add");
  CmdDelete.SetCaption("&Delete");
  CmdDone.SetCaption("&Done");
  // The key path takes half the list; the value name a little less; the kind is kept
  // for the item file but not shown.
  ListView1.columns = {"", "", ""};
  ListView1.columnWidths = {50, 47, 0};

  // Checking one box unchecks the other and switches the kind; unchecking the checked box
  // leaves the kind as it was.
  ChkDeletekey.onClick = [this] {
    if (ChkDeletekey.Value() != 1) return;
    ChkDeletevalue.SetValue(0);
    txtRegValue.SetEnabled(false);
  };
  ChkDeletevalue.onClick = [this] {
    if (ChkDeletevalue.Value() != 1) return;
    ChkDeletekey.SetValue(0);
    txtRegValue.SetEnabled(true);
  };
  ChkDeletekey.SetValue(1);
  CmdAdd.onClick = [this] { Add(); };
  CmdDelete.onClick = [this] { Delete(); };
  CmdDone.onClick = [this] { Close(); };
}

void RegistryPickerPresenter::Load() {
  std::vector<std::vector<std::string>> rows;
  for (const ItemRecord& record : ReadItemFile(platform_.files, platform_.codec,
                                               ItemFilePath(app_, name_, ItemKind::Registry))) {
    rows.push_back({record.target, record.valueName, record.kind});
  }
  ListView1.SetRows(std::move(rows));
  for (const char* root : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                           "HKEY_USERS", "HKEY_PERFORMANCE_DATA"}) {
    cboTopRegKey.AddItem(root);
  }
}

void RegistryPickerPresenter::Add() {
  const int rootIndex = cboTopRegKey.ListIndex();
  if (rootIndex < 0) return;
  std::string subkey = txtRegSubkey.Text();
  std::replace(subkey.begin(), subkey.end(), '/', '\\');
  if (subkey.find_first_not_of(" \t\\") == std::string::npos) return;
  if (!CheckRoomForEntry(platform_.windows, ListView1.Rows().size())) return;

  const bool valueEntry = txtRegValue.Enabled();
  ItemRecord record{valueEntry ? "V" : "K",
                    cboTopRegKey.Items()[static_cast<std::size_t>(rootIndex)] + "\\" + subkey,
                    valueEntry ? txtRegValue.Text() : std::string()};
  if (!CheckEntryStorable(platform_.windows, platform_.codec, record)) return;
  ListView1.AddRow({std::move(record.target), std::move(record.valueName), std::move(record.kind)});
}

void RegistryPickerPresenter::Delete() {
  if (ListView1.SelectedIndex() >= 0) ListView1.RemoveRow(ListView1.SelectedIndex());
}

void RegistryPickerPresenter::Close() {
  if (closed_) return;
  closed_ = true;
  std::vector<ItemRecord> records;
  for (const auto& row : ListView1.Rows()) {
    records.push_back({row[kKindColumn], row[kKeyColumn], row[kValueColumn]});
  }
  WritePickerList(platform_, app_, name_, ItemKind::Registry, records);
  if (onClosed) onClosed();
}

}  // namespace quorvane
