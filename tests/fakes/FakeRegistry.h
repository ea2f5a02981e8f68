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

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/Registry.h"

namespace quorvane::fakes {

struct RegValue {
  std::uint32_t type = reg_type::None;
  std::string data;
  bool operator==(const RegValue&) const = default;
};

class FakeRegistry final : public Registry {
 public:
  FakeRegistry();
  ~FakeRegistry() override;

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

  // Helpers for tests. `path` is relative to one of the five roots, levels separated by
  // back-slashes; the setters create missing levels.
  void CreateKeyPath(RegKey root, std::string_view path);
  void SetString(RegKey root, std::string_view path, std::string_view name, std::string_view data,
                 std::uint32_t type = reg_type::String);
  // A protected key refuses deletion and any open for more than reading with status 5, like
  // a key whose security the user may not change. The key is created when missing.
  void SetProtected(RegKey root, std::string_view path);
  bool KeyExists(RegKey root, std::string_view path) const;
  std::optional<RegValue> GetValue(RegKey root, std::string_view path, std::string_view name) const;
  // Names as created, in enumeration order; empty when the key is missing.
  std::vector<std::string> SubKeyNames(RegKey root, std::string_view path) const;
  std::vector<std::string> ValueNames(RegKey root, std::string_view path) const;
  std::size_t OpenHandleCount() const { return handles_.size(); }

 private:
  struct Node;
  struct Handle {
    std::shared_ptr<Node> node;
    bool writable = true;
  };

  std::shared_ptr<Node> NodeOf(RegKey key, RegStatus& status, bool toWrite = false);
  std::shared_ptr<Node> Find(RegKey root, std::string_view path) const;
  Node& MakePath(RegKey root, std::string_view path);
  RegKey AddHandle(std::shared_ptr<Node> node, bool writable);

  std::vector<std::shared_ptr<Node>> roots_;
  std::map<RegKey, Handle> handles_;
  RegKey nextHandle_ = 0x1000;
};

}  // namespace quorvane::fakes
