// Cleans the folder named on the command line as if it were the temporary folder, through
// the real Windows platform, and prints how long the clean took inside the process.
//
//   temp_clean_bench.exe Z:\dev\shm\tree

#include <chrono>
#include <cstdio>
#include <string>

#include "clean/WindowsTargets.h"
#include "win32/platform/WideText.h"
#include "win32/platform/Win32Platform.h"

#include <windows.h>

int main(int argc, char** argv) {
  using namespace quorvane;
  if (argc != 2) {
    std::fprintf(stderr, "usage: temp_clean_bench <folder>\n");
    return 2;
  }
  std::string folder = argv[1];
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  // The platform's temporary folder comes from these variables; pointing them at the tree
  // makes the clean under test the program's own, unchanged.
  const std::wstring wideFolder = win32::Widen(folder);
  SetEnvironmentVariableW(L"TMP", wideFolder.c_str());
  SetEnvironmentVariableW(L"TEMP", wideFolder.c_str());

  win32::Win32Platform real;
  Platform platform = real.platform();
  Reg32 reg(platform.registry, platform.windows);
  Settings settings(platform.profile, "");
  AppContext app;
  CleanContext context{platform, reg, settings, app};
  const std::string temp = GetTempDir(context);
  if (temp != folder + "\\") {
    // Never clean a folder other than the tree that the script built.
    std::fprintf(stderr, "temporary folder is %s, not %s\\\n", temp.c_str(), folder.c_str());
    return 1;
  }

  const auto start = std::chrono::steady_clock::now();
  CleanTempFiles(context);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::printf("clean (ours) inside the process: %.2f s\n", took.count());
  return 0;
}
