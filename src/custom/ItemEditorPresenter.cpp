#include "custom/ItemEditorPresenter.h"

#include <utility>

#include "core/FileServices.h"
#include "core/Text.h"
#include "custom/CustomItemFile.h"
#include "custom/CustomMessages.h"

namespace quorvane {

ItemEditorPresenter::ItemEditorPresenter(const Platform& platform, AppContext& app,
                                         std::string name)
    : platform_(platform), app_(app) {
  Form.SetCaption("Add Clean item");
  lblItemName.SetCaption("Item Name:  ");
  txtItemName.SetText(std::move(name));
  ChkCleanFiles.SetCaption("Clean File(s)");
  CmdSelectFile.SetCaption("&Select");
  CmdSelectFile.SetEnabled(false);
  ChkCleanRegistry.SetCaption("Clean Registry Entry(s)");
  CmdSelectRegistry.SetCaption("&Select");
  CmdSelectRegistry.SetEnabled(false);
  CmdSave.SetCaption("&Save");
  CmdExit.SetCaption("&Exit");

  // Each Select button is enabled exactly while its box is checked; the boxes store nothing.
  ChkCleanFiles.onClick = [this] { CmdSelectFile.SetEnabled(ChkCleanFiles.Value() == 1); };
  ChkCleanRegistry.onClick = [this] {
    CmdSelectRegistry.SetEnabled(ChkCleanRegistry.Value() == 1);
  };
  CmdSelectFile.onClick = [this] {
    if (hooks.showFilePicker) hooks.showFilePicker();
    Activate();
  };
  CmdSelectRegistry.onClick = [this] {
    if (hooks.showRegistryPicker) hooks.showRegistryPicker();
    Activate();
  };
  CmdSave.onClick = [this] { (void)Save(); };
  CmdExit.onClick = [this] { RequestClose(); };
}

void ItemEditorPresenter::Load() {
  // Left by a run that ended while an editor was open; the next Save would otherwise move
  // them into whatever item it saves.
  for (ItemKind kind : {ItemKind::Registry, ItemKind::File}) {
    (void)platform_.files.DeleteFile(WorkingCopyPath(app_, kind), DeleteMode::AsFound);
  }
  Activate();
}

void ItemEditorPresenter::Activate() {
  if (app_.editMode) txtItemName.SetReadOnly(true);
  const std::string& name = txtItemName.Text();
  if (PathExists(platform_.files, ItemFilePath(app_, name, ItemKind::File))) {
    ChkCleanFiles.SetValue(1);
  }
  if (PathExists(platform_.files, ItemFilePath(app_, name, ItemKind::Registry))) {
    ChkCleanRegistry.SetValue(1);
  }
}

ItemEditorPresenter::SaveResult ItemEditorPresenter::Save() {
  const std::string name = txtItemName.Text();
  if (const ItemNameProblem problem = CheckItemName(name); problem != ItemNameProblem::None) {
    ShowInformation(platform_.windows, ItemNameProblemText(problem));
    return SaveResult::Refused;
  }
  if (!app_.editMode && IsItemNameInUse(platform_.files, app_, name)) {
    ShowInformation(platform_.windows, kItemNameInUse);
    return SaveResult::Refused;
  }
  const SaveOutcome outcome = MoveWorkingCopiesIntoPlace(platform_.files, app_, name);
  for (const auto& [moved, kind] :
       {std::pair{outcome.registry, ItemKind::Registry}, std::pair{outcome.file, ItemKind::File}}) {
    if (moved != MoveOutcome::Failed) continue;
    ShowInformation(platform_.windows,
                    "The entries could not be saved as " + ItemFilePath(app_, name, kind) + ".");
    return SaveResult::Failed;
  }
  if (app_.editMode) return SaveResult::Saved;
  if (!IsItemNameInUse(platform_.files, app_, name)) return SaveResult::NotCreated;
  if (hooks.itemAdded) hooks.itemAdded(name);
  Close();
  return SaveResult::Saved;
}

bool ItemEditorPresenter::WorkingCopyWaits() const {
  return PathExists(platform_.files, WorkingCopyPath(app_, ItemKind::Registry)) ||
         PathExists(platform_.files, WorkingCopyPath(app_, ItemKind::File));
}

void ItemEditorPresenter::RequestClose() {
  if (closed_) return;
  if (WorkingCopyWaits()) {
    if (Trim(txtItemName.Text()).empty()) {
      ShowInformation(platform_.windows, kNoItemName);
      return;
    }
    if (Save() == SaveResult::Refused) return;
  }
  Close();
}

void ItemEditorPresenter::Close() {
  if (closed_) return;
  closed_ = true;
  if (onClosed) onClosed();
}

}  // namespace quorvane
