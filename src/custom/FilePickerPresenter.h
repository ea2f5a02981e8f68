#pragma once
// The file and folder picker "Select Files or Folders": the user walks the drives and
// folders, then adds the files selected in a folder, or one wild-card pattern for it. The
// list starts with the item's saved file entries; when the window closes it becomes the
// file working copy, or, for an existing item whose list was emptied, the item's file item
// file is deleted.
//
// A drive or folder that cannot be read (no medium in the drive, a network drive that is
// gone) is named in a message, and the lists stay on the folder shown before.

#include <functional>
#include <string>
#include <vector>

#include "core/AppContext.h"
#include "core/platform/Platform.h"
#include "core/ui/Controls.h"

namespace quorvane {

class FilePickerPresenter {
 public:
  // `name` is the item name in the editor's name box.
  FilePickerPresenter(const Platform& platform, AppContext& app, std::string name);
  FilePickerPresenter(const FilePickerPresenter&) = delete;
  FilePickerPresenter& operator=(const FilePickerPresenter&) = delete;

  std::function<void()> onClosed;

  ui::Control Form;     // "Select Files or Folders"
  ui::ComboBox Drive1;  // "c:", "d:", ...
  // The folders from the drive's root down to the folder shown, each indented one step
  // further, then the folder's own sub-folders. Opening one shows it.
  ui::ListBox Dir1;
  ui::ListBox File1;  // the ordinary files of the folder that match the filter
  ui::Label lblPath;
  ui::Label SkinLabel1;  // "Wild Card"
  ui::TextBox txtPattern;
  ui::CheckBox ChkWildcard;
  ui::Label SkinLabel2;  // "Note: Wild Card e.g. *.chk"
  ui::ListView ListView1;
  ui::Button CmdAdd;
  ui::Button CmdDelete;
  ui::Button CmdDone;

  // Fills the lists: the drives, `startFolder` (the process's current folder), the saved
  // entries of the item.
  void Load(const std::string& startFolder);
  // Shows `folder` in the folder and file lists; false, with nothing changed, when it
  // cannot be read.
  bool ShowFolder(const std::string& folder);
  const std::string& Folder() const { return folder_; }
  void Add();
  void Delete();
  // Done and the window's close box alike.
  void Close();

 private:
  void DriveChanged();
  void OpenFolderEntry();
  void FillFiles();
  int DriveIndexOf(const std::string& folder) const;

  Platform platform_;
  AppContext& app_;
  std::string name_;
  std::string folder_;                    // "C:\" at a root, "C:\a\b" below it
  std::vector<std::string> folderPaths_;  // the folder of each Dir1 entry
  int shownDrive_ = -1;
  bool closed_ = false;
};

}  // namespace quorvane
