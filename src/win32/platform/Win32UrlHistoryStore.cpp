#include "win32/platform/Win32UrlHistoryStore.h"

#include <windows.h>

#include <objbase.h>
#include <urlhist.h>

#include "win32/platform/WideText.h"

namespace quorvane::win32 {
namespace {

// The URL history object: {3C374A40-BAE4-11CF-BF7D-00AA006946EE}.
constexpr CLSID kUrlHistoryClass = {
    0x3c374a40, 0xbae4, 0x11cf, {0xbf, 0x7d, 0x00, 0xaa, 0x00, 0x69, 0x46, 0xee}};

std::uint64_t FromFileTime(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME ToFileTime(std::uint64_t time) {
  return FILETIME{static_cast<DWORD>(time & 0xFFFFFFFFu), static_cast<DWORD>(time >> 32)};
}

// Takes over a text that the store allocated with the task allocator.
std::string TakeText(LPWSTR text) {
  if (text == nullptr) return {};
  std::string copy = Narrow(text);
  CoTaskMemFree(text);
  return copy;
}

class ComEnumerator final : public UrlHistoryEnumerator {
 public:
  explicit ComEnumerator(IEnumSTATURL* entries) : entries_(entries) {}
  ~ComEnumerator() override { entries_->Release(); }
  ComEnumerator(const ComEnumerator&) = delete;
  ComEnumerator& operator=(const ComEnumerator&) = delete;

  HistoryStatus Next(UrlHistoryEntry& entry, bool& fetched) override {
    fetched = false;
    STATURL record{};
    record.cbSize = sizeof(record);
    ULONG count = 0;
    const HRESULT result = entries_->Next(1, &record, &count);
    if (FAILED(result)) return result;
    if (result != S_OK || count == 0) return S_OK;
    // The entry keeps copies of both texts; the store's own are freed at once.
    entry.title = TakeText(record.pwcsTitle);
    entry.url = TakeText(record.pwcsUrl);
    entry.lastVisited = FromFileTime(record.ftLastVisited);
    entry.lastUpdated = FromFileTime(record.ftLastUpdated);
    entry.expires = FromFileTime(record.ftExpires);
    entry.flags = record.dwFlags;
    fetched = true;
    return S_OK;
  }

 private:
  IEnumSTATURL* entries_;
};

// Holds the store, and this thread's share of COM, as long as the session lives. Listings
// are made and released within the session's life.
class ComSession final : public UrlHistorySession {
 public:
  ComSession(IUrlHistoryStg2* store, bool ownsComInit) : store_(store), ownsComInit_(ownsComInit) {}
  ~ComSession() override {
    store_->Release();
    if (ownsComInit_) CoUninitialize();
  }
  ComSession(const ComSession&) = delete;
  ComSession& operator=(const ComSession&) = delete;

  HistoryStatus AddUrl(std::string_view url, std::string_view title, std::uint32_t flags) override {
    const std::wstring wideUrl = Widen(url);
    const std::wstring wideTitle = Widen(title);
    return store_->AddUrl(wideUrl.c_str(), wideTitle.c_str(), flags);
  }

  HistoryStatus DeleteUrl(std::string_view url, std::uint32_t flags) override {
    const std::wstring wideUrl = Widen(url);
    return store_->DeleteUrl(wideUrl.c_str(), flags);
  }

  HistoryStatus EnumUrls(std::string_view urlStartsWith, std::uint32_t flags,
                         std::unique_ptr<UrlHistoryEnumerator>& entries) override {
    IEnumSTATURL* listing = nullptr;
    if (const HRESULT result = store_->EnumUrls(&listing); FAILED(result) || listing == nullptr) {
      return FAILED(result) ? result : E_FAIL;
    }
    auto owned = std::make_unique<ComEnumerator>(listing);
    const std::wstring prefix = Widen(urlStartsWith);
    // No filter at all rather than an empty one, which a store might take literally.
    if (const HRESULT result = listing->SetFilter(prefix.empty() ? nullptr : prefix.c_str(), flags);
        FAILED(result)) {
      return result;
    }
    entries = std::move(owned);
    return S_OK;
  }

  HistoryStatus ClearHistory() override { return store_->ClearHistory(); }

 private:
  IUrlHistoryStg2* store_;
  bool ownsComInit_;
};

}  // namespace

HistoryStatus Win32UrlHistoryStore::Open(std::unique_ptr<UrlHistorySession>& session) {
  // The store is a COM object: this thread joins COM for the session's life unless it has
  // already joined (then the call only counts up, and is balanced when the session ends).
  const HRESULT joined = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const bool ownsComInit = SUCCEEDED(joined);
  IUrlHistoryStg2* store = nullptr;
  const HRESULT created = CoCreateInstance(kUrlHistoryClass, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IUrlHistoryStg2, reinterpret_cast<void**>(&store));
  if (FAILED(created) || store == nullptr) {
    if (ownsComInit) CoUninitialize();
    return FAILED(created) ? created : E_FAIL;
  }
  session = std::make_unique<ComSession>(store, ownsComInit);
  return S_OK;
}

HistoryStatus Win32UrlHistoryStore::UtcToLocalFileTime(std::uint64_t utc, std::uint64_t& local) {
  const FILETIME utcTime = ToFileTime(utc);
  FILETIME localTime{};
  if (!FileTimeToLocalFileTime(&utcTime, &localTime)) return HRESULT_FROM_WIN32(GetLastError());
  local = FromFileTime(localTime);
  return S_OK;
}

}  // namespace quorvane::win32
