#pragma once
// The shell in memory: folders that a test sets, and a record of the calls that would
// start or remove something on a real machine.

#include "core/platform/Shell.h"

namespace quorvane::fakes {

class FakeShell final : public Shell {
 public:
  std::string ApplicationFolder() override { return applicationFolder; }
  std::string GetTempPath() override { return tempPath; }
  std::int32_t EmptyRecycleBin(std::string_view root, std::uint32_t flags) override {
    recycleBinCalls.push_back({std::string(root), flags});
    return 0;
  }
  void ClearRecentDocuments() override {}
  ProtectedFolderList ProtectedFolders() override { return protectedFolders; }
  bool StartProgram(std::string_view path, WindowStyle style) override {
    startedPrograms.push_back({std::string(path), style, {}});
    return startProgramSucceeds;
  }
  bool StartProgramWithArguments(std::string_view path, std::string_view arguments,
                                 WindowStyle style) override {
    startedPrograms.push_back({std::string(path), style, std::string(arguments)});
    return startProgramSucceeds;
  }
  bool OpenDocument(std::string_view target, WindowStyle style) override {
    openedDocuments.emplace_back(target);
    openedDocumentStyles.push_back(style);
    return openDocumentSucceeds;
  }

  struct RecycleBinCall {
    std::string root;
    std::uint32_t flags = 0;
  };
  struct StartedProgram {
    std::string path;
    WindowStyle style = WindowStyle::NormalFocus;
    std::string arguments;
  };

  ProtectedFolderList protectedFolders{
      {"C:\\Windows", "C:\\Program Files", "C:\\Program Files (x86)", "C:\\ProgramData",
       "C:\\Users\\User", "D:\\Profiles\\ann"},
      "C:\\Users"};
  std::string applicationFolder = "C:\\Program Files\\Quorvane";
  std::string tempPath = "C:\\Users\\User\\AppData\\Local\\Temp\\";
  bool startProgramSucceeds = true;
  bool openDocumentSucceeds = true;
  std::vector<RecycleBinCall> recycleBinCalls;
  std::vector<StartedProgram> startedPrograms;    // also the attempts that fail
  std::vector<std::string> openedDocuments;       // also the attempts that fail
  std::vector<WindowStyle> openedDocumentStyles;  // one for each of openedDocuments
};

}  // namespace quorvane::fakes
