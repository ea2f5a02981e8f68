#pragma once
// Profile files kept in memory by path, read and written the way the platform's profile
// calls do it where the program relies on that: names match without regard to case, a read
// is cut to the buffer, a write changes one line and keeps every other byte of the file.

#include <map>

#include "core/platform/ProfileStrings.h"
#include "fakes/NoCase.h"

namespace quorvane::fakes {

class FakeProfileStrings final : public ProfileStrings {
 public:
  std::uint32_t GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::string& value, std::uint32_t capacity,
                          std::string_view file) override;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value,
                   std::string_view file) override;

  // The raw content of a file; empty when it does not exist.
  std::string FileContent(std::string_view file) const {
    const auto found = files_.find(file);
    return found == files_.end() ? std::string() : found->second;
  }
  void SetFileContent(std::string_view file, std::string content) {
    files_[std::string(file)] = std::move(content);
  }
  void RemoveFile(std::string_view file) { files_.erase(std::string(file)); }

  // When set, every write fails as on a read-only medium and changes nothing.
  bool failWrites = false;

 private:
  // Paths match without regard to case, as on the platform's disks.
  std::map<std::string, std::string, NoCaseLess> files_;
};

}  // namespace quorvane::fakes
