#pragma once
// The registry access layer: every read, write and removal of registry data by the
// cleaning targets, the autostart options and the Netscape detection goes through here.
// Operations raise nothing; they return a status, an empty text, or nothing.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/platform/Registry.h"
#include "core/platform/WindowServices.h"

namespace quorvane {

// "HKEY_CURRENT_USER" for the predefined root handle; empty for any other handle.
std::string_view RegistryRootName(RegKey key);

class Reg32 {
 public:
  Reg32(Registry& registry, WindowServices& windows) : registry_(registry), windows_(windows) {}

  // "HKEY_CURRENT_USER\Software\X" -> CurrentUser and "Software\X". The root name must
  // match one of the five names exactly (case counts); otherwise no root.
  static std::optional<RegKey> SplitRegistryPath(std::string_view path, std::string& subKey);

  // The text of a REG_SZ value up to its first NUL; empty for anything else.
  std::string GetStringValue(RegKey root, std::string_view subKey, std::string_view valueName);
  // Writes a REG_SZ under HKEY_CURRENT_USER; the key is not created when missing.
  void SetStringValue(std::string_view subKey, std::string_view valueName, std::string_view text);
  void DeleteValue(RegKey root, std::string_view subKey, std::string_view valueName);
  void CreateKey(RegKey root, std::string_view subKey);
  // Removes a key with everything beneath it; shows the access-denied box when the key can
  // neither be deleted nor opened for change.
  RegStatus DeleteKeyTree(RegKey root, std::string_view keyPath);
  RegStatus QueryKeyInfo(RegKey key, KeyInfo& info);
  // `name` holds the sub-key name on success; its capacity is `capacity` characters
  // including the terminating NUL.
  RegStatus EnumSubKey(RegKey key, std::uint32_t index, std::uint32_t capacity, std::string& name);
  // Deletes every value of an HKEY_CURRENT_USER key whose name begins with `prefix`,
  // compared without regard to case.
  void DeleteValuesByPrefix(std::string_view subKey, std::string_view prefix);
  static std::string TrimAtNull(std::string_view text);

 private:
  Registry& registry_;
  WindowServices& windows_;
};

}  // namespace quorvane
