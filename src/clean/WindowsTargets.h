#pragma once
// Cleaning targets of Windows itself: Find/Search and Run history, the Recycle Bin, Media
// Player's recent lists, the temporary folder and disk-check fragments on fixed drives.

#include <string>
#include <string_view>

#include "clean/CleanContext.h"

namespace quorvane {

// The value in which Explorer keeps the Find/Search list, under
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer. The name is
// Explorer's own and must stay exactly as it is.
inline constexpr std::string_view kFindHistoryValue = "Doc Find Spec MRU";

void CleanFindHistory(CleanContext& context);
void CleanRunHistory(CleanContext& context);
// An empty root empties the bins of every drive; "c" and "c:" mean "c:\".
void EmptyRecycleBin(CleanContext& context, std::string_view rootPath, bool noConfirmation,
                     bool noProgressUi, bool noSound);
void CleanMediaPlayer(CleanContext& context);
// The platform's temporary folder with its trailing back-slash (empty when there is none).
std::string GetTempDir(CleanContext& context);
void CleanTempFiles(CleanContext& context);
void CleanScandiskFiles(CleanContext& context);

}  // namespace quorvane
