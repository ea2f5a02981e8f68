#pragma once
// The Internet Explorer targets of a clean run (the Netscape ones are in NetscapeTargets.h).

#include "clean/CleanContext.h"

namespace quorvane {

// The Internet Explorer group: cache entries, cookie files, downloaded-program files and
// their registration, URL history and typed addresses, and the start of the companion
// cleaner, each when its option of section "IEOptions" is on, in that order.
void CleanIE(CleanContext& context);

}  // namespace quorvane
