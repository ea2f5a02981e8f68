#include "win32/platform/Win32Registry.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "win32/platform/WideText.h"

namespace quorvane::win32 {
namespace {

// Longest name the platform allows (value names; key names are shorter), with its NUL.
constexpr std::uint32_t kMaxNameCapacity = 16384;
constexpr int kReadAttempts = 4;

// The predefined keys are sign-extended pointers on 64-bit Windows, so they are mapped one by
// one rather than cast.
HKEY ToHkey(RegKey key) {
  switch (key) {
    case reg_root::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case reg_root::CurrentUser:
      return HKEY_CURRENT_USER;
    case reg_root::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case reg_root::Users:
      return HKEY_USERS;
    case reg_root::PerformanceData:
      return HKEY_PERFORMANCE_DATA;
    default:
      return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(key));
  }
}

RegKey FromHkey(HKEY key) {
  if (key == HKEY_CLASSES_ROOT) return reg_root::ClassesRoot;
  if (key == HKEY_CURRENT_USER) return reg_root::CurrentUser;
  if (key == HKEY_LOCAL_MACHINE) return reg_root::LocalMachine;
  if (key == HKEY_USERS) return reg_root::Users;
  if (key == HKEY_PERFORMANCE_DATA) return reg_root::PerformanceData;
  return static_cast<RegKey>(reinterpret_cast<std::uintptr_t>(key));
}

bool IsRoot(RegKey key) { return key >= reg_root::ClassesRoot && key <= reg_root::PerformanceData; }

bool IsStringType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// Raw value data, kept in a wide buffer so that string data are aligned for reading.
struct RawData {
  DWORD type = REG_NONE;
  DWORD size = 0;  // bytes
  std::vector<wchar_t> buffer;

  BYTE* Bytes() { return reinterpret_cast<BYTE*>(buffer.data()); }
  void Reserve(DWORD bytes) { buffer.resize(std::max<std::size_t>(bytes / 2 + 1, 1)); }
  DWORD Capacity() const { return static_cast<DWORD>(buffer.size() * sizeof(wchar_t)); }

  // String data as UTF-8, every NUL kept; other types byte for byte.
  std::string ToInterface() const {
    const auto* bytes = reinterpret_cast<const char*>(buffer.data());
    if (!IsStringType(type)) return std::string(bytes, size);
    return Narrow(std::wstring_view(buffer.data(), size / sizeof(wchar_t)));
  }
};

// Reads a value whole, growing the buffer when the value is larger than expected (it may also
// grow between two calls).
LONG ReadValue(HKEY key, const std::wstring& name, RawData& raw) {
  raw.Reserve(512);
  LONG status = ERROR_MORE_DATA;
  for (int attempt = 0; attempt < kReadAttempts && status == ERROR_MORE_DATA; ++attempt) {
    DWORD size = raw.Capacity();
    status = RegQueryValueExW(key, name.c_str(), nullptr, &raw.type, raw.Bytes(), &size);
    if (status == ERROR_MORE_DATA) {
      raw.Reserve(std::max(size, raw.Capacity() * 2));
    } else {
      raw.size = size;
    }
  }
  return status;
}

// A name buffer of `capacity` characters; the platform never reports more than it allows.
std::vector<wchar_t> NameBuffer(std::uint32_t capacity) {
  return std::vector<wchar_t>(std::clamp<std::uint32_t>(capacity, 1, kMaxNameCapacity));
}

}  // namespace

RegStatus Win32Registry::OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access,
                                 RegKey& opened) {
  // Access 0 stands for the default of the plain open call: whatever the caller's rights on
  // the key allow, so that a key the user may only read still opens for reading.
  const REGSAM sam = access == 0 ? MAXIMUM_ALLOWED : static_cast<REGSAM>(access);
  HKEY key = nullptr;
  const LONG status = RegOpenKeyExW(ToHkey(parent), Widen(subKey).c_str(), 0, sam, &key);
  if (status == ERROR_SUCCESS) opened = FromHkey(key);
  return status;
}

RegStatus Win32Registry::CreateKey(RegKey parent, std::string_view subKey, RegKey& opened) {
  HKEY key = nullptr;
  const LONG status = RegCreateKeyExW(ToHkey(parent), Widen(subKey).c_str(), 0, nullptr, 0,
                                      MAXIMUM_ALLOWED, nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) opened = FromHkey(key);
  return status;
}

RegStatus Win32Registry::CloseKey(RegKey key) {
  // The predefined keys are the process's own; closing one would only drop its cached handle.
  if (IsRoot(key)) return ERROR_SUCCESS;
  return RegCloseKey(ToHkey(key));
}

RegStatus Win32Registry::QueryValue(RegKey key, std::string_view name, std::uint32_t& type,
                                    std::string* data, std::uint32_t& size) {
  RawData raw;
  const LONG status = ReadValue(ToHkey(key), Widen(name), raw);
  if (status != ERROR_SUCCESS) return status;
  std::string converted = raw.ToInterface();
  const auto needed = static_cast<std::uint32_t>(converted.size());
  type = raw.type;
  if (data != nullptr) {
    if (size < needed) {
      size = needed;
      return ERROR_MORE_DATA;
    }
    *data = std::move(converted);
  }
  size = needed;
  return ERROR_SUCCESS;
}

RegStatus Win32Registry::SetValue(RegKey key, std::string_view name, std::uint32_t type,
                                  std::string_view data) {
  const std::wstring wideName = Widen(name);
  if (!IsStringType(type)) {
    return RegSetValueExW(ToHkey(key), wideName.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size()));
  }
  // The platform quietly counts a terminating NUL that lies just past the given length. A
  // blank after the text stops that, so the stored data are exactly the given characters.
  std::wstring text = Widen(data);
  const auto bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
  text.push_back(L' ');
  return RegSetValueExW(ToHkey(key), wideName.c_str(), 0, type,
                        reinterpret_cast<const BYTE*>(text.data()), bytes);
}

RegStatus Win32Registry::DeleteValue(RegKey key, std::string_view name) {
  return RegDeleteValueW(ToHkey(key), Widen(name).c_str());
}

RegStatus Win32Registry::DeleteKey(RegKey key, std::string_view subKey) {
  return RegDeleteKeyW(ToHkey(key), Widen(subKey).c_str());
}

RegStatus Win32Registry::QueryInfoKey(RegKey key, KeyInfo& info) {
  DWORD subKeys = 0, maxSubKeyLen = 0, values = 0, maxValueNameLen = 0, maxValueLen = 0;
  const LONG status =
      RegQueryInfoKeyW(ToHkey(key), nullptr, nullptr, nullptr, &subKeys, &maxSubKeyLen, nullptr,
                       &values, &maxValueNameLen, &maxValueLen, nullptr, nullptr);
  if (status != ERROR_SUCCESS) return status;
  info.SubKeyCount = subKeys;
  info.MaxSubKeyLen = maxSubKeyLen;
  info.ValueCount = values;
  info.MaxValueNameLen = maxValueNameLen;
  // In UTF-8 a string may need up to three bytes where the platform stores two; the size is
  // therefore an upper bound, enough for any buffer sized from it.
  info.MaxValueLen = maxValueLen / 2 * 3 + maxValueLen % 2;
  return ERROR_SUCCESS;
}

RegStatus Win32Registry::EnumKey(RegKey key, std::uint32_t index, std::uint32_t capacity,
                                 std::string& name) {
  std::vector<wchar_t> buffer = NameBuffer(capacity);
  DWORD length = std::min<std::uint32_t>(capacity, static_cast<std::uint32_t>(buffer.size()));
  const LONG status =
      RegEnumKeyExW(ToHkey(key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) name = Narrow(std::wstring_view(buffer.data(), length));
  return status;
}

RegStatus Win32Registry::EnumValue(RegKey key, std::uint32_t index, std::uint32_t nameCapacity,
                                   std::string& name, std::uint32_t* type, std::string* data,
                                   std::uint32_t dataCapacity) {
  const HKEY hkey = ToHkey(key);
  std::vector<wchar_t> nameBuffer = NameBuffer(nameCapacity);
  const DWORD nameLimit =
      std::min<std::uint32_t>(nameCapacity, static_cast<std::uint32_t>(nameBuffer.size()));
  DWORD nameLength = nameLimit;
  RawData raw;

  // The first call asks for the name, the type and the data size only. Too small a name then
  // shows as more data; too small a data buffer in the second call means the value grew.
  DWORD size = 0;
  LONG status = RegEnumValueW(hkey, index, nameBuffer.data(), &nameLength, nullptr, &raw.type,
                              nullptr, data != nullptr ? &size : nullptr);
  if (status == ERROR_SUCCESS && data != nullptr) {
    status = ERROR_MORE_DATA;
    for (int attempt = 0; attempt < kReadAttempts && status == ERROR_MORE_DATA; ++attempt) {
      raw.Reserve(size);
      size = raw.Capacity();
      nameLength = nameLimit;
      status = RegEnumValueW(hkey, index, nameBuffer.data(), &nameLength, nullptr, &raw.type,
                             raw.Bytes(), &size);
    }
    raw.size = size;
  }
  if (status != ERROR_SUCCESS) return status;

  if (data != nullptr) {
    std::string converted = raw.ToInterface();
    if (converted.size() > dataCapacity) return ERROR_MORE_DATA;
    *data = std::move(converted);
  }
  name = Narrow(std::wstring_view(nameBuffer.data(), nameLength));
  if (type != nullptr) *type = raw.type;
  return ERROR_SUCCESS;
}

}  // namespace quorvane::win32
