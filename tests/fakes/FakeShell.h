#pragma once
// The shell in memory: folders that a test sets, and a record of every call that would
// change something on a real machine.

#include <cstdint>
#include <string>
#include <vector>

#include "core/platform/Shell.h"

namespace quorvane::fakes {

class FakeShell final : public Shell {
 public:
  std::string ApplicationFolder() override { return applicationFolder; }
  std::string GetTempPath() override { return tempPath; }
  std::int32_t EmptyRecycleBin(std::string_view root, std::uint32_t flags) override;
  void ClearRecentDocuments() override { ++recentDocsClears; }
  std::vector<std::string> ProtectedFolders() override { return protectedFolders; }
  bool StartProgram(std::string_view path, WindowStyle style) override;
  bool OpenDocument(std::string_view target) override;

  struct RecycleBinCall {
    std::string root;
    std::uint32_t flags = 0;
  };
  struct StartedProgram {
    std::string path;
    WindowStyle style = WindowStyle::NormalFocus;
  };

  std::string applicationFolder = "C:\\Program Files\\Quorvane";
  std::string tempPath = "C:\\Users\\User\\AppData\\Local\\Temp\\";
  std::vector<std::string> protectedFolders = {"C:\\Windows", "C:\\Program Files",
                                               "C:\\Program Files (x86)", "C:\\Users",
                                               "C:\\Users\\User"};

  std::int32_t recycleBinResult = 0;  // what EmptyRecycleBin reports
  bool startProgramSucceeds = true;
  bool openDocumentSucceeds = true;

  std::vector<RecycleBinCall> recycleBinCalls;
  int recentDocsClears = 0;
  std::vector<StartedProgram> startedPrograms;  // also the attempts that fail
  std::vector<std::string> openedDocuments;     // also the attempts that fail
};

}  // namespace quorvane::fakes
