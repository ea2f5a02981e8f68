#include "core/NumberText.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(TextToByte, RoundsNumbersToNearestWithTiesToEven) {
  const struct {
    const char* text;
    int value;
  } cases[] = {{"255", 255}, {" 2\t", 2}, {"+7", 7},  {"007", 7}, {"1e2", 100}, {"1.4", 1},
               {"1.6", 2},   {"0.5", 0},  {"1.5", 2}, {"2.5", 2}, {"-0.4", 0},  {"255.4", 255}};
  for (const auto& c : cases) EXPECT_EQ(TextToByte(c.text), c.value) << c.text;
}

TEST(TextToByte, OutOfRangeOrNoNumberGivesNothing) {
  for (const char* text : {"256", "255.5", "-1", "-0.6", "1e400", "", " ", "1a", "1 2", "+", ".",
                           "inf", "nan", "0x1", "1,5", "--1", "e5"}) {
    EXPECT_EQ(TextToByte(text), std::nullopt) << '"' << text << '"';
  }
}

}  // namespace
}  // namespace quorvane
