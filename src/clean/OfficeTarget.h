#pragma once
// Recent-file lists of the office applications and the office recent-shortcut folder.

#include "clean/CleanContext.h"

namespace quorvane {

void CleanOffice(CleanContext& context);

}  // namespace quorvane
