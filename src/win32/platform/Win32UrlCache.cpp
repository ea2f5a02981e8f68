#include "win32/platform/Win32UrlCache.h"

#include <windows.h>
#include <wininet.h>

#include <cstdint>

#include "win32/platform/WideText.h"

namespace quorvane::win32 {
namespace {

// Fixed memory from the local heap, of the size WinINet asked for. The record's head is
// read only after WinINet has filled the block, and a filled block is at least that large.
class LocalBlock final : public UrlCacheEntryBlock {
 public:
  LocalBlock(HLOCAL memory, std::uint32_t size) : memory_(memory), size_(size) {}
  ~LocalBlock() override { LocalFree(memory_); }
  LocalBlock(const LocalBlock&) = delete;
  LocalBlock& operator=(const LocalBlock&) = delete;

  std::uint32_t Size() const override { return size_; }
  std::uint32_t EntryType() const override { return filled_ ? Record()->CacheEntryType : 0; }
  std::string SourceUrl() const override {
    if (!filled_ || Record()->lpszSourceUrlName == nullptr) return {};
    return Narrow(Record()->lpszSourceUrlName);
  }

  // The record as WinINet writes it; its first field carries the block's size.
  INTERNET_CACHE_ENTRY_INFOW* PrepareForFetch() {
    filled_ = false;
    if (size_ >= sizeof(DWORD)) Record()->dwStructSize = size_;
    return Record();
  }
  void MarkFilled() { filled_ = size_ >= sizeof(INTERNET_CACHE_ENTRY_INFOW); }

 private:
  INTERNET_CACHE_ENTRY_INFOW* Record() const {
    return static_cast<INTERNET_CACHE_ENTRY_INFOW*>(memory_);
  }

  HLOCAL memory_;
  std::uint32_t size_;
  bool filled_ = false;
};

LocalBlock* AsLocal(UrlCacheEntryBlock* block) { return static_cast<LocalBlock*>(block); }

UrlCacheStatus LastError() { return static_cast<UrlCacheStatus>(GetLastError()); }

HANDLE ToHandle(UrlCacheFind find) {
  return reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(find));
}

}  // namespace

std::unique_ptr<UrlCacheEntryBlock> Win32UrlCache::AllocateEntry(std::uint32_t size) {
  HLOCAL memory = LocalAlloc(LMEM_FIXED, size);
  if (memory == nullptr) return nullptr;
  return std::make_unique<LocalBlock>(memory, size);
}

UrlCacheStatus Win32UrlCache::FindFirstEntry(UrlCacheEntryBlock* block, std::uint32_t& size,
                                             UrlCacheFind& find) {
  find = 0;
  DWORD capacity = block ? block->Size() : 0;
  INTERNET_CACHE_ENTRY_INFOW* record = block ? AsLocal(block)->PrepareForFetch() : nullptr;
  HANDLE handle = FindFirstUrlCacheEntryW(nullptr, record, &capacity);
  size = capacity;
  if (handle == nullptr) return LastError();
  if (block) AsLocal(block)->MarkFilled();
  find = static_cast<UrlCacheFind>(reinterpret_cast<std::uintptr_t>(handle));
  return url_cache_status::Success;
}

UrlCacheStatus Win32UrlCache::FindNextEntry(UrlCacheFind find, UrlCacheEntryBlock* block,
                                            std::uint32_t& size) {
  DWORD capacity = block ? block->Size() : 0;
  INTERNET_CACHE_ENTRY_INFOW* record = block ? AsLocal(block)->PrepareForFetch() : nullptr;
  const BOOL fetched = FindNextUrlCacheEntryW(ToHandle(find), record, &capacity);
  size = capacity;
  if (!fetched) return LastError();
  if (block) AsLocal(block)->MarkFilled();
  return url_cache_status::Success;
}

UrlCacheStatus Win32UrlCache::DeleteEntry(std::string_view sourceUrl) {
  const std::wstring url = Widen(sourceUrl);
  return DeleteUrlCacheEntryW(url.c_str()) ? url_cache_status::Success : LastError();
}

void Win32UrlCache::CloseFind(UrlCacheFind find) { FindCloseUrlCache(ToHandle(find)); }

}  // namespace quorvane::win32
