#include "fakes/FakeUrlCache.h"

#include <algorithm>

namespace quorvane::fakes {
namespace {
// The fixed head of the platform's entry record.
constexpr std::uint32_t kRecordHead = 80;
}  // namespace

class FakeUrlCache::Block final : public UrlCacheEntryBlock {
 public:
  Block(std::uint32_t size, std::shared_ptr<int> live, std::shared_ptr<int> maxLive)
      : size_(size), live_(std::move(live)) {
    *maxLive = std::max(*maxLive, ++*live_);
  }
  ~Block() override { --*live_; }
  std::uint32_t Size() const override { return size_; }
  std::uint32_t EntryType() const override { return type_; }
  std::string SourceUrl() const override { return url_; }

  void Fill(const Entry& entry) {
    type_ = entry.type;
    url_ = entry.url;
  }

 private:
  std::uint32_t size_;
  std::shared_ptr<int> live_;
  std::uint32_t type_ = 0;
  std::string url_;
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
  return kRecordHead + static_cast<std::uint32_t>(url.size()) + 1;
}

bool FakeUrlCache::Contains(std::string_view url) const {
  return std::any_of(entries_.begin(), entries_.end(),
                     [&](const auto& numbered) { return numbered.second.url == url; });
}

std::vector<std::string> FakeUrlCache::Urls() const {
  std::vector<std::string> urls;
  for (const auto& [number, entry] : entries_) urls.push_back(entry.url);
  return urls;
}

std::unique_ptr<UrlCacheEntryBlock> FakeUrlCache::AllocateEntry(std::uint32_t size) {
  if (allocationFails) return nullptr;
  ++blocksAllocated_;
  allocatedSizes_.push_back(size);
  return std::make_unique<Block>(size, liveBlocks_, maxLiveBlocks_);
}

UrlCacheStatus FakeUrlCache::Deliver(Entry& entry, UrlCacheEntryBlock* block, std::uint32_t& size) {
  const std::uint32_t needed = EntrySize(entry.url) + (entry.sized ? entry.growth : 0);
  if (block == nullptr || block->Size() < needed) {
    entry.sized = true;
    size = needed;
    return url_cache_status::InsufficientBuffer;
  }
  // Only blocks this cache handed out can receive an entry, as only memory of the right
  // layout can on the platform.
  auto* own = dynamic_cast<Block*>(block);
  if (own == nullptr) return url_cache_status::InsufficientBuffer;
  own->Fill(entry);
  entry.growth = 0;
  size = needed;
  return url_cache_status::Success;
}

UrlCacheStatus FakeUrlCache::FindFirstEntry(UrlCacheEntryBlock* block, std::uint32_t& size,
                                            UrlCacheFind& find) {
  find = 0;
  if (entries_.empty()) return url_cache_status::NoMoreItems;
  auto first = entries_.begin();
  const UrlCacheStatus status = Deliver(first->second, block, size);
  if (status != url_cache_status::Success) return status;
  find = nextFind_++;
  finds_[find] = first->first;
  return status;
}

UrlCacheStatus FakeUrlCache::FindNextEntry(UrlCacheFind find, UrlCacheEntryBlock* block,
                                           std::uint32_t& size) {
  const auto open = finds_.find(find);
  if (open == finds_.end()) {
    ++badHandleCalls_;
    return 6;  // invalid handle
  }
  const auto next = entries_.upper_bound(open->second);
  if (next == entries_.end()) return url_cache_status::NoMoreItems;
  const UrlCacheStatus status = Deliver(next->second, block, size);
  if (status == url_cache_status::Success) open->second = next->first;
  return status;
}

UrlCacheStatus FakeUrlCache::DeleteEntry(std::string_view sourceUrl) {
  deleteCalls_.emplace_back(sourceUrl);
  const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const auto& numbered) {
    return numbered.second.url == sourceUrl;
  });
  if (found == entries_.end()) return url_cache_status::NotFound;
  entries_.erase(found);
  return url_cache_status::Success;
}

void FakeUrlCache::CloseFind(UrlCacheFind find) {
  if (finds_.erase(find) == 0) ++badHandleCalls_;
}

}  // namespace quorvane::fakes
