#include "fakes/FakeProfileStrings.h"

#include <cstddef>
#include <optional>
#include <vector>

#include "core/Text.h"

namespace quorvane::fakes {

namespace {

// One line of the file as it stands in the bytes: [begin, end) without its line break.
struct Line {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t next = 0;  // where the following line begins
};

std::vector<Line> SplitLines(const std::string& content) {
  std::vector<Line> lines;
  std::size_t begin = 0;
  while (begin < content.size()) {
    std::size_t newline = content.find('\n', begin);
    std::size_t next = newline == std::string::npos ? content.size() : newline + 1;
    std::size_t end = newline == std::string::npos ? content.size() : newline;
    if (end > begin && content[end - 1] == '\r') --end;
    lines.push_back({begin, end, next});
    begin = next;
  }
  return lines;
}

std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  return Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
}

struct KeyLine {
  std::string_view name;
  std::string_view value;
  std::size_t valueOffset = 0;  // from the line's start
};

std::optional<KeyLine> ParseKeyLine(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  KeyLine parsed;
  parsed.name = Trim(line.substr(0, equals));
  parsed.value = line.substr(equals + 1);
  parsed.valueOffset = equals + 1;
  return parsed;
}

// The platform hands out a value without surrounding blanks and without one pair of
// enclosing quotes.
std::string_view CleanValue(std::string_view value) {
  value = Trim(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

// The first `count` UTF-8 code points: the platform's character count.
std::string FirstCharacters(std::string_view text, std::uint32_t count, std::uint32_t& taken) {
  std::size_t end = 0;
  taken = 0;
  while (end < text.size() && taken < count) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    ++taken;
  }
  return std::string(text.substr(0, end));
}

struct Found {
  std::optional<std::size_t> sectionLine;        // index of the section's header line
  std::optional<std::size_t> lastLineOfSection;  // last non-blank line of that section
  std::optional<std::size_t> keyLine;
};

Found Find(const std::string& content, const std::vector<Line>& lines, std::string_view section,
           std::string_view key) {
  Found found;
  bool inSection = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string_view text(content.data() + lines[i].begin, lines[i].end - lines[i].begin);
    if (const auto name = SectionName(text)) {
      if (found.sectionLine) break;  // the first section of that name is the one used
      inSection = EqualsNoCase(*name, section);
      if (inSection) {
        found.sectionLine = i;
        found.lastLineOfSection = i;
      }
      continue;
    }
    if (!inSection) continue;
    if (!Trim(text).empty()) found.lastLineOfSection = i;
    if (const auto parsed = ParseKeyLine(text); parsed && EqualsNoCase(parsed->name, key)) {
      found.keyLine = i;
      break;
    }
  }
  return found;
}

}  // namespace

std::uint32_t FakeProfileStrings::GetString(std::string_view section, std::string_view key,
                                            std::string_view defaultValue, std::string& value,
                                            std::uint32_t capacity, std::string_view file) {
  std::string_view source = defaultValue;
  const auto it = files_.find(ToLowerAscii(file));
  if (!file.empty() && it != files_.end()) {
    const std::string& content = it->second;
    const std::vector<Line> lines = SplitLines(content);
    const Found found = Find(content, lines, section, key);
    if (found.keyLine) {
      const Line& line = lines[*found.keyLine];
      const std::string_view text(content.data() + line.begin, line.end - line.begin);
      source = CleanValue(ParseKeyLine(text)->value);
    }
  }
  std::uint32_t taken = 0;
  value = capacity == 0 ? std::string() : FirstCharacters(source, capacity - 1, taken);
  return taken;
}

bool FakeProfileStrings::WriteString(std::string_view section, std::string_view key,
                                     std::string_view value, std::string_view file) {
  if (file.empty() || failWrites) return false;
  ++writeCount;
  std::string& content = files_[ToLowerAscii(file)];
  const std::vector<Line> lines = SplitLines(content);
  const Found found = Find(content, lines, section, key);

  if (found.keyLine) {
    // The key keeps its own spelling; only the value after the equals sign changes.
    const Line& line = lines[*found.keyLine];
    const std::string_view text(content.data() + line.begin, line.end - line.begin);
    const std::size_t equals = text.find('=');
    content.replace(line.begin + equals + 1, line.end - (line.begin + equals + 1), value);
    return true;
  }

  const std::string keyLine = std::string(key) + "=" + std::string(value) + "\r\n";
  if (found.sectionLine) {
    const Line& last = lines[*found.lastLineOfSection];
    std::size_t insertAt = last.next;
    std::string insert = keyLine;
    if (last.next == last.end) insert = "\r\n" + insert;  // the file ended without a break
    content.insert(insertAt, insert);
    return true;
  }

  if (!content.empty() && content.back() != '\n') content += "\r\n";
  content += "[" + std::string(section) + "]\r\n" + keyLine;
  return true;
}

std::string FakeProfileStrings::FileContent(std::string_view file) const {
  const auto it = files_.find(ToLowerAscii(file));
  return it == files_.end() ? std::string() : it->second;
}

void FakeProfileStrings::SetFileContent(std::string_view file, std::string content) {
  files_[ToLowerAscii(file)] = std::move(content);
}

bool FakeProfileStrings::HasFile(std::string_view file) const {
  return files_.count(ToLowerAscii(file)) != 0;
}

void FakeProfileStrings::RemoveFile(std::string_view file) { files_.erase(ToLowerAscii(file)); }

}  // namespace quorvane::fakes
