#pragma once
// An in-memory registry that behaves like the platform's where the program depends on it:
// - status 5 when deleting a key that still has sub-keys (or a protected key), 2 for a
//   missing key or value, 259 past the end of an enumeration, 234 when a name or data does
//   not fit (capacities include the NUL), 6 for an unknown handle, 1018 for a handle whose
//   key was deleted meanwhile;
// - key and value names match without regard to (ASCII) case and keep the case they were
//   created with; sub-keys enumerate sorted without regard to case, values in the order
//   they were first written;
// - a handle opened for reading only (KEY_READ, or any access to a protected key) refuses
//   writes with 5, as on the platform;
// - every handle that OpenKey and CreateKey hand out is counted until CloseKey, so a test
//   can assert that nothing leaked. The five predefined roots are never counted.
// Lengths in characters are counted as the platform counts them (UTF-16 code units).

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
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
      handles_[root] = Handle{std::make_shared<Node>(), true};
    }
  }

  RegStatus OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access,
                    RegKey& opened) override {
    const auto [base, status] = NodeOf(parent);
    if (!base) return status;
    const auto target = Node::Descend(base, subKey);
    if (!target) return reg_status::NotFound;
    // The default access grants whatever the key allows; an explicit one is granted whole.
    const bool readOnly = access != 0 && (access & ~kReadOnlyRights) == 0;
    if (target->isProtected && access != 0 && !readOnly) return reg_status::AccessDenied;
    opened = AddHandle(target, !readOnly && !target->isProtected);
    return reg_status::Success;
  }

  RegStatus CreateKey(RegKey parent, std::string_view subKey, RegKey& opened) override {
    auto [node, status] = NodeOf(parent);
    if (!node) return status;
    // A missing level needs the parent's handle open for writing and a parent not protected.
    bool mayCreate = handles_.at(parent).writable;
    for (const auto& level : SplitNames(subKey, "\\")) {
      if (!node->Child(level) && (!mayCreate || node->isProtected)) {
        return reg_status::AccessDenied;
      }
      node = node->Child(level, true);
      mayCreate = true;
    }
    opened = AddHandle(node, !node->isProtected);
    return reg_status::Success;
  }

  RegStatus CloseKey(RegKey key) override {
    return IsRoot(key) || handles_.erase(key) == 1 ? reg_status::Success
                                                   : reg_status::InvalidHandle;
  }

  RegStatus QueryValue(RegKey key, std::string_view name, std::uint32_t& type, std::string* data,
                       std::uint32_t& size) override {
    const auto [node, status] = NodeOf(key);
    if (!node) return status;
    const RegValue* value = node->values.Find(name);
    if (value == nullptr) return reg_status::NotFound;
    type = value->type;
    const auto capacity = size;
    size = static_cast<std::uint32_t>(value->data.size());
    if (data == nullptr) return reg_status::Success;
    if (capacity < size) return reg_status::MoreData;
    *data = value->data;
    return reg_status::Success;
  }

  RegStatus SetValue(RegKey key, std::string_view name, std::uint32_t type,
                     std::string_view data) override {
    const auto [node, status] = NodeOf(key, true);
    if (node) node->values[name] = RegValue{type, std::string(data)};
    return status;
  }

  RegStatus DeleteValue(RegKey key, std::string_view name) override {
    const auto [node, status] = NodeOf(key, true);
    if (!node) return status;
    return node->values.Erase(name) ? reg_status::Success : reg_status::NotFound;
  }

  RegStatus DeleteKey(RegKey key, std::string_view subKey) override {
    const auto [base, status] = NodeOf(key);
    if (!base) return status;
    const auto target = Node::Descend(base, subKey);
    if (!target) return reg_status::NotFound;
    if (!target->parent || target->isProtected || !target->children.empty()) {
      return reg_status::AccessDenied;
    }
    target->deleted = true;
    target->parent->children.erase(target->name);
    return reg_status::Success;
  }

  RegStatus QueryInfoKey(RegKey key, KeyInfo& info) override {
    const auto [node, status] = NodeOf(key);
    if (!node) return status;
    info = KeyInfo{};
    info.SubKeyCount = static_cast<std::uint32_t>(node->children.size());
    for (const auto& [name, child] : node->children) {
      info.MaxSubKeyLen = std::max(info.MaxSubKeyLen, PlatformLength(name));
    }
    info.ValueCount = static_cast<std::uint32_t>(node->values.entries.size());
    for (const auto& [name, value] : node->values.entries) {
      info.MaxValueNameLen = std::max(info.MaxValueNameLen, PlatformLength(name));
      info.MaxValueLen = std::max(info.MaxValueLen, static_cast<std::uint32_t>(value.data.size()));
    }
    return reg_status::Success;
  }

  RegStatus EnumKey(RegKey key, std::uint32_t index, std::uint32_t capacity,
                    std::string& name) override {
    const auto [node, status] = NodeOf(key);
    if (!node) return status;
    if (index >= node->children.size()) return reg_status::NoMoreItems;
    const std::string& childName = std::next(node->children.begin(), index)->first;
    if (PlatformLength(childName) + 1 > capacity) return reg_status::MoreData;
    name = childName;
    return reg_status::Success;
  }

  RegStatus EnumValue(RegKey key, std::uint32_t index, std::uint32_t nameCapacity,
                      std::string& name, std::uint32_t* type, std::string* data,
                      std::uint32_t dataCapacity) override {
    const auto [node, status] = NodeOf(key);
    if (!node) return status;
    if (index >= node->values.entries.size()) return reg_status::NoMoreItems;
    const auto& [valueName, value] = node->values.entries[index];
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
  // A protected key refuses deletion and any open for more than reading with status 5, like
  // a key whose security the user may not change. The key is created when missing.
  void SetProtected(RegKey root, std::string_view path) { MakePath(root, path).isProtected = true; }
  bool KeyExists(RegKey root, std::string_view path) const { return Find(root, path) != nullptr; }
  std::optional<RegValue> GetValue(RegKey root, std::string_view path,
                                   std::string_view name) const {
    const auto node = Find(root, path);
    const RegValue* value = node ? node->values.Find(name) : nullptr;
    return value ? std::optional<RegValue>(*value) : std::nullopt;
  }
  // Names as created, in enumeration order; empty when the key is missing.
  std::vector<std::string> SubKeyNames(RegKey root, std::string_view path) const {
    std::vector<std::string> names;
    if (const auto node = Find(root, path)) {
      for (const auto& [name, child] : node->children) names.push_back(name);
    }
    return names;
  }
  std::vector<std::string> ValueNames(RegKey root, std::string_view path) const {
    std::vector<std::string> names;
    if (const auto node = Find(root, path)) {
      for (const auto& [name, value] : node->values.entries) names.push_back(name);
    }
    return names;
  }
  std::size_t OpenHandleCount() const { return handles_.size() - 5; }

 private:
  // The status of any call through a handle whose key has been deleted.
  static constexpr RegStatus kKeyDeleted = 1018;
  // Rights that only read: query value, enumerate sub-keys, notify, read control.
  static constexpr std::uint32_t kReadOnlyRights = 0x1 | 0x8 | 0x10 | 0x20000;

  struct Node {
    std::string name;
    Node* parent = nullptr;
    std::map<std::string, std::shared_ptr<Node>, NoCaseLess> children;
    NoCaseList<RegValue> values;
    bool isProtected = false;
    bool deleted = false;

    std::shared_ptr<Node> Child(std::string_view childName, bool create = false) {
      const auto found = children.find(childName);
      if (found != children.end()) return found->second;
      if (!create) return nullptr;
      auto child = std::make_shared<Node>(Node{std::string(childName), this, {}, {}, false, false});
      return children[child->name] = child;
    }
    static std::shared_ptr<Node> Descend(std::shared_ptr<Node> node, std::string_view path) {
      for (const auto& level : SplitNames(path, "\\")) {
        if (!(node = node->Child(level))) return nullptr;
      }
      return node;
    }
  };
  struct Handle {
    std::shared_ptr<Node> node;
    bool writable = true;
  };
  struct Reached {
    std::shared_ptr<Node> node;  // none when the status is not Success
    RegStatus status = reg_status::Success;
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

  Reached NodeOf(RegKey key, bool toWrite = false) {
    const auto handle = handles_.find(key);
    if (handle == handles_.end()) return {nullptr, reg_status::InvalidHandle};
    if (handle->second.node->deleted) return {nullptr, kKeyDeleted};
    if (toWrite && !handle->second.writable) return {nullptr, reg_status::AccessDenied};
    return {handle->second.node, reg_status::Success};
  }

  std::shared_ptr<Node> Find(RegKey root, std::string_view path) const {
    return IsRoot(root) ? Node::Descend(handles_.at(root).node, path) : nullptr;
  }

  Node& MakePath(RegKey root, std::string_view path) {
    auto node = handles_.at(root).node;
    for (const auto& level : SplitNames(path, "\\")) node = node->Child(level, true);
    return *node;
  }

  RegKey AddHandle(std::shared_ptr<Node> node, bool writable) {
    nextHandle_ += 4;
    handles_[nextHandle_] = Handle{std::move(node), writable};
    return nextHandle_;
  }

  // The five roots are handles from the start, never closed.
  std::map<RegKey, Handle> handles_;
  RegKey nextHandle_ = 0x1000;
};

}  // namespace quorvane::fakes
