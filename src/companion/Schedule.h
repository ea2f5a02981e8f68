#pragma once
// When the companion's next scheduled clean falls due. Times are whole seconds since
// 1970-01-01 UTC; the stored form of the last clean is "YYYY-MM-DDTHH:MM:SSZ".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::companion {

using UtcSeconds = std::int64_t;

// The entries of the schedule list, by their stored index.
enum class ScheduleInterval { QuarterHour, HalfHour, Hour, EightHours, Day, Week, Month };

// The interval that the options page shows for a stored "Schedule" value: an absent, empty
// or unusable value shows (and therefore means) the first entry, "Quarter Hour".
ScheduleInterval IntervalFromSetting(std::string_view stored);

// `from` plus one interval. A month is a calendar month: the same day and time of the next
// month, or that month's last day when it is shorter (31 January is followed by 28 or 29
// February).
UtcSeconds AddInterval(UtcSeconds from, ScheduleInterval interval);

std::string FormatUtc(UtcSeconds time);
// None unless `text` is a complete, valid time in exactly the stored form.
std::optional<UtcSeconds> ParseUtc(std::string_view text);

// Whether a scheduled clean is due now. A missing or damaged last clean is due at once, and
// so is a last clean that lies in the future: the clock was set back, and waiting for the
// old time to come round again could skip cleans for as long as the clock was moved.
bool CleanIsDue(std::optional<UtcSeconds> lastClean, ScheduleInterval interval, UtcSeconds now);

}  // namespace quorvane::companion
