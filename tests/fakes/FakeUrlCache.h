#pragma once
// The URL cache in memory, strict where the program's walk could go wrong: a block smaller
// than the entry it should receive is refused with the size the entry needs, asking
// without a block does not move an enumeration on, and entries deleted during a walk do
// not disturb it. It counts the blocks that are alive at once and the enumerations left
// open, so a test can see that a walk holds one block at a time and closes what it opens.

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

  // --- Set-up. An entry needs a block of the fixed record head plus its URL and NUL.
  void AddEntry(std::string_view url, std::uint32_t type);
  // The entry's next fetch needs `extra` bytes more than it said when it was sized, as
  // when the browser rewrites it in between.
  void GrowAfterSizing(std::string_view url, std::uint32_t extra);
  bool allocationFails = false;

  // --- Inspection.
  static std::uint32_t EntrySize(std::string_view url);
  bool Contains(std::string_view url) const;
  std::vector<std::string> Urls() const;
  std::size_t OpenFinds() const { return finds_.size(); }
  int LiveBlocks() const { return *liveBlocks_; }
  int MaxLiveBlocks() const { return *maxLiveBlocks_; }
  int BlocksAllocated() const { return blocksAllocated_; }
  // Every size a block was allocated with, in order.
  const std::vector<std::uint32_t>& AllocatedSizes() const { return allocatedSizes_; }
  const std::vector<std::string>& DeleteCalls() const { return deleteCalls_; }
  int BadHandleCalls() const { return badHandleCalls_; }

  // --- UrlCache
  std::unique_ptr<UrlCacheEntryBlock> AllocateEntry(std::uint32_t size) override;
  [[nodiscard]] UrlCacheStatus FindFirstEntry(UrlCacheEntryBlock* block, std::uint32_t& size,
                                              UrlCacheFind& find) override;
  [[nodiscard]] UrlCacheStatus FindNextEntry(UrlCacheFind find, UrlCacheEntryBlock* block,
                                             std::uint32_t& size) override;
  [[nodiscard]] UrlCacheStatus DeleteEntry(std::string_view sourceUrl) override;
  void CloseFind(UrlCacheFind find) override;

 private:
  class Block;
  struct Entry {
    std::string url;
    std::uint32_t type = 0;
    std::uint32_t growth = 0;  // added to the size once the entry has been sized
    bool sized = false;
  };
  using Entries = std::map<std::uint64_t, Entry>;

  // Puts the entry into the block, or reports the size it needs.
  UrlCacheStatus Deliver(Entry& entry, UrlCacheEntryBlock* block, std::uint32_t& size);

  Entries entries_;  // by insertion number, so a walk's position survives deletions
  std::uint64_t nextEntry_ = 1;
  std::map<UrlCacheFind, std::uint64_t> finds_;  // open enumeration -> last entry delivered
  UrlCacheFind nextFind_ = 1;
  // Shared with the blocks, which may be freed after the cache itself.
  std::shared_ptr<int> liveBlocks_ = std::make_shared<int>(0);
  std::shared_ptr<int> maxLiveBlocks_ = std::make_shared<int>(0);
  int blocksAllocated_ = 0;
  std::vector<std::uint32_t> allocatedSizes_;
  std::vector<std::string> deleteCalls_;
  int badHandleCalls_ = 0;
};

}  // namespace quorvane::fakes
