#include "support/TestRegistry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "win32/platform/WideText.h"

namespace quorvane::testing {
using win32::Widen;

void SetRegString(const std::string& key, const std::string& name, const std::string& value) {
  const std::wstring data = Widen(value);
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, Widen(key).c_str(), Widen(name).c_str(), REG_SZ,
                            data.c_str(), static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS)
      << key << " " << name;
}

std::string GetRegString(const std::string& key, const std::string& name) {
  wchar_t buffer[2048] = {};
  DWORD size = sizeof(buffer);
  return RegGetValueW(HKEY_CURRENT_USER, Widen(key).c_str(), Widen(name).c_str(), RRF_RT_REG_SZ,
                      nullptr, buffer, &size) == ERROR_SUCCESS
             ? win32::Narrow(buffer)
             : std::string();
}

bool RegKeyExists(const std::string& key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(key).c_str(), 0, KEY_READ, &opened)) return false;
  RegCloseKey(opened);
  return true;
}

bool RegValueExists(const std::string& key, const std::string& name) {
  return RegGetValueW(HKEY_CURRENT_USER, Widen(key).c_str(), Widen(name).c_str(), RRF_RT_ANY,
                      nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::vector<std::string> RegValueNames(const std::string& key) {
  std::vector<std::string> names;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(key).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
    return names;
  wchar_t name[16384];
  for (DWORD length = 16384; RegEnumValueW(opened, static_cast<DWORD>(names.size()), name, &length,
                                           nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
       length = 16384) {
    names.push_back(win32::Narrow(std::wstring_view(name, length)));
  }
  RegCloseKey(opened);
  return names;
}

void DeleteRegTree(const std::string& key) {
  RegDeleteTreeW(HKEY_CURRENT_USER, Widen(key).c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, Widen(key).c_str());
}

}  // namespace quorvane::testing
