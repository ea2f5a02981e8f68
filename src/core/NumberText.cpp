#include "core/NumberText.h"

#include <charconv>
#include <cmath>

#include "core/Text.h"

namespace quorvane {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<std::uint8_t> TextToByte(std::string_view text) {
  text = Trim(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  // from_chars alone would also take "inf" and "nan"; a number starts with a digit or a
  // decimal point followed by one.
  const bool startsLikeNumber =
      !text.empty() &&
      (IsDigit(text.front()) || (text.front() == '.' && text.size() > 1 && IsDigit(text[1])));
  if (!startsLikeNumber) return std::nullopt;

  double value = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;

  // nearbyint in the default rounding mode rounds a tie to even.
  const double rounded = std::nearbyint(negative ? -value : value);
  if (!(rounded >= 0 && rounded <= 255)) return std::nullopt;
  return static_cast<std::uint8_t>(rounded);
}

}  // namespace quorvane
