#pragma once
// The automation date: days since 30 December 1899 as a double, the time of day as the
// fraction. Days before that date count negative, with the time of day still added away
// from zero (-1.25 is 29 December 1899, 06:00).

#include <cstdint>
#include <optional>

namespace quorvane {

// The date of a file time (100-nanosecond intervals since 1 January 1601), to the whole
// second as the platform's own conversion gives it. None past the year 9999, which the
// date type cannot hold.
std::optional<double> FileTimeToAutomationDate(std::uint64_t fileTime);

}  // namespace quorvane
