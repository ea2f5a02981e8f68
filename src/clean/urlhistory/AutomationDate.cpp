#include "clean/urlhistory/AutomationDate.h"

namespace quorvane {
namespace {

constexpr std::uint64_t kTicksPerSecond = 10'000'000;
constexpr std::uint64_t kSecondsPerDay = 86'400;
// Days from 1 January 1601 to 30 December 1899.
constexpr std::int64_t kDaysFrom1601To1899 = 109'205;
// 31 December 9999, the last day the date type holds.
constexpr std::int64_t kLastDay = 2'958'465;

}  // namespace

std::optional<double> FileTimeToAutomationDate(std::uint64_t fileTime) {
  // Milliseconds are dropped, as the platform's calendar conversion drops them.
  const std::uint64_t seconds = fileTime / kTicksPerSecond;
  const std::int64_t day =
      static_cast<std::int64_t>(seconds / kSecondsPerDay) - kDaysFrom1601To1899;
  if (day > kLastDay) return std::nullopt;
  const double timeOfDay =
      static_cast<double>(seconds % kSecondsPerDay) / static_cast<double>(kSecondsPerDay);
  const double whole = static_cast<double>(day);
  return day >= 0 ? whole + timeOfDay : whole - timeOfDay;
}

}  // namespace quorvane
