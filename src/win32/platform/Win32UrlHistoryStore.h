#pragma once
// The platform's URL history store, the COM object behind IUrlHistoryStg2.

#include "core/platform/UrlHistoryStore.h"

namespace quorvane::win32 {

class Win32UrlHistoryStore final : public UrlHistoryStore {
 public:
  [[nodiscard]] HistoryStatus Open(std::unique_ptr<UrlHistorySession>& session) override;
  [[nodiscard]] HistoryStatus UtcToLocalFileTime(std::uint64_t utc, std::uint64_t& local) override;
};

}  // namespace quorvane::win32
