#include "clean/urlhistory/CURLHistory.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clean/urlhistory/AutomationDate.h"
#include "fakes/FakeUrlHistoryStore.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;

// File times of whole days: 1 January 2000 and 30 December 1899, 00:00.
constexpr std::uint64_t kHour = 36'000'000'000;
constexpr std::uint64_t kJanuary2000 = 125'911'584'000'000'000;
constexpr std::uint64_t kDecember1899 = 94'353'120'000'000'000;

std::vector<std::string> Urls(const CURLHistory& history) {
  std::vector<std::string> urls;
  for (const URLHistoryItem& item : history.NewEnum()) urls.push_back(item.URL());
  return urls;
}

TEST(CURLHistoryTest, ARefreshFiltersByPrefixAndRemoveDropsOneItemWithoutIt) {
  fakes::FakeUrlHistoryStore store;
  for (const char* url : {"http://a.example/", "ftp://b.example/", "http://c.example/"}) {
    store.entries.push_back({url, "", kJanuary2000, kJanuary2000, kDecember1899, 0});
  }
  CURLHistory history = CURLHistory::Create(store).value();
  ASSERT_EQ(history.AddURL("http://d.example/", "D", 0), history_status::Ok);
  EXPECT_EQ(history.Count(), 3u);
  ASSERT_EQ(history.Refresh("http://"), history_status::Ok);
  EXPECT_THAT(Urls(history),
              ElementsAre("http://a.example/", "http://c.example/", "http://d.example/"));

  EXPECT_EQ(history.Remove(0), history_status::InvalidArgument);
  EXPECT_EQ(history.Remove(4), history_status::InvalidArgument);
  ASSERT_EQ(history.Remove(1), history_status::Ok);
  EXPECT_THAT(Urls(history), ElementsAre("http://c.example/", "http://d.example/"));
  EXPECT_EQ(store.entries.size(), 3u);

  // Dates are local; an item outlives its collection and reads the same date twice.
  store.localOffset = static_cast<std::int64_t>(2 * kHour);
  const URLHistoryItem item = history.Item(1).value();
  history = CURLHistory::Create(store).value();
  EXPECT_DOUBLE_EQ(item.LastVisited().value(), 36526.0 + 2.0 / 24);
  EXPECT_DOUBLE_EQ(item.LastVisited().value(), 36526.0 + 2.0 / 24);
  EXPECT_DOUBLE_EQ(item.Expires().value(), 2.0 / 24);
  store.utcToLocalResult = history_status::InvalidArgument;
  EXPECT_EQ(item.LastUpdated().status(), history_status::InvalidArgument);

  store.nextFailsAfter = 1;  // a listing that fails part-way keeps what was read
  EXPECT_EQ(history.Refresh(), history_status::Failed);
  EXPECT_THAT(Urls(history), ElementsAre("ftp://b.example/"));
  store.FailEveryCall(history_status::NotImplemented);
  EXPECT_EQ(history.Clear(), history_status::NotImplemented);
  EXPECT_EQ(CURLHistory::Create(store).status(), history_status::NotImplemented);
}

TEST(AutomationDateTest, CountsDaysFromTheEndOf1899UpToTheYear9999) {
  const std::uint64_t lastDay = kDecember1899 + 2'958'465ull * 24 * kHour;  // 31 December 9999
  const std::pair<std::uint64_t, std::optional<double>> rows[] = {
      {kJanuary2000 + 6 * kHour + 9'999'999, 36526.25},  // fractions of a second are dropped
      {kDecember1899 - 18 * kHour, -1.25},  // the time is added away from zero before 1900
      {lastDay + 23 * kHour, 2958465.0 + 23.0 / 24},
      {lastDay + 24 * kHour, std::nullopt},
      {~0ull, std::nullopt}};
  for (const auto& [fileTime, expected] : rows) {
    SCOPED_TRACE(fileTime);
    EXPECT_EQ(FileTimeToAutomationDate(fileTime), expected);
  }
}

}  // namespace
}  // namespace quorvane
