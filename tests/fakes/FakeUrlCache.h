#pragma once
// The URL cache in memory, strict where a walk could go wrong: a block too small for its
// entry is refused with the size the entry needs, asking without a block does not move an
// enumeration on, and entries deleted during a walk do not disturb it. It counts the blocks
// alive at once and the enumerations left open: a walk holds one block and closes its own.

#include <algorithm>
#include <cstddef>
#include <map>
#include <utility>
#include <vector>

#include "core/platform/UrlCache.h"

namespace quorvane::fakes {

class FakeUrlCache final : public UrlCache {
 public:
  void AddEntry(std::string_view url, std::uint32_t type) {
    entries_[nextEntry_++] = Entry{std::string(url), type, EntrySize(url), 0};
  }
  // The entry's next fetch needs `extra` bytes more than it said when it was sized, as
  // when the browser rewrites it in between.
  void GrowAfterSizing(std::string_view url, std::uint32_t extra) {
    for (auto& [number, entry] : entries_) {
      if (entry.url == url) entry.growth = extra;
    }
  }

  // The platform's fixed record head, then the URL and its NUL.
  static std::uint32_t EntrySize(std::string_view url) {
    return 80 + static_cast<std::uint32_t>(url.size()) + 1;
  }
  std::vector<std::string> Urls() const {
    std::vector<std::string> urls;
    for (const auto& [number, entry] : entries_) urls.push_back(entry.url);
    return urls;
  }
  std::size_t OpenFinds() const { return finds_.size(); }
  int MaxLiveBlocks() const { return maxLiveBlocks_; }
  const std::vector<std::uint32_t>& AllocatedSizes() const { return allocatedSizes_; }

  std::unique_ptr<UrlCacheEntryBlock> AllocateEntry(std::uint32_t size) override {
    allocatedSizes_.push_back(size);
    return std::make_unique<Block>(size, *this);
  }
  UrlCacheStatus FindFirstEntry(UrlCacheEntryBlock* block, std::uint32_t& size,
                                UrlCacheFind& find) override {
    finds_[nextFind_] = 0;  // before the first entry
    const UrlCacheStatus status = FindNextEntry(nextFind_, block, size);
    if (status != url_cache_status::Success) finds_.erase(nextFind_);
    find = status == url_cache_status::Success ? nextFind_++ : 0;
    return status;
  }
  UrlCacheStatus FindNextEntry(UrlCacheFind find, UrlCacheEntryBlock* block,
                               std::uint32_t& size) override {
    const auto open = finds_.find(find);
    if (open == finds_.end()) return 6;  // invalid handle
    const auto next = entries_.upper_bound(open->second);
    if (next == entries_.end()) return url_cache_status::NoMoreItems;
    const UrlCacheStatus status = Deliver(next->second, block, size);
    if (status == url_cache_status::Success) open->second = next->first;
    return status;
  }
  UrlCacheStatus DeleteEntry(std::string_view sourceUrl) override {
    const auto erased = std::erase_if(
        entries_, [&](const auto& numbered) { return numbered.second.url == sourceUrl; });
    return erased != 0 ? url_cache_status::Success : url_cache_status::NotFound;
  }
  void CloseFind(UrlCacheFind find) override { finds_.erase(find); }

 private:
  struct Entry {
    std::string url;
    std::uint32_t type = 0;
    std::uint32_t size = 0;    // what the next fetch needs
    std::uint32_t growth = 0;  // added to the size once the entry has been sized
  };
  struct Block final : UrlCacheEntryBlock {
    Block(std::uint32_t blockSize, FakeUrlCache& owner) : size(blockSize), cache(owner) {
      cache.maxLiveBlocks_ = std::max(cache.maxLiveBlocks_, ++cache.liveBlocks_);
    }
    ~Block() override { --cache.liveBlocks_; }
    std::uint32_t Size() const override { return size; }
    std::uint32_t EntryType() const override { return entry.type; }
    std::string SourceUrl() const override { return entry.url; }

    std::uint32_t size;
    FakeUrlCache& cache;
    Entry entry;
  };

  // Puts the entry into the block, or reports the size it needs.
  UrlCacheStatus Deliver(Entry& entry, UrlCacheEntryBlock* block, std::uint32_t& size) {
    size = entry.size;
    auto* own = dynamic_cast<Block*>(block);  // only its own have the platform's layout
    if (own == nullptr || own->Size() < size) {
      entry.size += std::exchange(entry.growth, 0);
      return url_cache_status::InsufficientBuffer;
    }
    own->entry = entry;
    return url_cache_status::Success;
  }

  std::map<std::uint64_t, Entry> entries_;  // by number, so a walk's place survives deletions
  std::uint64_t nextEntry_ = 1;
  std::map<UrlCacheFind, std::uint64_t> finds_;  // open enumeration -> last entry delivered
  UrlCacheFind nextFind_ = 1;
  int liveBlocks_ = 0;
  int maxLiveBlocks_ = 0;
  std::vector<std::uint32_t> allocatedSizes_;
};

}  // namespace quorvane::fakes
