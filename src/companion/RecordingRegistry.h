#pragma once
// The registry of a preview: reads go to the real registry, and every change is only
// recorded. Later calls see the recorded changes as if they had happened: a deleted key is
// gone with everything beneath it, a deleted value no longer lists, a key made again is
// there and empty. Nothing that writes ever reaches the real registry.
//
// It implements the interface itself rather than forwarding by default, so that a call
// added to the interface later must be judged here: read, or write to be recorded.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/platform/Registry.h"

namespace quorvane::companion {

class RecordingRegistry final : public Registry {
 public:
  explicit RecordingRegistry(Registry& real) : real_(real) {}
  ~RecordingRegistry() override;
  RecordingRegistry(const RecordingRegistry&) = delete;
  RecordingRegistry& operator=(const RecordingRegistry&) = delete;

  RegStatus OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access,
                    RegKey& opened) override;
  RegStatus CreateKey(RegKey parent, std::string_view subKey, RegKey& opened) override;
  RegStatus CloseKey(RegKey key) override;
  RegStatus QueryValue(RegKey key, std::string_view name, std::uint32_t& type, std::string* data,
                       std::uint32_t& size) override;
  RegStatus SetValue(RegKey key, std::string_view name, std::uint32_t type,
                     std::string_view data) override;
  RegStatus DeleteValue(RegKey key, std::string_view name) override;
  RegStatus DeleteKey(RegKey key, std::string_view subKey) override;
  RegStatus QueryInfoKey(RegKey key, KeyInfo& info) override;
  RegStatus EnumKey(RegKey key, std::uint32_t index, std::uint32_t capacity,
                    std::string& name) override;
  RegStatus EnumValue(RegKey key, std::uint32_t index, std::uint32_t nameCapacity,
                      std::string& name, std::uint32_t* type, std::string* data,
                      std::uint32_t dataCapacity) override;

 private:
  // A key as a root and a sub-key path; the sub-key is empty for the root itself.
  struct KeyName {
    RegKey root = 0;
    std::string subKey;
  };
  struct Value {
    bool exists = false;
    std::string name;
    std::uint32_t type = reg_type::None;
    std::string data;
  };
  struct RecordedKey {
    bool exists = false;
    std::string name;  // the last level, as the caller wrote it
  };
  struct Handle {
    KeyName key;
    RegKey real = 0;  // 0 for a key that only the preview made
  };

  std::optional<KeyName> Resolve(RegKey key, std::string_view subKey) const;
  std::optional<Handle> Find(RegKey key) const;
  // Whether the key exists as the preview sees it.
  bool KeyExists(const KeyName& key);
  std::vector<RecordedKey> SubKeys(const Handle& handle);
  std::vector<Value> Values(const Handle& handle);
  // Whether the real registry would refuse this access to the real key.
  bool RealRefuses(const KeyName& key, std::uint32_t access);
  RegStatus AnswerQuery(const Value& value, std::uint32_t& type, std::string* data,
                        std::uint32_t& size) const;

  Registry& real_;
  std::map<std::string, RecordedKey> keys_;  // by folded key path
  std::map<std::string, Value> values_;      // by folded key path + '\n' + folded name
  std::map<RegKey, Handle> handles_;         // the preview's own handles
  RegKey nextHandle_ = 0x1000;
};

}  // namespace quorvane::companion
