#include "clean/urlhistory/CURLHistory.h"

namespace quorvane {

HistoryResult<CURLHistory> CURLHistory::Create(UrlHistoryStore& store) {
  std::unique_ptr<UrlHistorySession> session;
  if (const HistoryStatus opened = store.Open(session); !Succeeded(opened) || !session) {
    return HistoryResult<CURLHistory>::Failure(opened);
  }
  CURLHistory history(store, std::move(session));
  if (const HistoryStatus listed = history.Refresh(); !Succeeded(listed)) {
    return HistoryResult<CURLHistory>::Failure(listed);
  }
  return history;
}

HistoryStatus CURLHistory::AddURL(std::string_view url, std::string_view title,
                                  std::uint32_t flags) {
  return session_->AddUrl(url, title, flags);
}

HistoryStatus CURLHistory::Clear() {
  if (const HistoryStatus cleared = session_->ClearHistory(); !Succeeded(cleared)) return cleared;
  return Refresh();
}

HistoryStatus CURLHistory::Refresh(std::string_view urlStartsWith, std::uint32_t flags) {
  std::unique_ptr<UrlHistoryEnumerator> entries;
  if (const HistoryStatus listed = session_->EnumUrls(urlStartsWith, flags, entries);
      !Succeeded(listed) || !entries) {
    return Succeeded(listed) ? history_status::Failed : listed;
  }
  items_.clear();
  for (;;) {
    UrlHistoryEntry entry;
    bool fetched = false;
    if (const HistoryStatus next = entries->Next(entry, fetched); !Succeeded(next)) return next;
    if (!fetched) return history_status::Ok;
    items_.push_back(URLHistoryItem(*store_, std::move(entry)));
  }
}

HistoryResult<URLHistoryItem> CURLHistory::Item(std::uint32_t index) const {
  if (!InRange(index))
    return HistoryResult<URLHistoryItem>::Failure(history_status::InvalidArgument);
  return items_[index - 1];
}

HistoryStatus CURLHistory::Remove(std::uint32_t index) {
  if (!InRange(index)) return history_status::InvalidArgument;
  if (const HistoryStatus deleted = session_->DeleteUrl(items_[index - 1].URL(), 0);
      !Succeeded(deleted)) {
    return deleted;
  }
  items_.erase(items_.begin() + (index - 1));
  return history_status::Ok;
}

HistoryStatus CURLHistory::DeleteURL(std::string_view url, std::uint32_t flags) {
  if (const HistoryStatus deleted = session_->DeleteUrl(url, flags); !Succeeded(deleted)) {
    return deleted;
  }
  return Refresh();
}

}  // namespace quorvane
