#pragma once
// Overwrites a file block by block before deleting it. With DeleteMode::AsFound a hidden or
// system file is passed over and a read-only one left; ResetAttributes clears them first.

#include <string_view>

#include "clean/CleanContext.h"
#include "core/platform/FileSystem.h"

namespace quorvane {

void BleachFile(CleanContext& context, std::string_view path, DeleteMode mode);

}  // namespace quorvane
