#include "companion/AutoClean.h"

namespace quorvane::companion {

std::string_view ReasonText(CleanReason reason) {
  switch (reason) {
    case CleanReason::Logon:
      return "logon";
    case CleanReason::Shutdown:
      return "shutdown";
    case CleanReason::Schedule:
      return "schedule";
  }
  return "schedule";
}

CompanionOptions ReadCompanionOptions(const Settings& settings) {
  CompanionOptions options;
  options.atLogon = settings.IsOn(keys::RunAutowashStart);
  options.atShutdown = settings.IsOn(keys::RunAutowashShutdown);
  options.onSchedule = settings.IsOn(keys::RunAutowash);
  options.interval = IntervalFromSetting(settings.Read(keys::Schedule));
  return options;
}

AutoCleaner::AutoCleaner(const Settings& settings, UserSettings& store, Clock& clock,
                         CleanFunction clean)
    : settings_(settings), store_(store), clock_(clock), clean_(std::move(clean)) {}

void AutoCleaner::CleanAtLogon() {
  if (ReadCompanionOptions(settings_).atLogon) Clean(CleanReason::Logon);
}

bool AutoCleaner::Tick() {
  const CompanionOptions options = ReadCompanionOptions(settings_);
  if (!options.KeepsRunning()) return false;
  if (options.onSchedule) {
    const auto last =
        ParseUtc(store_.GetSetting(kLastCleanApp, kLastCleanSection, kLastCleanKey, ""));
    if (CleanIsDue(last, options.interval, clock_.NowUtc())) Clean(CleanReason::Schedule);
  }
  return true;
}

void AutoCleaner::SessionEnding() {
  if (sessionCleaned_ || !ReadCompanionOptions(settings_).atShutdown) return;
  sessionCleaned_ = true;
  Clean(CleanReason::Shutdown);
}

void AutoCleaner::Clean(CleanReason reason) {
  store_.SaveSetting(kLastCleanApp, kLastCleanSection, kLastCleanKey, FormatUtc(clock_.NowUtc()));
  clean_(reason);
}

}  // namespace quorvane::companion
