#include "ConsoleClean.h"

#include <string>

#include "clean/RemovalCounter.h"
#include "clean/WashPresenter.h"
#include "core/FileServices.h"
#include "core/Text.h"

namespace quorvane::kelverin {

void WriteLine(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

int ConsoleWindowServices::MessageBox(std::string_view text, std::string_view, std::uint32_t) {
  WriteLine(stderr, text);
  return 1;  // OK: the run goes on as after the user's click
}

void ConsoleCleanWindow::TargetDone(std::size_t index) {
  const auto& targets = CleanTargets();
  if (index >= targets.size()) return;
  WriteLine(stdout, std::string(Trim(targets[index].labelText)) + ": done");
}

void ConsoleCleanWindow::ShowLogOffNotice() { WriteLine(stdout, kLogOffNotice); }

AppContext ConsoleAppContext(Platform& platform) {
  AppContext app;
  app.appFolder = platform.shell.ApplicationFolder();
  if (!app.appFolder.empty() && IsOrdinaryFile(platform.files, app.LocalIniPath())) {
    app.settingsFile = app.LocalIniPath();
  }
  return app;
}

void RunConsoleClean(Platform& platform) {
  const AppContext app = ConsoleAppContext(platform);
  ConsoleCleanWindow window;
  const CleanReport report = RunClean(platform, app, window);
  if (report.estimateKb) {
    // The label's text without the two blanks that indent it in the window.
    WriteLine(stdout, Trim(RestoredSpaceText(*report.estimateKb)));
  }
  WriteLine(stdout, RemovalSummary(report.removed));
  if (const std::string stuck = NotRemovedSummary(report.removed); !stuck.empty()) {
    WriteLine(stdout, stuck);
  }
}

}  // namespace quorvane::kelverin
