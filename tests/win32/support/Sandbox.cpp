#include "support/Sandbox.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "win32/platform/WideText.h"

namespace quorvane::testing {
namespace fs = std::filesystem;
using win32::Narrow;
using win32::Widen;

namespace {
std::atomic<int> counter{0};

fs::path ToFsPath(const std::string& utf8) { return fs::path(Widen(utf8)); }
}  // namespace

Sandbox::Sandbox() {
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring base(temp);
  if (!base.empty() && base.back() == L'\\') base.pop_back();
  path_ = Narrow(base) + "\\qv-test-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(counter++);
  fs::remove_all(ToFsPath(path_));
  fs::create_directories(ToFsPath(path_));
}

Sandbox::~Sandbox() {
  std::error_code ignored;
  // Attributes first: a read-only file would stop the removal.
  for (auto it = fs::recursive_directory_iterator(ToFsPath(path_), ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  fs::remove_all(ToFsPath(path_), ignored);
}

void Sandbox::WriteFile(std::string_view relative, std::string_view bytes) const {
  const fs::path file = ToFsPath(*this / relative);
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + std::string(relative));
}

void Sandbox::MakeFolder(std::string_view relative) const {
  fs::create_directories(ToFsPath(*this / relative));
}

bool Sandbox::Exists(std::string_view relative) const {
  return GetFileAttributesW(win32::LongPath(*this / relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Sandbox::ReadFile(std::string_view relative) const {
  std::ifstream in(ToFsPath(*this / relative), std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string ExecutableFolder() {
  wchar_t module[32768] = {};
  GetModuleFileNameW(nullptr, module, 32768);
  std::wstring path(module);
  return Narrow(path.substr(0, path.find_last_of(L'\\')));
}

ProcessResult RunProcess(std::string_view commandLine, std::string_view workingFolder,
                         std::uint32_t timeoutMs) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  CreatePipe(&readEnd, &writeEnd, &inherit, 0);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::wstring command = Widen(commandLine);
  std::wstring folder = Widen(workingFolder);
  ProcessResult result;
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    CloseHandle(readEnd);
    CloseHandle(writeEnd);
    result.exitCode = 0xFFFFFFFF;
    result.output = "cannot start: " + std::string(commandLine);
    return result;
  }
  CloseHandle(writeEnd);
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0) {
    result.output.append(buffer, got);
  }
  if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 0xFFFFFFFE);
  }
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  result.exitCode = code;
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  CloseHandle(readEnd);
  return result;
}

}  // namespace quorvane::testing
