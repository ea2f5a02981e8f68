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

TEST(PathTextTest, TellsAbsolutePathsAndDriveRootsAndTrimsSeparatorsButARootsOwn) {
  for (const char* absolute : {"C:\\", "c:/x", "\\\\server\\share", "//server/share", "\\/s"}) {
    EXPECT_TRUE(IsAbsolutePath(absolute)) << absolute;
  }
  for (const char* relative : {"", "C:", "C:x", "\\x", "x\\y", "1:\\x", "\\\\"}) {
    EXPECT_FALSE(IsAbsolutePath(relative)) << relative;
  }
  EXPECT_TRUE(IsDriveRoot("d:/"));
  EXPECT_FALSE(IsDriveRoot("D:\\x"));
  EXPECT_EQ(WithoutTrailingSeparators("C:\\a\\/\\"), "C:\\a");
  EXPECT_EQ(WithoutTrailingSeparators("C:\\\\"), "C:\\");
  EXPECT_EQ(WithoutTrailingSeparators("C:"), "C:");
  EXPECT_EQ(WithoutTrailingSeparators("\\\\"), "\\");
  EXPECT_EQ(WithBackslashes("C:/a/b"), "C:\\a\\b");
}

TEST(PathTextTest, WalksUtf8ByWholeCharacters) {
  const std::string text = "a\xC3\xA9\xF0\x9F\x98\x80z";  // a, e acute, an emoji, z
  EXPECT_EQ(SplitCharacters(text),
            (std::vector<std::string>{"a", "\xC3\xA9", "\xF0\x9F\x98\x80", "z"}));
  EXPECT_EQ(FirstCharacters(text, 2), "a\xC3\xA9");
  EXPECT_EQ(FirstCharacters(text, 9), text);
  EXPECT_EQ(CharacterLength("\xC3", 0), 1u);  // cut short: one byte, never past the end
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
