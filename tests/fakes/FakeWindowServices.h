#pragma once
// Window services for tests: message boxes are recorded and answered with OK at once, and
// the event pump can run a test's own action (a click during a run, say).

#include <functional>
#include <set>
#include <string>
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
  int MessageBox(std::string_view text, std::string_view title, std::uint32_t style) override {
    messageBoxes.push_back({std::string(text), std::string(title), style});
    return 1;
  }
  void ProcessPendingEvents() override {
    if (onProcessEvents) onProcessEvents();
  }
  bool AcquireSingleInstance(std::string_view name) override {
    return heldInstances_.emplace(name).second;
  }
  void ReleaseSingleInstance() override { heldInstances_.clear(); }
  bool InstanceRunning(std::string_view name) override { return runningInstances.count(name) != 0; }
  // Refused while another program's clean is said to run; every wait is counted.
  bool WaitForCleanTurn(std::uint32_t) override {
    ++cleanTurnWaits;
    if (otherCleanRuns && otherCleanRuns()) return false;
    return !holdsCleanTurn && (holdsCleanTurn = true);
  }
  void EndCleanTurn() override { holdsCleanTurn = false; }

  std::vector<MessageBoxCall> messageBoxes;
  std::function<void()> onProcessEvents;
  std::set<std::string, std::less<>> runningInstances;  // tokens held by other programs
  std::function<bool()> otherCleanRuns;
  bool holdsCleanTurn = false;
  int cleanTurnWaits = 0;

 private:
  std::set<std::string, std::less<>> heldInstances_;
};

}  // namespace quorvane::fakes
