#include "clean/IECache.h"

#include <cstdint>
#include <memory>

namespace quorvane {
namespace {

// An entry can grow between the question about its size and the fetch (the browser may
// rewrite it meanwhile); a few fresh blocks cover that without looping for ever on a cache
// that keeps asking for more.
constexpr int kResizeAttempts = 3;

// Fetches one entry into `block`. A missing or too small block is replaced by one of
// exactly the size the platform asks for; the old block is freed before the new one is
// allocated, so there is never more than one.
template <typename Fetch>
UrlCacheStatus FetchEntry(UrlCache& cache, std::unique_ptr<UrlCacheEntryBlock>& block,
                          Fetch fetch) {
  std::uint32_t size = 0;
  UrlCacheStatus status = fetch(block.get(), size);
  for (int attempt = 0; status == url_cache_status::InsufficientBuffer && attempt < kResizeAttempts;
       ++attempt) {
    block.reset();
    block = cache.AllocateEntry(size);
    if (!block) return url_cache_status::OutOfMemory;
    status = fetch(block.get(), size);
  }
  return status;
}

}  // namespace

void DeleteCacheURLList(UrlCache& cache) {
  std::unique_ptr<UrlCacheEntryBlock> block;
  UrlCacheFind find = 0;
  UrlCacheStatus status =
      FetchEntry(cache, block, [&](UrlCacheEntryBlock* into, std::uint32_t& size) {
        return cache.FindFirstEntry(into, size, find);
      });
  while (status == url_cache_status::Success && block) {
    if (block->EntryType() & url_cache_entry::Normal) {
      // An entry that cannot be deleted (in use, gone meanwhile) stays; the walk goes on.
      (void)cache.DeleteEntry(block->SourceUrl());
    }
    status = FetchEntry(cache, block, [&](UrlCacheEntryBlock* into, std::uint32_t& size) {
      return cache.FindNextEntry(find, into, size);
    });
  }
  block.reset();
  if (find != 0) cache.CloseFind(find);
}

}  // namespace quorvane
