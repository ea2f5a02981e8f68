#include "TargetsFixture.h"

#include <windows.h>

#include <filesystem>
#include <fstream>

#include "support/GuiDriver.h"
#include "win32/platform/WideText.h"

namespace quorvane::testing {

using win32::Widen;
namespace fs = std::filesystem;

namespace {

bool IsLink(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(win32::LongPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

void SetAttributesOf(const std::string& path, std::uint32_t attributes) {
  ASSERT_TRUE(SetFileAttributesW(win32::LongPath(path).c_str(), attributes)) << path;
}

bool PathExists(const std::string& path) {
  return GetFileAttributesW(win32::LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// CreateSymbolicLink makes no host link in this Wine version, and no Windows call removes
// one, so the host's own tools do both.
bool MakeHostSymlink(const std::string& target, const std::string& link) {
  const std::string unixTarget = UnixPath(target);
  const std::string unixLink = UnixPath(link);
  return !unixTarget.empty() && !unixLink.empty() &&
         RunUnixTool("/bin/ln -s '" + unixTarget + "' '" + unixLink + "'") && IsLink(link);
}

void RemoveHostSymlink(const std::string& link) {
  const std::string unixLink = UnixPath(link);
  if (!unixLink.empty()) (void)RunUnixTool("/bin/rm -f '" + unixLink + "'");
}

std::string UnusedDriveName() {
  const DWORD used = GetLogicalDrives();
  for (int letter = 'Q'; letter <= 'Y'; ++letter) {
    if (!(used & (1u << (letter - 'A')))) {
      return std::string(1, static_cast<char>(letter - 'A' + 'a')) + ":";
    }
  }
  return "b:";
}

void WriteRealFile(const std::string& path, std::uint32_t attributes) {
  const fs::path file(Widen(path));
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << "fragment";
  SetAttributesOf(path, attributes);
}

void RemoveTree(const std::string& path) {
  const fs::path root(Widen(path));
  std::error_code ignored;
  if (fs::is_directory(fs::symlink_status(root, ignored))) {
    for (auto it = fs::recursive_directory_iterator(root, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
      SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
  }
  SetFileAttributesW(root.c_str(), FILE_ATTRIBUTE_NORMAL);
  fs::remove_all(root, ignored);
}

bool RedirectHostTrash(const std::string& folder) {
  if (folder.empty()) return SetEnvironmentVariableW(L"XDG_DATA_HOME", nullptr);
  const std::string hostFolder = UnixPath(folder);
  return !hostFolder.empty() &&
         SetEnvironmentVariableW(L"XDG_DATA_HOME", Widen(hostFolder).c_str());
}

TargetsTest::TargetsTest() { shell.tempPath = sandbox / "Temp\\"; }

}  // namespace quorvane::testing
