#pragma once
// Small text helpers shared by every subsystem. Case folding is ASCII only, which is what
// the registry prefixes, settings keys and root names of the program need.

#include <string>
#include <string_view>

namespace quorvane {

std::string ToUpperAscii(std::string_view text);
std::string ToLowerAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
// The text without leading and trailing blanks and tabs.
std::string_view Trim(std::string_view text);

}  // namespace quorvane
