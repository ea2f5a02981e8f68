#pragma once
// Everything the program asks of the operating system, passed as one bundle.

#include "core/platform/FileSystem.h"
#include "core/platform/ProfileStrings.h"
#include "core/platform/Registry.h"
#include "core/platform/Shell.h"
#include "core/platform/TextCodec.h"
#include "core/platform/UrlCache.h"
#include "core/platform/UrlHistoryStore.h"
#include "core/platform/UserSettings.h"
#include "core/platform/WindowServices.h"

namespace quorvane {

struct Platform {
  Registry& registry;
  ProfileStrings& profile;
  UserSettings& userSettings;
  FileSystem& files;
  Shell& shell;
  WindowServices& windows;
  TextCodec& codec;
  UrlCache& urlCache;
  UrlHistoryStore& urlHistory;
};

}  // namespace quorvane
