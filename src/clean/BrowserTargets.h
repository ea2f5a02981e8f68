#pragma once
// The browser targets of a clean run.

#include "clean/CleanContext.h"

namespace quorvane {

void CleanIE(CleanContext& context);
void CleanNetscape(CleanContext& context);

}  // namespace quorvane
