#include "clean/BrowserTargets.h"

namespace quorvane {

// The browser stores are not cleaned by this version yet. The run still gates, ticks and
// counts both lines, so the options and the window behave as they will once they are.
void CleanIE(CleanContext&) {}

void CleanNetscape(CleanContext&) {}

}  // namespace quorvane
