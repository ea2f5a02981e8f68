#pragma once
// The unattended cleaner that the "Additional Options" page registers: a clean at logon, at
// the end of the session and on a schedule, as "Wash Options" in the settings file say at
// the moment each decision is taken.

#include <functional>
#include <string>
#include <string_view>

#include "companion/Schedule.h"
#include "core/SettingsKeys.h"
#include "core/platform/UserSettings.h"

namespace quorvane::companion {

enum class CleanReason { Logon, Shutdown, Schedule };
// "logon", "shutdown", "schedule": the words of the log.
std::string_view ReasonText(CleanReason reason);

struct CompanionOptions {
  bool atLogon = false;     // RunAutowashStart
  bool atShutdown = false;  // RunAutowashShutdown
  bool onSchedule = false;  // RunAutowash
  ScheduleInterval interval = ScheduleInterval::QuarterHour;

  // A logon clean happens once at start; only the other two need a copy that stays.
  bool KeepsRunning() const { return atShutdown || onSchedule; }
};
CompanionOptions ReadCompanionOptions(const Settings& settings);

// Where the time of the last automatic clean is kept, in the per-user settings store.
inline constexpr std::string_view kLastCleanApp = "Quorvane";
inline constexpr std::string_view kLastCleanSection = "Kelverin";
inline constexpr std::string_view kLastCleanKey = "LastClean";

class Clock {
 public:
  virtual ~Clock() = default;
  virtual UtcSeconds NowUtc() = 0;
  // "2026-12-07 18:30:05", the local date and time for the log.
  virtual std::string LocalTimeText() = 0;
};

// Decides when the companion cleans; the clean itself is handed in. Every automatic clean
// stores its start time as the last clean before it runs, so a clean that fails or is cut
// short by the end of the session is not started again every minute.
class AutoCleaner {
 public:
  using CleanFunction = std::function<void(CleanReason)>;
  AutoCleaner(const Settings& settings, UserSettings& store, Clock& clock, CleanFunction clean);

  // The clean of a start at logon, when the option asks for it.
  void CleanAtLogon();
  // The regular check, also the first one at start: re-reads the options and cleans when
  // the schedule is due. False once neither the shutdown nor the schedule option is set, so
  // that the copy has nothing left to do and ends.
  bool Tick();
  // The session is ending: cleans when the shutdown option is set, once per ending.
  void SessionEnding();
  // The ending was cancelled; a later one cleans again.
  void SessionContinues() { sessionCleaned_ = false; }

 private:
  void Clean(CleanReason reason);

  const Settings& settings_;
  UserSettings& store_;
  Clock& clock_;
  CleanFunction clean_;
  bool sessionCleaned_ = false;
};

}  // namespace quorvane::companion
