#pragma once
// Small rules for folder paths kept as text.

#include <string>
#include <string_view>

namespace quorvane {

// The text followed by "\", unless it already ends in one: "C:\a" and "C:\a\" both give
// "C:\a\". The empty text gives "\" (callers decide first whether an empty folder is usable).
std::string AddBackslash(std::string_view text);

}  // namespace quorvane
