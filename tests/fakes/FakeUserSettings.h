#pragma once
// The per-user settings store in memory. Application, section and key names match without
// regard to case, as the registry under the real store does; values keep their order.

#include <string>
#include <utility>
#include <vector>

#include "core/platform/UserSettings.h"

namespace quorvane::fakes {

class FakeUserSettings final : public UserSettings {
 public:
  std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                         std::string_view defaultValue) override;
  void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                   std::string_view value) override;
  std::vector<std::pair<std::string, std::string>> GetAllSettings(
      std::string_view app, std::string_view section) override;
  void DeleteSetting(std::string_view app, std::string_view section, std::string_view key) override;

  bool Has(std::string_view app, std::string_view section, std::string_view key) const;
  int readCount = 0;
  int writeCount = 0;

 private:
  struct Section {
    std::string app;
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;
  };
  Section* FindSection(std::string_view app, std::string_view section);
  const Section* FindSection(std::string_view app, std::string_view section) const;

  std::vector<Section> sections_;
};

}  // namespace quorvane::fakes
