#include "core/Text.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(TextTest, CaseFoldingTouchesOnlyAsciiLetters) {
  EXPECT_EQ(ToUpperAscii("mru1-\xC3\xA9"), "MRU1-\xC3\xA9");
  EXPECT_TRUE(EqualsNoCase("MSPhEditor", "MSPHEditor"));
  EXPECT_FALSE(EqualsNoCase("MRU", "MRU1"));
  EXPECT_TRUE(StartsWithNoCase("mruList", "MRU"));
  EXPECT_FALSE(StartsWithNoCase("MR", "MRU"));
  EXPECT_TRUE(StartsWithNoCase("anything", ""));
}

TEST(TextTest, TrimRemovesOuterBlanksOnly) {
  EXPECT_EQ(Trim("  Windows Run History \t"), "Windows Run History");
  EXPECT_EQ(Trim("   "), "");
  EXPECT_EQ(Trim("a b"), "a b");
}

}  // namespace
}  // namespace quorvane
