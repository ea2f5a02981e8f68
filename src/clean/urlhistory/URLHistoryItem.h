#pragma once
// One entry of the URL history as the store listed it: address, title, times and flags.

#include <cstdint>
#include <string>

#include "clean/urlhistory/HistoryResult.h"
#include "core/platform/UrlHistoryStore.h"

namespace quorvane {

class CURLHistory;

class URLHistoryItem {
 public:
  // The stored UTC times in local time, as automation dates. The stored times stay as they
  // are, so reading a date twice gives the same value.
  HistoryResult<double> LastVisited() const;
  HistoryResult<double> Expires() const;
  HistoryResult<double> LastUpdated() const;
  const std::string& URL() const { return entry_.url; }
  // Empty when the entry has no title.
  const std::string& Title() const { return entry_.title; }
  std::uint32_t Flags() const { return entry_.flags; }

 private:
  // Only the collection makes items, from the entries the store lists.
  friend class CURLHistory;
  URLHistoryItem(UrlHistoryStore& store, UrlHistoryEntry entry)
      : store_(&store), entry_(std::move(entry)) {}

  HistoryResult<double> LocalDate(std::uint64_t utc) const;

  // The platform's store, for its time-zone rules; it outlives every item.
  UrlHistoryStore* store_;
  UrlHistoryEntry entry_;
};

}  // namespace quorvane
