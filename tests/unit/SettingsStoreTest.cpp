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

TEST_F(SettingsStoreTest, SectionAndKeyMatchWithoutRegardToCase) {
  profile.SetFileContent(kIni, "[MSOffice]\r\nMSPhEditor=1\r\n");
  EXPECT_EQ(settings.Read(keys::MSPHEditor), "1");
  EXPECT_EQ(ReadIniValue(profile, "msoffice", "msphEDITOR", kIni), "1");
  // The file name, too, is a path on a file system that ignores case.
  EXPECT_EQ(
      ReadIniValue(profile, "MSOffice", "MSPhEditor", "c:\\PROGRAM FILES\\quorvane\\local.ini"),
      "1");
}

TEST_F(SettingsStoreTest, MissingFileSectionOrKeyReadsEmpty) {
  EXPECT_EQ(settings.Read(keys::FindHistory), "");
  profile.SetFileContent(kIni, "[Standard Options]\r\nRunHistory=1\r\n");
  EXPECT_EQ(settings.Read(keys::FindHistory), "");
  EXPECT_EQ(settings.Read(keys::IE), "");
  EXPECT_EQ(settings.Read(keys::RunHistory), "1");
}

TEST_F(SettingsStoreTest, LongValueIsCutTo254Characters) {
  const std::string longValue(300, 'x');
  profile.SetFileContent(kIni, "[Wash Options]\r\nSchedule=" + longValue + "\r\n");
  EXPECT_EQ(settings.Read(keys::Schedule), std::string(254, 'x'));

  profile.SetFileContent(kIni, "[Wash Options]\r\nSchedule=" + std::string(254, 'y') + "\r\n");
  EXPECT_EQ(settings.Read(keys::Schedule), std::string(254, 'y'));
}

TEST_F(SettingsStoreTest, OnlyExactlyOneIsOn) {
  profile.SetFileContent(kIni,
                         "[Standard Options]\r\nFindHistory=1\r\nRunHistory=yes\r\n"
                         "RecycleBin=true\r\nTempFiles=0\r\nMediaPlayer=\r\nScanTempFiles=01\r\n"
                         "DocumentHistory=2\r\n");
  EXPECT_TRUE(settings.IsOn(keys::FindHistory));
  EXPECT_FALSE(settings.IsOn(keys::RunHistory));
  EXPECT_FALSE(settings.IsOn(keys::RecycleBin));
  EXPECT_FALSE(settings.IsOn(keys::TempFiles));
  EXPECT_FALSE(settings.IsOn(keys::MediaPlayer));
  EXPECT_FALSE(settings.IsOn(keys::ScanTempFiles));
  EXPECT_FALSE(settings.IsOn(keys::DocumentHistory));
  EXPECT_FALSE(settings.IsOn(keys::IE));  // absent
}

TEST_F(SettingsStoreTest, ValueIsReadAsThePlatformHandsItOut) {
  // Blanks around the equals sign and one pair of quotes are not part of the value.
  profile.SetFileContent(kIni, "[IEOptions]\r\n  Cookies  =  1  \r\nIE=\"1\"\r\n");
  EXPECT_TRUE(settings.IsOn(keys::IECookies));
  EXPECT_TRUE(settings.IsOn(keys::IE));
}

TEST_F(SettingsStoreTest, WriteReplacesTheValueWhereItStands) {
  profile.SetFileContent(kIni, "[MSOffice]\r\nMSWord=0\r\nMSPHEditor=0\r\nMSExcel=1\r\n");
  EXPECT_TRUE(settings.Write(keys::MSPhEditor, "1"));
  // The line keeps the spelling it had; only its value changed.
  EXPECT_EQ(profile.FileContent(kIni), "[MSOffice]\r\nMSWord=0\r\nMSPHEditor=1\r\nMSExcel=1\r\n");
  EXPECT_EQ(settings.Read(keys::MSPHEditor), "1");
}

TEST_F(SettingsStoreTest, WriteAddsTheKeyToItsSection) {
  profile.SetFileContent(kIni, "[MSOffice]\r\nMSWord=1\r\n\r\n[Wash Options]\r\nAddBleach=1\r\n");
  EXPECT_TRUE(settings.Write(keys::MSExcel, "1"));
  EXPECT_EQ(profile.FileContent(kIni),
            "[MSOffice]\r\nMSWord=1\r\nMSExcel=1\r\n\r\n[Wash Options]\r\nAddBleach=1\r\n");
}

TEST_F(SettingsStoreTest, WriteAddsAMissingSectionAndKeepsEveryOtherLineByteForByte) {
  const std::string before =
      "; kept as written\r\n[Standard Options]\r\n  FindHistory = 1 \r\nodd line\n"
      "[Empty]\r\n\tTab=\"q\"";
  profile.SetFileContent(kIni, before);
  EXPECT_TRUE(settings.Write(keys::AfterClose, "1"));
  EXPECT_EQ(profile.FileContent(kIni), before + "\r\n[Wash Options]\r\nAfterClose=1\r\n");
  EXPECT_EQ(settings.Read(keys::AfterClose), "1");
  EXPECT_EQ(settings.Read(keys::FindHistory), "1");
}

TEST_F(SettingsStoreTest, WriteCreatesAMissingFile) {
  EXPECT_TRUE(settings.Write(keys::IE, "0"));
  EXPECT_EQ(profile.FileContent(kIni), "[IEOptions]\r\nIE=0\r\n");
}

TEST(SettingsStoreWithoutFile, EmptyFileNameReadsEmptyAndWritesNothing) {
  fakes::FakeProfileStrings profile;
  profile.SetFileContent("", "[Standard Options]\r\nFindHistory=1\r\n");
  const Settings settings(profile, "");
  EXPECT_EQ(settings.Read(keys::FindHistory), "");
  EXPECT_FALSE(settings.IsOn(keys::FindHistory));
  EXPECT_FALSE(settings.Write(keys::RunHistory, "1"));
  EXPECT_EQ(settings.Read(keys::RunHistory), "");
}

TEST(SettingsStoreFailures, FailedWriteIsNotReportedAsSuccess) {
  fakes::FakeProfileStrings profile;
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

TEST(SettingsStoreFailures, ReadReturnsTheReportedCountOfCharacters) {
  BrokenProfile profile;
  EXPECT_EQ(ReadIniValue(profile, "S", "K", kIni), "abc");
  EXPECT_EQ(profile.lastCapacity, 255u);
}

TEST(SettingsStoreFailures, ErrorsAreResumed) {
  BrokenProfile profile;
  profile.throwOnRead = true;
  EXPECT_EQ(ReadIniValue(profile, "S", "K", kIni), "");
  EXPECT_FALSE(WriteIniValue(profile, "S", "K", "1", kIni));
}

}  // namespace
}  // namespace quorvane
