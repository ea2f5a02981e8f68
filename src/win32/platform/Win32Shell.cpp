#include "win32/platform/Win32Shell.h"

#include <windows.h>
// The interface names its call after the platform's; the macro would rename the member.
#undef GetTempPath

#include <knownfolders.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

#include "core/Text.h"
#include "win32/platform/WideText.h"

namespace quorvane::win32 {

namespace {

int ShowCommand(WindowStyle style) {
  return style == WindowStyle::MinimizedFocus ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
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
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

bool IsExistingFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
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

std::vector<std::string> Win32Shell::ProtectedFolders() {
  std::vector<std::string> folders;
  for (const KNOWNFOLDERID* id :
       {&FOLDERID_Windows, &FOLDERID_ProgramFiles, &FOLDERID_ProgramFilesX86, &FOLDERID_Profile,
        &FOLDERID_UserProfiles}) {
    std::string folder = KnownFolder(*id);
    if (folder.empty()) continue;  // a folder the system does not know protects nothing
    const bool known = std::any_of(folders.begin(), folders.end(),
                                   [&](const std::string& f) { return EqualsNoCase(f, folder); });
    if (!known) folders.push_back(std::move(folder));
  }
  return folders;
}

bool Win32Shell::StartProgram(std::string_view path, WindowStyle style) {
  std::wstring program = Widen(path);
  // A program path with blanks must be quoted, or the system would try "C:\Program" first.
  std::wstring commandLine = IsExistingFile(program) ? L"\"" + program + L"\"" : program;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(ShowCommand(style));
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
  }
  // Not an executable of its own (a console snap-in, a script): let the shell start it.
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"open";
  info.lpFile = program.c_str();
  info.nShow = ShowCommand(style);
  return ShellExecuteExW(&info) != FALSE;
}

bool Win32Shell::StartProgramWithArguments(std::string_view path, std::string_view arguments,
                                           WindowStyle style) {
  const std::wstring program = Widen(path);
  // The program is named on its own, so no other file on a search path is ever started; the
  // command line quotes it as programs expect to find their own name.
  std::wstring commandLine = L"\"" + program + L"\" " + Widen(arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(ShowCommand(style));
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool Win32Shell::OpenDocument(std::string_view target) {
  const std::wstring wideTarget = Widen(target);
  const auto result = reinterpret_cast<INT_PTR>(ShellExecuteW(
      GetActiveWindow(), L"open", wideTarget.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  return result > 32;
}

}  // namespace quorvane::win32
