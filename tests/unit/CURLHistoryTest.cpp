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
using ::testing::IsEmpty;

// File times of whole days: 1 January 2000 and 30 December 1899, 00:00.
constexpr std::uint64_t kTicksPerHour = 36'000'000'000;
constexpr std::uint64_t kJanuary2000 = 125'911'584'000'000'000;
constexpr std::uint64_t kDecember1899 = 94'353'120'000'000'000;

class CURLHistoryTest : public ::testing::Test {
 protected:
  void Seed(const std::string& url, const std::string& title = "") {
    store.entries.push_back({url, title, kJanuary2000, kJanuary2000, kJanuary2000, 0});
  }
  CURLHistory Open() {
    HistoryResult<CURLHistory> history = CURLHistory::Create(store);
    EXPECT_TRUE(history.ok()) << history.status();
    return std::move(history).value();
  }
  static std::vector<std::string> Urls(const CURLHistory& history) {
    std::vector<std::string> urls;
    for (const URLHistoryItem& item : history.NewEnum()) urls.push_back(item.URL());
    return urls;
  }

  fakes::FakeUrlHistoryStore store;
};

TEST_F(CURLHistoryTest, ListsTheStoreInOrderAndOnlyWhatAPrefixSelectsAfterARefresh) {
  Seed("http://a.example.com/");
  Seed("ftp://b.example.com/");
  CURLHistory history = Open();
  EXPECT_THAT(Urls(history), ElementsAre("http://a.example.com/", "ftp://b.example.com/"));
  EXPECT_EQ(store.OpenEnumerators(), 0);

  ASSERT_EQ(history.AddURL("http://c.example.com/", "C", 0), history_status::Ok);
  EXPECT_EQ(history.Count(), 2u);
  ASSERT_EQ(history.Refresh("http://", 0x10), history_status::Ok);
  EXPECT_THAT(Urls(history), ElementsAre("http://a.example.com/", "http://c.example.com/"));
  EXPECT_EQ(store.lastEnumFlags, 0x10u);
  ASSERT_EQ(history.Refresh(), history_status::Ok);
  EXPECT_EQ(history.Count(), 3u);
  EXPECT_EQ(store.lastPrefix, "");
}

TEST_F(CURLHistoryTest, RemoveDropsOneItemWithoutARefreshAndDeleteURLListsAgain) {
  Seed("http://a.example.com/");
  Seed("http://b.example.com/");
  Seed("http://c.example.com/");
  CURLHistory history = Open();
  // Added behind the collection's back: only a refresh lists it.
  store.entries.push_back({"http://new.example.com/", "", 0, 0, 0, 0});

  ASSERT_EQ(history.Remove(1), history_status::Ok);
  EXPECT_THAT(Urls(history), ElementsAre("http://b.example.com/", "http://c.example.com/"));
  EXPECT_FALSE(store.Contains("http://a.example.com/"));

  ASSERT_EQ(history.DeleteURL("http://b.example.com/", 0), history_status::Ok);
  EXPECT_THAT(Urls(history), ElementsAre("http://c.example.com/", "http://new.example.com/"));

  ASSERT_EQ(history.Clear(), history_status::Ok);
  EXPECT_EQ(history.Count(), 0u);
  EXPECT_THAT(store.entries, IsEmpty());
}

TEST_F(CURLHistoryTest, AnIndexOutsideTheListFails) {
  Seed("http://a.example.com/");
  CURLHistory history = Open();

  EXPECT_FALSE(history.Item(0).ok());
  EXPECT_EQ(history.Item(2).status(), history_status::InvalidArgument);
  EXPECT_EQ(history.Remove(0), history_status::InvalidArgument);
  EXPECT_EQ(history.Remove(2), history_status::InvalidArgument);
  EXPECT_EQ(history.Count(), 1u);
  EXPECT_TRUE(store.Contains("http://a.example.com/"));
  ASSERT_TRUE(history.Item(1).ok());
  EXPECT_EQ(history.Item(1).value().URL(), "http://a.example.com/");
}

TEST_F(CURLHistoryTest, DatesAreLocalAutomationDatesAndStable) {
  store.localOffset = static_cast<std::int64_t>(2 * kTicksPerHour);
  store.entries.push_back({"http://a.example.com/", "A", kJanuary2000,
                           kJanuary2000 + 12 * kTicksPerHour, kDecember1899, 0x2});
  CURLHistory history = Open();
  const URLHistoryItem item = history.Item(1).value();
  EXPECT_EQ(item.Title(), "A");
  EXPECT_EQ(item.Flags(), 0x2u);

  const HistoryResult<double> first = item.LastVisited();
  const HistoryResult<double> second = item.LastVisited();
  ASSERT_TRUE(first.ok());
  ASSERT_TRUE(second.ok());
  EXPECT_DOUBLE_EQ(first.value(), 36526.0 + 2.0 / 24);
  EXPECT_EQ(first.value(), second.value());
  EXPECT_DOUBLE_EQ(item.LastUpdated().value(), 36526.0 + 14.0 / 24);
  EXPECT_DOUBLE_EQ(item.Expires().value(), 2.0 / 24);
}

TEST_F(CURLHistoryTest, ADateThePlatformCannotConvertIsAFailure) {
  Seed("http://a.example.com/");
  CURLHistory history = Open();
  store.utcToLocalResult = history_status::InvalidArgument;

  EXPECT_EQ(history.Item(1).value().LastVisited().status(), history_status::InvalidArgument);
}

TEST_F(CURLHistoryTest, ItemsOutliveTheirCollection) {
  Seed("http://a.example.com/", "A");
  std::vector<URLHistoryItem> kept;
  {
    CURLHistory history = Open();
    kept.assign(history.NewEnum().begin(), history.NewEnum().end());
  }
  EXPECT_EQ(store.OpenSessions(), 0);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].Title(), "A");
  EXPECT_DOUBLE_EQ(kept[0].LastVisited().value(), 36526.0);
}

TEST_F(CURLHistoryTest, AStoreThatCannotBeOpenedOrImplementsNothingGivesNoCollection) {
  store.openResult = history_status::Failed;
  EXPECT_EQ(CURLHistory::Create(store).status(), history_status::Failed);
  store.openResult = history_status::Ok;
  store.FailEveryCall(history_status::NotImplemented);
  EXPECT_EQ(CURLHistory::Create(store).status(), history_status::NotImplemented);
  EXPECT_EQ(store.OpenSessions(), 0);
}

TEST_F(CURLHistoryTest, EachFailingCallReportsTheStoresStatus) {
  Seed("http://a.example.com/");
  CURLHistory history = Open();
  store.FailEveryCall(history_status::NotImplemented);

  EXPECT_EQ(history.AddURL("http://b.example.com/", "", 0), history_status::NotImplemented);
  EXPECT_EQ(history.DeleteURL("http://a.example.com/", 0), history_status::NotImplemented);
  EXPECT_EQ(history.Remove(1), history_status::NotImplemented);
  EXPECT_EQ(history.Clear(), history_status::NotImplemented);
  EXPECT_EQ(history.Refresh(), history_status::NotImplemented);
  // Nothing was changed by the failed calls.
  EXPECT_EQ(history.Count(), 1u);
  EXPECT_TRUE(store.Contains("http://a.example.com/"));
}

TEST_F(CURLHistoryTest, AListingThatFailsPartWayKeepsWhatWasRead) {
  Seed("http://a.example.com/");
  Seed("http://b.example.com/");
  Seed("http://c.example.com/");
  CURLHistory history = Open();
  store.nextFailsAfter = 2;

  EXPECT_EQ(history.Refresh(), history_status::Failed);

  EXPECT_THAT(Urls(history), ElementsAre("http://a.example.com/", "http://b.example.com/"));
  EXPECT_EQ(store.OpenEnumerators(), 0);
}

TEST(AutomationDateTest, CountsDaysFromTheEndOf1899WithTheTimeAsFractionUpToTheYear9999) {
  EXPECT_EQ(FileTimeToAutomationDate(kDecember1899), 0.0);
  EXPECT_EQ(FileTimeToAutomationDate(kJanuary2000 + 6 * kTicksPerHour), 36526.25);
  // Days before 1900 count negative with the time added away from zero: 29 December 1899,
  // 06:00, and 1 January 1601, the earliest file time.
  EXPECT_EQ(FileTimeToAutomationDate(kDecember1899 - 18 * kTicksPerHour), -1.25);
  EXPECT_EQ(FileTimeToAutomationDate(0), -109205.0);
  // Fractions of a second are dropped.
  EXPECT_EQ(FileTimeToAutomationDate(kJanuary2000 + 9'999'999), 36526.0);
  EXPECT_EQ(FileTimeToAutomationDate(kJanuary2000 + 10'000'000), 36526.0 + 1.0 / 86400);
  // 31 December 9999 is day 2958465; 1 January 10000 is one day later.
  const std::uint64_t lastDay = kDecember1899 + 2'958'465ull * 24 * kTicksPerHour;
  EXPECT_EQ(FileTimeToAutomationDate(lastDay + 23 * kTicksPerHour), 2958465.0 + 23.0 / 24);
  EXPECT_EQ(FileTimeToAutomationDate(lastDay + 24 * kTicksPerHour), std::nullopt);
  EXPECT_EQ(FileTimeToAutomationDate(~0ull), std::nullopt);
}

}  // namespace
}  // namespace quorvane
