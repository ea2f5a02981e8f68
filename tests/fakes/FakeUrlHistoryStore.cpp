#include "fakes/FakeUrlHistoryStore.h"

#include <algorithm>

namespace quorvane::fakes {
namespace {

// What AddUrl stamps as last visited and last updated: a file time in 2022.
constexpr std::uint64_t kNow = 133'000'000'000'000'000;

class Enumerator final : public UrlHistoryEnumerator {
 public:
  Enumerator(std::vector<UrlHistoryEntry> snapshot, int failAfter)
      : snapshot_(std::move(snapshot)), failAfter_(failAfter) {}

  HistoryStatus Next(UrlHistoryEntry& entry, bool& fetched) override {
    fetched = false;
    if (failAfter_ >= 0 && next_ >= static_cast<std::size_t>(failAfter_)) {
      return history_status::Failed;
    }
    if (next_ < snapshot_.size()) {
      entry = snapshot_[next_++];
      fetched = true;
    }
    return history_status::Ok;
  }

 private:
  std::vector<UrlHistoryEntry> snapshot_;
  std::size_t next_ = 0;
  int failAfter_;
};

}  // namespace

class FakeUrlHistoryStore::Session final : public UrlHistorySession {
 public:
  explicit Session(FakeUrlHistoryStore& store) : store_(store) {}

  HistoryStatus AddUrl(std::string_view url, std::string_view title, std::uint32_t flags) override {
    if (!Succeeded(store_.sessionResult_)) return store_.sessionResult_;
    auto& entries = store_.entries;
    auto entry = std::find_if(entries.begin(), entries.end(),
                              [&](const UrlHistoryEntry& e) { return e.url == url; });
    if (entry == entries.end()) entry = entries.insert(entries.end(), UrlHistoryEntry{});
    entry->url = std::string(url);
    entry->title = std::string(title);
    entry->flags = flags;
    entry->lastVisited = entry->lastUpdated = kNow;
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

HistoryStatus FakeUrlHistoryStore::Open(std::unique_ptr<UrlHistorySession>& session) {
  if (Succeeded(openResult)) session = std::make_unique<Session>(*this);
  return openResult;
}

HistoryStatus FakeUrlHistoryStore::UtcToLocalFileTime(std::uint64_t utc, std::uint64_t& local) {
  local = utc + static_cast<std::uint64_t>(localOffset);
  return history_status::Ok;
}

}  // namespace quorvane::fakes
