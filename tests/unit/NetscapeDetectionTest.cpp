#include "netscape/NetscapeDetection.h"

#include <gtest/gtest.h>

#include "fakes/FakeRegistry.h"
#include "fakes/FakeWindowServices.h"

namespace quorvane {
namespace {

constexpr RegKey HKLM = reg_root::LocalMachine;
constexpr const char* kNetscape6Key = "Software\\Netscape\\Netscape 6";
constexpr const char* kNavigatorKey = "Software\\Netscape\\Netscape Navigator";

class NetscapeDetectionTest : public ::testing::Test {
 protected:
  fakes::FakeRegistry registry;
  fakes::FakeWindowServices windows;
  Reg32 reg{registry, windows};
  AppContext app;
};

TEST_F(NetscapeDetectionTest, OnlyNavigatorGivesItsVersionAndGenerationOne) {
  registry.SetString(HKLM, kNavigatorKey, "CurrentVersion", "4.79 (en)");

  EXPECT_EQ(NetscapeVersion(reg, app), "4.79 (en)");
  EXPECT_EQ(app.netscapeGeneration, kNavigator);
}

TEST_F(NetscapeDetectionTest, WithBothInstalledNetscape6Wins) {
  registry.SetString(HKLM, kNavigatorKey, "CurrentVersion", "4.79 (en)");
  registry.SetString(HKLM, kNetscape6Key, "CurrentVersion", "6.2.3 (en)");

  EXPECT_EQ(NetscapeVersion(reg, app), "6.2.3 (en)");
  EXPECT_EQ(app.netscapeGeneration, kNetscape6);
}

TEST_F(NetscapeDetectionTest, WithNeitherTheVersionIsEmptyAndTheGenerationOne) {
  app.netscapeGeneration = kNetscape6;  // from an earlier detection

  EXPECT_EQ(NetscapeVersion(reg, app), "");
  EXPECT_EQ(app.netscapeGeneration, kNavigator);
}

TEST_F(NetscapeDetectionTest, AnEmptyOrNonTextNetscape6VersionFallsBackToNavigator) {
  registry.SetString(HKLM, kNetscape6Key, "CurrentVersion", "");
  registry.SetDword(HKLM, kNetscape6Key, "Other", 6);
  registry.SetString(HKLM, kNavigatorKey, "CurrentVersion", "4.8");

  EXPECT_EQ(NetscapeVersion(reg, app), "4.8");
  EXPECT_EQ(app.netscapeGeneration, kNavigator);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace quorvane
