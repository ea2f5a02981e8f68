#include "core/PathText.h"

#include <algorithm>

namespace quorvane {
namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool StartsWithDrive(std::string_view path) {
  return path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == ':';
}

}  // namespace

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsAbsolutePath(std::string_view path) {
  const bool drivePath = path.size() >= 3 && StartsWithDrive(path) && IsSeparator(path[2]);
  const bool networkPath = path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]);
  return drivePath || networkPath;
}

bool IsDriveRoot(std::string_view path) {
  return path.size() == 3 && StartsWithDrive(path) && IsSeparator(path[2]);
}

std::string WithBackslashes(std::string_view path) {
  std::string result(path);
  std::replace(result.begin(), result.end(), '/', '\\');
  return result;
}

std::string WithoutTrailingSeparators(std::string_view path) {
  while (path.size() > 1 && IsSeparator(path.back()) && !IsDriveRoot(path)) {
    path.remove_suffix(1);
  }
  return std::string(path);
}

std::string AddBackslash(std::string_view text) {
  std::string result(text);
  if (result.empty() || result.back() != '\\') result += '\\';
  return result;
}

std::size_t CharacterLength(std::string_view text, std::size_t at) {
  std::size_t length = 1;
  while (at + length < text.size() &&
         (static_cast<unsigned char>(text[at + length]) & 0xC0) == 0x80) {
    ++length;
  }
  return length;
}

std::string_view FirstCharacters(std::string_view text, std::size_t count) {
  std::size_t end = 0;
  for (std::size_t seen = 0; end < text.size() && seen < count; ++seen) {
    end += CharacterLength(text, end);
  }
  return text.substr(0, end);
}

std::vector<std::string> SplitCharacters(std::string_view text) {
  std::vector<std::string> characters;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = CharacterLength(text, at);
    characters.emplace_back(text.substr(at, length));
    at += length;
  }
  return characters;
}

}  // namespace quorvane
