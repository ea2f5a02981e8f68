#pragma once
// UTF-8 <-> UTF-16 at the boundary to the wide-character Windows calls.

#include <string>
#include <string_view>

namespace quorvane::win32 {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view wide);
// The path in the form the wide file calls accept beyond MAX_PATH: "\\?\C:\..." for a
// drive path and "\\?\UNC\server\share\..." for a network path; forward slashes become
// back-slashes and repeated separators are collapsed, because the prefix turns off the
// platform's own normalisation. Relative paths are returned unchanged.
std::wstring LongPath(std::string_view utf8Path);

}  // namespace quorvane::win32
