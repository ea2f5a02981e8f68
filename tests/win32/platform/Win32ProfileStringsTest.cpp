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

TEST_F(Win32ProfileStringsTest, SectionAndKeyMatchWithoutRegardToCase) {
  sandbox.WriteFile("Local.Ini", "[MSOffice]\r\nMSPhEditor=1\r\n");
  EXPECT_EQ(ReadIniValue(profile, "MSOffice", "MSPHEditor", ini), "1");
  EXPECT_EQ(ReadIniValue(profile, "msoffice", "msphEDITOR", ini), "1");
}

TEST_F(Win32ProfileStringsTest, MissingFileSectionOrKeyReadsEmpty) {
  EXPECT_EQ(ReadIniValue(profile, "IEOptions", "IE", ini), "");
  sandbox.WriteFile("Local.Ini", "[IEOptions]\r\nCookies=1\r\n");
  EXPECT_EQ(ReadIniValue(profile, "IEOptions", "IE", ini), "");
  EXPECT_EQ(ReadIniValue(profile, "MSOffice", "Cookies", ini), "");
}

TEST_F(Win32ProfileStringsTest, LongValueIsCutTo254Characters) {
  sandbox.WriteFile("Local.Ini", "[Wash Options]\r\nSchedule=" + std::string(300, 'x') + "\r\n");
  EXPECT_EQ(ReadIniValue(profile, "Wash Options", "Schedule", ini), std::string(254, 'x'));
}

TEST_F(Win32ProfileStringsTest, WriteAddsASectionAndKeepsTheOtherLines) {
  const std::string before =
      "; written by hand\r\n[Standard Options]\r\nFindHistory=1\r\nRunHistory=0\r\n";
  sandbox.WriteFile("Local.Ini", before);
  EXPECT_TRUE(WriteIniValue(profile, "Wash Options", "AfterClose", "1", ini));
  const std::string after = sandbox.ReadFile("Local.Ini");
  EXPECT_EQ(after.substr(0, before.size()), before);
  EXPECT_NE(after.find("[Wash Options]\r\nAfterClose=1\r\n", before.size()), std::string::npos)
      << after;
  EXPECT_EQ(ReadIniValue(profile, "Wash Options", "AfterClose", ini), "1");
  EXPECT_EQ(ReadIniValue(profile, "Standard Options", "FindHistory", ini), "1");
}

TEST_F(Win32ProfileStringsTest, WriteReplacesTheValueWhereItStands) {
  sandbox.WriteFile(
      "Local.Ini",
      "[MSOffice]\r\nMSWord=0\r\nMSPhEditor=0\r\nMSExcel=1\r\n[IEOptions]\r\nIE=1\r\n");
  EXPECT_TRUE(WriteIniValue(profile, "MSOFFICE", "MSPHEditor", "1", ini));
  const std::string after = sandbox.ReadFile("Local.Ini");
  EXPECT_NE(after.find("MSWord=0\r\n"), std::string::npos) << after;
  EXPECT_LT(after.find("MSWord=0"), after.find("=1\r\nMSExcel=1")) << after;
  EXPECT_NE(after.find("[IEOptions]\r\nIE=1\r\n"), std::string::npos) << after;
  EXPECT_EQ(ReadIniValue(profile, "MSOffice", "MSPhEditor", ini), "1");
}

TEST_F(Win32ProfileStringsTest, FileStaysInTheAnsiCodePage) {
  // "Grüße" in UTF-8: the file holds it as the code page's single bytes, without a mark.
  EXPECT_TRUE(WriteIniValue(profile, "Custom", "Name",
                            "Gr\xC3\xBC\xC3\x9F"
                            "e",
                            ini));
  const std::string after = sandbox.ReadFile("Local.Ini");
  EXPECT_EQ(after.find('\xEF'), std::string::npos) << "no byte-order mark";
  EXPECT_EQ(ReadIniValue(profile, "Custom", "Name", ini),
            "Gr\xC3\xBC\xC3\x9F"
            "e");
}

TEST_F(Win32ProfileStringsTest, EmptyFileNameReadsTheDefaultAndWritesNothing) {
  std::string value = "stale";
  EXPECT_EQ(profile.GetString("Standard Options", "FindHistory", "dflt", value, 255, ""), 4u);
  EXPECT_EQ(value, "dflt");
  EXPECT_EQ(ReadIniValue(profile, "Standard Options", "FindHistory", ""), "");
  EXPECT_FALSE(WriteIniValue(profile, "QuorvaneProbe", "Written", "1", ""));
  // Nothing went to the Windows folder's own profile file either.
  EXPECT_EQ(profile.GetString("QuorvaneProbe", "Written", "", value, 255, "win.ini"), 0u);
}

}  // namespace
}  // namespace quorvane::win32
