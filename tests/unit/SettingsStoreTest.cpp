// The settings file as the program reads and writes it, over an in-memory profile file.

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "core/GlobalFunctions.h"
#include "core/SettingsKeys.h"
#include "fakes/FakeProfileStrings.h"

namespace quorvane {
namespace {

constexpr std::string_view kIni = "C:\\Program Files\\Quorvane\\Local.Ini";

class SettingsStoreTest : public ::testing::Test {
 protected:
  fakes::FakeProfileStrings profile;
  Settings settings{profile, std::string(kIni)};
};

TEST_F(SettingsStoreTest, ReadsAsThePlatformHandsValuesOut) {
  EXPECT_EQ(settings.Read(keys::FindHistory), "");  // no file yet
  profile.SetFileContent(
      kIni, "[MSOffice]\r\nMSPhEditor=1\r\n[Wash Options]\r\nSchedule=" + std::string(300, 'x') +
                "\r\n[IEOptions]\r\n  Cookies  =  1  \r\n");
  // Section, key and file name match without regard to case.
  EXPECT_EQ(
      ReadIniValue(profile, "msoffice", "msphEDITOR", "c:\\PROGRAM FILES\\quorvane\\local.ini"),
      "1");
  EXPECT_EQ(settings.Read(keys::Schedule), std::string(254, 'x'));
  // Blanks around the equals sign are not part of the value.
  EXPECT_EQ(settings.Read(keys::IECookies), "1");
  EXPECT_EQ(settings.Read(keys::IE), "");
}

TEST_F(SettingsStoreTest, OnlyExactlyOneIsOn) {
  profile.SetFileContent(kIni,
                         "[Standard Options]\r\nFindHistory=1\r\nRunHistory=yes\r\n"
                         "RecycleBin=true\r\nTempFiles=0\r\nMediaPlayer=\r\nScanTempFiles=01\r\n"
                         "DocumentHistory=2\r\n[IEOptions]\r\nIE=\"1\"\r\n");
  EXPECT_TRUE(settings.IsOn(keys::FindHistory));
  EXPECT_TRUE(settings.IsOn(keys::IE));  // one pair of quotes is not part of the value
  for (const auto& key : {keys::RunHistory, keys::RecycleBin, keys::TempFiles, keys::MediaPlayer,
                          keys::ScanTempFiles, keys::DocumentHistory, keys::IECookies}) {
    EXPECT_FALSE(settings.IsOn(key)) << key.key;
  }
}

TEST_F(SettingsStoreTest, WriteChangesOnlyItsOwnLine) {
  EXPECT_TRUE(settings.Write(keys::IE, "0"));
  EXPECT_EQ(profile.FileContent(kIni), "[IEOptions]\r\nIE=0\r\n");

  profile.SetFileContent(kIni, "[MSOffice]\r\nMSWord=0\r\nMSPHEditor=0\r\n\r\n[X]\r\n");
  EXPECT_TRUE(settings.Write(keys::MSPhEditor, "1"));  // keeps the spelling the line had
  EXPECT_TRUE(settings.Write(keys::MSExcel, "1"));     // goes to the end of its section
  EXPECT_EQ(profile.FileContent(kIni),
            "[MSOffice]\r\nMSWord=0\r\nMSPHEditor=1\r\nMSExcel=1\r\n\r\n[X]\r\n");

  const std::string before =
      "; kept as written\r\n[Standard Options]\r\n  FindHistory = 1 \r\nodd line\n"
      "[Empty]\r\n\tTab=\"q\"";
  profile.SetFileContent(kIni, before);
  EXPECT_TRUE(settings.Write(keys::AfterClose, "1"));
  EXPECT_EQ(profile.FileContent(kIni), before + "\r\n[Wash Options]\r\nAfterClose=1\r\n");
}

TEST(SettingsStoreFailures, NoFileNameOrAFailedWriteIsNotReportedAsSuccess) {
  fakes::FakeProfileStrings profile;
  profile.SetFileContent("", "[Standard Options]\r\nFindHistory=1\r\n");
  const Settings settings(profile, "");
  EXPECT_FALSE(settings.IsOn(keys::FindHistory));
  EXPECT_FALSE(settings.Write(keys::RunHistory, "1"));
  EXPECT_EQ(settings.Read(keys::RunHistory), "");

  profile.SetFileContent(kIni, "[IEOptions]\r\nIE=0\r\n");
  profile.failWrites = true;
  EXPECT_FALSE(WriteIniValue(profile, "IEOptions", "IE", "1", kIni));
  EXPECT_EQ(ReadIniValue(profile, "IEOptions", "IE", kIni), "0");
}

// A platform whose calls fail in ways the fake never does.
class BrokenProfile final : public ProfileStrings {
 public:
  std::uint32_t GetString(std::string_view, std::string_view, std::string_view, std::string& value,
                          std::uint32_t capacity, std::string_view) override {
    lastCapacity = capacity;
    if (throwOnRead) throw std::runtime_error("read failed");
    value = "abcdef";  // more than the platform says it copied
    return 3;
  }
  bool WriteString(std::string_view, std::string_view, std::string_view,
                   std::string_view) override {
    throw std::runtime_error("write failed");
  }
  bool throwOnRead = false;
  std::uint32_t lastCapacity = 0;
};

TEST(SettingsStoreFailures, ReadTakesTheReportedCountAndErrorsAreResumed) {
  BrokenProfile profile;
  EXPECT_EQ(ReadIniValue(profile, "S", "K", kIni), "abc");
  EXPECT_EQ(profile.lastCapacity, 255u);
  profile.throwOnRead = true;
  EXPECT_EQ(ReadIniValue(profile, "S", "K", kIni), "");
  EXPECT_FALSE(WriteIniValue(profile, "S", "K", "1", kIni));
}

}  // namespace
}  // namespace quorvane
