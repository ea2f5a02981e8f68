#pragma once
// The browser's URL cache: entries are fetched one at a time into a block whose size the
// platform names for each entry, and removed by their source URL. Status codes are the
// platform's: 0 success, 122 buffer too small, 259 no more entries.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quorvane {

using UrlCacheStatus = std::int32_t;
namespace url_cache_status {
inline constexpr UrlCacheStatus Success = 0;
inline constexpr UrlCacheStatus NotFound = 2;
inline constexpr UrlCacheStatus OutOfMemory = 8;
inline constexpr UrlCacheStatus InsufficientBuffer = 122;
inline constexpr UrlCacheStatus NoMoreItems = 259;
}  // namespace url_cache_status

// Entry type bits as the platform stores them.
namespace url_cache_entry {
inline constexpr std::uint32_t Normal = 0x1;
inline constexpr std::uint32_t Sticky = 0x4;
inline constexpr std::uint32_t Cookie = 0x100000;
inline constexpr std::uint32_t UrlHistory = 0x200000;
}  // namespace url_cache_entry

// An open enumeration; 0 is none.
using UrlCacheFind = std::uint64_t;

// Memory for one entry, of the size the platform asked for; freed when destroyed.
class UrlCacheEntryBlock {
 public:
  virtual ~UrlCacheEntryBlock() = default;
  virtual std::uint32_t Size() const = 0;
  // Type and source URL of the entry that the last successful fetch placed in the block.
  virtual std::uint32_t EntryType() const = 0;
  virtual std::string SourceUrl() const = 0;
};

class UrlCache {
 public:
  virtual ~UrlCache() = default;

  // A block of `size` bytes; none when the memory is not there.
  virtual std::unique_ptr<UrlCacheEntryBlock> AllocateEntry(std::uint32_t size) = 0;

  // A `block` passed to the calls below is one that AllocateEntry of the same cache returned.

  // Fetches the first entry into `block` and opens an enumeration in `find`. Without a block,
  // or with one too small, nothing is opened: the status is InsufficientBuffer and `size`
  // holds the size the entry needs. An empty cache gives NoMoreItems.
  [[nodiscard]] virtual UrlCacheStatus FindFirstEntry(UrlCacheEntryBlock* block,
                                                      std::uint32_t& size, UrlCacheFind& find) = 0;
  // Fetches the next entry. Without a block, or with one too small, the enumeration does not
  // move on: the status is InsufficientBuffer and `size` holds the size the entry needs.
  [[nodiscard]] virtual UrlCacheStatus FindNextEntry(UrlCacheFind find, UrlCacheEntryBlock* block,
                                                     std::uint32_t& size) = 0;
  [[nodiscard]] virtual UrlCacheStatus DeleteEntry(std::string_view sourceUrl) = 0;
  virtual void CloseFind(UrlCacheFind find) = 0;
};

}  // namespace quorvane
