#include "clean/NumberFormat.h"

#include <gtest/gtest.h>

#include <limits>

namespace quorvane {
namespace {

TEST(NumberFormatTest, WholeNumbersHaveNoDecimalPart) {
  EXPECT_EQ(NumberToText(0), "0");
  EXPECT_EQ(NumberToText(1), "1");
  EXPECT_EQ(NumberToText(2048.0 / 1024), "2");
  EXPECT_EQ(NumberToText(1000000), "1000000");  // no digit grouping
  EXPECT_EQ(NumberToText(120), "120");
}

TEST(NumberFormatTest, FractionsShowOnlyTheirDigits) {
  EXPECT_EQ(NumberToText(1536.0 / 1024), "1.5");
  EXPECT_EQ(NumberToText(0.25), "0.25");
  EXPECT_EQ(NumberToText(1.0 / 1024), "0.0009765625");
  EXPECT_EQ(NumberToText(153.6), "153.6");
}

TEST(NumberFormatTest, RoundsToFifteenSignificantDigits) {
  EXPECT_EQ(NumberToText(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(NumberToText(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(NumberToText(123456789.123456789), "123456789.123457");
  // 0.1 + 0.2 is 0.30000000000000004 in binary; fifteen digits hide the noise.
  EXPECT_EQ(NumberToText(0.1 + 0.2), "0.3");
  EXPECT_EQ(NumberToText(9.9999999999999999), "10");
}

TEST(NumberFormatTest, LargeNumbersStayPositional) {
  EXPECT_EQ(NumberToText(1e15), "1000000000000000");
  EXPECT_EQ(NumberToText(1234567890123456789.0), "1234567890123460000");
  EXPECT_EQ(NumberToText(-1.5), "-1.5");
}

TEST(NumberFormatTest, UsesTheGivenDecimalSeparator) {
  EXPECT_EQ(NumberToText(1.5, ','), "1,5");
  EXPECT_EQ(NumberToText(2, ','), "2");
}

TEST(NumberFormatTest, NonFiniteValuesGiveZero) {
  EXPECT_EQ(NumberToText(std::numeric_limits<double>::quiet_NaN()), "0");
  EXPECT_EQ(NumberToText(std::numeric_limits<double>::infinity()), "0");
  EXPECT_EQ(NumberToText(-0.0), "0");
}

}  // namespace
}  // namespace quorvane
