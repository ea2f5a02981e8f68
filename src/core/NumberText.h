#pragma once
// Conversion of stored texts to small numbers, with the rules the stored values were always
// read with.

#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvane {

// The text as an unsigned 8-bit number: decimal notation with optional surrounding blanks,
// sign, fraction and exponent ("1", " 2 ", "1.4", "2.5e0"). A fraction is rounded to the
// nearest whole number, a tie to the even neighbour ("0.5" -> 0, "1.5" -> 2, "2.5" -> 2),
// which is how such values have always been converted. Anything that is not a number, or
// lies outside 0 to 255 after rounding, gives no value.
std::optional<std::uint8_t> TextToByte(std::string_view text);

}  // namespace quorvane
