// The ANSI code page conversions against the platform's own tables.

#include "win32/platform/Win32TextCodec.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace quorvane::win32 {
namespace {

TEST(Win32TextCodecTest, WesternCodePageMapsItsOwnCharactersAndMarksTheRest) {
  Win32TextCodec codec;
  const std::string ascii = "Software\\Microsoft\\Office 9.0 \"quoted\", 100%";
  EXPECT_EQ(codec.AnsiToUtf8(ascii), ascii);
  EXPECT_EQ(codec.Utf8ToAnsi(ascii), ascii);
  if (GetACP() != 1252) GTEST_SKIP() << "the system code page is " << GetACP();
  EXPECT_EQ(codec.AnsiToUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
  EXPECT_EQ(codec.Utf8ToAnsi("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xE9 \x80");
  // "a" with macron has a look-alike in the code page; it must not be silently swapped in.
  EXPECT_EQ(codec.Utf8ToAnsi("\xC4\x81-\xE6\x97\xA5"), "?-?");
}

}  // namespace
}  // namespace quorvane::win32
