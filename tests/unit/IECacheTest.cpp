#include "clean/IECache.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "fakes/FakeUrlCache.h"

namespace quorvane {
namespace {

using fakes::FakeUrlCache;
using ::testing::ElementsAre;

// The rewritten entry grows between the size question and the fetch.
TEST(IECacheTest, DeletesTheNormalEntriesHoldingOneBlockSizedAsThePlatformAsks) {
  FakeUrlCache cache;
  const std::string small = "http://example.com/a";
  const std::string rewritten = "http://example.com/rewritten";
  const std::string huge = "http://example.com/" + std::string(20000, 'q');
  cache.AddEntry(small, url_cache_entry::Normal);
  cache.AddEntry(rewritten, url_cache_entry::Normal);
  cache.AddEntry("Cookie:user@example.com/", url_cache_entry::Cookie);
  cache.AddEntry("http://example.com/pin.css", url_cache_entry::Normal | url_cache_entry::Sticky);
  cache.AddEntry("Visited: user@http://example.com/", url_cache_entry::UrlHistory);
  cache.AddEntry(huge, url_cache_entry::Normal);
  cache.GrowAfterSizing(rewritten, 500);

  DeleteCacheURLList(cache);

  EXPECT_THAT(cache.Urls(),
              ElementsAre("Cookie:user@example.com/", "Visited: user@http://example.com/"));
  EXPECT_THAT(cache.AllocatedSizes(),
              ElementsAre(FakeUrlCache::EntrySize(small), FakeUrlCache::EntrySize(rewritten),
                          FakeUrlCache::EntrySize(rewritten) + 500, FakeUrlCache::EntrySize(huge)));
  EXPECT_EQ(cache.MaxLiveBlocks(), 1);
  EXPECT_EQ(cache.LiveBlocks(), 0);
  EXPECT_EQ(cache.OpenFinds(), 0u);

  FakeUrlCache starved;  // a block that cannot be had ends the walk with the find closed
  starved.AddEntry(small, url_cache_entry::Normal);
  starved.allocationFails = true;
  DeleteCacheURLList(starved);
  EXPECT_EQ(starved.DeleteCalls().size() + starved.OpenFinds(), 0u);
}

}  // namespace
}  // namespace quorvane
