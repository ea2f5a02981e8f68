// Kelverin.exe, the companion auto-cleaner: "--clean" runs one clean now with exactly the
// targets, order and options of the clean window, reading "Local.Ini" beside the program.

#include <cwchar>
#include <string>

#include "ConsoleClean.h"
#include "win32/platform/WideText.h"
#include "win32/platform/Win32Platform.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitUsage = 2;

constexpr std::string_view kUsage =
    "Usage: Kelverin.exe --clean | --help\n"
    "  --clean  Clean now with the options of Local.Ini beside this program.\n"
    "  --help   Show this text.";

int Usage(std::FILE* stream, int exitCode) {
  quorvane::kelverin::WriteLine(stream, kUsage);
  return exitCode;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace quorvane;
  if (argc != 2) {
    if (argc > 2) kelverin::WriteLine(stderr, "Kelverin.exe takes one argument.");
    return Usage(stderr, kExitUsage);
  }
  const std::wstring_view argument(argv[1]);
  if (argument == L"--help") return Usage(stdout, kExitOk);
  if (argument != L"--clean") {
    kelverin::WriteLine(stderr, "Unknown argument: " + win32::Narrow(argument));
    return Usage(stderr, kExitUsage);
  }

  kelverin::ConsoleWindowServices console;
  win32::Win32Platform windows(console);
  Platform platform = windows.platform();
  kelverin::RunConsoleClean(platform);
  return kExitOk;
}
