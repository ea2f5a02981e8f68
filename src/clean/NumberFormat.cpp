#include "clean/NumberFormat.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace quorvane {
namespace {
constexpr int kSignificantDigits = 15;
}  // namespace

std::string NumberToText(double value, char decimalSeparator) {
  if (!std::isfinite(value) || value == 0.0) return "0";

  // Rounding to 15 significant digits is done by the scientific form ("d.dddE±x"); the
  // digits are then placed around the decimal separator by hand.
  std::array<char, 64> buffer{};
  const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                          std::chars_format::scientific, kSignificantDigits - 1);
  if (error != std::errc()) return "0";
  const std::string_view scientific(buffer.data(), static_cast<std::size_t>(end - buffer.data()));

  const bool negative = scientific.front() == '-';
  const std::size_t ePosition = scientific.find('e');
  std::string digits;
  for (char c : scientific.substr(0, ePosition)) {
    if (c >= '0' && c <= '9') digits += c;
  }
  const int exponent = std::atoi(std::string(scientific.substr(ePosition + 1)).c_str());
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  // `exponent` is the position of the first digit: 0 for 1.5, 2 for 153.6, -3 for 0.00098.
  std::string integerPart;
  std::string fraction;
  if (exponent < 0) {
    integerPart = "0";
    fraction = std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else {
    const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= integerDigits) {
      integerPart = digits + std::string(integerDigits - digits.size(), '0');
    } else {
      integerPart = digits.substr(0, integerDigits);
      fraction = digits.substr(integerDigits);
    }
  }

  std::string text = negative ? "-" : "";
  text += integerPart;
  if (!fraction.empty()) {
    text += decimalSeparator;
    text += fraction;
  }
  return text;
}

}  // namespace quorvane
