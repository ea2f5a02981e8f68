#include "TargetsFixture.h"

#include <windows.h>

#include <filesystem>
#include <fstream>

#include "win32/platform/WideText.h"

namespace quorvane::testing {

using win32::Widen;
namespace fs = std::filesystem;

namespace {

// Starts a host program under Wine. Its Windows process ends before the host program has
// done its work, so callers wait for the effect itself.
void RunHostProgram(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                      nullptr, nullptr, &startup, &process)) {
    return;
  }
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
}

std::wstring Quoted(const std::string& text) { return L"\"" + Widen(text) + L"\""; }

bool IsLink(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(win32::LongPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

template <typename Condition>
bool WaitFor(Condition condition) {
  for (int i = 0; i < 100; ++i) {
    if (condition()) return true;
    Sleep(50);
  }
  return condition();
}

}  // namespace

void SetAttributesOf(const std::string& path, std::uint32_t attributes) {
  ASSERT_TRUE(SetFileAttributesW(win32::LongPath(path).c_str(), attributes)) << path;
}

bool PathExists(const std::string& path) {
  return GetFileAttributesW(win32::LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string UnixPath(const std::string& path) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  // Only Wine's kernel32 has this export; elsewhere there is no host path to give.
  const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  if (!toUnix) return {};
  char* hostPath = toUnix(Widen(path).c_str());
  if (!hostPath) return {};
  std::string result(hostPath);
  HeapFree(GetProcessHeap(), 0, hostPath);
  return result;
}

bool MakeHostSymlink(const std::string& target, const std::string& link) {
  const std::string unixTarget = UnixPath(target);
  const std::string unixLink = UnixPath(link);
  if (unixTarget.empty() || unixLink.empty()) return false;
  // CreateSymbolicLink makes no host link in this Wine version, but a host program started
  // by path runs as itself.
  RunHostProgram(L"Z:\\bin\\ln -s " + Quoted(unixTarget) + L" " + Quoted(unixLink));
  return WaitFor([&] { return IsLink(link); });
}

void RemoveHostSymlink(const std::string& link) {
  const std::string unixLink = UnixPath(link);
  if (unixLink.empty()) return;
  RunHostProgram(L"Z:\\bin\\rm -f " + Quoted(unixLink));
  (void)WaitFor([&] { return !IsLink(link); });
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
