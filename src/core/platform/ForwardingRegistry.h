#pragma once
// A registry that hands every call to another one. Decorators derive from it and override
// only the calls they change, so a new call on the interface needs one more forwarder here
// and none in them.

#include "core/platform/Registry.h"

namespace quorvane {

class ForwardingRegistry : public Registry {
 public:
  explicit ForwardingRegistry(Registry& inner) : inner_(inner) {}

  RegStatus OpenKey(RegKey parent, std::string_view subKey, std::uint32_t access,
                    RegKey& opened) override {
    return inner_.OpenKey(parent, subKey, access, opened);
  }
  RegStatus CreateKey(RegKey parent, std::string_view subKey, RegKey& opened) override {
    return inner_.CreateKey(parent, subKey, opened);
  }
  RegStatus CloseKey(RegKey key) override { return inner_.CloseKey(key); }
  RegStatus QueryValue(RegKey key, std::string_view name, std::uint32_t& type, std::string* data,
                       std::uint32_t& size) override {
    return inner_.QueryValue(key, name, type, data, size);
  }
  RegStatus SetValue(RegKey key, std::string_view name, std::uint32_t type,
                     std::string_view data) override {
    return inner_.SetValue(key, name, type, data);
  }
  RegStatus DeleteValue(RegKey key, std::string_view name) override {
    return inner_.DeleteValue(key, name);
  }
  RegStatus DeleteKey(RegKey key, std::string_view subKey) override {
    return inner_.DeleteKey(key, subKey);
  }
  RegStatus QueryInfoKey(RegKey key, KeyInfo& info) override {
    return inner_.QueryInfoKey(key, info);
  }
  RegStatus EnumKey(RegKey key, std::uint32_t index, std::uint32_t capacity,
                    std::string& name) override {
    return inner_.EnumKey(key, index, capacity, name);
  }
  RegStatus EnumValue(RegKey key, std::uint32_t index, std::uint32_t nameCapacity,
                      std::string& name, std::uint32_t* type, std::string* data,
                      std::uint32_t dataCapacity) override {
    return inner_.EnumValue(key, index, nameCapacity, name, type, data, dataCapacity);
  }

 protected:
  // The decorated registry, for the calls a decorator makes besides the forwarded one.
  Registry& inner() const { return inner_; }

 private:
  Registry& inner_;
};

}  // namespace quorvane
