#pragma once
// The URL history as a collection: opens the platform's store, lists its entries (filtered
// if asked), adds, deletes and erases entries. A failing call of the store is handed back
// as its status; the caller decides what to make of it.

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "clean/urlhistory/HistoryResult.h"
#include "clean/urlhistory/URLHistoryItem.h"
#include "core/platform/UrlHistoryStore.h"

namespace quorvane {

class CURLHistory {
 public:
  // Opens the store and lists every entry, so that a fresh collection is complete.
  static HistoryResult<CURLHistory> Create(UrlHistoryStore& store);

  // Adds an entry to the store; the list is not refreshed.
  [[nodiscard]] HistoryStatus AddURL(std::string_view url, std::string_view title,
                                     std::uint32_t flags);
  // Items in the list as of the last refresh.
  std::uint32_t Count() const { return static_cast<std::uint32_t>(items_.size()); }
  // Erases the whole store, then lists it again.
  [[nodiscard]] HistoryStatus Clear();
  // Lists the store anew: the entries whose URL begins with `urlStartsWith` (all when it is
  // empty). When the store fails part-way, the list holds what was read until then.
  [[nodiscard]] HistoryStatus Refresh(std::string_view urlStartsWith = {}, std::uint32_t flags = 0);
  // The item at 1-based `index`.
  HistoryResult<URLHistoryItem> Item(std::uint32_t index) const;
  // Deletes the item's URL from the store and drops the item from the list, without a
  // refresh.
  [[nodiscard]] HistoryStatus Remove(std::uint32_t index);
  // Deletes a URL from the store, then lists it again.
  [[nodiscard]] HistoryStatus DeleteURL(std::string_view url, std::uint32_t flags);
  // The items in list order.
  std::span<const URLHistoryItem> NewEnum() const { return items_; }

 private:
  CURLHistory(UrlHistoryStore& store, std::unique_ptr<UrlHistorySession> session)
      : store_(&store), session_(std::move(session)) {}

  bool InRange(std::uint32_t index) const { return index >= 1 && index <= Count(); }

  UrlHistoryStore* store_;
  std::unique_ptr<UrlHistorySession> session_;
  std::vector<URLHistoryItem> items_;
};

}  // namespace quorvane
