#pragma once
// An in-memory registry that behaves like the platform's where the program depends on it:
// - status 5 when deleting a key that still has sub-keys (or a protected key), 2 for a
//   missing key or value, 259 past the end of an enumeration, 234 when a name or data does
//   not fit (capacities include the NUL), 6 for an unknown handle, 1018 for a handle whose
//   key was deleted meanwhile;
// - key and value names match without regard to (ASCII) case and keep the case they were
//   created with; sub-keys enumerate sorted without regard to case, values in the order
//   they were first written;
// - a protected key refuses deletion, writes and opens for more than reading with 5, as a
//   key does whose security the user may not change;
// - every handle that OpenKey and CreateKey hand out is counted until CloseKey, so a test
//   can assert that nothing leaked. The five predefined roots are never counted.
// Lengths in characters are counted as the platform counts them (UTF-16 code units).

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "core/platform/Registry.h"
#include "fakes/NoCase.h"

namespace quorvane::fakes {

struct RegValue {
  std::uint32_t type = reg_type::None;
  std::string data;
  bool operator==(const RegValue&) const = default;
};

class FakeRegistry final : public Registry {
 public:
  FakeRegistry() {
    for (RegKey root = reg_root::ClassesRoot; IsRoot(root); ++root) {
      keys_[std::to_string(root)];
      handles_[root] = std::to_string(root);
    }
  }

  RegStatus OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access,
                    RegKey& opened) override {
    const auto [base, status] = KeyOf(parent);
    if (base == nullptr) return status;
    const auto target = keys_.find(Below(handles_[parent], subKey));
    if (target == keys_.end()) return reg_status::NotFound;
    // The default access (0) grants whatever the key allows; an explicit one is granted whole.
    if (target->second.isProtected && (access & ~kReadOnlyRights) != 0) {
      return reg_status::AccessDenied;
    }
    opened = AddHandle(target->first);
    return reg_status::Success;
  }

  RegStatus CreateKey(RegKey parent, std::string_view subKey, RegKey& opened) override {
    const auto [base, status] = KeyOf(parent);
    if (base == nullptr) return status;
    // A missing level needs a parent the user may change.
    bool mayCreate = !base->isProtected;
    std::string path = handles_[parent];
    for (const auto& level : SplitNames(subKey, "\\")) {
      path += "\\" + level;
      auto key = keys_.find(path);
      if (key == keys_.end() && !mayCreate) return reg_status::AccessDenied;
      if (key == keys_.end()) key = keys_.emplace(path, Key{}).first;
      mayCreate = !key->second.isProtected;
    }
    opened = AddHandle(path);
    return reg_status::Success;
  }

  RegStatus CloseKey(RegKey key) override {
    return IsRoot(key) || handles_.erase(key) == 1 ? reg_status::Success
                                                   : reg_status::InvalidHandle;
  }

  RegStatus QueryValue(RegKey key, std::string_view name, std::uint32_t& type, std::string* data,
                       std::uint32_t& size) override {
    const auto [found, status] = KeyOf(key);
    if (found == nullptr) return status;
    const RegValue* value = found->values.Find(name);
    if (value == nullptr) return reg_status::NotFound;
    const bool fits = data == nullptr || size >= value->data.size();
    type = value->type;
    size = static_cast<std::uint32_t>(value->data.size());
    if (fits && data != nullptr) *data = value->data;
    return fits ? reg_status::Success : reg_status::MoreData;
  }

  RegStatus SetValue(RegKey key, std::string_view name, std::uint32_t type,
                     std::string_view data) override {
    const auto [found, status] = KeyOf(key, true);
    if (found != nullptr) found->values[name] = RegValue{type, std::string(data)};
    return status;
  }

  RegStatus DeleteValue(RegKey key, std::string_view name) override {
    const auto [found, status] = KeyOf(key, true);
    if (found == nullptr) return status;
    return found->values.Erase(name) ? reg_status::Success : reg_status::NotFound;
  }

  RegStatus DeleteKey(RegKey key, std::string_view subKey) override {
    const auto [base, status] = KeyOf(key);
    if (base == nullptr) return status;
    const auto target = keys_.find(Below(handles_[key], subKey));
    if (target == keys_.end()) return reg_status::NotFound;
    if (target->first.find('\\') == std::string::npos || target->second.isProtected ||
        !SubKeys(target->first).empty()) {
      return reg_status::AccessDenied;
    }
    keys_.erase(target);
    return reg_status::Success;
  }

  RegStatus QueryInfoKey(RegKey key, KeyInfo& info) override {
    const auto [found, status] = KeyOf(key);
    if (found == nullptr) return status;
    info = KeyInfo{};
    for (const auto& name : SubKeys(handles_[key])) {
      ++info.SubKeyCount;
      info.MaxSubKeyLen = std::max(info.MaxSubKeyLen, PlatformLength(name));
    }
    info.ValueCount = static_cast<std::uint32_t>(found->values.entries.size());
    for (const auto& [name, value] : found->values.entries) {
      info.MaxValueNameLen = std::max(info.MaxValueNameLen, PlatformLength(name));
      info.MaxValueLen = std::max(info.MaxValueLen, static_cast<std::uint32_t>(value.data.size()));
    }
    return reg_status::Success;
  }

  RegStatus EnumKey(RegKey key, std::uint32_t index, std::uint32_t capacity,
                    std::string& name) override {
    const auto [found, status] = KeyOf(key);
    if (found == nullptr) return status;
    const auto names = SubKeys(handles_[key]);
    if (index >= names.size()) return reg_status::NoMoreItems;
    if (PlatformLength(names[index]) + 1 > capacity) return reg_status::MoreData;
    name = names[index];
    return reg_status::Success;
  }

  RegStatus EnumValue(RegKey key, std::uint32_t index, std::uint32_t nameCapacity,
                      std::string& name, std::uint32_t* type, std::string* data,
                      std::uint32_t dataCapacity) override {
    const auto [found, status] = KeyOf(key);
    if (found == nullptr) return status;
    if (index >= found->values.entries.size()) return reg_status::NoMoreItems;
    const auto& [valueName, value] = found->values.entries[index];
    if (PlatformLength(valueName) + 1 > nameCapacity) return reg_status::MoreData;
    if (data != nullptr && value.data.size() > dataCapacity) return reg_status::MoreData;
    name = valueName;
    if (type != nullptr) *type = value.type;
    if (data != nullptr) *data = value.data;
    return reg_status::Success;
  }

  // Helpers for tests. `path` is relative to one of the five roots, levels separated by
  // back-slashes; the setters create missing levels.
  void CreateKeyPath(RegKey root, std::string_view path) { MakePath(root, path); }
  void SetString(RegKey root, std::string_view path, std::string_view name, std::string_view data,
                 std::uint32_t type = reg_type::String) {
    MakePath(root, path).values[name] = RegValue{type, std::string(data)};
  }
  // A key the user may not change (see above), created when missing.
  void SetProtected(RegKey root, std::string_view path) { MakePath(root, path).isProtected = true; }
  bool KeyExists(RegKey root, std::string_view path) const {
    return keys_.count(Below(std::to_string(root), path)) != 0;
  }
  std::optional<RegValue> GetValue(RegKey root, std::string_view path, std::string_view name) {
    const auto key = keys_.find(Below(std::to_string(root), path));
    const RegValue* value = key != keys_.end() ? key->second.values.Find(name) : nullptr;
    return value ? std::optional<RegValue>(*value) : std::nullopt;
  }
  // Names as created, in enumeration order; empty when the key is missing.
  std::vector<std::string> SubKeyNames(RegKey root, std::string_view path) const {
    return SubKeys(Below(std::to_string(root), path));
  }
  std::vector<std::string> ValueNames(RegKey root, std::string_view path) {
    const auto key = keys_.find(Below(std::to_string(root), path));
    if (key == keys_.end()) return {};
    std::vector<std::string> names;
    for (const auto& [name, value] : key->second.values.entries) names.push_back(name);
    return names;
  }
  std::size_t OpenHandleCount() const { return handles_.size() - 5; }

 private:
  // The status of any call through a handle whose key has been deleted.
  static constexpr RegStatus kKeyDeleted = 1018;
  // Rights that only read: query value, enumerate sub-keys, notify, read control.
  static constexpr std::uint32_t kReadOnlyRights = 0x1 | 0x8 | 0x10 | 0x20000;

  struct Key {
    NoCaseList<RegValue> values;
    bool isProtected = false;
  };
  static bool IsRoot(RegKey key) {
    return key >= reg_root::ClassesRoot && key <= reg_root::PerformanceData;
  }

  // The platform counts name lengths in UTF-16 code units.
  static std::uint32_t PlatformLength(std::string_view utf8) {
    std::uint32_t units = 0;
    for (unsigned char c : utf8) {
      if ((c & 0xC0) != 0x80) ++units;
      if (c >= 0xF0) ++units;
    }
    return units;
  }

  static std::string Below(std::string path, std::string_view subKey) {
    for (const auto& level : SplitNames(subKey, "\\")) path += "\\" + level;
    return path;
  }

  // The names of the keys right below `path`, in the platform's order.
  std::vector<std::string> SubKeys(const std::string& path) const {
    std::vector<std::string> names;
    const std::string prefix = path + "\\";
    for (auto key = keys_.upper_bound(prefix);
         key != keys_.end() && StartsWithNoCase(key->first, prefix); ++key) {
      const std::string_view name = std::string_view(key->first).substr(prefix.size());
      if (name.find('\\') == std::string_view::npos) names.emplace_back(name);
    }
    return names;
  }

  // The key a handle names, none when the status is not Success.
  std::pair<Key*, RegStatus> KeyOf(RegKey handle, bool toWrite = false) {
    const auto found = handles_.find(handle);
    if (found == handles_.end()) return {nullptr, reg_status::InvalidHandle};
    const auto key = keys_.find(found->second);
    if (key == keys_.end()) return {nullptr, kKeyDeleted};
    if (toWrite && key->second.isProtected) return {nullptr, reg_status::AccessDenied};
    return {&key->second, reg_status::Success};
  }

  Key& MakePath(RegKey root, std::string_view path) {
    std::string levels = std::to_string(root);
    for (const auto& level : SplitNames(path, "\\")) keys_.try_emplace(levels += "\\" + level);
    return keys_.at(levels);
  }

  RegKey AddHandle(std::string path) {
    nextHandle_ += 4;
    handles_[nextHandle_] = std::move(path);
    return nextHandle_;
  }

  // Every key by its full path below the number of its root, in the platform's order.
  std::map<std::string, Key, NoCaseLess> keys_;
  // The five roots are handles from the start, never closed.
  std::map<RegKey, std::string> handles_;  // by handle, the key's path
  RegKey nextHandle_ = 0x1000;
};

}  // namespace quorvane::fakes
