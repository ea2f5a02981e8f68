#include "win32/platform/Win32Shell.h"

#include <windows.h>
// The interface names its call after the platform's; the macro would rename the member.
#undef GetTempPath

#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <iterator>

#include "core/CommandLine.h"
#include "core/PathText.h"
#include "core/Text.h"
#include "win32/platform/WideText.h"

namespace quorvane::win32 {

namespace {

int ShowCommand(WindowStyle style) {
  switch (style) {
    case WindowStyle::MinimizedFocus:
      return SW_SHOWMINIMIZED;
    case WindowStyle::Maximized:
      return SW_SHOWMAXIMIZED;
    case WindowStyle::Shown:
      return SW_SHOW;
    case WindowStyle::NormalFocus:
      break;
  }
  return SW_SHOWNORMAL;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // cut short: the path is longer than the buffer
  }
}

std::string KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::string folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path)) && path) {
    folder = Narrow(path);
  }
  CoTaskMemFree(path);
  return WithoutTrailingSeparators(folder);
}

// The profile folder of every account the system has a profile for, as its profile list in
// the registry names them ("%SystemDrive%\Users\ann" expanded).
std::vector<std::string> ListedProfiles() {
  std::vector<std::string> profiles;
  HKEY list = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList", 0, KEY_READ,
                    &list) != ERROR_SUCCESS) {
    return profiles;
  }
  wchar_t sid[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(std::size(sid));
    const LONG status =
        RegEnumKeyExW(list, index, sid, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA) continue;  // no account name is this long; not a profile
    if (status != ERROR_SUCCESS) break;
    wchar_t stored[1024] = {};
    DWORD size = sizeof(stored) - sizeof(wchar_t);
    if (RegGetValueW(list, sid, L"ProfileImagePath",
                     RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, stored,
                     &size) != ERROR_SUCCESS) {
      continue;
    }
    wchar_t expanded[1024] = {};
    const DWORD expandedLength = ExpandEnvironmentStringsW(stored, expanded, std::size(expanded));
    if (expandedLength == 0 || expandedLength > std::size(expanded)) continue;
    std::string folder = WithoutTrailingSeparators(Narrow(expanded));
    if (!folder.empty()) profiles.push_back(std::move(folder));
  }
  RegCloseKey(list);
  return profiles;
}

}  // namespace

std::string Win32Shell::FolderOfModulePath(std::string_view modulePath) {
  if (StartsWithNoCase(modulePath, "\\\\?\\UNC\\")) {
    modulePath.remove_prefix(8);
    return FolderOfModulePath("\\\\" + std::string(modulePath));
  }
  if (modulePath.starts_with("\\\\?\\")) modulePath.remove_prefix(4);
  const std::size_t separator = modulePath.find_last_of('\\');
  if (separator == std::string_view::npos) return {};
  std::string folder(modulePath.substr(0, separator));
  // A drive root keeps its back-slash: "C:" alone would mean the drive's current folder.
  if (folder.size() == 2 && folder[1] == ':') folder += '\\';
  return folder;
}

std::string Win32Shell::ApplicationFolder() { return FolderOfModulePath(Narrow(ModulePath())); }

std::string Win32Shell::GetTempPath() {
  wchar_t buffer[MAX_PATH + 2] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  if (length == 0 || length > MAX_PATH + 1) return {};
  return Narrow(std::wstring_view(buffer, length));
}

std::int32_t Win32Shell::EmptyRecycleBin(std::string_view root, std::uint32_t flags) {
  const std::wstring wideRoot = Widen(root);
  return static_cast<std::int32_t>(
      SHEmptyRecycleBinW(nullptr, wideRoot.empty() ? nullptr : wideRoot.c_str(), flags));
}

void Win32Shell::ClearRecentDocuments() {
  // No item clears the whole list; SHARD_PIDL is the documented flag for that call.
  SHAddToRecentDocs(SHARD_PIDL, nullptr);
}

ProtectedFolderList Win32Shell::ProtectedFolders() {
  ProtectedFolderList list;
  std::vector<std::string> candidates = ListedProfiles();
  for (const KNOWNFOLDERID* id :
       {&FOLDERID_Windows, &FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86, &FOLDERID_ProgramData,
        &FOLDERID_Profile}) {
    candidates.push_back(KnownFolder(*id));
  }
  for (std::string& folder : candidates) {
    if (folder.empty()) continue;  // a folder the system does not know protects nothing
    const bool known = std::any_of(list.folders.begin(), list.folders.end(),
                                   [&](const std::string& f) { return EqualsNoCase(f, folder); });
    if (!known) list.folders.push_back(std::move(folder));
  }
  list.profilesFolder = KnownFolder(FOLDERID_UserProfiles);
  return list;
}

bool Win32Shell::StartProgram(std::string_view path, WindowStyle style) {
  return StartProgramWithArguments(path, {}, style);
}

bool Win32Shell::StartProgramWithArguments(std::string_view path, std::string_view arguments,
                                           WindowStyle style) {
  const std::optional<std::string> quoted = QuotedProgramPath(path);
  if (!quoted) return false;
  // The program is named twice, as the file to run and quoted as the command line's first
  // word, so the system neither searches for it nor splits its path at a blank.
  const std::wstring program = Widen(path);
  std::wstring commandLine = Widen(*quoted);
  if (!arguments.empty()) commandLine += L" " + Widen(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(ShowCommand(style));
  PROCESS_INFORMATION process{};
  // A file that is no program (a document, a script) is not handed to the shell's open
  // operation instead: starting a program never opens a document.
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool Win32Shell::OpenDocument(std::string_view target, WindowStyle style) {
  const std::wstring wideTarget = Widen(target);
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
      GetActiveWindow(), L"open", wideTarget.c_str(), nullptr, nullptr, ShowCommand(style)));
  return result > 32;
}

}  // namespace quorvane::win32
