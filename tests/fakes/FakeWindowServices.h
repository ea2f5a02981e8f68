#pragma once
// Window services for tests: message boxes are recorded and answered with OK at once, the
// event pump is counted and can run a test's own action (a click during a run, say), and
// single-instance tokens are held in a set that a test can fill to play "another copy runs".

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/WindowServices.h"

namespace quorvane::fakes {

struct MessageBoxCall {
  std::string text;
  std::string title;
  std::uint32_t style = 0;
  bool operator==(const MessageBoxCall&) const = default;
};

class FakeWindowServices final : public WindowServices {
 public:
  int MessageBox(std::string_view text, std::string_view title, std::uint32_t style) override;
  void ProcessPendingEvents() override;
  [[nodiscard]] bool AcquireSingleInstance(std::string_view name) override;

  std::vector<MessageBoxCall> messageBoxes;
  int messageBoxAnswer = 1;  // the button every box returns (1 = OK)

  int processEventsCalls = 0;
  std::function<void()> onProcessEvents;  // run on every ProcessPendingEvents when set

  // Tokens held by this process or by "another copy"; AcquireSingleInstance fails for these.
  std::set<std::string, std::less<>> heldInstances;
};

}  // namespace quorvane::fakes
