#include "fakes/FakeRegistry.h"

#include <algorithm>
#include <iterator>

#include "fakes/NoCaseList.h"

namespace quorvane::fakes {
namespace {

// The status of any call through a handle whose key has been deleted.
constexpr RegStatus kKeyDeleted = 1018;
// Rights that only read: query value, enumerate sub-keys, notify, read control.
constexpr std::uint32_t kReadOnlyRights = 0x1 | 0x8 | 0x10 | 0x20000;

// The platform counts name lengths in UTF-16 code units.
std::uint32_t PlatformLength(std::string_view utf8) {
  std::uint32_t units = 0;
  for (unsigned char c : utf8) {
    if ((c & 0xC0) != 0x80) ++units;
    if (c >= 0xF0) ++units;
  }
  return units;
}

std::vector<std::string_view> SplitPath(std::string_view path) {
  std::vector<std::string_view> levels;
  for (std::size_t start = 0; start < path.size();) {
    const std::size_t end = std::min(path.find('\\', start), path.size());
    if (end > start) levels.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return levels;
}

bool IsRoot(RegKey key) { return key >= reg_root::ClassesRoot && key <= reg_root::PerformanceData; }

}  // namespace

struct FakeRegistry::Node {
  std::string name;
  Node* parent = nullptr;
  // By upper-cased name, which is also the order the platform enumerates them in.
  std::map<std::string, std::shared_ptr<Node>> children;
  NoCaseList<RegValue> values;
  bool isProtected = false;
  bool deleted = false;

  std::shared_ptr<Node> Child(std::string_view childName) const {
    const auto found = children.find(ToUpperAscii(childName));
    return found == children.end() ? nullptr : found->second;
  }
  std::shared_ptr<Node> AddChild(std::string_view childName) {
    auto& child = children[ToUpperAscii(childName)];
    child = std::make_shared<Node>();
    child->name = std::string(childName);
    child->parent = this;
    return child;
  }
  static std::shared_ptr<Node> Descend(std::shared_ptr<Node> node, std::string_view path) {
    for (const auto level : SplitPath(path)) {
      node = node->Child(level);
      if (!node) return nullptr;
    }
    return node;
  }
};

FakeRegistry::FakeRegistry() {
  for (int i = 0; i < 5; ++i) roots_.push_back(std::make_shared<Node>());
}

FakeRegistry::~FakeRegistry() = default;

std::shared_ptr<FakeRegistry::Node> FakeRegistry::NodeOf(RegKey key, RegStatus& status,
                                                         bool toWrite) {
  std::shared_ptr<Node> node;
  bool writable = true;
  if (IsRoot(key)) {
    node = roots_[key - reg_root::ClassesRoot];
  } else if (const auto handle = handles_.find(key); handle != handles_.end()) {
    node = handle->second.node;
    writable = handle->second.writable;
  }
  if (!node) {
    status = reg_status::InvalidHandle;
  } else if (node->deleted) {
    status = kKeyDeleted;
  } else if (toWrite && !writable) {
    status = reg_status::AccessDenied;
  } else {
    status = reg_status::Success;
    return node;
  }
  return nullptr;
}

RegKey FakeRegistry::AddHandle(std::shared_ptr<Node> node, bool writable) {
  const RegKey handle = nextHandle_;
  nextHandle_ += 4;
  handles_.emplace(handle, Handle{std::move(node), writable});
  return handle;
}

RegStatus FakeRegistry::OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access,
                                RegKey& opened) {
  RegStatus status = reg_status::Success;
  const auto base = NodeOf(parent, status);
  if (!base) return status;
  const auto target = Node::Descend(base, subKey);
  if (!target) return reg_status::NotFound;
  // The default access grants whatever the key allows; an explicit one is granted whole.
  const bool readOnly = access != 0 && (access & ~kReadOnlyRights) == 0;
  if (target->isProtected && access != 0 && !readOnly) return reg_status::AccessDenied;
  opened = AddHandle(target, !readOnly && !target->isProtected);
  return reg_status::Success;
}

RegStatus FakeRegistry::CreateKey(RegKey parent, std::string_view subKey, RegKey& opened) {
  RegStatus status = reg_status::Success;
  auto node = NodeOf(parent, status);
  if (!node) return status;
  // A missing level needs the parent's handle open for writing and a parent not protected.
  bool mayCreate = IsRoot(parent) || handles_.at(parent).writable;
  for (const auto level : SplitPath(subKey)) {
    auto child = node->Child(level);
    if (!child) {
      if (!mayCreate || node->isProtected) return reg_status::AccessDenied;
      child = node->AddChild(level);
    }
    node = std::move(child);
    mayCreate = true;
  }
  opened = AddHandle(node, !node->isProtected);
  return reg_status::Success;
}

RegStatus FakeRegistry::CloseKey(RegKey key) {
  return IsRoot(key) || handles_.erase(key) == 1 ? reg_status::Success : reg_status::InvalidHandle;
}

RegStatus FakeRegistry::QueryValue(RegKey key, std::string_view name, std::uint32_t& type,
                                   std::string* data, std::uint32_t& size) {
  RegStatus status = reg_status::Success;
  const auto node = NodeOf(key, status);
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

RegStatus FakeRegistry::SetValue(RegKey key, std::string_view name, std::uint32_t type,
                                 std::string_view data) {
  RegStatus status = reg_status::Success;
  const auto node = NodeOf(key, status, true);
  if (node) node->values[name] = RegValue{type, std::string(data)};
  return status;
}

RegStatus FakeRegistry::DeleteValue(RegKey key, std::string_view name) {
  RegStatus status = reg_status::Success;
  const auto node = NodeOf(key, status, true);
  if (!node) return status;
  return node->values.Erase(name) ? reg_status::Success : reg_status::NotFound;
}

RegStatus FakeRegistry::DeleteKey(RegKey key, std::string_view subKey) {
  RegStatus status = reg_status::Success;
  const auto base = NodeOf(key, status);
  if (!base) return status;
  const auto target = Node::Descend(base, subKey);
  if (!target) return reg_status::NotFound;
  if (!target->parent || target->isProtected || !target->children.empty()) {
    return reg_status::AccessDenied;
  }
  target->deleted = true;
  target->parent->children.erase(ToUpperAscii(target->name));
  return reg_status::Success;
}

RegStatus FakeRegistry::QueryInfoKey(RegKey key, KeyInfo& info) {
  RegStatus status = reg_status::Success;
  const auto node = NodeOf(key, status);
  if (!node) return status;
  info = KeyInfo{};
  info.SubKeyCount = static_cast<std::uint32_t>(node->children.size());
  for (const auto& [upper, child] : node->children) {
    info.MaxSubKeyLen = std::max(info.MaxSubKeyLen, PlatformLength(child->name));
  }
  info.ValueCount = static_cast<std::uint32_t>(node->values.entries.size());
  for (const auto& [name, value] : node->values.entries) {
    info.MaxValueNameLen = std::max(info.MaxValueNameLen, PlatformLength(name));
    info.MaxValueLen = std::max(info.MaxValueLen, static_cast<std::uint32_t>(value.data.size()));
  }
  return reg_status::Success;
}

RegStatus FakeRegistry::EnumKey(RegKey key, std::uint32_t index, std::uint32_t capacity,
                                std::string& name) {
  RegStatus status = reg_status::Success;
  const auto node = NodeOf(key, status);
  if (!node) return status;
  if (index >= node->children.size()) return reg_status::NoMoreItems;
  const std::string& childName = std::next(node->children.begin(), index)->second->name;
  if (PlatformLength(childName) + 1 > capacity) return reg_status::MoreData;
  name = childName;
  return reg_status::Success;
}

RegStatus FakeRegistry::EnumValue(RegKey key, std::uint32_t index, std::uint32_t nameCapacity,
                                  std::string& name, std::uint32_t* type, std::string* data,
                                  std::uint32_t dataCapacity) {
  RegStatus status = reg_status::Success;
  const auto node = NodeOf(key, status);
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

std::shared_ptr<FakeRegistry::Node> FakeRegistry::Find(RegKey root, std::string_view path) const {
  return IsRoot(root) ? Node::Descend(roots_[root - reg_root::ClassesRoot], path) : nullptr;
}

FakeRegistry::Node& FakeRegistry::MakePath(RegKey root, std::string_view path) {
  auto node = roots_.at(root - reg_root::ClassesRoot);
  for (const auto level : SplitPath(path)) {
    auto child = node->Child(level);
    node = child ? std::move(child) : node->AddChild(level);
  }
  return *node;
}

void FakeRegistry::CreateKeyPath(RegKey root, std::string_view path) { MakePath(root, path); }

void FakeRegistry::SetString(RegKey root, std::string_view path, std::string_view name,
                             std::string_view data, std::uint32_t type) {
  MakePath(root, path).values[name] = RegValue{type, std::string(data)};
}

void FakeRegistry::SetProtected(RegKey root, std::string_view path) {
  MakePath(root, path).isProtected = true;
}

bool FakeRegistry::KeyExists(RegKey root, std::string_view path) const {
  return Find(root, path) != nullptr;
}

std::optional<RegValue> FakeRegistry::GetValue(RegKey root, std::string_view path,
                                               std::string_view name) const {
  const auto node = Find(root, path);
  const RegValue* value = node ? node->values.Find(name) : nullptr;
  return value ? std::optional<RegValue>(*value) : std::nullopt;
}

std::vector<std::string> FakeRegistry::SubKeyNames(RegKey root, std::string_view path) const {
  std::vector<std::string> names;
  if (const auto node = Find(root, path)) {
    for (const auto& [upper, child] : node->children) names.push_back(child->name);
  }
  return names;
}

std::vector<std::string> FakeRegistry::ValueNames(RegKey root, std::string_view path) const {
  std::vector<std::string> names;
  if (const auto node = Find(root, path)) {
    for (const auto& [name, value] : node->values.entries) names.push_back(name);
  }
  return names;
}

}  // namespace quorvane::fakes
