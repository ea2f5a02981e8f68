#include "core/GlobalFunctions.h"

#include <cstddef>
#include <cstdint>

namespace quorvane {

namespace {

constexpr std::uint32_t kReadBufferSize = 255;

// The platform counts characters, the text here is UTF-8: keep the first `count` code points.
std::string FirstCharacters(const std::string& text, std::uint32_t count) {
  std::size_t end = 0;
  for (std::uint32_t seen = 0; end < text.size() && seen < count; ++seen) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  }
  return text.substr(0, end);
}

}  // namespace

std::string ReadIniValue(ProfileStrings& profile, std::string_view section, std::string_view key,
                         std::string_view file) {
  try {
    std::string buffer;
    const std::uint32_t count = profile.GetString(section, key, "", buffer, kReadBufferSize, file);
    return FirstCharacters(buffer, count);
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
