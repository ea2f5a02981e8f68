#include "support/Sandbox.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "win32/platform/WideText.h"

namespace quorvane::testing {
namespace fs = std::filesystem;
using win32::Narrow;
using win32::Widen;

Sandbox::Sandbox() {
  static int counter = 0;
  const fs::path folder =
      fs::temp_directory_path() /
      ("qv-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++));
  fs::remove_all(folder);
  fs::create_directories(folder);
  path_ = Narrow(folder.wstring());
}

Sandbox::~Sandbox() {
  std::error_code ignored;
  // Attributes first: a read-only file would stop the removal.
  for (auto it = fs::recursive_directory_iterator(Widen(path_), ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  fs::remove_all(Widen(path_), ignored);
}

void Sandbox::WriteFile(std::string_view relative, std::string_view bytes) const {
  const fs::path file(Widen(*this / relative));
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
    throw std::runtime_error("cannot write " + std::string(relative));
  }
}

void Sandbox::MakeFolder(std::string_view relative) const {
  fs::create_directories(Widen(*this / relative));
}

bool Sandbox::Exists(std::string_view relative) const {
  return GetFileAttributesW(win32::LongPath(*this / relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Sandbox::ReadFile(std::string_view relative) const {
  std::ifstream in(fs::path(Widen(*this / relative)), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string ExecutableFolder() {
  std::wstring module(32768, L'\0');
  module.resize(GetModuleFileNameW(nullptr, module.data(), 32768));
  return Narrow(module.substr(0, module.find_last_of(L'\\')));
}

ProcessResult RunProcess(std::string_view commandLine, std::string_view workingFolder,
                         std::uint32_t timeoutMs) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  CreatePipe(&readEnd, &writeEnd, &inherit, 0);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{sizeof(startup)};
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = startup.hStdError = writeEnd;
  PROCESS_INFORMATION process{};
  std::wstring command = Widen(commandLine);
  const std::wstring folder = Widen(workingFolder);
  const bool started =
      CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                     folder.empty() ? nullptr : folder.c_str(), &startup, &process);
  CloseHandle(writeEnd);
  DWORD code = 0xFFFFFFFF, got = 0;
  std::string output = started ? "" : "cannot start: " + std::string(commandLine);
  char buffer[4096];
  while (started && ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got > 0)
    output.append(buffer, got);
  CloseHandle(readEnd);
  if (!started) return {code, output};
  if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, code);
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  return {code, output};
}

}  // namespace quorvane::testing
