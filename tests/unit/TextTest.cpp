#include "core/Text.h"

#include <gtest/gtest.h>

#include <limits>

#include "clean/NumberFormat.h"
#include "core/NumberText.h"
#include "core/PathText.h"

namespace quorvane {
namespace {

TEST(TextTest, CaseFoldsOnlyAsciiLettersTrimsAndEndsFoldersInOneBackslash) {
  EXPECT_EQ(ToUpperAscii("mru1-\xC3\xA9"), "MRU1-\xC3\xA9");
  EXPECT_TRUE(EqualsNoCase("MSPhEditor", "MSPHEditor"));
  EXPECT_FALSE(EqualsNoCase("MRU", "MRU1"));
  EXPECT_TRUE(StartsWithNoCase("mruList", "MRU"));
  EXPECT_FALSE(StartsWithNoCase("MR", "MRU"));
  EXPECT_EQ(Trim("  a b \t"), "a b");
  EXPECT_EQ(AddBackslash("C:"), "C:\\");
  EXPECT_EQ(AddBackslash("C:\\Cookies\\"), "C:\\Cookies\\");
  EXPECT_EQ(AddBackslash("C:/a/"), "C:/a/\\");
}

TEST(TextTest, TextToByteRoundsTiesToEvenAndRefusesWhatIsNoByte) {
  for (const auto& [text, value] : {std::pair{" 2\t", 2},
                                    {"1e2", 100},
                                    {"1.4", 1},
                                    {"0.5", 0},
                                    {"1.5", 2},
                                    {"2.5", 2},
                                    {"255.4", 255}}) {
    EXPECT_EQ(TextToByte(text), value) << text;
  }
  for (const char* text : {"256", "255.5", "-0.6", "-1", "", "1a", "inf", "0x1", "1,5"}) {
    EXPECT_EQ(TextToByte(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(TextTest, NumberToTextShowsFifteenSignificantDigitsWithoutGroupingOrTrailingZeros) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const auto& [value, text] : {std::pair{1000000.0, "1000000"},
                                    {1.5, "1.5"},
                                    {2.0 / 3, "0.666666666666667"},
                                    {0.1 + 0.2, "0.3"},
                                    {1234567890123456789.0, "1234567890123460000"},
                                    {nan, "0"},
                                    {std::numeric_limits<double>::infinity(), "0"},
                                    {-0.0, "0"}}) {
    EXPECT_EQ(NumberToText(value), text) << text;
  }
  EXPECT_EQ(NumberToText(-1.5, ','), "-1,5");
}

}  // namespace
}  // namespace quorvane
