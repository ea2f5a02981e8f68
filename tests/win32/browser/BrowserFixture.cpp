#include "BrowserFixture.h"

#include <wininet.h>

#include "win32/platform/WideText.h"

namespace quorvane::testing {
namespace {

using win32::Narrow;
using win32::Widen;

class Key {
 public:
  Key(HKEY root, const std::wstring& path, REGSAM access) {
    if (RegOpenKeyExW(root, path.c_str(), 0, access, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  HKEY key_ = nullptr;
};

RegistryTreeGuard::Node Snapshot(HKEY key) {
  RegistryTreeGuard::Node node;
  DWORD subKeys = 0, maxSubKey = 0, values = 0, maxName = 0, maxData = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values, &maxName,
                   &maxData, nullptr, nullptr);
  for (DWORD i = 0; i < values; ++i) {
    std::wstring name(maxName + 1, L'\0');
    std::vector<BYTE> data(maxData + 2);
    DWORD nameLength = maxName + 1;
    DWORD dataLength = static_cast<DWORD>(data.size());
    DWORD type = 0;
    if (RegEnumValueW(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength) !=
        ERROR_SUCCESS) {
      continue;
    }
    name.resize(nameLength);
    data.resize(dataLength);
    node.values.push_back({name, type, data});
  }
  for (DWORD i = 0; i < subKeys; ++i) {
    std::wstring name(maxSubKey + 1, L'\0');
    DWORD nameLength = maxSubKey + 1;
    if (RegEnumKeyExW(key, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      continue;
    }
    name.resize(nameLength);
    Key child(key, name, KEY_READ);
    if (child) node.children.emplace_back(name, Snapshot(child.get()));
  }
  return node;
}

void Restore(HKEY parent, const std::wstring& path, const RegistryTreeGuard::Node& node) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(parent, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  for (const RegistryTreeGuard::Value& value : node.values) {
    RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                   static_cast<DWORD>(value.data.size()));
  }
  for (const auto& [name, child] : node.children) Restore(key, name, child);
  RegCloseKey(key);
}

}  // namespace

RegistryTreeGuard::RegistryTreeGuard(HKEY root, std::string path)
    : root_(root), path_(Widen(path)) {
  if (Key key(root_, path_, KEY_READ); key) {
    saved_ = Snapshot(key.get());
    return;
  }
  for (std::size_t separator = path_.find(L'\\'); separator != std::wstring::npos;
       separator = path_.find(L'\\', separator + 1)) {
    const std::wstring parent = path_.substr(0, separator);
    if (!Key(root_, parent, KEY_READ)) missingParents_.push_back(parent);
  }
}

RegistryTreeGuard::~RegistryTreeGuard() {
  RegDeleteTreeW(root_, path_.c_str());
  RegDeleteKeyW(root_, path_.c_str());
  if (saved_) {
    Restore(root_, path_, *saved_);
    return;
  }
  for (auto parent = missingParents_.rbegin(); parent != missingParents_.rend(); ++parent) {
    Key key(root_, *parent, KEY_READ);
    DWORD subKeys = 1, values = 1;
    if (!key ||
        RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                         nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
        subKeys != 0 || values != 0) {
      return;
    }
    RegDeleteKeyW(root_, parent->c_str());
  }
}

RegistryValueGuard::RegistryValueGuard(HKEY root, std::string key, std::string name)
    : root_(root), key_(Widen(key)), name_(Widen(name)) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegGetValueW(root_, key_.c_str(), name_.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr,
                   &size) != ERROR_SUCCESS) {
    return;
  }
  std::vector<BYTE> data(size);
  if (RegGetValueW(root_, key_.c_str(), name_.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &type,
                   data.data(), &size) == ERROR_SUCCESS) {
    data.resize(size);
    saved_ = RegistryTreeGuard::Value{name_, type, data};
  }
}

RegistryValueGuard::~RegistryValueGuard() {
  if (!saved_) {
    RegDeleteKeyValueW(root_, key_.c_str(), name_.c_str());
    return;
  }
  RegSetKeyValueW(root_, key_.c_str(), name_.c_str(), saved_->type, saved_->data.data(),
                  static_cast<DWORD>(saved_->data.size()));
}

void SetRegString(HKEY root, const std::string& key, const std::string& name,
                  const std::string& value) {
  const std::wstring data = Widen(value);
  RegSetKeyValueW(root, Widen(key).c_str(), Widen(name).c_str(), REG_SZ, data.c_str(),
                  static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

bool RegKeyExists(HKEY root, const std::string& key) {
  return static_cast<bool>(Key(root, Widen(key), KEY_READ));
}

bool RegValueExists(HKEY root, const std::string& key, const std::string& name) {
  return RegGetValueW(root, Widen(key).c_str(), Widen(name).c_str(), RRF_RT_ANY, nullptr, nullptr,
                      nullptr) == ERROR_SUCCESS;
}

std::vector<std::string> RegValueNames(HKEY root, const std::string& key) {
  std::vector<std::string> names;
  Key opened(root, Widen(key), KEY_READ);
  if (!opened) return names;
  for (const RegistryTreeGuard::Value& value : Snapshot(opened.get()).values) {
    names.push_back(Narrow(value.name));
  }
  return names;
}

void DeleteRegTree(HKEY root, const std::string& key) {
  RegDeleteTreeW(root, Widen(key).c_str());
  RegDeleteKeyW(root, Widen(key).c_str());
}

bool SeedCacheEntry(const std::string& url, DWORD type) {
  FILETIME never{};
  const std::wstring wide = Widen(url);
  return CommitUrlCacheEntryW(wide.c_str(), nullptr, never, never, type, nullptr, 0, nullptr,
                              nullptr) != FALSE;
}

bool CacheEntryExists(const std::string& url) {
  DWORD size = 0;
  const std::wstring wide = Widen(url);
  if (GetUrlCacheEntryInfoW(wide.c_str(), nullptr, &size)) return true;
  return GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

void RemoveCacheEntries(const std::vector<std::string>& urls) {
  for (const std::string& url : urls) DeleteUrlCacheEntryW(Widen(url).c_str());
}

bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace quorvane::testing
