#pragma once
// What every cleaning target is given: the platform, the registry layer, the settings file
// (read anew at each call), the application paths, and the run's "files removed" flag.

#include "core/AppContext.h"
#include "core/Reg32.h"
#include "core/SettingsKeys.h"
#include "core/platform/Platform.h"

namespace quorvane {

struct CleanContext {
  Platform& platform;
  Reg32& reg;
  const Settings& settings;
  const AppContext& app;
  // Cleared when a run starts; set by every step that deletes files. The space estimate
  // reads it.
  bool filesRemoved = false;
};

}  // namespace quorvane
