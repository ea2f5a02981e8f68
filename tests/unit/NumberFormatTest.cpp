#include "clean/NumberFormat.h"

#include <gtest/gtest.h>

#include <limits>

namespace quorvane {
namespace {

TEST(NumberFormatTest, ShowsFifteenSignificantDigitsWithoutGroupingOrTrailingZeros) {
  EXPECT_EQ(NumberToText(2048.0 / 1024), "2");
  EXPECT_EQ(NumberToText(1000000), "1000000");
  EXPECT_EQ(NumberToText(1536.0 / 1024), "1.5");
  EXPECT_EQ(NumberToText(1.0 / 1024), "0.0009765625");
  EXPECT_EQ(NumberToText(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(NumberToText(123456789.123456789), "123456789.123457");
  // 0.1 + 0.2 is 0.30000000000000004 in binary; fifteen digits hide the noise.
  EXPECT_EQ(NumberToText(0.1 + 0.2), "0.3");
  EXPECT_EQ(NumberToText(9.9999999999999999), "10");
  EXPECT_EQ(NumberToText(1234567890123456789.0), "1234567890123460000");
  EXPECT_EQ(NumberToText(-1.5, ','), "-1,5");
}

TEST(NumberFormatTest, NonFiniteValuesAndNegativeZeroGiveZero) {
  EXPECT_EQ(NumberToText(std::numeric_limits<double>::quiet_NaN()), "0");
  EXPECT_EQ(NumberToText(std::numeric_limits<double>::infinity()), "0");
  EXPECT_EQ(NumberToText(-0.0), "0");
}

}  // namespace
}  // namespace quorvane
