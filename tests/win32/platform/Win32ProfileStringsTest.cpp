// The settings file through the platform's real profile calls, on real files, and the text
// conversions beneath it.

#include "win32/platform/Win32ProfileStrings.h"

#include <gtest/gtest.h>

#include "core/GlobalFunctions.h"
#include "support/Sandbox.h"
#include "win32/platform/WideText.h"
#include "win32/platform/Win32TextCodec.h"

namespace quorvane::win32 {
namespace {

TEST(Win32ProfileStringsTest, WritesInPlaceInTheAnsiCodePageAndReadsWithoutRegardToCase) {
  quorvane::testing::Sandbox box;
  Win32ProfileStrings profile;
  const std::string ini = box / "Local.Ini", text = "Gr\u00FC\u00DFe";
  EXPECT_EQ(ReadIniValue(profile, "MSOffice", "MSPhEditor", ini), "");
  box.WriteFile("Local.Ini", "; by hand\r\n[MSOffice]\r\nMSPhEditor=0\r\nMSExcel=1\r\n");
  EXPECT_TRUE(WriteIniValue(profile, "MSOFFICE", "MSPHEditor", text, ini));
  EXPECT_TRUE(WriteIniValue(profile, "Wash Options", "Schedule", std::string(300, 'x'), ini));
  const std::string ansi = Win32TextCodec().Utf8ToAnsi(text), after = box.ReadFile("Local.Ini");
  EXPECT_EQ(after.rfind("; by hand\r\n[MSOffice]\r\nMSPhEditor=" + ansi + "\r\nMSExcel=1\r\n", 0),
            0u);
  EXPECT_EQ(ReadIniValue(profile, "msoffice", "MSPhEditor", ini), text);
  EXPECT_EQ(ReadIniValue(profile, "Wash Options", "Schedule", ini), std::string(254, 'x'));
}

TEST(Win32ProfileStringsTest, NoFileNameReadsTheDefaultAndWritesNothing) {
  Win32ProfileStrings profile;
  std::string value = "stale";
  EXPECT_EQ(profile.GetString("Standard Options", "FindHistory", "dflt", value, 255, ""), 4u);
  EXPECT_EQ(value, "dflt");
  EXPECT_FALSE(WriteIniValue(profile, "QuorvaneProbe", "Written", "1", ""));
  EXPECT_EQ(profile.GetString("QuorvaneProbe", "Written", "", value, 255, "win.ini"), 0u);
}

TEST(Win32TextTest, ConvertsWithTheAnsiCodePageAndPrefixesLongPaths) {
  Win32TextCodec codec;
  EXPECT_EQ(codec.AnsiToUtf8("caf\xE9"), "caf\xC3\xA9");
  EXPECT_EQ(codec.Utf8ToAnsi("\xC4\x81-\xE6\x97\xA5"), "?-?");  // no look-alike swapped in
  EXPECT_EQ(LongPath("C:/Temp//a.txt"), L"\\\\?\\C:\\Temp\\a.txt");
  EXPECT_EQ(LongPath("\\\\server\\share\\x"), L"\\\\?\\UNC\\server\\share\\x");
}

}  // namespace
}  // namespace quorvane::win32
