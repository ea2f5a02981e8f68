#pragma once
// The settings file "Local.Ini": the only way the program reads and writes it.

#include <string>
#include <string_view>

#include "core/platform/ProfileStrings.h"

namespace quorvane {

// At most 254 characters; the empty text when file, section or key is missing.
std::string ReadIniValue(ProfileStrings& profile, std::string_view section, std::string_view key,
                         std::string_view file);
// True only when the platform reports the value written; a failed write is never reported
// as success. No caller depends on the result.
bool WriteIniValue(ProfileStrings& profile, std::string_view section, std::string_view key,
                   std::string_view value, std::string_view file);

}  // namespace quorvane
