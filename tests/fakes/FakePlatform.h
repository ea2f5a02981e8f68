#pragma once
// One of every fake, bundled as the platform the program is given. The bundle refers to
// the members, so a FakePlatform is never copied (its file system cannot be).

#include "core/platform/Platform.h"
#include "fakes/FakeFileSystem.h"
#include "fakes/FakeProfileStrings.h"
#include "fakes/FakeRegistry.h"
#include "fakes/FakeShell.h"
#include "fakes/FakeTextCodec.h"
#include "fakes/FakeUrlCache.h"
#include "fakes/FakeUrlHistoryStore.h"
#include "fakes/FakeUserSettings.h"
#include "fakes/FakeWindowServices.h"

namespace quorvane::fakes {

struct FakePlatform {
  FakeRegistry registry;
  FakeProfileStrings profile;
  FakeUserSettings userSettings;
  FakeFileSystem files;
  FakeShell shell;
  FakeWindowServices windows;
  FakeTextCodec codec;
  FakeUrlCache urlCache;
  FakeUrlHistoryStore urlHistory;

  Platform platform() {
    return Platform{registry, profile, userSettings, files,     shell,
                    windows,  codec,   urlCache,     urlHistory};
  }
};

}  // namespace quorvane::fakes
