#pragma once
// What a cleaning target is given, over the fakes: the platform, the registry layer over
// the fake registry, the settings file and the application paths, wired into one
// CleanContext that refers to them, so this is never copied. Test fixtures derive from it
// next to ::testing::Test, so that they reach `fake`, `app` and `context` by their names.

#include "clean/CleanContext.h"
#include "fakes/FakePlatform.h"

namespace quorvane::fakes {

struct FakeCleanContext {
  FakePlatform fake;
  Platform platform = fake.platform();
  Reg32 reg{fake.registry, fake.windows};
  Settings settings{fake.profile, "C:\\Program Files\\Quorvane\\Local.Ini"};
  AppContext app;
  CleanContext context{platform, reg, settings, app};
};

}  // namespace quorvane::fakes
