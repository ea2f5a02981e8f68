#pragma once
// The general number-to-text rule of the program's reports: up to 15 significant digits,
// no digit grouping, and a decimal part only when the number has one (1.5, 2, 0.25).

#include <string>

namespace quorvane {

// Always written in plain positional form, never with an exponent, so that a tiny or huge
// figure still reads as a number of kilobytes. Not-a-number and infinities give "0".
std::string NumberToText(double value, char decimalSeparator = '.');

}  // namespace quorvane
