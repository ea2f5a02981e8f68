#pragma once
// The URL cache in memory, strict where the program's walk could go wrong: a block smaller
// than the entry it should receive is refused with the size the entry needs, asking
// without a block does not move an enumeration on, and entries deleted during a walk do
// not disturb it. It counts the blocks alive at once and the enumerations left open, so a
// test can see that a walk holds one block at a time and closes what it opens.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/platform/UrlCache.h"

namespace quorvane::fakes {

class FakeUrlCache final : public UrlCache {
 public:
  FakeUrlCache();
  ~FakeUrlCache() override;

  void AddEntry(std::string_view url, std::uint32_t type);
  // The entry's next fetch needs `extra` bytes more than it said when it was sized, as
  // when the browser rewrites it in between.
  void GrowAfterSizing(std::string_view url, std::uint32_t extra);

  // The fixed record head plus the URL and its NUL.
  static std::uint32_t EntrySize(std::string_view url);
  std::vector<std::string> Urls() const;
  std::size_t OpenFinds() const { return finds_.size(); }
  int MaxLiveBlocks() const { return blocks_->maxLive; }
  // Every size a block was allocated with, in order.
  const std::vector<std::uint32_t>& AllocatedSizes() const { return allocatedSizes_; }

  std::unique_ptr<UrlCacheEntryBlock> AllocateEntry(std::uint32_t size) override;
  [[nodiscard]] UrlCacheStatus FindFirstEntry(UrlCacheEntryBlock* block, std::uint32_t& size,
                                              UrlCacheFind& find) override;
  [[nodiscard]] UrlCacheStatus FindNextEntry(UrlCacheFind find, UrlCacheEntryBlock* block,
                                             std::uint32_t& size) override;
  [[nodiscard]] UrlCacheStatus DeleteEntry(std::string_view sourceUrl) override;
  void CloseFind(UrlCacheFind find) override { finds_.erase(find); }

 private:
  class Block;
  struct Entry {
    std::string url;
    std::uint32_t type = 0;
    std::uint32_t growth = 0;  // added to the size once the entry has been sized
    bool sized = false;
  };
  // Shared with the blocks, which may be freed after the cache itself.
  struct BlockCount {
    int live = 0;
    int maxLive = 0;
  };

  // Puts the entry into the block, or reports the size it needs.
  UrlCacheStatus Deliver(Entry& entry, UrlCacheEntryBlock* block, std::uint32_t& size);

  std::map<std::uint64_t, Entry> entries_;  // by number, so a walk's place survives deletions
  std::uint64_t nextEntry_ = 1;
  std::map<UrlCacheFind, std::uint64_t> finds_;  // open enumeration -> last entry delivered
  UrlCacheFind nextFind_ = 1;
  std::shared_ptr<BlockCount> blocks_ = std::make_shared<BlockCount>();
  std::vector<std::uint32_t> allocatedSizes_;
};

}  // namespace quorvane::fakes
