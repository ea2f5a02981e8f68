#pragma once
// The URL history store in memory. Entries keep the order in which they were first added;
// adding a URL again updates its entry. A listing is a snapshot taken when it starts. Any
// call can be made to fail with a chosen status, as a store that only pretends to exist
// fails every call. Local time is UTC shifted by a fixed offset.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/UrlHistoryStore.h"

namespace quorvane::fakes {

class FakeUrlHistoryStore final : public UrlHistoryStore {
 public:
  // --- Set-up and inspection: the store's content, in order.
  std::vector<UrlHistoryEntry> entries;
  // The time AddUrl stamps as last visited and last updated.
  std::uint64_t now = 133'000'000'000'000'000;  // a file time in 2022
  // Added to a UTC file time to give local time (100-nanosecond units).
  std::int64_t localOffset = 0;

  // Failures, by call. Ok lets the call succeed.
  HistoryStatus openResult = history_status::Ok;
  HistoryStatus addResult = history_status::Ok;
  HistoryStatus deleteResult = history_status::Ok;
  HistoryStatus enumResult = history_status::Ok;
  HistoryStatus clearResult = history_status::Ok;
  HistoryStatus utcToLocalResult = history_status::Ok;
  // Next fails after delivering this many entries of a listing; negative never.
  int nextFailsAfter = -1;
  // Every call of an open session fails with this status, as on a platform whose store
  // implements none of its methods.
  void FailEveryCall(HistoryStatus status);

  bool Contains(std::string_view url) const;
  int OpenSessions() const { return *openSessions_; }
  int OpenEnumerators() const { return *openEnumerators_; }
  // Filter and flags of the last listing.
  std::string lastPrefix;
  std::uint32_t lastEnumFlags = 0;

  // --- UrlHistoryStore
  [[nodiscard]] HistoryStatus Open(std::unique_ptr<UrlHistorySession>& session) override;
  [[nodiscard]] HistoryStatus UtcToLocalFileTime(std::uint64_t utc, std::uint64_t& local) override;

 private:
  class Session;
  class Enumerator;
  std::shared_ptr<int> openSessions_ = std::make_shared<int>(0);
  std::shared_ptr<int> openEnumerators_ = std::make_shared<int>(0);
};

}  // namespace quorvane::fakes
