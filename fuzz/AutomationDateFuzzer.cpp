// The conversion of the history store's file times to automation dates: every file time
// gives a date that leads back to the same second, or none past the year 9999.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "clean/urlhistory/AutomationDate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::uint64_t fileTime = 0;
  std::memcpy(&fileTime, data, size < sizeof(fileTime) ? size : sizeof(fileTime));
  constexpr std::int64_t kDaysFrom1601To1899 = 109'205;
  constexpr std::int64_t kLastDay = 2'958'465;
  const std::int64_t seconds = static_cast<std::int64_t>(fileTime / 10'000'000);
  const auto date = quorvane::FileTimeToAutomationDate(fileTime);
  if (!date) {
    if (seconds / 86'400 - kDaysFrom1601To1899 <= kLastDay) std::abort();
    return 0;
  }
  if (!std::isfinite(*date)) std::abort();
  // Days count toward zero, the time of day away from it.
  const double day = std::trunc(*date);
  const double timeOfDay = std::fabs(*date - day);
  if (day > kLastDay || timeOfDay >= 1) std::abort();
  const std::int64_t back = (static_cast<std::int64_t>(day) + kDaysFrom1601To1899) * 86'400 +
                            std::llround(timeOfDay * 86'400);
  if (back != seconds) std::abort();
  return 0;
}
