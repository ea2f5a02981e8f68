#include "core/CommandLine.h"

#include <algorithm>

namespace quorvane {

std::optional<std::string> QuotedProgramPath(std::string_view path) {
  if (path.empty() || path.back() == '\\' || path.back() == '/') return std::nullopt;
  const bool unquotable = std::any_of(path.begin(), path.end(), [](char c) {
    return c == '"' || static_cast<unsigned char>(c) < 0x20;
  });
  if (unquotable) return std::nullopt;
  return "\"" + std::string(path) + "\"";
}

}  // namespace quorvane
