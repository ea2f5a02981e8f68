#include "core/GlobalFunctions.h"

#include <cstddef>
#include <cstdint>

#include "core/PathText.h"

namespace quorvane {

namespace {

constexpr std::uint32_t kReadBufferSize = 255;

}  // namespace

std::string ReadIniValue(ProfileStrings& profile, std::string_view section, std::string_view key,
                         std::string_view file) {
  try {
    std::string buffer;
    const std::uint32_t count = profile.GetString(section, key, "", buffer, kReadBufferSize, file);
    // The platform counts characters, the text here is UTF-8.
    return std::string(FirstCharacters(buffer, count));
  } catch (...) {
    // Settings are read with errors resumed: a failing read is an empty value.
    return {};
  }
}

bool WriteIniValue(ProfileStrings& profile, std::string_view section, std::string_view key,
                   std::string_view value, std::string_view file) {
  try {
    return profile.WriteString(section, key, value, file);
  } catch (...) {
    return false;
  }
}

}  // namespace quorvane
