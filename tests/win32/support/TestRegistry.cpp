#include "support/TestRegistry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string_view>

#include "win32/platform/WideText.h"

namespace quorvane::testing {

using win32::Narrow;
using win32::Widen;

namespace {

class Key {
 public:
  Key(const std::string& path, REGSAM access) {
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, access, &key_) != ERROR_SUCCESS) {
      key_ = nullptr;
    }
  }
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

void SetRegString(const std::string& key, const std::string& name, const std::string& value) {
  HKEY created = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Widen(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &created, nullptr),
            ERROR_SUCCESS)
      << key;
  const std::wstring data = Widen(value);
  const LONG status = RegSetValueExW(created, Widen(name).c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(data.c_str()),
                                     static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(created);
  ASSERT_EQ(status, ERROR_SUCCESS) << key << " " << name;
}

std::string GetRegString(const std::string& key, const std::string& name) {
  Key opened(key, KEY_QUERY_VALUE);
  if (!opened.get()) return {};
  wchar_t buffer[2048] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  DWORD type = 0;
  if (RegQueryValueExW(opened.get(), Widen(name).c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return {};
  }
  return Narrow(buffer);
}

bool RegKeyExists(const std::string& key) { return Key(key, KEY_READ).get() != nullptr; }

bool RegValueExists(const std::string& key, const std::string& name) {
  Key opened(key, KEY_QUERY_VALUE);
  return opened.get() && RegQueryValueExW(opened.get(), Widen(name).c_str(), nullptr, nullptr,
                                          nullptr, nullptr) == ERROR_SUCCESS;
}

std::vector<std::string> RegValueNames(const std::string& key) {
  std::vector<std::string> names;
  Key opened(key, KEY_QUERY_VALUE);
  if (!opened.get()) return names;
  for (DWORD index = 0;; ++index) {
    wchar_t name[16384];
    DWORD length = 16384;
    if (RegEnumValueW(opened.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    names.push_back(Narrow(std::wstring_view(name, length)));
  }
  return names;
}

void DeleteRegTree(const std::string& key) {
  RegDeleteTreeW(HKEY_CURRENT_USER, Widen(key).c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, Widen(key).c_str());
}

void DeleteRegValue(const std::string& key, const std::string& name) {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, Widen(key).c_str(), Widen(name).c_str());
}

}  // namespace quorvane::testing
