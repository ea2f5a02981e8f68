#include "fakes/FakeUrlHistoryStore.h"

#include <algorithm>

namespace quorvane::fakes {

class FakeUrlHistoryStore::Enumerator final : public UrlHistoryEnumerator {
 public:
  Enumerator(std::vector<UrlHistoryEntry> snapshot, int failAfter, std::shared_ptr<int> open)
      : snapshot_(std::move(snapshot)), failAfter_(failAfter), open_(std::move(open)) {
    ++*open_;
  }
  ~Enumerator() override { --*open_; }

  HistoryStatus Next(UrlHistoryEntry& entry, bool& fetched) override {
    fetched = false;
    if (failAfter_ >= 0 && next_ >= static_cast<std::size_t>(failAfter_)) {
      return history_status::Failed;
    }
    if (next_ >= snapshot_.size()) return history_status::Ok;
    entry = snapshot_[next_++];
    fetched = true;
    return history_status::Ok;
  }

 private:
  std::vector<UrlHistoryEntry> snapshot_;
  std::size_t next_ = 0;
  int failAfter_;
  std::shared_ptr<int> open_;
};

class FakeUrlHistoryStore::Session final : public UrlHistorySession {
 public:
  explicit Session(FakeUrlHistoryStore& store) : store_(store), open_(store.openSessions_) {
    ++*open_;
  }
  ~Session() override { --*open_; }

  HistoryStatus AddUrl(std::string_view url, std::string_view title, std::uint32_t flags) override {
    if (!Succeeded(store_.addResult)) return store_.addResult;
    UrlHistoryEntry* entry = Find(url);
    if (entry == nullptr) {
      entry = &store_.entries.emplace_back();
      entry->url = std::string(url);
    }
    entry->title = std::string(title);
    entry->flags = flags;
    entry->lastVisited = store_.now;
    entry->lastUpdated = store_.now;
    return history_status::Ok;
  }

  HistoryStatus DeleteUrl(std::string_view url, std::uint32_t) override {
    if (!Succeeded(store_.deleteResult)) return store_.deleteResult;
    std::erase_if(store_.entries, [&](const UrlHistoryEntry& e) { return e.url == url; });
    return history_status::Ok;
  }

  HistoryStatus EnumUrls(std::string_view urlStartsWith, std::uint32_t flags,
                         std::unique_ptr<UrlHistoryEnumerator>& entries) override {
    if (!Succeeded(store_.enumResult)) return store_.enumResult;
    store_.lastPrefix = std::string(urlStartsWith);
    store_.lastEnumFlags = flags;
    std::vector<UrlHistoryEntry> snapshot;
    for (const UrlHistoryEntry& entry : store_.entries) {
      if (entry.url.starts_with(urlStartsWith)) snapshot.push_back(entry);
    }
    entries = std::make_unique<Enumerator>(std::move(snapshot), store_.nextFailsAfter,
                                           store_.openEnumerators_);
    return history_status::Ok;
  }

  HistoryStatus ClearHistory() override {
    if (!Succeeded(store_.clearResult)) return store_.clearResult;
    store_.entries.clear();
    return history_status::Ok;
  }

 private:
  UrlHistoryEntry* Find(std::string_view url) {
    const auto found = std::find_if(store_.entries.begin(), store_.entries.end(),
                                    [&](const UrlHistoryEntry& e) { return e.url == url; });
    return found == store_.entries.end() ? nullptr : &*found;
  }

  FakeUrlHistoryStore& store_;
  std::shared_ptr<int> open_;
};

void FakeUrlHistoryStore::FailEveryCall(HistoryStatus status) {
  addResult = deleteResult = enumResult = clearResult = status;
}

bool FakeUrlHistoryStore::Contains(std::string_view url) const {
  return std::any_of(entries.begin(), entries.end(),
                     [&](const UrlHistoryEntry& e) { return e.url == url; });
}

HistoryStatus FakeUrlHistoryStore::Open(std::unique_ptr<UrlHistorySession>& session) {
  if (!Succeeded(openResult)) return openResult;
  session = std::make_unique<Session>(*this);
  return history_status::Ok;
}

HistoryStatus FakeUrlHistoryStore::UtcToLocalFileTime(std::uint64_t utc, std::uint64_t& local) {
  if (!Succeeded(utcToLocalResult)) return utcToLocalResult;
  local = utc + static_cast<std::uint64_t>(localOffset);
  return history_status::Ok;
}

}  // namespace quorvane::fakes
