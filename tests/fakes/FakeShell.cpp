#include "fakes/FakeShell.h"

namespace quorvane::fakes {

std::int32_t FakeShell::EmptyRecycleBin(std::string_view root, std::uint32_t flags) {
  recycleBinCalls.push_back({std::string(root), flags});
  return recycleBinResult;
}

bool FakeShell::StartProgram(std::string_view path, WindowStyle style) {
  startedPrograms.push_back({std::string(path), style});
  return startProgramSucceeds;
}

bool FakeShell::OpenDocument(std::string_view target) {
  openedDocuments.emplace_back(target);
  return openDocumentSucceeds;
}

}  // namespace quorvane::fakes
