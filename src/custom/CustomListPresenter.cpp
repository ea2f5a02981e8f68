#include "custom/CustomListPresenter.h"

#include <vector>

#include "core/Text.h"
#include "custom/CustomItemFile.h"
#include "custom/CustomMessages.h"

namespace quorvane {
namespace {

constexpr std::size_t kExtensionLength = 4;  // ".ac1", ".ac2"

// The item name that a file of the custom-item folder stands for, or nothing.
bool ItemNameOf(const DirEntry& entry, std::string& name) {
  constexpr std::uint32_t kNotListed = file_attr::Directory | file_attr::Hidden | file_attr::System;
  if ((entry.attributes & kNotListed) != 0 || entry.name.size() <= kExtensionLength) return false;
  const std::string_view extension =
      std::string_view(entry.name).substr(entry.name.size() - kExtensionLength);
  if (!EqualsNoCase(extension, ".ac1") && !EqualsNoCase(extension, ".ac2")) return false;
  name = entry.name.substr(0, entry.name.size() - kExtensionLength);
  return true;
}

}  // namespace

CustomListPresenter::CustomListPresenter(const Platform& platform, AppContext& app,
                                         ui::ListView& list, ui::Button& add, ui::Button& edit,
                                         ui::Button& remove)
    : platform_(platform), app_(app), list_(list) {
  add.onClick = [this] { Add(); };
  edit.onClick = [this] { Edit(); };
  remove.onClick = [this] { Delete(); };
}

bool CustomListPresenter::IsListed(std::string_view name) const {
  for (const auto& row : list_.Rows()) {
    if (!row.empty() && EqualsNoCase(row.front(), name)) return true;
  }
  return false;
}

void CustomListPresenter::LoadCustomItems() {
  std::vector<DirEntry> entries;
  if (platform_.files.ListDirectory(app_.CustomFolder(), entries) != FsResult::Ok) return;
  for (const DirEntry& entry : entries) {
    std::string name;
    if (ItemNameOf(entry, name) && !IsListed(name)) list_.AddRow({std::move(name)});
  }
}

void CustomListPresenter::AddItem(std::string name) { list_.AddRow({std::move(name)}); }

void CustomListPresenter::Add() {
  app_.editMode = false;
  if (showEditor) showEditor(std::string());
}

void CustomListPresenter::Edit() {
  const int selected = list_.SelectedIndex();
  if (selected < 0) return;
  const std::string name = list_.Rows()[static_cast<std::size_t>(selected)].front();
  app_.editMode = true;
  if (showEditor) showEditor(name);
}

void CustomListPresenter::Delete() {
  const int selected = list_.SelectedIndex();
  if (selected < 0) return;
  const std::string name = list_.Rows()[static_cast<std::size_t>(selected)].front();
  // Exactly the item's own two files: a pattern such as name + ".ac*" would also reach the
  // files of an item called, say, name + ".acme".
  bool deleted = false;
  for (ItemKind kind : {ItemKind::Registry, ItemKind::File}) {
    const std::string path = ItemFilePath(app_, name, kind);
    switch (platform_.files.DeleteFile(path, DeleteMode::AsFound)) {
      case FsResult::Ok:
        deleted = true;
        break;
      case FsResult::NotFound:
        break;
      default:
        ShowInformation(platform_.windows,
                        "The item file " + path +
                            " could not be deleted (it may be read-only or in use), so the "
                            "item stays in the list.");
        return;
    }
  }
  if (deleted) list_.RemoveRow(selected);
}

}  // namespace quorvane
