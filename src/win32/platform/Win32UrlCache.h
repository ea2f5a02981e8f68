#pragma once
// The browser's URL cache through WinINet's wide-character calls.

#include "core/platform/UrlCache.h"

namespace quorvane::win32 {

class Win32UrlCache final : public UrlCache {
 public:
  std::unique_ptr<UrlCacheEntryBlock> AllocateEntry(std::uint32_t size) override;
  [[nodiscard]] UrlCacheStatus FindFirstEntry(UrlCacheEntryBlock* block, std::uint32_t& size,
                                              UrlCacheFind& find) override;
  [[nodiscard]] UrlCacheStatus FindNextEntry(UrlCacheFind find, UrlCacheEntryBlock* block,
                                             std::uint32_t& size) override;
  [[nodiscard]] UrlCacheStatus DeleteEntry(std::string_view sourceUrl) override;
  void CloseFind(UrlCacheFind find) override;
};

}  // namespace quorvane::win32
