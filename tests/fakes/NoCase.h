#pragma once
// How the platform treats names - of files, registry keys and values, settings - where the
// fakes copy it: without regard to (ASCII) case, keeping the spelling they were created with.

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Text.h"

namespace quorvane::fakes {

// Orders names by their upper-case form, the order in which the registry lists sub-keys.
struct NoCaseLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const {
    return ToUpperAscii(a) < ToUpperAscii(b);
  }
};

// Entries in the order they were first written, as the registry keeps a key's values (and
// so the settings store, which lives in the registry, its settings).
template <class T>
struct NoCaseList {
  using Entry = std::pair<std::string, T>;

  T* Find(std::string_view name) {
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const Entry& e) { return EqualsNoCase(e.first, name); });
    return found == entries.end() ? nullptr : &found->second;
  }
  T& operator[](std::string_view name) {
    if (T* found = Find(name)) return *found;
    return entries.emplace_back(std::string(name), T{}).second;
  }
  bool Erase(std::string_view name) {
    return std::erase_if(entries, [&](const Entry& e) { return EqualsNoCase(e.first, name); }) != 0;
  }

  std::vector<Entry> entries;
};

// The names of a path between its separators; empty names (doubled separators) are skipped.
inline std::vector<std::string> SplitNames(std::string_view path, std::string_view separators) {
  std::vector<std::string> names;
  for (std::size_t start = 0; start < path.size();) {
    const std::size_t end = std::min(path.find_first_of(separators, start), path.size());
    if (end > start) names.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

}  // namespace quorvane::fakes
