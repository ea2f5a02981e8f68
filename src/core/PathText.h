#pragma once
// Path text: the one place that decides what a path's text means - absolute or relative,
// drive roots, separators and trailing separators - and how UTF-8 text is walked character
// by character. Paths are UTF-8 in Windows form; "/" is taken as a separator wherever the
// platform takes it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

bool IsSeparator(char c);

// "C:\..." or "C:/...", or a network path "\\server\share...": the only starting points a
// folder of the program may have. Anything else ("Temp", "\Temp", "C:Temp") would be taken
// relative to the current folder or drive.
bool IsAbsolutePath(std::string_view path);

// "C:\" or "C:/" alone.
bool IsDriveRoot(std::string_view path);

// Every "/" as "\".
std::string WithBackslashes(std::string_view path);

// The path without its trailing separators: "C:\a\\" -> "C:\a". A drive root keeps its own
// ("C:\" stays "C:\"), since "C:" alone names the drive's current folder, not its root.
std::string WithoutTrailingSeparators(std::string_view path);

// The text followed by "\", unless it already ends in one: "C:\a" and "C:\a\" both give
// "C:\a\". The empty text gives "\" (callers decide first whether an empty folder is usable).
std::string AddBackslash(std::string_view text);

// Bytes of the UTF-8 character that starts at `at` (1 for a stray continuation byte).
std::size_t CharacterLength(std::string_view text, std::size_t at);
// The first `count` characters of a UTF-8 text, never cutting one in half.
std::string_view FirstCharacters(std::string_view text, std::size_t count);
// Each character of a UTF-8 text as a text of its own.
std::vector<std::string> SplitCharacters(std::string_view text);

}  // namespace quorvane
