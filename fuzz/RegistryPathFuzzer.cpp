// The registry path of a custom record ("HKEY_CURRENT_USER\Software\..."): a path that
// names a root splits into that root's name, one back-slash and the whole rest.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/Reg32.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using quorvane::Reg32;
  const std::string_view path(reinterpret_cast<const char*>(data), size);
  std::string subKey = "unchanged";
  const auto root = Reg32::SplitRegistryPath(path, subKey);
  if (!root) {
    if (subKey != "unchanged") std::abort();
    return 0;
  }
  if (subKey.size() >= path.size() || !path.ends_with(subKey)) std::abort();
  const std::string_view rootName = path.substr(0, path.size() - subKey.size() - 1);
  if (path[rootName.size()] != '\\' || rootName.find('\\') != std::string_view::npos) {
    std::abort();
  }
  // The same root with another sub-key splits alike.
  std::string other;
  if (Reg32::SplitRegistryPath(std::string(rootName) + "\\x", other) != root || other != "x") {
    std::abort();
  }
  return 0;
}
