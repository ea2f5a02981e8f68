// The URL history classes over the platform's own store.

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "clean/urlhistory/CURLHistory.h"
#include "win32/platform/Win32UrlHistoryStore.h"

namespace quorvane::testing {
namespace {

// Wine's store object exists but implements none of its methods: the collection reports
// that to its caller instead of pretending to list anything.
TEST(Win32UrlHistoryStoreTest, TheStoresFailureReachesTheCaller) {
  if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr) {
    GTEST_SKIP() << "the store works on Windows itself";
  }
  win32::Win32UrlHistoryStore store;
  for (int i = 0; i < 2; ++i) {  // the store opens again after a session ends
    std::unique_ptr<UrlHistorySession> session;
    ASSERT_EQ(store.Open(session), history_status::Ok);
  }
  HistoryResult<CURLHistory> history = CURLHistory::Create(store);
  EXPECT_FALSE(history.ok());
  EXPECT_EQ(history.status(), history_status::NotImplemented);
}

}  // namespace
}  // namespace quorvane::testing
