#include "fakes/FakeUserSettings.h"

#include <algorithm>

#include "core/Text.h"

namespace quorvane::fakes {

FakeUserSettings::Section* FakeUserSettings::FindSection(std::string_view app,
                                                         std::string_view section) {
  const auto it = std::find_if(sections_.begin(), sections_.end(), [&](const Section& s) {
    return EqualsNoCase(s.app, app) && EqualsNoCase(s.name, section);
  });
  return it == sections_.end() ? nullptr : &*it;
}

const FakeUserSettings::Section* FakeUserSettings::FindSection(std::string_view app,
                                                               std::string_view section) const {
  return const_cast<FakeUserSettings*>(this)->FindSection(app, section);
}

std::string FakeUserSettings::GetSetting(std::string_view app, std::string_view section,
                                         std::string_view key, std::string_view defaultValue) {
  ++readCount;
  if (const Section* found = FindSection(app, section)) {
    for (const auto& [name, value] : found->values) {
      if (EqualsNoCase(name, key)) return value;
    }
  }
  return std::string(defaultValue);
}

void FakeUserSettings::SaveSetting(std::string_view app, std::string_view section,
                                   std::string_view key, std::string_view value) {
  ++writeCount;
  Section* found = FindSection(app, section);
  if (!found) {
    sections_.push_back({std::string(app), std::string(section), {}});
    found = &sections_.back();
  }
  for (auto& [name, stored] : found->values) {
    if (EqualsNoCase(name, key)) {
      stored = value;
      return;
    }
  }
  found->values.emplace_back(std::string(key), std::string(value));
}

std::vector<std::pair<std::string, std::string>> FakeUserSettings::GetAllSettings(
    std::string_view app, std::string_view section) {
  ++readCount;
  const Section* found = FindSection(app, section);
  return found ? found->values : std::vector<std::pair<std::string, std::string>>{};
}

void FakeUserSettings::DeleteSetting(std::string_view app, std::string_view section,
                                     std::string_view key) {
  ++writeCount;
  Section* found = FindSection(app, section);
  if (!found) return;
  if (key.empty()) {
    sections_.erase(sections_.begin() + (found - sections_.data()));
    return;
  }
  std::erase_if(found->values, [&](const auto& entry) { return EqualsNoCase(entry.first, key); });
}

bool FakeUserSettings::Has(std::string_view app, std::string_view section,
                           std::string_view key) const {
  const Section* found = FindSection(app, section);
  return found && std::any_of(found->values.begin(), found->values.end(),
                              [&](const auto& entry) { return EqualsNoCase(entry.first, key); });
}

}  // namespace quorvane::fakes
