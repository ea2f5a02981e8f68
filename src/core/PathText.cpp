#include "core/PathText.h"

namespace quorvane {

std::string AddBackslash(std::string_view text) {
  std::string result(text);
  if (result.empty() || result.back() != '\\') result += '\\';
  return result;
}

}  // namespace quorvane
