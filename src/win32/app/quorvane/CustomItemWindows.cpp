#include "CustomItemWindows.h"

#include "custom/FilePickerPresenter.h"
#include "custom/ItemEditorPresenter.h"
#include "custom/RegistryPickerPresenter.h"
#include "win32/platform/WideText.h"
#include "win32/views/FilePickerView.h"
#include "win32/views/ItemEditorView.h"
#include "win32/views/RegistryPickerView.h"

namespace quorvane::app {
namespace {

// The file picker opens on the process's current folder.
std::string CurrentFolder() {
  const DWORD length = GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(length, L'\0');
  folder.resize(GetCurrentDirectoryW(length, folder.data()));
  return win32::Narrow(folder);
}

}  // namespace

CustomItemWindows::CustomItemWindows(Platform& platform, AppContext& context, MainPresenter& main,
                                     std::function<HWND()> owner)
    : platform_(platform),
      context_(context),
      owner_(std::move(owner)),
      list_(platform, context, main.ListView1, main.CmdAdd, main.CmdEdit, main.CmdDelete) {
  main.hooks.refreshCustomList = [this] { list_.LoadCustomItems(); };
  list_.showEditor = [this](const std::string& name) { ShowEditor(name); };
}

void CustomItemWindows::ShowEditor(const std::string& name) {
  ItemEditorPresenter editor(platform_, context_, name);
  views::ItemEditorView editorView(editor);
  editor.hooks.itemAdded = [this](const std::string& added) { list_.AddItem(added); };
  editor.hooks.showFilePicker = [&] {
    FilePickerPresenter picker(platform_, context_, editor.txtItemName.Text());
    picker.Load(CurrentFolder());
    views::FilePickerView(picker).ShowModal(editorView.Handle());
  };
  editor.hooks.showRegistryPicker = [&] {
    RegistryPickerPresenter picker(platform_, context_, editor.txtItemName.Text());
    picker.Load();
    views::RegistryPickerView(picker).ShowModal(editorView.Handle());
  };
  editorView.ShowModal(owner_());
}

}  // namespace quorvane::app
