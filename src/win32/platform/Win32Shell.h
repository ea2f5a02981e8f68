#pragma once
// Shell and process services of Windows.

#include "core/platform/Shell.h"

namespace quorvane::win32 {

class Win32Shell final : public Shell {
 public:
  std::string ApplicationFolder() override;
  std::string GetTempPath() override;
  std::int32_t EmptyRecycleBin(std::string_view root, std::uint32_t flags) override;
  void ClearRecentDocuments() override;
  ProtectedFolderList ProtectedFolders() override;
  bool StartProgram(std::string_view path, WindowStyle style) override;
  bool StartProgramWithArguments(std::string_view path, std::string_view arguments,
                                 WindowStyle style) override;
  bool OpenDocument(std::string_view target, WindowStyle style) override;

  // "C:\Program Files\Quorvane\Quorvane.exe" -> "C:\Program Files\Quorvane";
  // "C:\Quorvane.exe" -> "C:\". A "\\?\" prefix that the loader may report is dropped.
  static std::string FolderOfModulePath(std::string_view modulePath);
};

}  // namespace quorvane::win32
