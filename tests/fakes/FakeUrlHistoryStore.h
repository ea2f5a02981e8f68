#pragma once
// The URL history store in memory. Entries keep the order they were first added in; adding
// a URL again updates its entry. A listing is a snapshot; local time is UTC plus an offset.

#include <algorithm>
#include <iterator>
#include <vector>

#include "core/platform/UrlHistoryStore.h"

namespace quorvane::fakes {

class FakeUrlHistoryStore final : public UrlHistoryStore {
 public:
  std::vector<UrlHistoryEntry> entries;
  // Added to a UTC file time to give local time (100-nanosecond units).
  std::int64_t localOffset = 0;
  HistoryStatus openResult = history_status::Ok;
  // Next fails after delivering this many entries of a listing; negative never.
  int nextFailsAfter = -1;
  // Every call of an open session fails with this status, as on a platform whose store
  // implements none of its methods.
  void FailEveryCall(HistoryStatus status) { sessionResult_ = status; }

  HistoryStatus Open(std::unique_ptr<UrlHistorySession>& session) override {
    if (Succeeded(openResult)) session = std::make_unique<Session>(*this);
    return openResult;
  }
  HistoryStatus UtcToLocalFileTime(std::uint64_t utc, std::uint64_t& local) override {
    local = utc + static_cast<std::uint64_t>(localOffset);
    return history_status::Ok;
  }

 private:
  class Enumerator final : public UrlHistoryEnumerator {
   public:
    Enumerator(std::vector<UrlHistoryEntry> snapshot, int failAfter)
        : snapshot_(std::move(snapshot)), failAfter_(static_cast<std::size_t>(failAfter)) {}
    HistoryStatus Next(UrlHistoryEntry& entry, bool& fetched) override {
      fetched = next_ < snapshot_.size() && next_ != failAfter_;
      if (fetched) entry = snapshot_[next_++];
      return !fetched && next_ == failAfter_ ? history_status::Failed : history_status::Ok;
    }

   private:
    std::vector<UrlHistoryEntry> snapshot_;
    std::size_t next_ = 0;
    std::size_t failAfter_;  // a negative count never comes
  };

  class Session final : public UrlHistorySession {
   public:
    explicit Session(FakeUrlHistoryStore& store) : store_(store) {}
    HistoryStatus AddUrl(std::string_view url, std::string_view title,
                         std::uint32_t flags) override {
      if (!Succeeded(store_.sessionResult_)) return store_.sessionResult_;
      auto& entries = store_.entries;
      auto entry = std::find_if(entries.begin(), entries.end(),
                                [&](const UrlHistoryEntry& e) { return e.url == url; });
      if (entry == entries.end()) entry = entries.insert(entries.end(), UrlHistoryEntry{});
      const std::uint64_t now = 133'000'000'000'000'000;  // in 2022
      *entry = {std::string(url), std::string(title), now, now, entry->expires, flags};
      return history_status::Ok;
    }
    HistoryStatus DeleteUrl(std::string_view url, std::uint32_t) override {
      if (!Succeeded(store_.sessionResult_)) return store_.sessionResult_;
      std::erase_if(store_.entries, [&](const UrlHistoryEntry& e) { return e.url == url; });
      return history_status::Ok;
    }
    HistoryStatus EnumUrls(std::string_view urlStartsWith, std::uint32_t,
                           std::unique_ptr<UrlHistoryEnumerator>& entries) override {
      if (!Succeeded(store_.sessionResult_)) return store_.sessionResult_;
      std::vector<UrlHistoryEntry> snapshot;
      std::copy_if(store_.entries.begin(), store_.entries.end(), std::back_inserter(snapshot),
                   [&](const UrlHistoryEntry& e) { return e.url.starts_with(urlStartsWith); });
      entries = std::make_unique<Enumerator>(std::move(snapshot), store_.nextFailsAfter);
      return history_status::Ok;
    }
    HistoryStatus ClearHistory() override {
      if (!Succeeded(store_.sessionResult_)) return store_.sessionResult_;
      store_.entries.clear();
      return history_status::Ok;
    }

   private:
    FakeUrlHistoryStore& store_;
  };

  HistoryStatus sessionResult_ = history_status::Ok;
};

}  // namespace quorvane::fakes
