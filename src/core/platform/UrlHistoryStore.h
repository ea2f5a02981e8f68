#pragma once
// The platform's store of visited addresses. Every call returns the platform's status
// (0 success, a negative value for a failure); nothing is thrown.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quorvane {

using HistoryStatus = std::int32_t;
namespace history_status {
inline constexpr HistoryStatus Ok = 0;
inline constexpr HistoryStatus NotImplemented = static_cast<HistoryStatus>(0x80004001u);
inline constexpr HistoryStatus Failed = static_cast<HistoryStatus>(0x80004005u);
inline constexpr HistoryStatus InvalidArgument = static_cast<HistoryStatus>(0x80070057u);
inline constexpr HistoryStatus OutOfMemory = static_cast<HistoryStatus>(0x8007000Eu);
}  // namespace history_status

inline bool Succeeded(HistoryStatus status) { return status >= 0; }

// One entry as the store lists it. Times are UTC file times: 100-nanosecond intervals
// since 1 January 1601.
struct UrlHistoryEntry {
  std::string url;
  std::string title;  // empty when the entry has none
  std::uint64_t lastVisited = 0;
  std::uint64_t lastUpdated = 0;
  std::uint64_t expires = 0;
  std::uint32_t flags = 0;
};

class UrlHistoryEnumerator {
 public:
  virtual ~UrlHistoryEnumerator() = default;
  // Fetches the next entry; `fetched` is false once the list is exhausted.
  [[nodiscard]] virtual HistoryStatus Next(UrlHistoryEntry& entry, bool& fetched) = 0;
};

// The store held open; closed when destroyed.
class UrlHistorySession {
 public:
  virtual ~UrlHistorySession() = default;
  [[nodiscard]] virtual HistoryStatus AddUrl(std::string_view url, std::string_view title,
                                             std::uint32_t flags) = 0;
  [[nodiscard]] virtual HistoryStatus DeleteUrl(std::string_view url, std::uint32_t flags) = 0;
  // Lists the entries whose URL begins with `urlStartsWith` (every entry when it is empty).
  [[nodiscard]] virtual HistoryStatus EnumUrls(std::string_view urlStartsWith, std::uint32_t flags,
                                               std::unique_ptr<UrlHistoryEnumerator>& entries) = 0;
  // Erases every entry.
  [[nodiscard]] virtual HistoryStatus ClearHistory() = 0;
};

class UrlHistoryStore {
 public:
  virtual ~UrlHistoryStore() = default;
  [[nodiscard]] virtual HistoryStatus Open(std::unique_ptr<UrlHistorySession>& session) = 0;
  // The local file time of a UTC file time, by the platform's own time-zone rules.
  [[nodiscard]] virtual HistoryStatus UtcToLocalFileTime(std::uint64_t utc,
                                                         std::uint64_t& local) = 0;
};

}  // namespace quorvane
