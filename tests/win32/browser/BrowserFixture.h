#pragma once
// Shared set-up of the browser tests under Wine: registry state that a test changes is
// saved first and put back afterwards, and the real URL cache is seeded through WinINet.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::testing {

// A key tree as it was before the test, restored (or removed, when it did not exist) when
// the guard ends; the test may create, change or delete anything below it. Parent keys
// that did not exist either are removed again when nothing else was put into them.
class RegistryTreeGuard {
 public:
  RegistryTreeGuard(HKEY root, std::string path);
  ~RegistryTreeGuard();
  RegistryTreeGuard(const RegistryTreeGuard&) = delete;
  RegistryTreeGuard& operator=(const RegistryTreeGuard&) = delete;

  struct Value {
    std::wstring name;
    DWORD type = 0;
    std::vector<BYTE> data;
  };
  struct Node {
    std::vector<Value> values;
    std::vector<std::pair<std::wstring, Node>> children;
  };

 private:
  HKEY root_;
  std::wstring path_;
  std::optional<Node> saved_;
  // The parent keys that were missing, the outermost first.
  std::vector<std::wstring> missingParents_;
};

// One value as it was before the test, put back (or removed) when the guard ends.
class RegistryValueGuard {
 public:
  RegistryValueGuard(HKEY root, std::string key, std::string name);
  ~RegistryValueGuard();
  RegistryValueGuard(const RegistryValueGuard&) = delete;
  RegistryValueGuard& operator=(const RegistryValueGuard&) = delete;

 private:
  HKEY root_;
  std::wstring key_;
  std::wstring name_;
  std::optional<RegistryTreeGuard::Value> saved_;
};

void SetRegString(HKEY root, const std::string& key, const std::string& name,
                  const std::string& value);
bool RegKeyExists(HKEY root, const std::string& key);
bool RegValueExists(HKEY root, const std::string& key, const std::string& name);
std::vector<std::string> RegValueNames(HKEY root, const std::string& key);
void DeleteRegTree(HKEY root, const std::string& key);

// --- The real URL cache
// Adds an entry of the given type with no local file; false when WinINet refuses it.
bool SeedCacheEntry(const std::string& url, DWORD type);
bool CacheEntryExists(const std::string& url);
// Removes the entries a test added, whatever became of them.
void RemoveCacheEntries(const std::vector<std::string>& urls);

// True when the test runs under Wine rather than on Windows itself.
bool UnderWine();

}  // namespace quorvane::testing
