#include "win32/platform/WideText.h"

#include <gtest/gtest.h>

namespace quorvane::win32 {
namespace {

TEST(WideTextTest, RoundTripsForeignNamesAndPrefixesAbsolutePathsOnly) {
  const std::string name = "\xD0\x96\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB-\xE6\x97\xA5.txt";
  EXPECT_EQ(Narrow(Widen(name)), name);
  EXPECT_EQ(Widen(name).size(), 12u);  // six Cyrillic, "-", one CJK, ".txt"
  EXPECT_EQ(LongPath("C:/Temp//a\\b.txt"), L"\\\\?\\C:\\Temp\\a\\b.txt");
  EXPECT_EQ(LongPath("\\\\server\\share\\x"), L"\\\\?\\UNC\\server\\share\\x");
  EXPECT_EQ(LongPath("relative\\x"), L"relative\\x");
  EXPECT_EQ(LongPath("\\\\?\\C:\\x"), L"\\\\?\\C:\\x");
}

}  // namespace
}  // namespace quorvane::win32
