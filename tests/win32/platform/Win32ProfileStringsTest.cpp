// The settings file through the platform's real profile calls, on real files.

#include "win32/platform/Win32ProfileStrings.h"

#include <gtest/gtest.h>

#include <string>

#include "core/GlobalFunctions.h"
#include "core/SettingsKeys.h"
#include "support/Sandbox.h"

namespace quorvane::win32 {
namespace {

class Win32ProfileStringsTest : public ::testing::Test {
 protected:
  quorvane::testing::Sandbox sandbox;
  Win32ProfileStrings profile;
  std::string ini = sandbox / "Local.Ini";
};

TEST_F(Win32ProfileStringsTest, ReadsWithoutRegardToCaseAndCutsLongValues) {
  EXPECT_EQ(ReadIniValue(profile, "IEOptions", "IE", ini), "");
  sandbox.WriteFile("Local.Ini",
                    "[MSOffice]\r\nMSPhEditor=1\r\n[Wash Options]\r\nSchedule=" +
                        std::string(300, 'x') + "\r\n");
  EXPECT_EQ(ReadIniValue(profile, "msoffice", "MSPHEditor", ini), "1");
  EXPECT_EQ(ReadIniValue(profile, "MSOffice", "Cookies", ini), "");
  EXPECT_EQ(ReadIniValue(profile, "Wash Options", "Schedule", ini), std::string(254, 'x'));
}

TEST_F(Win32ProfileStringsTest, WriteReplacesInPlaceAddsSectionsAndKeepsTheOtherLines) {
  const std::string before =
      "; written by hand\r\n[MSOffice]\r\nMSWord=0\r\nMSPhEditor=0\r\nMSExcel=1\r\n";
  sandbox.WriteFile("Local.Ini", before);
  EXPECT_TRUE(WriteIniValue(profile, "MSOFFICE", "MSPHEditor", "1", ini));
  EXPECT_TRUE(WriteIniValue(profile, "Wash Options", "AfterClose", "1", ini));
  const std::string after = sandbox.ReadFile("Local.Ini");
  EXPECT_EQ(after.rfind("; written by hand\r\n[MSOffice]\r\nMSWord=0\r\n", 0), 0u) << after;
  const auto added = after.find("[Wash Options]\r\nAfterClose=1\r\n");
  EXPECT_NE(added, std::string::npos) << after;
  EXPECT_LT(after.find("=1\r\nMSExcel=1\r\n"), added) << after;
  EXPECT_EQ(ReadIniValue(profile, "MSOffice", "MSPhEditor", ini), "1");
}

TEST_F(Win32ProfileStringsTest, FileStaysInTheAnsiCodePage) {
  const std::string text = "Gr\xC3\xBC\xC3\x9F" "e";  // "Grüße"
  EXPECT_TRUE(WriteIniValue(profile, "Custom", "Name", text, ini));
  EXPECT_EQ(sandbox.ReadFile("Local.Ini").find('\xEF'), std::string::npos) << "no byte-order mark";
  EXPECT_EQ(ReadIniValue(profile, "Custom", "Name", ini), text);
}

TEST_F(Win32ProfileStringsTest, EmptyFileNameReadsTheDefaultAndWritesNothing) {
  std::string value = "stale";
  EXPECT_EQ(profile.GetString("Standard Options", "FindHistory", "dflt", value, 255, ""), 4u);
  EXPECT_EQ(value, "dflt");
  EXPECT_FALSE(WriteIniValue(profile, "QuorvaneProbe", "Written", "1", ""));
  // Nothing went to the Windows folder's own profile file either.
  EXPECT_EQ(profile.GetString("QuorvaneProbe", "Written", "", value, 255, "win.ini"), 0u);
}

}  // namespace
}  // namespace quorvane::win32
