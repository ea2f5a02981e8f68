#pragma once
// A value of the URL history classes, or the platform status that kept it from being made.

#include <optional>
#include <utility>

#include "core/platform/UrlHistoryStore.h"

namespace quorvane {

template <typename T>
class [[nodiscard]] HistoryResult {
 public:
  HistoryResult(T value) : value_(std::move(value)) {}
  static HistoryResult Failure(HistoryStatus status) { return HistoryResult(status); }

  bool ok() const { return value_.has_value(); }
  // Ok with a value, the platform's failure without.
  HistoryStatus status() const { return status_; }
  // Only when ok().
  const T& value() const& { return *value_; }
  T& value() & { return *value_; }
  T&& value() && { return std::move(*value_); }

 private:
  explicit HistoryResult(HistoryStatus status)
      : status_(Succeeded(status) ? history_status::Failed : status) {}

  HistoryStatus status_ = history_status::Ok;
  std::optional<T> value_;
};

}  // namespace quorvane
