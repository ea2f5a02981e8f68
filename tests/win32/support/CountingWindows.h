#pragma once
#include "core/platform/WindowServices.h"

namespace quorvane::testing {

// Counts message boxes and answers each with OK, so a test over the real platform can check
// that none was shown without a window appearing.
struct CountingWindows final : WindowServices {
  int MessageBox(std::string_view, std::string_view, std::uint32_t) override { return ++boxes, 1; }
  void ProcessPendingEvents() override {}
  bool AcquireSingleInstance(std::string_view) override { return true; }
  bool InstanceRunning(std::string_view) override { return false; }
  bool WaitForCleanTurn(std::uint32_t) override { return true; }
  void EndCleanTurn() override {}
  int boxes = 0;
};

}  // namespace quorvane::testing
