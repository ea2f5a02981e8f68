#pragma once
// Named entries kept in the order they were first written and found without regard to
// (ASCII) case, as the registry keeps a key's values - and so the settings store, which
// lives in the registry, its settings.

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/Text.h"

namespace quorvane::fakes {

template <class T>
struct NoCaseList {
  using Entry = std::pair<std::string, T>;

  T* Find(std::string_view name) {
    const auto found = std::find_if(entries.begin(), entries.end(),
                                    [&](const Entry& e) { return EqualsNoCase(e.first, name); });
    return found == entries.end() ? nullptr : &found->second;
  }
  // The entry, added with an empty value when missing; it keeps its place and the spelling
  // it was first written with.
  T& operator[](std::string_view name) {
    if (T* found = Find(name)) return *found;
    return entries.emplace_back(std::string(name), T{}).second;
  }
  bool Erase(std::string_view name) {
    return std::erase_if(entries, [&](const Entry& e) { return EqualsNoCase(e.first, name); }) != 0;
  }

  std::vector<Entry> entries;
};

}  // namespace quorvane::fakes
