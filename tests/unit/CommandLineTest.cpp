#include "core/CommandLine.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(CommandLineTest, AProgramPathIsAlwaysQuotedOrRefusedWhenQuotesCannotHoldIt) {
  EXPECT_EQ(QuotedProgramPath("C:\\Program Files\\Missing\\t.exe"),
            "\"C:\\Program Files\\Missing\\t.exe\"");
  EXPECT_EQ(QuotedProgramPath("msinfo32.exe"), "\"msinfo32.exe\"");
  // A quote would end the quoted part early and turn the rest into arguments; a control
  // character has no place in a path; a trailing back-slash would escape the closing quote.
  for (const char* path :
       {"", "C:\\a\" b.exe", "C:\\a\"", "C:\\a\nb.exe", "C:\\Tools\\", "C:/Tools/"}) {
    EXPECT_EQ(QuotedProgramPath(path), std::nullopt) << path;
  }
}

}  // namespace
}  // namespace quorvane
