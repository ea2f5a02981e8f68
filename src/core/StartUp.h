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
  virtual void ShowMain() = 0;
  virtual void SetMainCaption(std::string_view caption) = 0;
};

enum class StartUpResult {
  Started,         // the windows are open; the program lives as long as they do
  AlreadyRunning,  // another copy runs: nothing was shown or touched, the process ends
};

inline constexpr std::string_view kOptionsSection = "Options";
inline constexpr std::string_view kShowTipKey = "Showtip";

// "Quorvane Version 5.0".
std::string MainWindowCaption();

class StartUp {
 public:
  StartUp(Platform& platform, AppContext& context, StartUpWindows& windows)
      : platform_(platform), context_(context), windows_(windows) {}

  // Runs once when the process starts. Every step runs with errors resumed: a step that
  // fails is skipped and the next one runs. The only early end is a second running copy.
  [[nodiscard]] StartUpResult Main();

 private:
  void FixSettingsFile();
  void EnsureCustomFolder();
  bool TipWanted();

  Platform& platform_;
  AppContext& context_;
  StartUpWindows& windows_;
};

}  // namespace quorvane
