#pragma once
// The platform's profile-string calls over a named profile file ("Local.Ini").

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvane {

class ProfileStrings {
 public:
  virtual ~ProfileStrings() = default;

  // Reads (section, key) of `file` into a buffer of `capacity` characters including the
  // terminating NUL; returns the number of characters copied (at most capacity - 1) and
  // sets `value` to them. Missing file, section or key copy `defaultValue`.
  // Section and key names match without regard to case.
  virtual std::uint32_t GetString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue, std::string& value,
                                  std::uint32_t capacity, std::string_view file) = 0;

  // Replaces the value where it stands, or appends the key to its section, or appends the
  // section with the key. Every other line of the file stays as it was. Returns the
  // platform's own success result.
  virtual bool WriteString(std::string_view section, std::string_view key,
                           std::string_view value, std::string_view file) = 0;
};

}  // namespace quorvane
