#include "companion/RecordingRegistry.h"

#include <algorithm>

#include "core/Reg32.h"
#include "core/Text.h"

namespace quorvane::companion {
namespace {

// Access rights the real registry is asked about before a recorded change: a key or value
// that the clean could not remove must not show as removed in the preview.
constexpr std::uint32_t kSetValueAccess = 0x2;
constexpr std::uint32_t kDeleteAccess = 0x10000;
// Beyond what the registry can hold: a name or value asked for with more room than this
// does not exist.
constexpr std::uint32_t kMaxValueBytes = 64 * 1024 * 1024;
constexpr std::uint32_t kMaxNameChars = 4096;

std::string Join(std::string_view base, std::string_view sub) {
  while (!sub.empty() && sub.back() == '\\') sub.remove_suffix(1);
  if (base.empty()) return std::string(sub);
  if (sub.empty()) return std::string(base);
  return std::string(base) + "\\" + std::string(sub);
}

std::string Folded(RegKey root, std::string_view subKey) {
  return ToLowerAscii(Join(RegistryRootName(root), subKey));
}

std::string ParentOf(const std::string& path) {
  const auto slash = path.rfind('\\');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string ValueKey(const std::string& folded, std::string_view name) {
  return folded + "\n" + ToLowerAscii(name);
}

template <typename Map>
void EraseWithPrefix(Map& map, const std::string& prefix) {
  auto it = map.lower_bound(prefix);
  while (it != map.end() && it->first.starts_with(prefix)) it = map.erase(it);
}

}  // namespace

RecordingRegistry::~RecordingRegistry() {
  for (const auto& [key, handle] : handles_) {
    if (handle.real != 0) (void)real_.CloseKey(handle.real);
  }
}

std::optional<RecordingRegistry::Handle> RecordingRegistry::Find(RegKey key) const {
  if (!RegistryRootName(key).empty()) return Handle{{key, {}}, key};
  const auto it = handles_.find(key);
  if (it == handles_.end()) return std::nullopt;
  return it->second;
}

std::optional<RecordingRegistry::KeyName> RecordingRegistry::Resolve(
    RegKey key, std::string_view subKey) const {
  const auto handle = Find(key);
  if (!handle) return std::nullopt;
  return KeyName{handle->key.root, Join(handle->key.subKey, subKey)};
}

bool RecordingRegistry::KeyExists(const KeyName& key) {
  const std::string folded = Folded(key.root, key.subKey);
  if (const auto it = keys_.find(folded); it != keys_.end()) return it->second.exists;
  // Beneath a recorded key nothing of the real registry shows: a deleted key took it along,
  // and a key made by the preview did not exist before.
  for (std::string up = ParentOf(folded); !up.empty(); up = ParentOf(up)) {
    if (keys_.count(up)) return false;
  }
  if (key.subKey.empty()) return true;
  RegKey opened = 0;
  if (real_.OpenKey(key.root, key.subKey, 0, opened) != reg_status::Success) return false;
  (void)real_.CloseKey(opened);
  return true;
}

bool RecordingRegistry::RealRefuses(const KeyName& key, std::uint32_t access) {
  if (keys_.count(Folded(key.root, key.subKey))) return false;
  RegKey opened = 0;
  const RegStatus status = real_.OpenKey(key.root, key.subKey, access, opened);
  if (status == reg_status::Success) (void)real_.CloseKey(opened);
  return status == reg_status::AccessDenied;
}

std::vector<RecordingRegistry::RecordedKey> RecordingRegistry::SubKeys(const Handle& handle) {
  const std::string folded = Folded(handle.key.root, handle.key.subKey);
  std::vector<RecordedKey> names;
  if (handle.real != 0 && !keys_.count(folded)) {
    KeyInfo info;
    std::uint32_t capacity =
        real_.QueryInfoKey(handle.real, info) == reg_status::Success ? info.MaxSubKeyLen + 1 : 256;
    std::string name;
    for (std::uint32_t i = 0;;) {
      const RegStatus status = real_.EnumKey(handle.real, i, capacity, name);
      // As for values: a name that does not fit is asked for again with more room.
      if (status == reg_status::MoreData && capacity < kMaxNameChars) {
        capacity *= 2;
        continue;
      }
      if (status != reg_status::Success) break;
      if (!keys_.count(folded + "\\" + ToLowerAscii(name))) names.push_back({true, name});
      ++i;
    }
  }
  const std::string prefix = folded + "\\";
  for (auto it = keys_.lower_bound(prefix); it != keys_.end() && it->first.starts_with(prefix);
       ++it) {
    const bool child = it->first.find('\\', prefix.size()) == std::string::npos;
    if (child && it->second.exists) names.push_back(it->second);
  }
  return names;
}

std::vector<RecordingRegistry::Value> RecordingRegistry::Values(const Handle& handle) {
  const std::string folded = Folded(handle.key.root, handle.key.subKey);
  std::vector<Value> values;
  if (handle.real != 0 && !keys_.count(folded)) {
    KeyInfo info;
    if (real_.QueryInfoKey(handle.real, info) == reg_status::Success) {
      std::uint32_t nameCapacity = info.MaxValueNameLen + 1, dataCapacity = info.MaxValueLen;
      Value value;
      for (std::uint32_t i = 0;;) {
        const RegStatus status = real_.EnumValue(handle.real, i, nameCapacity, value.name,
                                                 &value.type, &value.data, dataCapacity);
        // The sizes the registry reports count its own characters, which may take more
        // bytes here; a value that does not fit is asked for again with more room.
        if (status == reg_status::MoreData && dataCapacity < kMaxValueBytes) {
          nameCapacity *= 2;
          dataCapacity = dataCapacity * 2 + 16;
          continue;
        }
        if (status != reg_status::Success) break;
        if (!values_.count(ValueKey(folded, value.name))) {
          value.exists = true;
          values.push_back(value);
        }
        ++i;
      }
    }
  }
  const std::string prefix = folded + "\n";
  for (auto it = values_.lower_bound(prefix); it != values_.end() && it->first.starts_with(prefix);
       ++it) {
    if (it->second.exists) values.push_back(it->second);
  }
  return values;
}

RegStatus RecordingRegistry::OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access,
                                     RegKey& opened) {
  const auto key = Resolve(parent, subKey);
  if (!key) return reg_status::InvalidHandle;
  if (!KeyExists(*key)) return reg_status::NotFound;
  RegKey real = 0;
  if (!keys_.count(Folded(key->root, key->subKey))) {
    const RegStatus status = real_.OpenKey(key->root, key->subKey, access, real);
    if (status != reg_status::Success) return status;
  }
  opened = nextHandle_++;
  handles_[opened] = {*key, real};
  return reg_status::Success;
}

RegStatus RecordingRegistry::CreateKey(RegKey parent, std::string_view subKey, RegKey& opened) {
  const auto key = Resolve(parent, subKey);
  if (!key) return reg_status::InvalidHandle;
  // Every missing level is made, as the platform's call makes them.
  std::string path;
  std::string_view rest = key->subKey;
  while (!rest.empty()) {
    const auto slash = rest.find('\\');
    const std::string_view level = rest.substr(0, slash);
    path = Join(path, level);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    if (!KeyExists({key->root, path})) keys_[Folded(key->root, path)] = {true, std::string(level)};
  }
  return OpenKey(key->root, key->subKey, 0, opened);
}

RegStatus RecordingRegistry::CloseKey(RegKey key) {
  if (!RegistryRootName(key).empty()) return reg_status::Success;
  const auto it = handles_.find(key);
  if (it == handles_.end()) return reg_status::InvalidHandle;
  if (it->second.real != 0) (void)real_.CloseKey(it->second.real);
  handles_.erase(it);
  return reg_status::Success;
}

RegStatus RecordingRegistry::AnswerQuery(const Value& value, std::uint32_t& type, std::string* data,
                                         std::uint32_t& size) const {
  type = value.type;
  const auto needed = static_cast<std::uint32_t>(value.data.size());
  if (data != nullptr && size < needed) {
    size = needed;
    return reg_status::MoreData;
  }
  if (data != nullptr) *data = value.data;
  size = needed;
  return reg_status::Success;
}

RegStatus RecordingRegistry::QueryValue(RegKey key, std::string_view name, std::uint32_t& type,
                                        std::string* data, std::uint32_t& size) {
  const auto handle = Find(key);
  if (!handle) return reg_status::InvalidHandle;
  const std::string folded = Folded(handle->key.root, handle->key.subKey);
  if (const auto it = values_.find(ValueKey(folded, name)); it != values_.end()) {
    if (!it->second.exists) return reg_status::NotFound;
    return AnswerQuery(it->second, type, data, size);
  }
  if (handle->real == 0 || keys_.count(folded)) return reg_status::NotFound;
  return real_.QueryValue(handle->real, name, type, data, size);
}

RegStatus RecordingRegistry::SetValue(RegKey key, std::string_view name, std::uint32_t type,
                                      std::string_view data) {
  const auto handle = Find(key);
  if (!handle) return reg_status::InvalidHandle;
  if (!KeyExists(handle->key)) return reg_status::NotFound;
  values_[ValueKey(Folded(handle->key.root, handle->key.subKey), name)] = {true, std::string(name),
                                                                           type, std::string(data)};
  return reg_status::Success;
}

RegStatus RecordingRegistry::DeleteValue(RegKey key, std::string_view name) {
  const auto handle = Find(key);
  if (!handle) return reg_status::InvalidHandle;
  std::uint32_t type = 0, size = 0;
  if (const RegStatus found = QueryValue(key, name, type, nullptr, size);
      found != reg_status::Success) {
    return found;
  }
  if (RealRefuses(handle->key, kSetValueAccess)) return reg_status::AccessDenied;
  values_[ValueKey(Folded(handle->key.root, handle->key.subKey), name)] = {
      false, std::string(name), reg_type::None, {}};
  return reg_status::Success;
}

RegStatus RecordingRegistry::DeleteKey(RegKey key, std::string_view subKey) {
  const auto name = Resolve(key, subKey);
  if (!name) return reg_status::InvalidHandle;
  RegKey opened = 0;
  if (const RegStatus found = OpenKey(name->root, name->subKey, 0, opened);
      found != reg_status::Success) {
    return found;
  }
  const bool hasSubKeys = !SubKeys(handles_[opened]).empty();
  (void)CloseKey(opened);
  if (name->subKey.empty() || hasSubKeys || RealRefuses(*name, kDeleteAccess)) {
    return reg_status::AccessDenied;
  }
  const std::string folded = Folded(name->root, name->subKey);
  EraseWithPrefix(keys_, folded + "\\");
  EraseWithPrefix(values_, folded + "\n");
  keys_[folded] = {false, {}};
  return reg_status::Success;
}

RegStatus RecordingRegistry::QueryInfoKey(RegKey key, KeyInfo& info) {
  const auto handle = Find(key);
  if (!handle) return reg_status::InvalidHandle;
  if (!KeyExists(handle->key)) return reg_status::NotFound;
  info = {};
  for (const RecordedKey& sub : SubKeys(*handle)) {
    ++info.SubKeyCount;
    info.MaxSubKeyLen = std::max(info.MaxSubKeyLen, static_cast<std::uint32_t>(sub.name.size()));
  }
  for (const Value& value : Values(*handle)) {
    ++info.ValueCount;
    info.MaxValueNameLen =
        std::max(info.MaxValueNameLen, static_cast<std::uint32_t>(value.name.size()));
    info.MaxValueLen = std::max(info.MaxValueLen, static_cast<std::uint32_t>(value.data.size()));
  }
  return reg_status::Success;
}

RegStatus RecordingRegistry::EnumKey(RegKey key, std::uint32_t index, std::uint32_t capacity,
                                     std::string& name) {
  const auto handle = Find(key);
  if (!handle) return reg_status::InvalidHandle;
  const std::vector<RecordedKey> subKeys = SubKeys(*handle);
  if (index >= subKeys.size()) return reg_status::NoMoreItems;
  if (subKeys[index].name.size() + 1 > capacity) return reg_status::MoreData;
  name = subKeys[index].name;
  return reg_status::Success;
}

RegStatus RecordingRegistry::EnumValue(RegKey key, std::uint32_t index, std::uint32_t nameCapacity,
                                       std::string& name, std::uint32_t* type, std::string* data,
                                       std::uint32_t dataCapacity) {
  const auto handle = Find(key);
  if (!handle) return reg_status::InvalidHandle;
  const std::vector<Value> values = Values(*handle);
  if (index >= values.size()) return reg_status::NoMoreItems;
  const Value& value = values[index];
  if (value.name.size() + 1 > nameCapacity ||
      (data != nullptr && value.data.size() > dataCapacity)) {
    return reg_status::MoreData;
  }
  name = value.name;
  if (type != nullptr) *type = value.type;
  if (data != nullptr) *data = value.data;
  return reg_status::Success;
}

}  // namespace quorvane::companion
