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
  EXPECT_FALSE(EqualsNoCase("MRU", "mru1"));
  EXPECT_FALSE(StartsWithNoCase("MR", "MRU"));
  EXPECT_EQ(Trim("  a b \t"), "a b");
  EXPECT_EQ(AddBackslash("C:"), "C:\\");
  EXPECT_EQ(AddBackslash("C:\\Cookies\\"), "C:\\Cookies\\");
}

TEST(TextTest, TextToByteRoundsTiesToEvenAndRefusesWhatIsNoByte) {
  const char* texts[] = {" 2\t", "1e2", "1.4", "0.5", "1.5", "2.5", "255.4"};
  const int bytes[] = {2, 100, 1, 0, 2, 2, 255};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(TextToByte(texts[i]), bytes[i]) << texts[i];
  for (const char* text : {"256", "255.5", "-0.6", "-1", "", "1a", "inf", "0x1", "1,5"}) {
    EXPECT_EQ(TextToByte(text), std::nullopt) << '"' << text << '"';
  }
}

TEST(TextTest, NumberToTextShowsFifteenSignificantDigitsWithoutGroupingOrTrailingZeros) {
  EXPECT_EQ(NumberToText(1000000), "1000000");
  EXPECT_EQ(NumberToText(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(NumberToText(0.1 + 0.2), "0.3");
  EXPECT_EQ(NumberToText(-1.5, ','), "-1,5");
  EXPECT_EQ(NumberToText(std::numeric_limits<double>::quiet_NaN()), "0");
  EXPECT_EQ(NumberToText(-0.0), "0");
}

}  // namespace
}  // namespace quorvane
