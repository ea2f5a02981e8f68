#include "core/StartUp.h"

#include <cstdint>

#include "core/FileServices.h"
#include "core/NumberText.h"

namespace quorvane {

namespace {

// A start-up step that fails ends only itself.
template <typename Step>
void Resume(Step&& step) {
  try {
    step();
  } catch (...) {
  }
}

}  // namespace

bool ShowTipWanted(UserSettings& settings) {
  const std::string stored = settings.GetSetting(kExeName, kOptionsSection, kShowTipKey, "1");
  // Only a value of exactly 1 shows the tip; text that is no number counts as 0.
  return TextToByte(stored).value_or(0) == 1;
}

void SaveShowTip(UserSettings& settings, int value) {
  settings.SaveSetting(kExeName, kOptionsSection, kShowTipKey, std::to_string(value));
}

std::string MainWindowCaption() {
  return std::string(kAppTitle) + " Version " + std::to_string(kVersionMajor) + "." +
         std::to_string(kVersionMinor);
}

StartUpResult StartUp::Main() {
  bool firstCopy = true;
  Resume([&] { firstCopy = platform_.windows.AcquireSingleInstance(kExeName); });
  if (!firstCopy) return StartUpResult::AlreadyRunning;

  Resume([&] { context_.appFolder = platform_.shell.ApplicationFolder(); });
  Resume([&] { windows_.RegisterHelpFile(context_.HelpFile()); });
  Resume([&] { FixSettingsFile(); });
  Resume([&] { EnsureCustomFolder(); });

  bool showTip = false;
  Resume([&] { showTip = ShowTipWanted(platform_.userSettings); });
  if (showTip) Resume([&] { windows_.ShowTipModal(); });

  bool mainShown = false;
  Resume([&] { mainShown = windows_.ShowMain(); });
  if (!mainShown) {
    Resume([&] {
      platform_.windows.MessageBox(kMainWindowFailed, kAppTitle,
                                   message_box::Ok | message_box::IconInformation);
    });
    platform_.windows.ReleaseSingleInstance();
    return StartUpResult::MainWindowFailed;
  }
  // The main window sets the same caption while it loads; setting it again here keeps the
  // caption right whatever the window did meanwhile.
  Resume([&] { windows_.SetMainCaption(MainWindowCaption()); });
  return StartUpResult::Started;
}

void StartUp::FixSettingsFile() {
  // Without a folder the paths below would name the root of the current drive.
  if (context_.appFolder.empty()) return;
  // The settings file is only ever used, never created: without it every option reads off.
  const std::string localIni = context_.LocalIniPath();
  if (IsOrdinaryFile(platform_.files, localIni)) context_.settingsFile = localIni;
}

void StartUp::EnsureCustomFolder() {
  if (context_.appFolder.empty()) return;
  const std::string folder = context_.CustomFolder();
  // A file of that name stays as it is; the custom items then simply find no folder.
  if (PathExists(platform_.files, folder)) return;
  (void)platform_.files.CreateDirectory(folder);
}

}  // namespace quorvane
