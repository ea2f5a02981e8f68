#pragma once
// The start of the program: refuse a second running copy, fix the application paths and
// the settings file, make sure the custom-item folder exists, then open the tip window
// (when wanted) and the main window.

#include <string>
#include <string_view>

#include "core/AppContext.h"
#include "core/platform/Platform.h"

namespace quorvane {

// The windows that start-up opens, as the program's front end provides them.
class StartUpWindows {
 public:
  virtual ~StartUpWindows() = default;
  // The file that F1 and the Help button open; it need not exist.
  virtual void RegisterHelpFile(std::string_view path) = 0;
  // Returns when the user has closed the tip window.
  virtual void ShowTipModal() = 0;
  // False when the main window could not be made: the program then has no window to live in.
  [[nodiscard]] virtual bool ShowMain() = 0;
  virtual void SetMainCaption(std::string_view caption) = 0;
};

enum class StartUpResult {
  Started,         // the windows are open; the program lives as long as they do
  AlreadyRunning,  // another copy runs: nothing was shown or touched, the process ends
  // The main window could not be made: the user was told, the single-instance token is
  // given back, and the process ends rather than live on without a window.
  MainWindowFailed,
};

inline constexpr std::string_view kOptionsSection = "Options";
inline constexpr std::string_view kShowTipKey = "Showtip";
inline constexpr std::string_view kMainWindowFailed =
    "Quorvane could not open its main window and will close.";

// The "Showtip" entry of the per-user store: start-up reads it, and the option box and the
// tip window's box show and write it. It holds when the stored text is the number 1 (absent
// reads as 1; text that is no number, and any other number, do not hold).
[[nodiscard]] bool ShowTipWanted(UserSettings& settings);
// Stores a box's value, 1 or 0, as its decimal text.
void SaveShowTip(UserSettings& settings, int value);

// "Quorvane Version 5.0".
std::string MainWindowCaption();

class StartUp {
 public:
  StartUp(Platform& platform, AppContext& context, StartUpWindows& windows)
      : platform_(platform), context_(context), windows_(windows) {}

  // Runs once when the process starts. Every step runs with errors resumed: a step that
  // fails is skipped and the next one runs. It ends early for a second running copy, and
  // ends without a program for a main window that cannot be made.
  [[nodiscard]] StartUpResult Main();

 private:
  void FixSettingsFile();
  void EnsureCustomFolder();

  Platform& platform_;
  AppContext& context_;
  StartUpWindows& windows_;
};

}  // namespace quorvane
