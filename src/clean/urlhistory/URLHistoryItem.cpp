#include "clean/urlhistory/URLHistoryItem.h"

#include <optional>

#include "clean/urlhistory/AutomationDate.h"

namespace quorvane {

HistoryResult<double> URLHistoryItem::LastVisited() const { return LocalDate(entry_.lastVisited); }

HistoryResult<double> URLHistoryItem::Expires() const { return LocalDate(entry_.expires); }

HistoryResult<double> URLHistoryItem::LastUpdated() const { return LocalDate(entry_.lastUpdated); }

HistoryResult<double> URLHistoryItem::LocalDate(std::uint64_t utc) const {
  std::uint64_t local = 0;
  if (const HistoryStatus status = store_->UtcToLocalFileTime(utc, local); !Succeeded(status)) {
    return HistoryResult<double>::Failure(status);
  }
  const std::optional<double> date = FileTimeToAutomationDate(local);
  if (!date) return HistoryResult<double>::Failure(history_status::InvalidArgument);
  return *date;
}

}  // namespace quorvane
