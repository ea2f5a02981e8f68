#pragma once
// A fresh folder per test in the temporary folder, removed afterwards, and a runner for the
// program's executables.

#include <cstdint>
#include <string>
#include <string_view>

namespace quorvane::testing {

class Sandbox {
 public:
  Sandbox();
  ~Sandbox();
  // A UTF-8 Windows path without a trailing back-slash.
  const std::string& Path() const { return path_; }
  std::string operator/(std::string_view relative) const {
    return path_ + "\\" + std::string(relative);
  }
  void WriteFile(std::string_view relative, std::string_view bytes) const;
  void MakeFolder(std::string_view relative) const;
  bool Exists(std::string_view relative) const;
  std::string ReadFile(std::string_view relative) const;

 private:
  std::string path_;
};

// The folder of the running test executable, which holds Quorvane.exe and Kelverin.exe too.
std::string ExecutableFolder();

struct ProcessResult {
  std::uint32_t exitCode = 0;
  std::string output;  // standard output and standard error together
};
ProcessResult RunProcess(std::string_view commandLine, std::string_view workingFolder = {},
                         std::uint32_t timeoutMs = 60000);

}  // namespace quorvane::testing
