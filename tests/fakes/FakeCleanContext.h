#pragma once
// What a cleaning target is given, over the fakes: the platform, the registry layer over
// the fake registry, the settings file and the application paths, wired into one
// CleanContext. Test fixtures derive from it next to ::testing::Test, so that they reach
// `fake`, `app` and `context` by the names they always had.

#include <string>
#include <utility>

#include "clean/CleanContext.h"
#include "fakes/FakePlatform.h"

namespace quorvane::fakes {

struct FakeCleanContext {
  explicit FakeCleanContext(std::string settingsFile = "C:\\Program Files\\Quorvane\\Local.Ini")
      : settings(fake.profile, std::move(settingsFile)) {}
  // The context refers to the members, so they stay where they are.
  FakeCleanContext(const FakeCleanContext&) = delete;
  FakeCleanContext& operator=(const FakeCleanContext&) = delete;

  FakePlatform fake;
  Platform platform = fake.platform();
  Reg32 reg{fake.registry, fake.windows};
  Settings settings;
  AppContext app;
  CleanContext context{platform, reg, settings, app};
};

}  // namespace quorvane::fakes
