#include "fakes/FakeWindowServices.h"

namespace quorvane::fakes {

int FakeWindowServices::MessageBox(std::string_view text, std::string_view title,
                                   std::uint32_t style) {
  messageBoxes.push_back({std::string(text), std::string(title), style});
  return messageBoxAnswer;
}

void FakeWindowServices::ProcessPendingEvents() {
  ++processEventsCalls;
  if (onProcessEvents) onProcessEvents();
}

bool FakeWindowServices::AcquireSingleInstance(std::string_view name) {
  return heldInstances.emplace(name).second;
}

}  // namespace quorvane::fakes
