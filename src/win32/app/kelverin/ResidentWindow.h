#pragma once
// The copy of Kelverin.exe that stays running for the shutdown and schedule cleans: a hidden
// top-level window titled "Kelverin" (a message-only window would never hear of the end of
// the session), a timer for the schedule, and the message loop.

#include "companion/AutoClean.h"

namespace quorvane::kelverin {

inline constexpr wchar_t kResidentClass[] = L"KelverinResident";
inline constexpr wchar_t kResidentTitle[] = L"Kelverin";

// Runs until the options no longer ask for the copy, "--stop" closes its window, or the
// session ends. Returns the exit code.
int RunResident(companion::AutoCleaner& cleaner);

// Asks every running copy of this user to end and waits a while for their processes to end.
void StopResident();

// The clock of the system.
class SystemClock final : public companion::Clock {
 public:
  companion::UtcSeconds NowUtc() override;
  std::string LocalTimeText() override;
};

}  // namespace quorvane::kelverin
