#include <gtest/gtest.h>

#include <string>

#include "core/GlobalFunctions.h"
#include "core/SettingsKeys.h"
#include "fakes/FakeProfileStrings.h"

namespace quorvane {
namespace {

constexpr std::string_view kIni = "C:\\Program Files\\Quorvane\\Local.Ini";

TEST(SettingsStoreTest, ReadsTrimmedValuesOnlyExactlyOneIsOnAndWritesOnlyItsOwnLineOrFails) {
  fakes::FakeProfileStrings profile;
  const Settings settings{profile, std::string(kIni)};
  profile.SetFileContent(kIni, "[Wash Options]\r\nSchedule=" + std::string(300, 'x') +
                                   "\r\n[IEOptions]\r\n  Cookies  =  1  \r\nIE=\"1\"\r\n"
                                   "[Standard Options]\r\nFindHistory=01\r\nRunHistory=true\r\n");
  EXPECT_EQ(ReadIniValue(profile, "ieoptions", "COOKIES", "c:\\PROGRAM FILES\\quorvane\\local.ini"),
            "1");
  EXPECT_EQ(settings.Read(keys::Schedule), std::string(254, 'x'));
  EXPECT_TRUE(settings.IsOn(keys::IECookies));
  EXPECT_TRUE(settings.IsOn(keys::IE));  // one pair of quotes is not part of the value
  for (const auto& key : {keys::FindHistory, keys::RunHistory, keys::TempFiles}) {
    EXPECT_FALSE(settings.IsOn(key)) << key.key;
  }

  // A write changes only its own line.
  profile.SetFileContent(kIni, "; kept\r\n[MSOffice]\r\nMSPHEditor=0\r\n\r\n[X]\r\n");
  EXPECT_TRUE(settings.Write(keys::MSPhEditor, "1"));  // keeps the spelling the line had
  EXPECT_TRUE(settings.Write(keys::MSExcel, "1"));     // goes to the end of its section
  EXPECT_TRUE(settings.Write(keys::IE, "0"));
  EXPECT_EQ(
      profile.FileContent(kIni),
      "; kept\r\n[MSOffice]\r\nMSPHEditor=1\r\nMSExcel=1\r\n\r\n[X]\r\n[IEOptions]\r\nIE=0\r\n");

  // Failures are never reported as success.
  profile.SetFileContent("", "[Standard Options]\r\nFindHistory=1\r\n");
  const Settings noFile(profile, "");
  EXPECT_FALSE(noFile.IsOn(keys::FindHistory));
  EXPECT_FALSE(noFile.Write(keys::RunHistory, "1"));
  profile.failWrites = true;
  EXPECT_FALSE(WriteIniValue(profile, "IEOptions", "IE", "1", kIni));
}

}  // namespace
}  // namespace quorvane
