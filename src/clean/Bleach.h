#pragma once
// Overwrites a file block by block before deleting it.

#include <string_view>

#include "clean/CleanContext.h"

namespace quorvane {

void BleachFile(CleanContext& context, std::string_view path);

}  // namespace quorvane
