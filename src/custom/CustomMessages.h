#pragma once
// The texts of the custom item windows' messages, shared by the list, the editor and both
// pickers, and the one way they are shown: an information box titled with the program's
// title.

#include <string>
#include <string_view>
#include <vector>

#include "core/AppContext.h"
#include "core/platform/Platform.h"
#include "custom/CustomItemFile.h"

namespace quorvane {

inline constexpr std::string_view kNoItemName = "You must give the Item Name";
inline constexpr std::string_view kItemNameInUse = "Please enter different Item Name.";

// Why a name cannot become an item's name; empty for ItemNameProblem::None.
std::string ItemNameProblemText(ItemNameProblem problem);
// Why an entry cannot be stored in an item file; empty for Ok.
std::string EntryProblemText(RecordWriteStatus status, std::string_view entry);

void ShowInformation(WindowServices& windows, std::string_view text);

// Checks that one record can be written to an item file exactly as it is; when it cannot,
// tells the user why and returns false.
bool CheckEntryStorable(WindowServices& windows, TextCodec& codec, const ItemRecord& record);

// The most entries a picker's list holds (the item file's record count is a signed 16-bit
// number in the program's oldest releases, which still read these files).
inline constexpr std::size_t kMaxPickerEntries = 32767;
// True when the list may take one more entry; otherwise tells the user.
bool CheckRoomForEntry(WindowServices& windows, std::size_t entries);

// What a picker does with its list when it closes (WriteWorkingCopy), telling the user when
// the working copy could not be written or the emptied item's file could not be deleted.
void WritePickerList(const Platform& platform, const AppContext& app, std::string_view name,
                     ItemKind kind, const std::vector<ItemRecord>& records);

}  // namespace quorvane
