#pragma once
// The platform's profile-string calls over the settings file.

#include "core/platform/ProfileStrings.h"

namespace quorvane::win32 {

class Win32ProfileStrings final : public ProfileStrings {
 public:
  std::uint32_t GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::string& value, std::uint32_t capacity,
                          std::string_view file) override;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                   std::string_view file) override;
};

}  // namespace quorvane::win32
