#include <gtest/gtest.h>

#include <string>

#include "core/GlobalFunctions.h"
#include "core/SettingsKeys.h"
#include "fakes/FakeProfileStrings.h"

namespace quorvane {
namespace {

constexpr std::string_view kIni = "C:\\Program Files\\Quorvane\\Local.Ini";

TEST(SettingsStoreTest, ReadsAtMost254CharactersOnlyExactlyOneIsOnAndFailuresAreNoSuccess) {
  fakes::FakeProfileStrings profile;
  const Settings settings{profile, std::string(kIni)};
  profile.SetFileContent(kIni, "[Wash Options]\r\nSchedule=" + std::string(300, 'x') +
                                   "\r\n[IEOptions]\r\nCookies=1\r\n"
                                   "[Standard Options]\r\nFindHistory=01\r\nRunHistory=true\r\n");
  EXPECT_EQ(settings.Read(keys::Schedule), std::string(254, 'x'));
  EXPECT_TRUE(settings.IsOn(keys::IECookies));
  for (const auto& key : {keys::FindHistory, keys::RunHistory, keys::TempFiles}) {
    EXPECT_FALSE(settings.IsOn(key)) << key.key;
  }

  // Without a settings file nothing is on and nothing is stored.
  profile.SetFileContent("", "[Standard Options]\r\nFindHistory=1\r\n");
  const Settings noFile(profile, "");
  EXPECT_FALSE(noFile.IsOn(keys::FindHistory));
  EXPECT_FALSE(noFile.Write(keys::RunHistory, "1"));
  profile.failWrites = true;
  EXPECT_FALSE(WriteIniValue(profile, "IEOptions", "IE", "1", kIni));
}

}  // namespace
}  // namespace quorvane
