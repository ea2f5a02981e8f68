#pragma once
// The clean run on the console: one line per target that ran, the log-off notice where the
// clean window would show it, the estimate as the window's label reads it, and what was
// really removed. Message boxes of the run become lines on standard error.

#include <cstdio>
#include <string_view>

#include "clean/CleanRun.h"
#include "core/AppContext.h"
#include "core/platform/Platform.h"
#include "core/platform/WindowServices.h"

namespace quorvane::kelverin {

// Writes one line and flushes it, so that standard output and standard error stay in the
// order in which the run produced them when both go to one pipe.
void WriteLine(std::FILE* stream, std::string_view text);

class ConsoleWindowServices final : public WindowServices {
 public:
  int MessageBox(std::string_view text, std::string_view title, std::uint32_t style) override;
  // Nothing to repaint and no button to click.
  void ProcessPendingEvents() override {}
  // Several cleans at once do no harm beyond wasted work; nothing is refused.
  bool AcquireSingleInstance(std::string_view) override { return true; }
};

class ConsoleCleanWindow final : public CleanWindow {
 public:
  void TargetDone(std::size_t index) override;
  void ProcessPendingEvents() override {}
  void ShowLogOffNotice() override;
  bool Closed() const override { return false; }
};

// The application folder and the settings file as the main program fixes them at start:
// the settings file only when "Local.Ini" is an ordinary file beside the program.
AppContext ConsoleAppContext(Platform& platform);

// Runs one clean with the options of the settings file and prints its report.
void RunConsoleClean(Platform& platform);

}  // namespace quorvane::kelverin
