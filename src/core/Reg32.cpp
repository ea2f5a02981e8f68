#include "core/Reg32.h"

#include <array>
#include <utility>

#include "core/Text.h"

namespace quorvane {
namespace {

constexpr std::array<std::pair<std::string_view, RegKey>, 5> kRoots{{
    {"HKEY_CLASSES_ROOT", reg_root::ClassesRoot},
    {"HKEY_CURRENT_USER", reg_root::CurrentUser},
    {"HKEY_LOCAL_MACHINE", reg_root::LocalMachine},
    {"HKEY_USERS", reg_root::Users},
    {"HKEY_PERFORMANCE_DATA", reg_root::PerformanceData},
}};

constexpr std::string_view kAccessDeniedText = "Access denied to delete registry key.";
constexpr std::string_view kAccessDeniedTitle = "Access Denied";

// Opens with the default access, deletes one value, closes. Returns the deletion's status so
// that the prefix sweep can tell a value that stayed from one that went.
RegStatus DeleteOneValue(Registry& registry, RegKey root, std::string_view subKey,
                         std::string_view valueName) {
  RegKey key = 0;
  RegStatus status = registry.OpenKey(root, subKey, 0, key);
  if (status != reg_status::Success) return status;
  status = registry.DeleteValue(key, valueName);
  (void)registry.CloseKey(key);
  return status;
}

// Capacity, in characters with the NUL, for the longest value name the key holds now.
std::uint32_t ValueNameCapacity(Registry& registry, RegKey key) {
  KeyInfo info;
  if (registry.QueryInfoKey(key, info) != reg_status::Success) return 0;
  return info.MaxValueNameLen + 1;
}

// An empty sub-key, or one of separators only, names the root itself: deleting through it
// would empty a whole top-level key, which no step of the program means to do.
bool NamesRootOnly(std::string_view subKey) {
  return subKey.find_first_not_of('\\') == std::string_view::npos;
}

}  // namespace

std::string_view RegistryRootName(RegKey key) {
  for (const auto& [name, root] : kRoots) {
    if (root == key) return name;
  }
  return {};
}

std::optional<RegKey> Reg32::SplitRegistryPath(std::string_view path, std::string& subKey) {
  const auto slash = path.find('\\');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string_view rootName = path.substr(0, slash);
  for (const auto& [name, handle] : kRoots) {
    if (rootName == name) {
      subKey = std::string(path.substr(slash + 1));
      return handle;
    }
  }
  return std::nullopt;
}

std::string Reg32::GetStringValue(RegKey root, std::string_view subKey,
                                  std::string_view valueName) {
  RegKey key = 0;
  if (registry_.OpenKey(root, subKey, 0, key) != reg_status::Success) return {};

  std::string result;
  std::uint32_t type = reg_type::None;
  std::uint32_t size = 0;
  if (registry_.QueryValue(key, valueName, type, nullptr, size) == reg_status::Success &&
      type == reg_type::String) {
    std::string data(size, ' ');
    if (registry_.QueryValue(key, valueName, type, &data, size) == reg_status::Success &&
        type == reg_type::String) {
      data.resize(size);
      result = TrimAtNull(data);
    }
  }
  (void)registry_.CloseKey(key);
  return result;
}

void Reg32::SetStringValue(std::string_view subKey, std::string_view valueName,
                           std::string_view text) {
  RegKey key = 0;
  if (registry_.OpenKey(reg_root::CurrentUser, subKey, kRegAccessChange, key) !=
      reg_status::Success) {
    return;
  }
  (void)registry_.SetValue(key, valueName, reg_type::String, text);
  (void)registry_.CloseKey(key);
}

void Reg32::DeleteValue(RegKey root, std::string_view subKey, std::string_view valueName) {
  if (NamesRootOnly(subKey)) return;
  (void)DeleteOneValue(registry_, root, subKey, valueName);
}

void Reg32::CreateKey(RegKey root, std::string_view subKey) {
  RegKey key = 0;
  if (registry_.CreateKey(root, subKey, key) == reg_status::Success) {
    (void)registry_.CloseKey(key);
  }
}

RegStatus Reg32::DeleteKeyTree(RegKey root, std::string_view keyPath) {
  // Below the top the recursion passes an open key and a child's name, never an empty one;
  // the refusal is for the callers.
  if (NamesRootOnly(keyPath)) return reg_status::AccessDenied;
  // The platform refuses, with access denied, to delete a key that still has sub-keys; only
  // then is the key opened and emptied child by child.
  const RegStatus firstTry = registry_.DeleteKey(root, keyPath);
  if (firstTry != reg_status::AccessDenied) return firstTry;

  RegKey key = 0;
  const RegStatus opened = registry_.OpenKey(root, keyPath, kRegAccessChange, key);
  if (opened == reg_status::AccessDenied) {
    (void)windows_.MessageBox(kAccessDeniedText, kAccessDeniedTitle,
                              message_box::IconCritical | message_box::Ok);
    return opened;
  }
  if (opened != reg_status::Success) return opened;

  KeyInfo info;
  if (QueryKeyInfo(key, info) == reg_status::Success) {
    // Sized from the longest child name, so that no child is skipped for its length. Going
    // from the highest index down, removing a child never shifts one still to be visited.
    const std::uint32_t capacity = info.MaxSubKeyLen + 1;
    for (std::uint32_t i = info.SubKeyCount; i > 0; --i) {
      std::string name;
      if (EnumSubKey(key, i - 1, capacity, name) == reg_status::Success) {
        (void)DeleteKeyTree(key, name);
      }
    }
  }

  // One attempt: when a child stayed (say one the user may not delete), the key stays with
  // it, and the caller learns so from the status.
  const RegStatus deleted = registry_.DeleteKey(key, {});
  (void)registry_.CloseKey(key);
  return deleted;
}

RegStatus Reg32::QueryKeyInfo(RegKey key, KeyInfo& info) {
  return registry_.QueryInfoKey(key, info);
}

RegStatus Reg32::EnumSubKey(RegKey key, std::uint32_t index, std::uint32_t capacity,
                            std::string& name) {
  return registry_.EnumKey(key, index, capacity, name);
}

void Reg32::DeleteValuesByPrefix(std::string_view subKey, std::string_view prefix) {
  if (NamesRootOnly(subKey)) return;
  RegKey key = 0;
  if (registry_.OpenKey(reg_root::CurrentUser, subKey, kRegAccessChange, key) !=
      reg_status::Success) {
    return;
  }

  // Only names are fetched: a value's data, however large, never stops the sweep.
  std::uint32_t capacity = ValueNameCapacity(registry_, key);
  std::uint32_t index = 0;
  for (;;) {
    std::string name;
    const RegStatus status = registry_.EnumValue(key, index, capacity, name, nullptr, nullptr, 0);
    if (status == reg_status::MoreData) {
      // A longer name arrived since the key was measured: measure again, and step past the
      // value only when that does not help.
      const std::uint32_t grown = ValueNameCapacity(registry_, key);
      if (grown > capacity) {
        capacity = grown;
      } else {
        ++index;
      }
      continue;
    }
    if (status != reg_status::Success) break;

    name = TrimAtNull(name);
    // The following values move down by one after a deletion, so the same index is fetched
    // again; a value that would not go is stepped past, or the sweep would never end.
    if (!StartsWithNoCase(name, prefix) ||
        DeleteOneValue(registry_, reg_root::CurrentUser, subKey, name) != reg_status::Success) {
      ++index;
    }
  }
  (void)registry_.CloseKey(key);
}

std::string Reg32::TrimAtNull(std::string_view text) {
  return std::string(text.substr(0, text.find('\0')));
}

}  // namespace quorvane
