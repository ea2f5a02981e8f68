#pragma once
// The custom item windows over the fakes: an application folder with its custom-item
// folder, drives C: and D:, and the editor's pickers opened as the program opens them, each
// driven by the test while it is "open".

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "core/AppContext.h"
#include "custom/CustomItemFile.h"
#include "custom/FilePickerPresenter.h"
#include "custom/ItemEditorPresenter.h"
#include "custom/RegistryPickerPresenter.h"
#include "fakes/FakePlatform.h"

namespace quorvane {

class CustomWindowsTest : public ::testing::Test {
 protected:
  CustomWindowsTest() {
    app.appFolder = "C:\\Apps";
    fake.files.AddDrive('C', DriveType::Fixed, 0, 0);
    fake.files.AddDrive('D', DriveType::CdRom, 0, 0);
    fake.files.AddFolder(app.CustomFolder());
  }

  std::string Item(std::string_view name, std::string_view extension) const {
    return app.CustomFolder() + "\\" + std::string(name) + std::string(extension);
  }
  std::string WorkingCopy(ItemKind kind) const { return WorkingCopyPath(app, kind); }
  std::vector<std::string> Messages() const {
    std::vector<std::string> texts;
    for (const auto& box : fake.windows.messageBoxes) texts.push_back(box.text);
    return texts;
  }

  // An editor as the custom list opens it; its Select buttons open real picker presenters
  // and hand them to `onFilePicker` / `onRegistryPicker`, then close them as Done does.
  std::unique_ptr<ItemEditorPresenter> OpenEditor(std::string name) {
    auto editor = std::make_unique<ItemEditorPresenter>(platform, app, std::move(name));
    ItemEditorPresenter& e = *editor;
    e.onClosed = [this] { ++editorCloses; };
    e.hooks.itemAdded = [this](const std::string& added) { addedItems.push_back(added); };
    e.hooks.showFilePicker = [this, &e] {
      FilePickerPresenter picker(platform, app, e.txtItemName.Text());
      picker.Load(startFolder);
      if (onFilePicker) onFilePicker(picker);
      picker.CmdDone.Click();
    };
    e.hooks.showRegistryPicker = [this, &e] {
      RegistryPickerPresenter picker(platform, app, e.txtItemName.Text());
      picker.Load();
      if (onRegistryPicker) onRegistryPicker(picker);
      picker.CmdDone.Click();
    };
    e.Load();
    return editor;
  }

  // Adds one "K" entry for HKEY_CURRENT_USER\<subkey> in the registry picker.
  static void AddKey(RegistryPickerPresenter& picker, std::string subkey) {
    picker.cboTopRegKey.SetListIndex(1);
    picker.txtRegSubkey.SetText(std::move(subkey));
    picker.CmdAdd.Click();
  }

  fakes::FakePlatform fake;
  Platform platform = fake.platform();
  AppContext app;
  std::string startFolder = "C:\\Data";
  std::function<void(FilePickerPresenter&)> onFilePicker;
  std::function<void(RegistryPickerPresenter&)> onRegistryPicker;
  int editorCloses = 0;
  std::vector<std::string> addedItems;
};

}  // namespace quorvane
