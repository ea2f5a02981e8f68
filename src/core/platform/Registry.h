#pragma once
// The registry calls the program makes, with the platform's status codes. Texts are UTF-8;
// the Windows implementation converts them at the boundary. Capacities are counted in the
// platform's characters and include the terminating NUL, as the platform counts them.

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvane {

using RegStatus = std::int32_t;
namespace reg_status {
inline constexpr RegStatus Success = 0;
inline constexpr RegStatus NotFound = 2;
inline constexpr RegStatus AccessDenied = 5;
inline constexpr RegStatus InvalidHandle = 6;
inline constexpr RegStatus MoreData = 234;
inline constexpr RegStatus NoMoreItems = 259;
}  // namespace reg_status

// A key handle. The five predefined roots carry the platform's fixed values; every other
// handle is whatever the implementation hands out from OpenKey or CreateKey.
using RegKey = std::uint64_t;
namespace reg_root {
inline constexpr RegKey ClassesRoot = 0x80000000u;
inline constexpr RegKey CurrentUser = 0x80000001u;
inline constexpr RegKey LocalMachine = 0x80000002u;
inline constexpr RegKey Users = 0x80000003u;
inline constexpr RegKey PerformanceData = 0x80000004u;
}  // namespace reg_root

namespace reg_type {
inline constexpr std::uint32_t None = 0;
inline constexpr std::uint32_t String = 1;        // REG_SZ
inline constexpr std::uint32_t ExpandString = 2;  // REG_EXPAND_SZ
inline constexpr std::uint32_t Binary = 3;
inline constexpr std::uint32_t Dword = 4;
inline constexpr std::uint32_t MultiString = 7;
}  // namespace reg_type

// Access mask for keys opened to change or enumerate them: query and set value, create and
// enumerate sub-keys, notify, create link.
inline constexpr std::uint32_t kRegAccessChange = 0x3F;

struct KeyInfo {
  std::uint32_t SubKeyCount = 0;
  std::uint32_t MaxSubKeyLen = 0;     // characters, without the terminating NUL
  std::uint32_t ValueCount = 0;
  std::uint32_t MaxValueNameLen = 0;  // characters, without the terminating NUL
  std::uint32_t MaxValueLen = 0;      // bytes
};

class Registry {
 public:
  virtual ~Registry() = default;

  // RegOpenKey (default access) when access is 0, RegOpenKeyEx with that mask otherwise.
  // An empty sub-key opens a new handle to the same key.
  virtual RegStatus OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access,
                            RegKey& opened) = 0;
  // Creates every missing level.
  virtual RegStatus CreateKey(RegKey parent, std::string_view subKey, RegKey& opened) = 0;
  virtual RegStatus CloseKey(RegKey key) = 0;

  // Value data are the stored bytes. String types hold UTF-8 text as stored, including any
  // NUL characters in the data (a terminating NUL stays part of the data).
  // With data == nullptr only the type and size are reported. Otherwise `size` is the
  // capacity on entry and the data size on return; a too-small capacity gives MoreData.
  virtual RegStatus QueryValue(RegKey key, std::string_view name, std::uint32_t& type,
                               std::string* data, std::uint32_t& size) = 0;
  virtual RegStatus SetValue(RegKey key, std::string_view name, std::uint32_t type,
                             std::string_view data) = 0;
  virtual RegStatus DeleteValue(RegKey key, std::string_view name) = 0;

  // Deletes a key without sub-keys; a key that still has sub-keys gives AccessDenied.
  // An empty sub-key deletes the key that `key` itself names.
  virtual RegStatus DeleteKey(RegKey key, std::string_view subKey) = 0;

  virtual RegStatus QueryInfoKey(RegKey key, KeyInfo& info) = 0;

  // Name of the sub-key at `index`. `capacity` counts characters including the NUL; a name
  // that does not fit gives MoreData, an index past the end NoMoreItems.
  virtual RegStatus EnumKey(RegKey key, std::uint32_t index, std::uint32_t capacity,
                            std::string& name) = 0;

  // Name (and, when data != nullptr, type and data) of the value at `index`. `nameCapacity`
  // counts characters including the NUL, `dataCapacity` bytes; either too small gives
  // MoreData, an index past the end NoMoreItems.
  virtual RegStatus EnumValue(RegKey key, std::uint32_t index, std::uint32_t nameCapacity,
                              std::string& name, std::uint32_t* type, std::string* data,
                              std::uint32_t dataCapacity) = 0;
};

}  // namespace quorvane
