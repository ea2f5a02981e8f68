// The URL history classes over the platform's own store, and the date conversion against
// the platform's calendar calls.

#include <windows.h>

#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "BrowserFixture.h"
#include "clean/urlhistory/AutomationDate.h"
#include "clean/urlhistory/CURLHistory.h"
#include "win32/platform/Win32UrlHistoryStore.h"

namespace quorvane::testing {
namespace {

constexpr std::uint64_t kTicksPerHour = 36'000'000'000;

class Win32UrlHistoryStoreTest : public ::testing::Test {
 protected:
  win32::Win32UrlHistoryStore store;
};

// Wine's store object exists but implements none of its methods: the collection reports
// that to its caller instead of pretending to list anything.
TEST_F(Win32UrlHistoryStoreTest, TheStoresAnswerReachesTheCaller) {
  for (int i = 0; i < 2; ++i) {  // the store opens again after a session ends
    std::unique_ptr<UrlHistorySession> session;
    ASSERT_EQ(store.Open(session), history_status::Ok);
    ASSERT_NE(session, nullptr);
  }
  HistoryResult<CURLHistory> history = CURLHistory::Create(store);
  if (UnderWine()) {
    EXPECT_FALSE(history.ok());
    EXPECT_EQ(history.status(), history_status::NotImplemented);
    return;
  }
  ASSERT_TRUE(history.ok()) << std::hex << history.status();
  const std::string url = "http://quorvane.test/history/" + std::to_string(GetTickCount64());
  ASSERT_EQ(history.value().AddURL(url, "Quorvane test", 0), history_status::Ok);
  ASSERT_EQ(history.value().Refresh(url), history_status::Ok);
  ASSERT_EQ(history.value().Count(), 1u);
  EXPECT_EQ(history.value().Item(1).value().Title(), "Quorvane test");
  ASSERT_EQ(history.value().DeleteURL(url, 0), history_status::Ok);
  ASSERT_EQ(history.value().Refresh(url), history_status::Ok);
  EXPECT_EQ(history.value().Count(), 0u);
}

// The portable conversion gives what the platform's own chain of calls gives: UTC to local
// file time, to calendar time, to the automation date.
TEST_F(Win32UrlHistoryStoreTest, DatesMatchThePlatformsConversion) {
  FILETIME nowTime{};
  GetSystemTimeAsFileTime(&nowTime);
  const std::uint64_t now =
      (static_cast<std::uint64_t>(nowTime.dwHighDateTime) << 32) | nowTime.dwLowDateTime;
  const std::uint64_t january2000 = 125'911'584'000'000'000;
  for (const std::uint64_t utc :
       {now, january2000 + 12 * kTicksPerHour + 34 * 600'000'000ull + 567'891'234,
        94'353'120'000'000'000ull - 18 * kTicksPerHour,  // 29 December 1899, 06:00
        50'000'000'000'000'000ull}) {
    SCOPED_TRACE(utc);
    std::uint64_t local = 0;
    ASSERT_EQ(store.UtcToLocalFileTime(utc, local), history_status::Ok);

    const FILETIME utcTime{static_cast<DWORD>(utc), static_cast<DWORD>(utc >> 32)};
    FILETIME localTime{};
    ASSERT_TRUE(FileTimeToLocalFileTime(&utcTime, &localTime));
    EXPECT_EQ(local, (static_cast<std::uint64_t>(localTime.dwHighDateTime) << 32) |
                         localTime.dwLowDateTime);
    SYSTEMTIME calendar{};
    ASSERT_TRUE(FileTimeToSystemTime(&localTime, &calendar));
    double expected = 0;
    ASSERT_TRUE(SystemTimeToVariantTime(&calendar, &expected));

    const std::optional<double> date = FileTimeToAutomationDate(local);
    ASSERT_TRUE(date.has_value());
    EXPECT_NEAR(*date, expected, 1e-9);
  }
}

}  // namespace
}  // namespace quorvane::testing
