#include "netscape/NetscapeDetection.h"

#include <gtest/gtest.h>

#include "fakes/FakeRegistry.h"
#include "fakes/FakeWindowServices.h"

namespace quorvane {
namespace {

constexpr RegKey HKLM = reg_root::LocalMachine;
constexpr const char* kNetscape6Key = "Software\\Netscape\\Netscape 6";
constexpr const char* kNavigatorKey = "Software\\Netscape\\Netscape Navigator";

// Netscape 6 wins when its version is non-empty text; otherwise the generation is Navigator's,
// whatever an earlier detection found.
TEST(NetscapeDetectionTest, Netscape6WinsOnlyWithAVersion) {
  struct Row {
    const char* netscape6;
    const char* navigator;
    const char* version;
    int generation;
  };
  const Row rows[] = {{nullptr, "4.79 (en)", "4.79 (en)", kNavigator},
                      {"6.2.3 (en)", "4.79 (en)", "6.2.3 (en)", kNetscape6},
                      {nullptr, nullptr, "", kNavigator},
                      {"", "4.8", "4.8", kNavigator}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.version);
    fakes::FakeRegistry registry;
    fakes::FakeWindowServices windows;
    Reg32 reg{registry, windows};
    AppContext app;
    app.netscapeGeneration = kNetscape6;
    if (row.netscape6) {
      registry.SetString(HKLM, kNetscape6Key, "CurrentVersion", row.netscape6);
      registry.SetDword(HKLM, kNetscape6Key, "Other", 6);  // a value that is not the version
    }
    if (row.navigator) registry.SetString(HKLM, kNavigatorKey, "CurrentVersion", row.navigator);
    EXPECT_EQ(NetscapeVersion(reg, app), row.version);
    EXPECT_EQ(app.netscapeGeneration, row.generation);
    EXPECT_EQ(registry.OpenHandleCount(), 0u);
  }
}

}  // namespace
}  // namespace quorvane
