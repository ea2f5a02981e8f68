#pragma once
// Shell services that hand every call to another implementation. Decorators derive from
// it and override only the calls they change, so a new call on the interface needs one
// more forwarder here and none in them.

#include "core/platform/Shell.h"

namespace quorvane {

class ForwardingShell : public Shell {
 public:
  explicit ForwardingShell(Shell& inner) : inner_(inner) {}

  std::string ApplicationFolder() override { return inner_.ApplicationFolder(); }
  std::string GetTempPath() override { return inner_.GetTempPath(); }
  std::int32_t EmptyRecycleBin(std::string_view root, std::uint32_t flags) override {
    return inner_.EmptyRecycleBin(root, flags);
  }
  void ClearRecentDocuments() override { inner_.ClearRecentDocuments(); }
  ProtectedFolderList ProtectedFolders() override { return inner_.ProtectedFolders(); }
  [[nodiscard]] bool StartProgram(std::string_view path, WindowStyle style) override {
    return inner_.StartProgram(path, style);
  }
  [[nodiscard]] bool StartProgramWithArguments(std::string_view path, std::string_view arguments,
                                               WindowStyle style) override {
    return inner_.StartProgramWithArguments(path, arguments, style);
  }
  [[nodiscard]] bool OpenDocument(std::string_view target, WindowStyle style) override {
    return inner_.OpenDocument(target, style);
  }

 private:
  Shell& inner_;
};

}  // namespace quorvane
