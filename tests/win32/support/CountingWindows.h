#pragma once
// Window services for tests over the real platform: a message box is only counted and
// answered with OK, so that a test can check that none was shown without a window
// appearing.

#include <cstdint>
#include <string_view>

#include "core/platform/WindowServices.h"

namespace quorvane::testing {

class CountingWindows final : public WindowServices {
 public:
  int MessageBox(std::string_view, std::string_view, std::uint32_t) override {
    ++boxes;
    return 1;
  }
  void ProcessPendingEvents() override {}
  bool AcquireSingleInstance(std::string_view) override { return true; }
  int boxes = 0;
};

}  // namespace quorvane::testing
