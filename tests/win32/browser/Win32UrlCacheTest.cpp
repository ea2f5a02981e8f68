// The cache walk over WinINet's real URL cache in the test prefix.

#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "BrowserFixture.h"
#include "clean/IECache.h"
#include "win32/platform/WideText.h"
#include "win32/platform/Win32UrlCache.h"

namespace quorvane::testing {
namespace {

const std::string kNormal = "http://quorvane.test/walk/page.html";
const std::string kLongNormal = "http://quorvane.test/walk/" + std::string(3000, 'l') + ".js";
const std::string kCookie = "Cookie:tester@quorvane.test/walk/";
const std::string kVisited = "Visited: tester@http://quorvane.test/walk/";

class Win32UrlCacheTest : public ::testing::Test {
 protected:
  Win32UrlCacheTest() {
    EXPECT_TRUE(SeedCacheEntry(kNormal, NORMAL_CACHE_ENTRY));
    EXPECT_TRUE(SeedCacheEntry(kLongNormal, NORMAL_CACHE_ENTRY));
    EXPECT_TRUE(SeedCacheEntry(kCookie, COOKIE_CACHE_ENTRY));
    EXPECT_TRUE(SeedCacheEntry(kVisited, URLHISTORY_CACHE_ENTRY));
  }
  ~Win32UrlCacheTest() override { RemoveCacheEntries({kNormal, kLongNormal, kCookie, kVisited}); }

  win32::Win32UrlCache cache;
};

TEST_F(Win32UrlCacheTest, TheWalkDeletesTheNormalEntriesAndLeavesTheRest) {
  DeleteCacheURLList(cache);

  EXPECT_FALSE(CacheEntryExists(kNormal));
  EXPECT_FALSE(CacheEntryExists(kLongNormal));
  EXPECT_TRUE(CacheEntryExists(kCookie));
  EXPECT_TRUE(CacheEntryExists(kVisited));
  EXPECT_EQ(cache.DeleteEntry(kNormal), static_cast<UrlCacheStatus>(ERROR_FILE_NOT_FOUND));
}

// Sizing the next entry without a block must not move the enumeration on, or the walk
// would skip every entry it sized. The record's type is read as well.
TEST_F(Win32UrlCacheTest, SizingEachEntryFirstStillVisitsEveryEntry) {
  std::map<std::string, std::uint32_t> seen;
  std::uint32_t size = 0;
  UrlCacheFind find = 0;
  ASSERT_EQ(cache.FindFirstEntry(nullptr, size, find), url_cache_status::InsufficientBuffer);
  EXPECT_EQ(find, 0u);
  auto block = cache.AllocateEntry(size);
  UrlCacheStatus status = cache.FindFirstEntry(block.get(), size, find);
  while (status == url_cache_status::Success) {
    seen[block->SourceUrl()] = block->EntryType();
    block.reset();
    status = cache.FindNextEntry(find, nullptr, size);
    if (status != url_cache_status::InsufficientBuffer) break;
    block = cache.AllocateEntry(size);
    status = cache.FindNextEntry(find, block.get(), size);
  }
  EXPECT_EQ(status, url_cache_status::NoMoreItems);
  cache.CloseFind(find);

  for (const std::string& url : {kNormal, kLongNormal, kCookie, kVisited}) {
    EXPECT_EQ(seen.count(url), 1u) << url.substr(0, 40);
  }
  EXPECT_EQ(seen[kCookie] & (url_cache_entry::Cookie | url_cache_entry::Normal),
            url_cache_entry::Cookie);
}

}  // namespace
}  // namespace quorvane::testing
