#include "fakes/FakeProfileStrings.h"

#include "core/Text.h"

namespace quorvane::fakes {
namespace {

// Where a key stands in a file, found as the platform finds it: in the first section of
// that name, the first line of that key, names trimmed and without regard to case.
struct Place {
  std::size_t sectionEnd = 0;  // just past the section's last line that is not blank; 0: none
  std::size_t valueBegin = 0;  // the key's value, after the equals sign; 0: no such key
  std::size_t valueEnd = 0;
};

Place Locate(std::string_view content, std::string_view section, std::string_view key) {
  Place place;
  bool inSection = false;
  for (std::size_t begin = 0; begin < content.size();) {
    const std::size_t newline = content.find('\n', begin);
    const std::size_t next = newline == std::string_view::npos ? content.size() : newline + 1;
    std::size_t end = next;
    if (end > begin && content[end - 1] == '\n') --end;
    if (end > begin && content[end - 1] == '\r') --end;
    const std::string_view line = content.substr(begin, end - begin);
    const std::string_view text = Trim(line);
    if (text.starts_with('[')) {
      if (inSection) break;
      inSection = EqualsNoCase(Trim(text.substr(1, text.find(']') - 1)), section);
      if (inSection) place.sectionEnd = next;
    } else if (inSection) {
      if (!text.empty()) place.sectionEnd = next;
      const std::size_t equals = line.find('=');
      if (equals != std::string_view::npos && EqualsNoCase(Trim(line.substr(0, equals)), key)) {
        return {place.sectionEnd, begin + equals + 1, end};
      }
    }
    begin = next;
  }
  return place;
}

// The platform hands out a value without surrounding blanks and without one pair of
// enclosing quotes.
std::string_view CleanValue(std::string_view value) {
  value = Trim(value);
  const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                      value.back() == value.front();
  return quoted ? value.substr(1, value.size() - 2) : value;
}

}  // namespace

std::uint32_t FakeProfileStrings::GetString(std::string_view section, std::string_view key,
                                            std::string_view defaultValue, std::string& value,
                                            std::uint32_t capacity, std::string_view file) {
  std::string_view source = defaultValue;
  const auto found = files_.find(file);
  if (!file.empty() && found != files_.end()) {
    const std::string_view content = found->second;
    const Place place = Locate(content, section, key);
    if (place.valueBegin != 0) {
      source = CleanValue(content.substr(place.valueBegin, place.valueEnd - place.valueBegin));
    }
  }
  // The buffer holds capacity - 1 characters (UTF-8 code points here) and the NUL.
  std::uint32_t taken = 0;
  std::size_t end = 0;
  for (; end < source.size() && taken + 1 < capacity; ++taken) {
    while (++end < source.size() && (static_cast<unsigned char>(source[end]) & 0xC0) == 0x80) {
    }
  }
  value = std::string(source.substr(0, end));
  return taken;
}

bool FakeProfileStrings::WriteString(std::string_view section, std::string_view key,
                                     std::string_view value, std::string_view file) {
  if (file.empty() || failWrites) return false;
  std::string& content = files_[std::string(file)];
  const Place place = Locate(content, section, key);
  const std::string line = std::string(key) + "=" + std::string(value) + "\r\n";
  if (place.valueBegin != 0) {
    // The key keeps its own spelling; only the value after the equals sign changes.
    content.replace(place.valueBegin, place.valueEnd - place.valueBegin, value);
  } else if (place.sectionEnd != 0) {
    const bool unbroken = content[place.sectionEnd - 1] != '\n';  // the file's last line
    content.insert(place.sectionEnd, (unbroken ? "\r\n" : "") + line);
  } else {
    if (!content.empty() && content.back() != '\n') content += "\r\n";
    content += "[" + std::string(section) + "]\r\n" + line;
  }
  return true;
}

}  // namespace quorvane::fakes
