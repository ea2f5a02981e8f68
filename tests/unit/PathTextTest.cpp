#include "core/PathText.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(PathTextTest, AddBackslashEndsEveryFolderInExactlyOneSeparator) {
  EXPECT_EQ(AddBackslash("C:\\Cookies"), "C:\\Cookies\\");
  EXPECT_EQ(AddBackslash("C:\\Cookies\\"), "C:\\Cookies\\");
  EXPECT_EQ(AddBackslash("C:"), "C:\\");
  EXPECT_EQ(AddBackslash("\\\\server\\share"), "\\\\server\\share\\");
  EXPECT_EQ(AddBackslash(""), "\\");
  // Only a back-slash counts; a forward slash is part of the name as far as this goes.
  EXPECT_EQ(AddBackslash("C:/a/"), "C:/a/\\");
}

}  // namespace
}  // namespace quorvane
