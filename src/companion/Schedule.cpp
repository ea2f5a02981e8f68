#include "companion/Schedule.h"

#include <charconv>
#include <chrono>
#include <cstdio>

namespace quorvane::companion {
namespace {

using namespace std::chrono;

constexpr UtcSeconds kMinute = 60;
constexpr UtcSeconds kHour = 60 * kMinute;
constexpr UtcSeconds kDay = 24 * kHour;

struct Civil {
  year_month_day date;
  UtcSeconds secondsOfDay;
};

// Floor division, so that times before 1970 split into the right day as well.
Civil ToCivil(UtcSeconds time) {
  UtcSeconds days = time / kDay;
  UtcSeconds rest = time % kDay;
  if (rest < 0) {
    rest += kDay;
    --days;
  }
  return {year_month_day(sys_days(std::chrono::days(days))), rest};
}

UtcSeconds FromCivil(const year_month_day& date, UtcSeconds secondsOfDay) {
  return static_cast<UtcSeconds>(sys_days(date).time_since_epoch().count()) * kDay + secondsOfDay;
}

UtcSeconds AddMonth(UtcSeconds from) {
  const Civil civil = ToCivil(from);
  const year_month next = year_month(civil.date.year(), civil.date.month()) + months(1);
  const day last = year_month_day_last(next.year(), month_day_last(next.month())).day();
  const day chosen = civil.date.day() < last ? civil.date.day() : last;
  return FromCivil(year_month_day(next.year(), next.month(), chosen), civil.secondsOfDay);
}

bool ParseNumber(std::string_view text, std::size_t at, std::size_t length, int& value) {
  const std::string_view digits = text.substr(at, length);
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
  }
  return std::from_chars(digits.data(), digits.data() + digits.size(), value).ec == std::errc();
}

}  // namespace

ScheduleInterval IntervalFromSetting(std::string_view stored) {
  int index = 0;
  if (stored.empty() || !ParseNumber(stored, 0, stored.size(), index) || index > 6) {
    return ScheduleInterval::QuarterHour;
  }
  return static_cast<ScheduleInterval>(index);
}

UtcSeconds AddInterval(UtcSeconds from, ScheduleInterval interval) {
  switch (interval) {
    case ScheduleInterval::QuarterHour:
      return from + 15 * kMinute;
    case ScheduleInterval::HalfHour:
      return from + 30 * kMinute;
    case ScheduleInterval::Hour:
      return from + kHour;
    case ScheduleInterval::EightHours:
      return from + 8 * kHour;
    case ScheduleInterval::Day:
      return from + kDay;
    case ScheduleInterval::Week:
      return from + 7 * kDay;
    case ScheduleInterval::Month:
      return AddMonth(from);
  }
  return from + 15 * kMinute;
}

std::string FormatUtc(UtcSeconds time) {
  const Civil civil = ToCivil(time);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ",
                static_cast<int>(civil.date.year()), static_cast<unsigned>(civil.date.month()),
                static_cast<unsigned>(civil.date.day()),
                static_cast<int>(civil.secondsOfDay / kHour),
                static_cast<int>(civil.secondsOfDay % kHour / kMinute),
                static_cast<int>(civil.secondsOfDay % kMinute));
  return text;
}

std::optional<UtcSeconds> ParseUtc(std::string_view text) {
  if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
      text[16] != ':' || text[19] != 'Z') {
    return std::nullopt;
  }
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  if (!ParseNumber(text, 0, 4, y) || !ParseNumber(text, 5, 2, mo) || !ParseNumber(text, 8, 2, d) ||
      !ParseNumber(text, 11, 2, h) || !ParseNumber(text, 14, 2, mi) ||
      !ParseNumber(text, 17, 2, s)) {
    return std::nullopt;
  }
  const year_month_day date{year(y), month(static_cast<unsigned>(mo)),
                            day(static_cast<unsigned>(d))};
  if (!date.ok() || h > 23 || mi > 59 || s > 59) return std::nullopt;
  return FromCivil(date, h * kHour + mi * kMinute + s);
}

bool CleanIsDue(std::optional<UtcSeconds> lastClean, ScheduleInterval interval, UtcSeconds now) {
  if (!lastClean || *lastClean > now) return true;
  return now >= AddInterval(*lastClean, interval);
}

}  // namespace quorvane::companion
