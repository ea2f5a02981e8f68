#pragma once
// The per-user settings store in memory. It lives in the registry on the platform, so names
// match without regard to case and values keep the order they were first written in.

#include "core/platform/UserSettings.h"
#include "fakes/NoCase.h"

namespace quorvane::fakes {

class FakeUserSettings final : public UserSettings {
 public:
  std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                         std::string_view defaultValue) override {
    auto* values = sections_.Find(KeyPath(app, section));
    const std::string* value = values ? values->Find(key) : nullptr;
    return value ? *value : std::string(defaultValue);
  }
  void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                   std::string_view value) override {
    sections_[KeyPath(app, section)][key] = std::string(value);
  }
  std::vector<std::pair<std::string, std::string>> GetAllSettings(
      std::string_view app, std::string_view section) override {
    auto* values = sections_.Find(KeyPath(app, section));
    return values ? values->entries : std::vector<std::pair<std::string, std::string>>{};
  }
  void DeleteSetting(std::string_view app, std::string_view section,
                     std::string_view key) override {
    auto* values = sections_.Find(KeyPath(app, section));
    if (values != nullptr && !key.empty()) values->Erase(key);
    if (key.empty()) sections_.Erase(KeyPath(app, section));
  }

 private:
  static std::string KeyPath(std::string_view app, std::string_view section) {
    return std::string(app) + "\\" + std::string(section);
  }

  NoCaseList<NoCaseList<std::string>> sections_;
};

}  // namespace quorvane::fakes
