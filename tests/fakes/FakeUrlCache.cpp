#include "fakes/FakeUrlCache.h"

#include <algorithm>

namespace quorvane::fakes {

class FakeUrlCache::Block final : public UrlCacheEntryBlock {
 public:
  Block(std::uint32_t size, std::shared_ptr<BlockCount> count)
      : size_(size), count_(std::move(count)) {
    count_->maxLive = std::max(count_->maxLive, ++count_->live);
  }
  ~Block() override { --count_->live; }
  std::uint32_t Size() const override { return size_; }
  std::uint32_t EntryType() const override { return entry.type; }
  std::string SourceUrl() const override { return entry.url; }
  Entry entry;

 private:
  std::uint32_t size_;
  std::shared_ptr<BlockCount> count_;
};

FakeUrlCache::FakeUrlCache() = default;
FakeUrlCache::~FakeUrlCache() = default;

void FakeUrlCache::AddEntry(std::string_view url, std::uint32_t type) {
  entries_[nextEntry_++] = Entry{std::string(url), type};
}

void FakeUrlCache::GrowAfterSizing(std::string_view url, std::uint32_t extra) {
  for (auto& [number, entry] : entries_) {
    if (entry.url == url) entry.growth = extra;
  }
}

std::uint32_t FakeUrlCache::EntrySize(std::string_view url) {
  constexpr std::uint32_t kRecordHead = 80;  // the fixed head of the platform's record
  return kRecordHead + static_cast<std::uint32_t>(url.size()) + 1;
}

std::vector<std::string> FakeUrlCache::Urls() const {
  std::vector<std::string> urls;
  for (const auto& [number, entry] : entries_) urls.push_back(entry.url);
  return urls;
}

std::unique_ptr<UrlCacheEntryBlock> FakeUrlCache::AllocateEntry(std::uint32_t size) {
  allocatedSizes_.push_back(size);
  return std::make_unique<Block>(size, blocks_);
}

UrlCacheStatus FakeUrlCache::Deliver(Entry& entry, UrlCacheEntryBlock* block, std::uint32_t& size) {
  size = EntrySize(entry.url) + (entry.sized ? entry.growth : 0);
  // Only blocks this cache handed out can receive an entry, as only memory of the right
  // layout can on the platform.
  auto* own = dynamic_cast<Block*>(block);
  if (own == nullptr || own->Size() < size) {
    entry.sized = true;
    return url_cache_status::InsufficientBuffer;
  }
  own->entry = entry;
  entry.growth = 0;
  return url_cache_status::Success;
}

UrlCacheStatus FakeUrlCache::FindFirstEntry(UrlCacheEntryBlock* block, std::uint32_t& size,
                                            UrlCacheFind& find) {
  find = 0;
  if (entries_.empty()) return url_cache_status::NoMoreItems;
  const UrlCacheStatus status = Deliver(entries_.begin()->second, block, size);
  if (status == url_cache_status::Success) {
    find = nextFind_++;
    finds_[find] = entries_.begin()->first;
  }
  return status;
}

UrlCacheStatus FakeUrlCache::FindNextEntry(UrlCacheFind find, UrlCacheEntryBlock* block,
                                           std::uint32_t& size) {
  const auto open = finds_.find(find);
  if (open == finds_.end()) return 6;  // invalid handle
  const auto next = entries_.upper_bound(open->second);
  if (next == entries_.end()) return url_cache_status::NoMoreItems;
  const UrlCacheStatus status = Deliver(next->second, block, size);
  if (status == url_cache_status::Success) open->second = next->first;
  return status;
}

UrlCacheStatus FakeUrlCache::DeleteEntry(std::string_view sourceUrl) {
  return std::erase_if(entries_,
                       [&](const auto& numbered) { return numbered.second.url == sourceUrl; }) != 0
             ? url_cache_status::Success
             : url_cache_status::NotFound;
}

}  // namespace quorvane::fakes
