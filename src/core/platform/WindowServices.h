#pragma once
// What the program asks of the windowing system outside its own windows.

#include <cstdint>
#include <string_view>

namespace quorvane {

namespace message_box {
inline constexpr std::uint32_t Ok = 0x0;
inline constexpr std::uint32_t IconCritical = 0x10;
inline constexpr std::uint32_t IconInformation = 0x40;
}  // namespace message_box

class WindowServices {
 public:
  virtual ~WindowServices() = default;
  // Shows a modal message box and returns the button pressed (1 = OK).
  virtual int MessageBox(std::string_view text, std::string_view title, std::uint32_t style) = 0;
  // Lets the windows process their pending events (repaint, clicks).
  virtual void ProcessPendingEvents() = 0;
  // Claims the single-instance token `name` for this user's session; false when another
  // running copy holds it. The token is held until it is released or the process ends.
  [[nodiscard]] virtual bool AcquireSingleInstance(std::string_view name) = 0;
  // Gives the token back before the process ends, so that a copy started next is not
  // refused. Services that never refuse hold no token and have nothing to give back.
  virtual void ReleaseSingleInstance() {}
  // Whether a running copy of this user's session holds the single-instance token `name`.
  [[nodiscard]] virtual bool InstanceRunning(std::string_view name) = 0;

  // One clean at a time among all of this user's programs: waits up to `milliseconds` for
  // the turn and says whether this program now holds it. The holder ends its turn with
  // EndCleanTurn; a program that ends without doing so gives the turn up as well.
  [[nodiscard]] virtual bool WaitForCleanTurn(std::uint32_t milliseconds) = 0;
  virtual void EndCleanTurn() = 0;
};

}  // namespace quorvane
