#include "core/NumberText.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(TextToByte, WholeNumbersInRange) {
  EXPECT_EQ(TextToByte("0"), 0);
  EXPECT_EQ(TextToByte("1"), 1);
  EXPECT_EQ(TextToByte("255"), 255);
  EXPECT_EQ(TextToByte(" 2\t"), 2);
  EXPECT_EQ(TextToByte("+7"), 7);
  EXPECT_EQ(TextToByte("007"), 7);
  EXPECT_EQ(TextToByte("1e2"), 100);
}

TEST(TextToByte, FractionsRoundToNearestAndTiesToEven) {
  EXPECT_EQ(TextToByte("1.4"), 1);
  EXPECT_EQ(TextToByte("1.6"), 2);
  EXPECT_EQ(TextToByte("0.5"), 0);
  EXPECT_EQ(TextToByte("1.5"), 2);
  EXPECT_EQ(TextToByte("2.5"), 2);
  EXPECT_EQ(TextToByte(".5"), 0);
  EXPECT_EQ(TextToByte("-0.4"), 0);
  EXPECT_EQ(TextToByte("255.4"), 255);
}

TEST(TextToByte, OutOfRangeGivesNothing) {
  EXPECT_EQ(TextToByte("256"), std::nullopt);
  EXPECT_EQ(TextToByte("255.5"), std::nullopt);
  EXPECT_EQ(TextToByte("300"), std::nullopt);
  EXPECT_EQ(TextToByte("-1"), std::nullopt);
  EXPECT_EQ(TextToByte("-0.6"), std::nullopt);
  EXPECT_EQ(TextToByte("1e400"), std::nullopt);
}

TEST(TextToByte, TextThatIsNoNumberGivesNothing) {
  for (const char* text : {"", " ", "abc", "1a", "one", "1 2", "+", "-", ".", "inf", "nan", "0x1",
                           "1,5", "--1", "e5"}) {
    EXPECT_EQ(TextToByte(text), std::nullopt) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace quorvane
