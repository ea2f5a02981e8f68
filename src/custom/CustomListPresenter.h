#pragma once
// The custom item list on the main window's custom page: one entry per item, by name, with
// Add, Edit and Delete. The models belong to the main window's page; this presenter fills
// them and answers their buttons.
//
// An item is listed by the stem of its ".ac1" or ".ac2" file; names are compared whole and
// without regard to case, so that the two files of one item give one entry and an item whose
// name begins another's ("Temp" beside "Temp Files") is listed too. Other files in the folder
// are not items and are not listed.

#include <functional>
#include <string>
#include <string_view>

#include "core/AppContext.h"
#include "core/platform/Platform.h"
#include "core/ui/Controls.h"

namespace quorvane {

class CustomListPresenter {
 public:
  CustomListPresenter(const Platform& platform, AppContext& app, ui::ListView& list,
                      ui::Button& add, ui::Button& edit, ui::Button& remove);
  CustomListPresenter(const CustomListPresenter&) = delete;
  CustomListPresenter& operator=(const CustomListPresenter&) = delete;

  // Opens the item editor modally with `name` in its name box; returns when it has closed.
  std::function<void(const std::string& name)> showEditor;

  // Adds the items of the custom-item folder that the list does not show yet.
  void LoadCustomItems();
  // The editor saved a new item: it is listed at once.
  void AddItem(std::string name);

  void Add();
  void Edit();
  // Deletes the selected item's files; the entry goes only when none of them is left. A file
  // that cannot be deleted is named in a message.
  void Delete();

 private:
  bool IsListed(std::string_view name) const;

  Platform platform_;
  AppContext& app_;
  ui::ListView& list_;
};

}  // namespace quorvane
