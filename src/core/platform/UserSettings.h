#pragma once
// The per-user store of text values by application name, section and key. On Windows it
// lives under HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorvane {

class UserSettings {
 public:
  virtual ~UserSettings() = default;
  virtual std::string GetSetting(std::string_view app, std::string_view section,
                                 std::string_view key, std::string_view defaultValue) = 0;
  virtual void SaveSetting(std::string_view app, std::string_view section,
                           std::string_view key, std::string_view value) = 0;
  // Every key and value of a section, in the store's order; empty when it is missing.
  virtual std::vector<std::pair<std::string, std::string>> GetAllSettings(
      std::string_view app, std::string_view section) = 0;
  // Removes one key, or the whole section when key is empty.
  virtual void DeleteSetting(std::string_view app, std::string_view section,
                             std::string_view key) = 0;
};

}  // namespace quorvane
