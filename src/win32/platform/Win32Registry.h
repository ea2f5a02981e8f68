#pragma once
// The registry of the running system through the wide-character calls, so that keys and
// values whose names lie outside the ANSI code page are reached and removed like any other.
// Names and string data cross the interface as UTF-8; sizes of string data are counted in
// those UTF-8 bytes (QueryInfoKey's MaxValueLen is an upper bound in them), name capacities
// in the platform's characters.

#include "core/platform/Registry.h"

namespace quorvane::win32 {

class Win32Registry final : public Registry {
 public:
  RegStatus OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access,
                    RegKey& opened) override;
  RegStatus CreateKey(RegKey parent, std::string_view subKey, RegKey& opened) override;
  RegStatus CloseKey(RegKey key) override;
  RegStatus QueryValue(RegKey key, std::string_view name, std::uint32_t& type, std::string* data,
                       std::uint32_t& size) override;
  RegStatus SetValue(RegKey key, std::string_view name, std::uint32_t type,
                     std::string_view data) override;
  RegStatus DeleteValue(RegKey key, std::string_view name) override;
  RegStatus DeleteKey(RegKey key, std::string_view subKey) override;
  RegStatus QueryInfoKey(RegKey key, KeyInfo& info) override;
  RegStatus EnumKey(RegKey key, std::uint32_t index, std::uint32_t capacity,
                    std::string& name) override;
  RegStatus EnumValue(RegKey key, std::uint32_t index, std::uint32_t nameCapacity,
                      std::string& name, std::uint32_t* type, std::string* data,
                      std::uint32_t dataCapacity) override;
};

}  // namespace quorvane::win32
