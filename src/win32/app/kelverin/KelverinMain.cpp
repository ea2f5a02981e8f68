// Kelverin.exe, the companion auto-cleaner. Without arguments (the Run value at logon) it
// cleans as "Wash Options" in the "Local.Ini" beside it say and stays for the shutdown and
// schedule cleans; from the command line it cleans or previews once and prints the report.
// It is a GUI program so that a start at logon opens no console window; its command-line
// modes print to the console they were started from, or to redirected output.

#include <windows.h>

#include <shlobj.h>

#include <string>
#include <variant>
#include <vector>

#include "ResidentWindow.h"
#include "companion/CleanCommand.h"
#include "companion/CommandLine.h"
#include "companion/CompanionLog.h"
#include "win32/platform/WideText.h"
#include "win32/platform/Win32Platform.h"
#include "win32/platform/Win32WindowServices.h"

namespace {

using namespace quorvane;

constexpr std::string_view kInstanceToken = "Kelverin";

bool Usable(DWORD which) {
  const HANDLE handle = GetStdHandle(which);
  return handle != nullptr && handle != INVALID_HANDLE_VALUE &&
         GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

// Output that was redirected to a file or a pipe is inherited as it is; output meant for the
// console goes to the console of the program that started this one.
void ConnectConsole() {
  const bool out = Usable(STD_OUTPUT_HANDLE);
  const bool err = Usable(STD_ERROR_HANDLE);
  if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
  if (!out) (void)std::freopen("CONOUT$", "w", stdout);
  if (!err) (void)std::freopen("CONOUT$", "w", stderr);
}

std::string LogFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, folder))) return {};
  return win32::Narrow(folder) + "\\Quorvane";
}

int RunAutomatic(bool logonStart) {
  win32::Win32WindowServices system;
  win32::Win32Platform windows(system);
  Platform platform = windows.platform();
  const AppContext app = companion::CompanionAppContext(platform);
  const Settings settings(platform.profile, app.settingsFile);
  kelverin::SystemClock clock;
  const std::string logFolder = LogFolder();
  companion::AutoCleaner cleaner(
      settings, platform.userSettings, clock, [&](companion::CleanReason reason) {
        companion::CleanToLog(platform, logFolder, reason, clock.LocalTimeText());
      });
  // The logon clean comes first: a copy that the window started a moment earlier must not
  // cost the user the clean that the logon promised.
  if (logonStart) cleaner.CleanAtLogon();
  if (!system.AcquireSingleInstance(kInstanceToken)) return companion::kExitOk;
  if (!cleaner.Tick()) return companion::kExitOk;
  return kelverin::RunResident(cleaner);
}

int RunCommand(const companion::Command& command) {
  companion::ConsoleOutput console;
  switch (command.mode) {
    case companion::Mode::Version:
      console.Out(companion::kVersionText);
      return companion::kExitOk;
    case companion::Mode::Help:
      console.Out(companion::kUsage);
      return companion::kExitOk;
    case companion::Mode::Stop:
      kelverin::StopResident();
      return companion::kExitOk;
    default:
      break;
  }
  win32::Win32WindowServices system;
  win32::Win32Platform windows(system);
  Platform platform = windows.platform();
  companion::RunCleanCommand(platform,
                             command.mode == companion::Mode::Preview ? companion::RunKind::Preview
                                                                      : companion::RunKind::Clean,
                             command.json, console);
  return companion::kExitOk;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(win32::Narrow(argv[i]));
  const auto parsed = companion::ParseCommandLine(arguments);
  if (const auto* command = std::get_if<companion::Command>(&parsed)) {
    if (command->mode == companion::Mode::Logon) return RunAutomatic(true);
    if (command->mode == companion::Mode::Resident) return RunAutomatic(false);
    ConnectConsole();
    return RunCommand(*command);
  }
  ConnectConsole();
  companion::ConsoleOutput console;
  console.Err(std::get<std::string>(parsed));
  console.Err(companion::kUsage);
  return companion::kExitUsage;
}
