#include "fakes/FakeRegistry.h"

#include <algorithm>

#include "core/Text.h"

namespace quorvane::fakes {
namespace {

constexpr std::uint32_t kQueryValue = 0x1;
constexpr std::uint32_t kSetValue = 0x2;
constexpr std::uint32_t kCreateSubKey = 0x4;
constexpr std::uint32_t kEnumerateSubKeys = 0x8;
constexpr std::uint32_t kAllRights = 0x3F;
// Rights that only read: query value, enumerate, notify, read control.
constexpr std::uint32_t kReadOnlyMask = 0x1 | 0x8 | 0x10 | 0x20000;
constexpr std::uint32_t kReadRights = kQueryValue | kEnumerateSubKeys | 0x10;
constexpr std::uint32_t kMaximumAllowed = 0x02000000;
constexpr std::uint32_t kGenericAll = 0x10000000;

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
  while (!path.empty()) {
    const auto slash = path.find('\\');
    const std::string_view level = path.substr(0, slash);
    if (!level.empty()) levels.push_back(level);
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return levels;
}

}  // namespace

struct FakeRegistry::Node {
  struct NamedValue {
    std::string name;
    RegValue value;
  };
  using Children = std::vector<std::shared_ptr<Node>>;

  std::string name;
  std::string sortKey;  // the name upper-cased: children stay sorted by it
  Node* parent = nullptr;
  // A sorted vector rather than a map, so that fetching a child by index costs nothing.
  Children children;
  std::vector<NamedValue> values;
  bool isRoot = false;
  bool isProtected = false;
  bool deleted = false;

  Children::iterator LowerBound(const std::string& key) {
    return std::lower_bound(children.begin(), children.end(), key,
                            [](const std::shared_ptr<Node>& child, const std::string& k) {
                              return child->sortKey < k;
                            });
  }

  std::shared_ptr<Node> Child(std::string_view childName) {
    const std::string key = ToUpperAscii(childName);
    const auto it = LowerBound(key);
    return (it != children.end() && (*it)->sortKey == key) ? *it : nullptr;
  }

  std::shared_ptr<Node> AddChild(std::string_view childName) {
    auto child = std::make_shared<Node>();
    child->name = std::string(childName);
    child->sortKey = ToUpperAscii(childName);
    child->parent = this;
    children.insert(LowerBound(child->sortKey), child);
    return child;
  }

  void Detach() {
    if (parent != nullptr) {
      const auto it = parent->LowerBound(sortKey);
      if (it != parent->children.end() && it->get() == this) parent->children.erase(it);
    }
    parent = nullptr;
    deleted = true;
  }

  NamedValue* Value(std::string_view valueName) {
    const auto it = std::find_if(values.begin(), values.end(), [&](const NamedValue& v) {
      return EqualsNoCase(v.name, valueName);
    });
    return it == values.end() ? nullptr : &*it;
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
  for (int i = 0; i < 5; ++i) {
    auto root = std::make_shared<Node>();
    root->isRoot = true;
    roots_.push_back(std::move(root));
  }
}

FakeRegistry::~FakeRegistry() = default;

std::shared_ptr<FakeRegistry::Node> FakeRegistry::NodeOf(RegKey key, RegStatus& status,
                                                         std::uint32_t neededRights) {
  std::shared_ptr<Node> node;
  std::uint32_t rights = kAllRights;
  if (key >= reg_root::ClassesRoot && key <= reg_root::PerformanceData) {
    node = roots_[key - reg_root::ClassesRoot];
  } else if (const auto it = handles_.find(key); it != handles_.end()) {
    node = it->second.node;
    rights = it->second.rights;
  } else {
    status = reg_status::InvalidHandle;
    return nullptr;
  }
  if (node->deleted) {
    status = KeyDeleted;
    return nullptr;
  }
  if ((rights & neededRights) != neededRights) {
    status = reg_status::AccessDenied;
    return nullptr;
  }
  status = reg_status::Success;
  return node;
}

RegKey FakeRegistry::AddHandle(std::shared_ptr<Node> node, std::uint32_t rights) {
  const RegKey handle = nextHandle_;
  nextHandle_ += 4;
  handles_.emplace(handle, Handle{std::move(node), rights});
  return handle;
}

RegStatus FakeRegistry::OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access,
                                RegKey& opened) {
  RegStatus status = reg_status::Success;
  const auto base = NodeOf(parent, status);
  if (!base) return status;
  const auto target = Node::Descend(base, subKey);
  if (!target) return reg_status::NotFound;

  std::uint32_t rights = kAllRights;
  if (access == 0 || (access & (kMaximumAllowed | kGenericAll)) != 0) {
    // The default access grants whatever the key allows.
    if (target->isProtected) rights = kReadRights;
  } else {
    if (target->isProtected && (access & ~kReadOnlyMask) != 0) return reg_status::AccessDenied;
    rights = access & kAllRights;
  }
  opened = AddHandle(target, rights);
  return reg_status::Success;
}

RegStatus FakeRegistry::CreateKey(RegKey parent, std::string_view subKey, RegKey& opened) {
  RegStatus status = reg_status::Success;
  auto node = NodeOf(parent, status);
  if (!node) return status;
  // Creating a level needs the right to create sub-keys through the parent's handle.
  bool parentMayCreate = true;
  if (const auto it = handles_.find(parent); it != handles_.end()) {
    parentMayCreate = (it->second.rights & kCreateSubKey) != 0;
  }
  for (const auto level : SplitPath(subKey)) {
    auto child = node->Child(level);
    if (!child) {
      if (!parentMayCreate || node->isProtected) return reg_status::AccessDenied;
      child = node->AddChild(level);
    }
    node = std::move(child);
    parentMayCreate = true;
  }
  opened = AddHandle(node, node->isProtected ? kReadRights : kAllRights);
  return reg_status::Success;
}

RegStatus FakeRegistry::CloseKey(RegKey key) {
  if (key >= reg_root::ClassesRoot && key <= reg_root::PerformanceData) {
    return reg_status::Success;
  }
  return handles_.erase(key) == 1 ? reg_status::Success : reg_status::InvalidHandle;
}

RegStatus FakeRegistry::QueryValue(RegKey key, std::string_view name, std::uint32_t& type,
                                   std::string* data, std::uint32_t& size) {
  RegStatus status = reg_status::Success;
  const auto node = NodeOf(key, status, kQueryValue);
  if (!node) return status;
  const auto* value = node->Value(name);
  if (value == nullptr) return reg_status::NotFound;
  type = value->value.type;
  const auto stored = static_cast<std::uint32_t>(value->value.data.size());
  if (data != nullptr) {
    if (size < stored) {
      size = stored;
      return reg_status::MoreData;
    }
    *data = value->value.data;
  }
  size = stored;
  return reg_status::Success;
}

RegStatus FakeRegistry::SetValue(RegKey key, std::string_view name, std::uint32_t type,
                                 std::string_view data) {
  RegStatus status = reg_status::Success;
  const auto node = NodeOf(key, status, kSetValue);
  if (!node) return status;
  // A value written again keeps its place among the others.
  if (auto* value = node->Value(name)) {
    value->value = RegValue{type, std::string(data)};
  } else {
    node->values.push_back({std::string(name), RegValue{type, std::string(data)}});
  }
  return reg_status::Success;
}

RegStatus FakeRegistry::DeleteValue(RegKey key, std::string_view name) {
  RegStatus status = reg_status::Success;
  const auto node = NodeOf(key, status, kSetValue);
  if (!node) return status;
  auto* value = node->Value(name);
  if (value == nullptr) return reg_status::NotFound;
  node->values.erase(node->values.begin() + (value - node->values.data()));
  return reg_status::Success;
}

RegStatus FakeRegistry::DeleteKey(RegKey key, std::string_view subKey) {
  RegStatus status = reg_status::Success;
  const auto base = NodeOf(key, status);
  if (!base) return status;
  const auto target = Node::Descend(base, subKey);
  if (!target) return reg_status::NotFound;
  if (target->isRoot || target->isProtected || !target->children.empty()) {
    return reg_status::AccessDenied;
  }
  target->Detach();
  return reg_status::Success;
}

RegStatus FakeRegistry::QueryInfoKey(RegKey key, KeyInfo& info) {
  RegStatus status = reg_status::Success;
  const auto node = NodeOf(key, status, kQueryValue);
  if (!node) return status;
  info = KeyInfo{};
  info.SubKeyCount = static_cast<std::uint32_t>(node->children.size());
  for (const auto& child : node->children) {
    info.MaxSubKeyLen = std::max(info.MaxSubKeyLen, PlatformLength(child->name));
  }
  info.ValueCount = static_cast<std::uint32_t>(node->values.size());
  for (const auto& value : node->values) {
    info.MaxValueNameLen = std::max(info.MaxValueNameLen, PlatformLength(value.name));
    info.MaxValueLen =
        std::max(info.MaxValueLen, static_cast<std::uint32_t>(value.value.data.size()));
  }
  return reg_status::Success;
}

RegStatus FakeRegistry::EnumKey(RegKey key, std::uint32_t index, std::uint32_t capacity,
                                std::string& name) {
  RegStatus status = reg_status::Success;
  const auto node = NodeOf(key, status, kEnumerateSubKeys);
  if (!node) return status;
  if (index >= node->children.size()) return reg_status::NoMoreItems;
  const std::string& childName = node->children[index]->name;
  if (PlatformLength(childName) + 1 > capacity) return reg_status::MoreData;
  name = childName;
  return reg_status::Success;
}

RegStatus FakeRegistry::EnumValue(RegKey key, std::uint32_t index, std::uint32_t nameCapacity,
                                  std::string& name, std::uint32_t* type, std::string* data,
                                  std::uint32_t dataCapacity) {
  RegStatus status = reg_status::Success;
  const auto node = NodeOf(key, status, kQueryValue);
  if (!node) return status;
  if (index >= node->values.size()) return reg_status::NoMoreItems;
  const auto& value = node->values[index];
  if (PlatformLength(value.name) + 1 > nameCapacity) return reg_status::MoreData;
  if (data != nullptr && value.value.data.size() > dataCapacity) return reg_status::MoreData;
  name = value.name;
  if (type != nullptr) *type = value.value.type;
  if (data != nullptr) *data = value.value.data;
  return reg_status::Success;
}

std::shared_ptr<FakeRegistry::Node> FakeRegistry::Find(RegKey root, std::string_view path) const {
  if (root < reg_root::ClassesRoot || root > reg_root::PerformanceData) return nullptr;
  return Node::Descend(roots_[root - reg_root::ClassesRoot], path);
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
                             std::string_view text, std::uint32_t type) {
  SetRaw(root, path, name, type, text);
}

void FakeRegistry::SetBinary(RegKey root, std::string_view path, std::string_view name,
                             std::string_view bytes) {
  SetRaw(root, path, name, reg_type::Binary, bytes);
}

void FakeRegistry::SetDword(RegKey root, std::string_view path, std::string_view name,
                            std::uint32_t number) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  SetRaw(root, path, name, reg_type::Dword, bytes);
}

void FakeRegistry::SetRaw(RegKey root, std::string_view path, std::string_view name,
                          std::uint32_t type, std::string_view data) {
  Node& node = MakePath(root, path);
  if (auto* value = node.Value(name)) {
    value->value = RegValue{type, std::string(data)};
  } else {
    node.values.push_back({std::string(name), RegValue{type, std::string(data)}});
  }
}

bool FakeRegistry::KeyExists(RegKey root, std::string_view path) const {
  return Find(root, path) != nullptr;
}

bool FakeRegistry::ValueExists(RegKey root, std::string_view path, std::string_view name) const {
  return GetValue(root, path, name).has_value();
}

std::optional<RegValue> FakeRegistry::GetValue(RegKey root, std::string_view path,
                                               std::string_view name) const {
  const auto node = Find(root, path);
  if (!node) return std::nullopt;
  const auto* value = node->Value(name);
  if (value == nullptr) return std::nullopt;
  return value->value;
}

std::vector<std::string> FakeRegistry::SubKeyNames(RegKey root, std::string_view path) const {
  std::vector<std::string> names;
  if (const auto node = Find(root, path)) {
    for (const auto& child : node->children) names.push_back(child->name);
  }
  return names;
}

std::vector<std::string> FakeRegistry::ValueNames(RegKey root, std::string_view path) const {
  std::vector<std::string> names;
  if (const auto node = Find(root, path)) {
    for (const auto& value : node->values) names.push_back(value.name);
  }
  return names;
}

void FakeRegistry::SetProtected(RegKey root, std::string_view path, bool isProtected) {
  MakePath(root, path).isProtected = isProtected;
}

}  // namespace quorvane::fakes
