#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "companion/AutoClean.h"
#include "companion/CommandLine.h"
#include "companion/Schedule.h"
#include "fakes/FakeProfileStrings.h"
#include "fakes/FakeUserSettings.h"

namespace quorvane::companion {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

UtcSeconds At(std::string_view text) {
  const auto time = ParseUtc(text);
  EXPECT_TRUE(time) << text;
  return time.value_or(0);
}

TEST(ScheduleTest, EachIntervalAddsItsLengthAndAMonthKeepsTheDayOrTakesTheMonthsLast) {
  const UtcSeconds start = At("2026-03-14T22:50:00Z");
  const std::pair<ScheduleInterval, const char*> fixed[] = {
      {ScheduleInterval::QuarterHour, "2026-03-14T23:05:00Z"},
      {ScheduleInterval::HalfHour, "2026-03-14T23:20:00Z"},
      {ScheduleInterval::Hour, "2026-03-14T23:50:00Z"},
      {ScheduleInterval::EightHours, "2026-03-15T06:50:00Z"},
      {ScheduleInterval::Day, "2026-03-15T22:50:00Z"},
      {ScheduleInterval::Week, "2026-03-21T22:50:00Z"},
      {ScheduleInterval::Month, "2026-04-14T22:50:00Z"}};
  for (const auto& [interval, expected] : fixed) {
    EXPECT_EQ(FormatUtc(AddInterval(start, interval)), expected);
  }
  const std::pair<const char*, const char*> months[] = {
      {"2026-01-31T08:00:00Z", "2026-02-28T08:00:00Z"},
      {"2028-01-31T08:00:00Z", "2028-02-29T08:00:00Z"},  // leap year
      {"2026-03-31T23:59:59Z", "2026-04-30T23:59:59Z"},
      {"2026-12-31T00:00:00Z", "2027-01-31T00:00:00Z"},  // across the year
      {"2026-02-28T12:00:00Z", "2026-03-28T12:00:00Z"}};
  for (const auto& [from, expected] : months) {
    EXPECT_EQ(FormatUtc(AddInterval(At(from), ScheduleInterval::Month)), expected) << from;
  }
}

TEST(ScheduleTest, StoredTimesReadBackExactlyAndAnythingElseIsDamaged) {
  for (const char* text : {"1970-01-01T00:00:00Z", "2026-12-07T03:21:11Z", "2028-02-29T23:59:59Z",
                           "1969-12-31T23:59:59Z"}) {
    EXPECT_EQ(FormatUtc(At(text)), text);
  }
  EXPECT_EQ(At("1970-01-02T00:00:01Z"), 86401);
  for (const char* damaged :
       {"", "2026-12-07", "2026-12-07 03:21:11Z", "2026-12-07T03:21:11", "2026-13-01T00:00:00Z",
        "2026-02-29T00:00:00Z", "2026-12-07T24:00:00Z", "2026-12-07T03:60:00Z",
        "2026-12-07T03:21:1xZ", "+026-12-07T03:21:11Z", "2026-12-07T03:21:11Z\n"}) {
    EXPECT_FALSE(ParseUtc(damaged)) << damaged;
  }
}

TEST(ScheduleTest, StoredIntervalsAndDueTimes) {
  EXPECT_EQ(IntervalFromSetting("3"), ScheduleInterval::EightHours);
  EXPECT_EQ(IntervalFromSetting("6"), ScheduleInterval::Month);
  // What the list shows for values it has no entry for: the first entry.
  for (const char* unusable : {"", "7", "-1", "x", "2.5", "99999999999"}) {
    EXPECT_EQ(IntervalFromSetting(unusable), ScheduleInterval::QuarterHour) << unusable;
  }

  const UtcSeconds last = At("2026-01-31T10:00:00Z");
  EXPECT_FALSE(CleanIsDue(last, ScheduleInterval::Month, At("2026-02-28T09:59:59Z")));
  EXPECT_TRUE(CleanIsDue(last, ScheduleInterval::Month, At("2026-02-28T10:00:00Z")));
  EXPECT_FALSE(CleanIsDue(last, ScheduleInterval::Hour, last));
  // Missed while the machine was off: due at the first check.
  EXPECT_TRUE(CleanIsDue(last, ScheduleInterval::Week, At("2026-06-01T00:00:00Z")));
  // Never cleaned, or a clock set back to before the last clean.
  EXPECT_TRUE(CleanIsDue(std::nullopt, ScheduleInterval::Month, last));
  EXPECT_TRUE(CleanIsDue(last, ScheduleInterval::Month, last - 1));
}

class FixedClock final : public Clock {
 public:
  UtcSeconds NowUtc() override { return now; }
  std::string LocalTimeText() override { return "local"; }
  UtcSeconds now = 0;
};

class AutoCleanerTest : public ::testing::Test {
 protected:
  void Options(const std::string& washOptions) {
    profile.SetFileContent(kIni, "[Wash Options]\r\n" + washOptions);
  }
  std::string LastClean() { return store.GetSetting("Quorvane", "Kelverin", "LastClean", "-"); }

  const std::string kIni = "C:\\Quorvane\\Local.Ini";
  fakes::FakeProfileStrings profile;
  fakes::FakeUserSettings store;
  FixedClock clock;
  Settings settings{profile, kIni};
  std::vector<std::string> cleans;
  AutoCleaner cleaner{settings, store, clock,
                      [this](CleanReason reason) { cleans.emplace_back(ReasonText(reason)); }};
};

TEST_F(AutoCleanerTest, AStartDoesWhatTheOptionsSay) {
  struct Case {
    const char* options;
    bool logon;  // started by the Run value, not with --resident
    std::vector<std::string> cleans;
    bool staysRunning;
  };
  const Case cases[] = {
      {"", true, {}, false},
      {"RunAutowashStart=1\r\n", true, {"logon"}, false},
      {"RunAutowashStart=1\r\n", false, {}, false},
      {"RunAutowashShutdown=1\r\n", true, {}, true},
      {"RunAutowashStart=1\r\nRunAutowashShutdown=1\r\n", true, {"logon"}, true},
      // A logon clean counts as the last clean, so the schedule waits a whole interval.
      {"RunAutowashStart=1\r\nRunAutowash=1\r\n", true, {"logon"}, true},
      {"RunAutowash=1\r\n", true, {"schedule"}, true},
      {"RunAutowash=1\r\n", false, {"schedule"}, true},
      // Only exactly "1" is on.
      {"RunAutowashStart=true\r\nRunAutowashShutdown=yes\r\nRunAutowash=2\r\n", true, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.options) + (c.logon ? " at logon" : " resident"));
    store.DeleteSetting("Quorvane", "Kelverin", "");
    cleans.clear();
    Options(c.options);
    if (c.logon) cleaner.CleanAtLogon();
    EXPECT_EQ(cleaner.Tick(), c.staysRunning);
    EXPECT_EQ(cleans, c.cleans);
  }
}

TEST_F(AutoCleanerTest, TheScheduleCleansWhenDueAndStoresEachCleansStart) {
  Options("RunAutowash=1\r\nSchedule=2\r\n");
  clock.now = At("2026-12-07T10:00:00Z");
  store.SaveSetting("Quorvane", "Kelverin", "LastClean", "2026-12-07T09:30:00Z");
  EXPECT_TRUE(cleaner.Tick());
  EXPECT_THAT(cleans, IsEmpty());

  clock.now = At("2026-12-07T10:30:00Z");
  EXPECT_TRUE(cleaner.Tick());
  EXPECT_THAT(cleans, ElementsAre("schedule"));
  EXPECT_EQ(LastClean(), "2026-12-07T10:30:00Z");
  clock.now += 59 * 60;
  EXPECT_TRUE(cleaner.Tick());
  EXPECT_EQ(cleans.size(), 1u);

  // A damaged stamp, or one from a clock that was set back, cleans at once and is rewritten.
  for (const char* stamp : {"garbage", "2027-01-01T00:00:00Z"}) {
    store.SaveSetting("Quorvane", "Kelverin", "LastClean", stamp);
    cleans.clear();
    EXPECT_TRUE(cleaner.Tick());
    EXPECT_THAT(cleans, ElementsAre("schedule")) << stamp;
    EXPECT_EQ(LastClean(), FormatUtc(clock.now));
  }

  // The options are read again at each check: a changed interval counts at once, and with
  // every option off the copy ends.
  Options("RunAutowash=1\r\nSchedule=0\r\n");
  clock.now += 15 * 60;
  cleans.clear();
  EXPECT_TRUE(cleaner.Tick());
  EXPECT_THAT(cleans, ElementsAre("schedule"));
  Options("RunAutowash=0\r\n");
  clock.now += 24 * 3600;
  EXPECT_FALSE(cleaner.Tick());
  EXPECT_EQ(cleans.size(), 1u);
}

TEST_F(AutoCleanerTest, TheEndOfTheSessionCleansOnceWhenTheOptionIsOn) {
  Options("RunAutowash=1\r\n");
  cleaner.SessionEnding();
  EXPECT_THAT(cleans, IsEmpty());

  Options("RunAutowashShutdown=1\r\n");
  clock.now = At("2026-12-07T18:00:00Z");
  cleaner.SessionEnding();
  cleaner.SessionEnding();  // the query, then the end itself
  EXPECT_THAT(cleans, ElementsAre("shutdown"));
  EXPECT_EQ(LastClean(), "2026-12-07T18:00:00Z");
  cleaner.SessionContinues();  // the user cancelled the shutdown
  cleaner.SessionEnding();
  EXPECT_THAT(cleans, ElementsAre("shutdown", "shutdown"));
}

Command Parsed(std::vector<std::string> arguments) {
  const auto parsed = ParseCommandLine(arguments);
  EXPECT_TRUE(std::holds_alternative<Command>(parsed))
      << ::testing::PrintToString(arguments) << ": " << std::get<std::string>(parsed);
  return std::holds_alternative<Command>(parsed) ? std::get<Command>(parsed) : Command{};
}

TEST(CommandLineTest, ModesAndTheirRefusals) {
  EXPECT_EQ(Parsed({}).mode, Mode::Logon);
  EXPECT_EQ(Parsed({"--resident"}).mode, Mode::Resident);
  EXPECT_EQ(Parsed({"--stop"}).mode, Mode::Stop);
  EXPECT_EQ(Parsed({"--version"}).mode, Mode::Version);
  EXPECT_EQ(Parsed({"--help"}).mode, Mode::Help);
  for (const auto& arguments :
       std::vector<std::vector<std::string>>{{"--preview", "--json"}, {"--json", "--preview"}}) {
    const Command command = Parsed(arguments);
    EXPECT_EQ(command.mode, Mode::Preview);
    EXPECT_TRUE(command.json);
  }
  EXPECT_FALSE(Parsed({"--clean"}).json);

  const std::pair<std::vector<std::string>, std::string> refused[] = {
      {{"--bogus"}, "Unknown argument: --bogus"},
      {{"--clean", "extra"}, "Unknown argument: extra"},
      {{"/clean"}, "Unknown argument: /clean"},
      {{"--CLEAN"}, "Unknown argument: --CLEAN"},
      {{"--clean", "--preview"}, "Only one of the modes can be given: --preview"},
      {{"--json"}, "--json goes with --clean or --preview."},
      {{"--stop", "--json"}, "--json goes with --clean or --preview."},
      {{"--clean", "--json", "--json"}, "--json is given twice."}};
  for (const auto& [arguments, message] : refused) {
    const auto parsed = ParseCommandLine(arguments);
    ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << message;
    EXPECT_EQ(std::get<std::string>(parsed), message);
  }
}

}  // namespace
}  // namespace quorvane::companion
