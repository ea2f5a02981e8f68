#pragma once
// The URL history store in memory. Entries keep the order in which they were first added;
// adding a URL again updates its entry. A listing is a snapshot taken when it starts.
// Local time is UTC shifted by a fixed offset.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/UrlHistoryStore.h"

namespace quorvane::fakes {

class FakeUrlHistoryStore final : public UrlHistoryStore {
 public:
  std::vector<UrlHistoryEntry> entries;
  // Added to a UTC file time to give local time (100-nanosecond units).
  std::int64_t localOffset = 0;
  // What Open returns; it opens nothing unless this is Ok.
  HistoryStatus openResult = history_status::Ok;
  // Next fails after delivering this many entries of a listing; negative never.
  int nextFailsAfter = -1;
  // Every call of an open session fails with this status, as on a platform whose store
  // implements none of its methods.
  void FailEveryCall(HistoryStatus status) { sessionResult_ = status; }

  [[nodiscard]] HistoryStatus Open(std::unique_ptr<UrlHistorySession>& session) override;
  [[nodiscard]] HistoryStatus UtcToLocalFileTime(std::uint64_t utc, std::uint64_t& local) override;

 private:
  class Session;
  HistoryStatus sessionResult_ = history_status::Ok;
};

}  // namespace quorvane::fakes
