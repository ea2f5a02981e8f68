#pragma once
// Carries out the user's custom clean items: every record of every item file.

#include "clean/CleanContext.h"

namespace quorvane {

void CleanCustomItems(CleanContext& context);

}  // namespace quorvane
