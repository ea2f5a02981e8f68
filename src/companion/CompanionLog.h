#pragma once
// The log of the automatic cleans, "%LOCALAPPDATA%\Quorvane\Kelverin.log": per clean a line
// with the local date and time and the reason, then the lines that "--clean" prints.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "companion/AutoClean.h"
#include "core/platform/Platform.h"

namespace quorvane::companion {

inline constexpr std::string_view kLogName = "\\Kelverin.log";
// The log keeps its newest part only, so that years of cleans do not fill the disk.
inline constexpr std::size_t kLogLimit = 1024 * 1024;

// The last `limit` bytes at most of `text`, starting at the beginning of a line.
std::string KeepTail(std::string text, std::size_t limit);

// Appends the lines to the log in `folder`, which is made when missing.
void AppendToLog(FileSystem& files, std::string_view folder, const std::vector<std::string>& lines);

// One automatic clean with the options of the settings file, logged.
void CleanToLog(Platform& platform, std::string_view logFolder, CleanReason reason,
                std::string_view localTime);

}  // namespace quorvane::companion
