#pragma once
// The file and folder picker "Select Files or Folders", modal over the item editor.

#include "custom/FilePickerPresenter.h"
#include "win32/views/Dialog.h"

namespace quorvane::views {

class FilePickerView : public Dialog {
 public:
  explicit FilePickerView(FilePickerPresenter& presenter);

 protected:
  bool OnInit() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  FilePickerPresenter& presenter_;
};

}  // namespace quorvane::views
