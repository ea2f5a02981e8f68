// The cache walk over WinINet's real URL cache in the test prefix.

#include <windows.h>
#include <wininet.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "BrowserFixture.h"
#include "clean/IECache.h"
#include "win32/platform/WideText.h"
#include "win32/platform/Win32UrlCache.h"

namespace quorvane::testing {
namespace {

using ::testing::IsSupersetOf;

const std::string kNormal = "http://quorvane.test/walk/page.html";
const std::string kWithFile = "http://quorvane.test/walk/pinned.css";
const std::string kLongNormal = "http://quorvane.test/walk/" + std::string(3000, 'l') + ".js";
const std::string kCookie = "Cookie:tester@quorvane.test/walk/";
const std::string kVisited = "Visited: tester@http://quorvane.test/walk/";

class Win32UrlCacheTest : public ::testing::Test {
 protected:
  ~Win32UrlCacheTest() override {
    RemoveCacheEntries({kNormal, kWithFile, kLongNormal, kCookie, kVisited});
  }

  // Every URL of the cache, read straight from WinINet with a buffer that grows as asked.
  static std::set<std::string> AllUrls() {
    std::set<std::string> urls;
    std::vector<BYTE> buffer(4096);
    DWORD size = static_cast<DWORD>(buffer.size());
    auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
    HANDLE find = FindFirstUrlCacheEntryW(nullptr, entry, &size);
    if (find == nullptr && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
      buffer.resize(size);
      entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
      find = FindFirstUrlCacheEntryW(nullptr, entry, &size);
    }
    if (find == nullptr) return urls;
    for (;;) {
      urls.insert(win32::Narrow(entry->lpszSourceUrlName));
      size = static_cast<DWORD>(buffer.size());
      if (FindNextUrlCacheEntryW(find, entry, &size)) continue;
      if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
      buffer.resize(size);
      entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
      if (!FindNextUrlCacheEntryW(find, entry, &size)) break;
    }
    FindCloseUrlCache(find);
    return urls;
  }

  win32::Win32UrlCache cache;
};

// Wine refuses a sticky entry without a local file and stores one with a file as normal and
// sticky, so the entries without the normal bit here are a cookie and a history entry.
TEST_F(Win32UrlCacheTest, TheWalkDeletesTheNormalEntriesAndLeavesTheRest) {
  ASSERT_TRUE(SeedCacheEntry(kNormal, NORMAL_CACHE_ENTRY));
  ASSERT_TRUE(SeedCacheFile(kWithFile, STICKY_CACHE_ENTRY));
  ASSERT_TRUE(SeedCacheEntry(kLongNormal, NORMAL_CACHE_ENTRY));
  ASSERT_TRUE(SeedCacheEntry(kCookie, COOKIE_CACHE_ENTRY));
  ASSERT_TRUE(SeedCacheEntry(kVisited, URLHISTORY_CACHE_ENTRY));

  DeleteCacheURLList(cache);

  EXPECT_FALSE(CacheEntryExists(kNormal));
  EXPECT_FALSE(CacheEntryExists(kWithFile));
  EXPECT_FALSE(CacheEntryExists(kLongNormal));
  EXPECT_TRUE(CacheEntryExists(kCookie));
  EXPECT_TRUE(CacheEntryExists(kVisited));
}

TEST_F(Win32UrlCacheTest, WithoutABlockTheFirstEntryIsOnlySized) {
  ASSERT_TRUE(SeedCacheEntry(kNormal, NORMAL_CACHE_ENTRY));
  std::uint32_t size = 0;
  UrlCacheFind find = 0;

  EXPECT_EQ(cache.FindFirstEntry(nullptr, size, find), url_cache_status::InsufficientBuffer);

  EXPECT_EQ(find, 0u);
  EXPECT_GE(size, sizeof(INTERNET_CACHE_ENTRY_INFOW));
  auto block = cache.AllocateEntry(size);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->Size(), size);
  ASSERT_EQ(cache.FindFirstEntry(block.get(), size, find), url_cache_status::Success);
  EXPECT_NE(find, 0u);
  EXPECT_FALSE(block->SourceUrl().empty());
  cache.CloseFind(find);
}

// Sizing the next entry without a block must not move the enumeration on, or the walk
// would skip every entry it sized.
TEST_F(Win32UrlCacheTest, SizingEachEntryFirstStillVisitsEveryEntry) {
  for (const std::string& url : {kNormal, kWithFile, kLongNormal, kCookie, kVisited}) {
    ASSERT_TRUE(SeedCacheEntry(url, url == kCookie ? COOKIE_CACHE_ENTRY : NORMAL_CACHE_ENTRY));
  }
  std::set<std::string> seen;
  std::uint32_t size = 0;
  UrlCacheFind find = 0;
  ASSERT_EQ(cache.FindFirstEntry(nullptr, size, find), url_cache_status::InsufficientBuffer);
  auto block = cache.AllocateEntry(size);
  UrlCacheStatus status = cache.FindFirstEntry(block.get(), size, find);
  while (status == url_cache_status::Success) {
    seen.insert(block->SourceUrl());
    block.reset();
    status = cache.FindNextEntry(find, nullptr, size);
    if (status != url_cache_status::InsufficientBuffer) break;
    block = cache.AllocateEntry(size);
    status = cache.FindNextEntry(find, block.get(), size);
  }
  EXPECT_EQ(status, url_cache_status::NoMoreItems);
  cache.CloseFind(find);

  EXPECT_EQ(seen, AllUrls());
  EXPECT_THAT(seen, IsSupersetOf({kNormal, kWithFile, kLongNormal, kCookie, kVisited}));
}

TEST_F(Win32UrlCacheTest, EntryTypesAreReadFromTheRecord) {
  ASSERT_TRUE(SeedCacheEntry(kCookie, COOKIE_CACHE_ENTRY));
  std::uint32_t size = 0;
  UrlCacheFind find = 0;
  (void)cache.FindFirstEntry(nullptr, size, find);
  auto block = cache.AllocateEntry(size);
  UrlCacheStatus status = cache.FindFirstEntry(block.get(), size, find);
  bool found = false;
  while (status == url_cache_status::Success && !found) {
    if (block->SourceUrl() == kCookie) {
      found = true;
      EXPECT_EQ(block->EntryType() & url_cache_entry::Cookie, url_cache_entry::Cookie);
      EXPECT_EQ(block->EntryType() & url_cache_entry::Normal, 0u);
      break;
    }
    status = cache.FindNextEntry(find, block.get(), size);
    if (status == url_cache_status::InsufficientBuffer) {
      block = cache.AllocateEntry(size);
      status = cache.FindNextEntry(find, block.get(), size);
    }
  }
  if (find != 0) cache.CloseFind(find);
  EXPECT_TRUE(found);
}

TEST_F(Win32UrlCacheTest, DeletingAMissingEntryReportsNotFound) {
  EXPECT_EQ(cache.DeleteEntry("http://quorvane.test/walk/never-cached"),
            static_cast<UrlCacheStatus>(ERROR_FILE_NOT_FOUND));
  ASSERT_TRUE(SeedCacheEntry(kNormal, NORMAL_CACHE_ENTRY));
  EXPECT_EQ(cache.DeleteEntry(kNormal), url_cache_status::Success);
  EXPECT_FALSE(CacheEntryExists(kNormal));
}

}  // namespace
}  // namespace quorvane::testing
