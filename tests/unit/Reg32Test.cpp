#include "core/Reg32.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "fakes/FakeRegistry.h"
#include "fakes/FakeWindowServices.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;
using namespace std::string_literals;
constexpr RegKey HKCU = reg_root::CurrentUser;

class Reg32Test : public ::testing::Test {
 protected:
  // Every operation closes what it opened, whatever happened.
  void TearDown() override { EXPECT_EQ(registry.OpenHandleCount(), 0u); }

  fakes::FakeRegistry registry;
  fakes::FakeWindowServices windows;
  Reg32 reg{registry, windows};
};

TEST_F(Reg32Test, GetStringValueReadsPlainStringsOnlyUpToTheirFirstNul) {
  registry.SetString(HKCU, "Software\\A", "Nul", "abc\0def"s);
  registry.SetString(HKCU, "Software\\A", "Expand", "%TEMP%", reg_type::ExpandString);
  registry.SetProtected(HKCU, "Software\\A");  // reading needs no write access
  EXPECT_EQ(reg.GetStringValue(HKCU, "software\\a", "NUL"), "abc");
  EXPECT_EQ(reg.GetStringValue(HKCU, "Software\\A", "Expand"), "");
}

TEST_F(Reg32Test, DeleteKeyTreeRemovesEveryLevelWhateverTheNameLength) {
  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\Missing"), reg_status::NotFound);
  registry.SetString(HKCU, "Software\\T\\A\\A1", "Value", "x");
  registry.SetString(HKCU, "Software\\Sibling", "Value", "x");
  for (const auto& name : {std::string(40, 'F'), std::string(255, 'M')}) {
    registry.CreateKeyPath(HKCU, "Software\\T\\" + name + "\\Deeper\\" + name);
  }
  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\T"), reg_status::Success);
  EXPECT_THAT(registry.SubKeyNames(HKCU, "Software"), ElementsAre("Sibling"));
  EXPECT_TRUE(windows.messageBoxes.empty());
}

TEST_F(Reg32Test, DeleteKeyTreeKeepsAProtectedKeyAndItsAncestorsAndSaysSoOnce) {
  registry.CreateKeyPath(HKCU, "Software\\T\\A\\Locked\\Inner");
  registry.CreateKeyPath(HKCU, "Software\\T\\A\\Free\\Inner");
  registry.CreateKeyPath(HKCU, "Software\\T\\B");
  registry.SetProtected(HKCU, "Software\\T\\A\\Locked");

  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\T"), reg_status::AccessDenied);
  EXPECT_THAT(windows.messageBoxes, ElementsAre(fakes::MessageBoxCall{
                                        "Access denied to delete registry key.", "Access Denied",
                                        message_box::IconCritical | message_box::Ok}));
  EXPECT_THAT(registry.SubKeyNames(HKCU, "Software\\T\\A"), ElementsAre("Locked"));
  EXPECT_TRUE(registry.KeyExists(HKCU, "Software\\T\\A\\Locked\\Inner"));
}

TEST_F(Reg32Test, DeleteValuesByPrefixSweepsOnlyMatchingValues) {
  constexpr const char* kKey = "Software\\App\\Settings";
  const std::string kept(300, 'k');
  for (const std::string& name :
       {"MRU1"s, "mru2"s, "LastMRU"s, "MRU" + std::string(297, 'n'), kept, "MRU\0hidden"s}) {
    registry.SetString(HKCU, kKey, name, "x");
  }
  registry.SetString(HKCU, kKey, "MRUBig", std::string(10000, 'b'), reg_type::Binary);
  registry.CreateKeyPath(HKCU, std::string(kKey) + "\\MRUChild");
  // Cut at its NUL the hidden name names no value: the sweep steps past it, not forever.
  reg.DeleteValuesByPrefix(kKey, "mru");
  EXPECT_THAT(registry.ValueNames(HKCU, kKey), ElementsAre("LastMRU", kept, "MRU\0hidden"s));
  EXPECT_TRUE(registry.KeyExists(HKCU, std::string(kKey) + "\\MRUChild"));
}

// An empty or separator-only sub-key names the root itself: whoever asks, nothing under a
// root is deleted through it.
TEST_F(Reg32Test, DeletingOperationsRefuseTheRootItself) {
  registry.SetString(HKCU, "Software\\Keep", "Value", "x");
  registry.SetString(HKCU, "", "RootValue", "x");
  for (const char* subKey : {"", "\\", "\\\\\\"}) {
    EXPECT_NE(reg.DeleteKeyTree(HKCU, subKey), reg_status::Success) << subKey;
    reg.DeleteValue(HKCU, subKey, "RootValue");
    reg.DeleteValuesByPrefix(subKey, "");
  }
  EXPECT_TRUE(registry.GetValue(HKCU, "Software\\Keep", "Value"));
  EXPECT_TRUE(registry.GetValue(HKCU, "", "RootValue"));
  EXPECT_TRUE(windows.messageBoxes.empty());
}

}  // namespace
}  // namespace quorvane
