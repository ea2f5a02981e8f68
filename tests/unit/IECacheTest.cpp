#include "clean/IECache.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "fakes/FakeUrlCache.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAre;

class IECacheTest : public ::testing::Test {
 protected:
  fakes::FakeUrlCache cache;
};

TEST_F(IECacheTest, DeletesExactlyTheEntriesWithTheNormalBit) {
  cache.AddEntry("http://example.com/page.html", url_cache_entry::Normal);
  cache.AddEntry("Cookie:user@example.com/", url_cache_entry::Cookie);
  cache.AddEntry("http://example.com/pinned.css",
                 url_cache_entry::Normal | url_cache_entry::Sticky);
  cache.AddEntry("Visited: user@http://example.com/", url_cache_entry::UrlHistory);
  cache.AddEntry("http://example.com/sticky-only.js", url_cache_entry::Sticky);
  cache.AddEntry("http://example.com/image.png", url_cache_entry::Normal);

  DeleteCacheURLList(cache);

  EXPECT_THAT(cache.Urls(),
              ElementsAre("Cookie:user@example.com/", "Visited: user@http://example.com/",
                          "http://example.com/sticky-only.js"));
  EXPECT_THAT(cache.DeleteCalls(),
              UnorderedElementsAre("http://example.com/page.html", "http://example.com/pinned.css",
                                   "http://example.com/image.png"));
  EXPECT_EQ(cache.OpenFinds(), 0u);
  EXPECT_EQ(cache.BadHandleCalls(), 0);
}

TEST_F(IECacheTest, AnEmptyCacheOrOneWithoutMemoryDeletesNothingAndLeavesNothingOpen) {
  DeleteCacheURLList(cache);
  EXPECT_EQ(cache.BlocksAllocated(), 0);

  cache.AddEntry("http://example.com/page.html", url_cache_entry::Normal);
  cache.allocationFails = true;
  DeleteCacheURLList(cache);
  EXPECT_THAT(cache.DeleteCalls(), IsEmpty());
  EXPECT_EQ(cache.OpenFinds(), 0u);
  EXPECT_EQ(cache.BadHandleCalls(), 0);
}

TEST_F(IECacheTest, HoldsOneBlockAtATimeHoweverLargeTheCache) {
  for (int i = 0; i < 2000; ++i) {
    // Sizes that rise and fall, so that blocks are both reused and replaced.
    const std::string url = "http://example.com/" +
                            std::string(static_cast<std::size_t>((i * 37) % 300), 'p') +
                            std::to_string(i);
    cache.AddEntry(url, i % 3 == 0 ? url_cache_entry::Cookie : url_cache_entry::Normal);
  }

  DeleteCacheURLList(cache);

  EXPECT_EQ(cache.Urls().size(), 667u);
  EXPECT_EQ(cache.MaxLiveBlocks(), 1);
  EXPECT_EQ(cache.LiveBlocks(), 0);
  EXPECT_EQ(cache.OpenFinds(), 0u);
}

TEST_F(IECacheTest, SizesEachBlockAsThePlatformAsksEvenWhenAnEntryGrowsAfterSizing) {
  const std::string small = "http://example.com/a";
  const std::string huge = "http://example.com/" + std::string(20000, 'q');
  const std::string rewritten = "http://example.com/rewritten";
  for (const std::string& url : {small, rewritten, huge}) {
    cache.AddEntry(url, url_cache_entry::Normal);
  }
  cache.GrowAfterSizing(rewritten, 500);

  DeleteCacheURLList(cache);

  EXPECT_THAT(cache.Urls(), IsEmpty());
  EXPECT_THAT(cache.AllocatedSizes(), ElementsAre(fakes::FakeUrlCache::EntrySize(small),
                                                  fakes::FakeUrlCache::EntrySize(rewritten),
                                                  fakes::FakeUrlCache::EntrySize(rewritten) + 500,
                                                  fakes::FakeUrlCache::EntrySize(huge)));
  EXPECT_EQ(cache.MaxLiveBlocks(), 1);
}

}  // namespace
}  // namespace quorvane
