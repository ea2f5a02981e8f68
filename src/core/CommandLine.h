#pragma once
// How a program's path becomes the command line that starts it.

#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// The path in double quotes, as the first word of a command line. Always quoted, whether
// the file exists or not: unquoted, a missing "C:\Program Files\Tool\t.exe" would make the
// system try "C:\Program.exe" first. None for a path that cannot name a program file: an
// empty one, one holding a double quote (it would end the quoted part early) or a control
// character, or one ending in a separator (a folder, whose back-slash would escape the
// closing quote).
std::optional<std::string> QuotedProgramPath(std::string_view path);

}  // namespace quorvane
