#pragma once
// The browser targets of a clean run.

#include "clean/CleanContext.h"

namespace quorvane {

// The Internet Explorer group: cache entries, cookie files, downloaded-program files and
// their registration, URL history and typed addresses, and the start of the companion
// cleaner, each when its option of section "IEOptions" is on, in that order.
void CleanIE(CleanContext& context);
// The Netscape group: the selected Netscape 6 profiles, or the Navigator profile (see
// NetscapeTargets.h).
void CleanNetscape(CleanContext& context);

}  // namespace quorvane
