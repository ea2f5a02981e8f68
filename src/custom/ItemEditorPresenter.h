#pragma once
// The custom item editor "Add Clean item": the item's name and two switches that open the
// pickers. The pickers leave their lists in the working copies; Save checks the name and
// moves the working copies into the custom-item folder as the item's files.
//
// The window does not close while a working copy waits and Save cannot take it: with no name
// the user is asked for one, and a name that Save refuses keeps the window open with the
// reason, so that no working copy is left for the next item to take over. (A working copy
// that cannot be moved at all does not hold the window: the user is told, and may leave.) Working
// copies that an earlier run left behind (the program ended while the editor was open) are removed
// when the editor opens.

#include <functional>
#include <string>

#include "core/AppContext.h"
#include "core/platform/Platform.h"
#include "core/ui/Controls.h"

namespace quorvane {

struct ItemEditorHooks {
  std::function<void()> showFilePicker;      // "&Select" beside "Clean File(s)", modally
  std::function<void()> showRegistryPicker;  // "&Select" beside "Clean Registry Entry(s)"
  std::function<void(const std::string& name)> itemAdded;  // a new item was saved
};

class ItemEditorPresenter {
 public:
  enum class SaveResult {
    Refused,     // the name was refused, with the reason: nothing changed
    Failed,      // a working copy could not be moved, as the user was told
    NotCreated,  // a new item without any entries: nothing to save
    Saved,
  };

  // `name` is the item being edited (app.editMode) or the empty text for a new item.
  ItemEditorPresenter(const Platform& platform, AppContext& app, std::string name);
  ItemEditorPresenter(const ItemEditorPresenter&) = delete;
  ItemEditorPresenter& operator=(const ItemEditorPresenter&) = delete;

  ItemEditorHooks hooks;
  // The window closes; raised once.
  std::function<void()> onClosed;

  ui::Control Form;  // "Add Clean item"
  ui::Label lblItemName;
  ui::TextBox txtItemName;
  ui::CheckBox ChkCleanFiles;
  ui::Button CmdSelectFile;
  ui::CheckBox ChkCleanRegistry;
  ui::Button CmdSelectRegistry;
  ui::Button CmdSave;
  ui::Button CmdExit;

  void Load();
  // Runs when the window opens and again whenever a picker has closed.
  void Activate();
  SaveResult Save();
  // The close check that every close passes (Exit, the close box, Escape).
  void RequestClose();

 private:
  bool WorkingCopyWaits() const;
  void Close();

  Platform platform_;
  AppContext& app_;
  bool closed_ = false;
};

}  // namespace quorvane
