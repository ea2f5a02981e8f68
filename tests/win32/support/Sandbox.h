#pragma once
// A fresh folder per test under the Wine prefix's temporary folder, removed afterwards,
// and small helpers to seed it and to run the program's executables.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace quorvane::testing {

class Sandbox {
 public:
  Sandbox();
  ~Sandbox();
  Sandbox(const Sandbox&) = delete;
  Sandbox& operator=(const Sandbox&) = delete;

  // The folder as a UTF-8 Windows path without a trailing back-slash.
  const std::string& Path() const { return path_; }
  std::string operator/(std::string_view relative) const { return path_ + "\\" + std::string(relative); }

  void WriteFile(std::string_view relative, std::string_view bytes) const;
  void MakeFolder(std::string_view relative) const;
  bool Exists(std::string_view relative) const;
  std::string ReadFile(std::string_view relative) const;

 private:
  std::string path_;
};

// The folder that holds the running test executable (and Quorvane.exe, Kelverin.exe).
std::string ExecutableFolder();

struct ProcessResult {
  std::uint32_t exitCode = 0;
  std::string output;  // standard output and standard error together
};
// Runs a command line, waits up to `timeoutMs` and captures its output.
ProcessResult RunProcess(std::string_view commandLine, std::string_view workingFolder = {},
                         std::uint32_t timeoutMs = 60000);

}  // namespace quorvane::testing
