#pragma once
#include "core/platform/WindowServices.h"

namespace quorvane::testing {

// Counts message boxes and answers each with OK, so a test over the real platform can check
// that none was shown without a window appearing.
struct CountingWindows final : WindowServices {
  int MessageBox(std::string_view, std::string_view, std::uint32_t) override { return ++boxes, 1; }
  void ProcessPendingEvents() override {}
  bool AcquireSingleInstance(std::string_view) override { return true; }
  int boxes = 0;
};

}  // namespace quorvane::testing
