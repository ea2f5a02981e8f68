#pragma once
// The per-user settings store under
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<application>\<section>, where
// programs of this kind have always kept these values, as REG_SZ values.

#include <cstdint>

#include "core/platform/UserSettings.h"

struct HKEY__;

namespace quorvane::win32 {

class Win32UserSettings final : public UserSettings {
 public:
  std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                         std::string_view defaultValue) override;
  void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                   std::string_view value) override;
  std::vector<std::pair<std::string, std::string>> GetAllSettings(
      std::string_view app, std::string_view section) override;
  void DeleteSetting(std::string_view app, std::string_view section, std::string_view key) override;

  // "Software\VB and VBA Program Settings\<app>\<section>" below HKEY_CURRENT_USER.
  static std::string SectionKeyPath(std::string_view app, std::string_view section);
  // The text values of an open key, read with buffers of the given sizes (characters of the
  // longest name, bytes of the longest data). The walk ends when the key goes away under it.
  static std::vector<std::pair<std::string, std::string>> StringValues(HKEY__* key,
                                                                       std::uint32_t maxName,
                                                                       std::uint32_t maxData);
};

}  // namespace quorvane::win32
