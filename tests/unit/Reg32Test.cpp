#include "core/Reg32.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "fakes/FakeRegistry.h"
#include "fakes/FakeWindowServices.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
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
  registry.SetString(HKCU, "Software\\A", "Plain", "C:\\file.txt");
  registry.SetString(HKCU, "Software\\A", "Nul", "abc\0def"s);
  registry.SetString(HKCU, "Software\\A", "Expand", "%TEMP%", reg_type::ExpandString);
  registry.SetProtected(HKCU, "Software\\A");  // reading needs no write access
  EXPECT_EQ(reg.GetStringValue(HKCU, "software\\a", "PLAIN"), "C:\\file.txt");
  EXPECT_EQ(reg.GetStringValue(HKCU, "Software\\A", "Nul"), "abc");
  EXPECT_EQ(reg.GetStringValue(HKCU, "Software\\A", "Expand"), "");
}

TEST_F(Reg32Test, DeleteKeyTreeRemovesEveryLevelWhateverTheNameLengthOrChildCount) {
  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\Missing"), reg_status::NotFound);
  registry.SetString(HKCU, "Software\\T\\A\\A1", "Value", "x");
  registry.SetString(HKCU, "Software\\Sibling", "Value", "x");
  for (const auto& name : {std::string(40, 'F'), std::string(255, 'M')}) {
    registry.CreateKeyPath(HKCU, "Software\\T\\" + name + "\\Deeper\\" + name);
  }
  for (int i = 0; i < 33000; ++i) {
    registry.CreateKeyPath(HKCU, "Software\\T\\Many\\Child" + std::to_string(100000 + i));
  }
  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\T"), reg_status::Success);
  EXPECT_THAT(registry.SubKeyNames(HKCU, "Software"), ElementsAre("Sibling"));
  EXPECT_THAT(windows.messageBoxes, IsEmpty());
}

TEST_F(Reg32Test, DeleteKeyTreeKeepsAProtectedKeyAndItsAncestorsAndSaysSoOnce) {
  registry.CreateKeyPath(HKCU, "Software\\T\\A\\Locked\\Inner");
  registry.CreateKeyPath(HKCU, "Software\\T\\A\\Free\\Inner");
  registry.CreateKeyPath(HKCU, "Software\\T\\B");
  registry.SetProtected(HKCU, "Software\\T\\A\\Locked");
  registry.CreateKeyPath(HKCU, "Software\\LockedLeaf");  // refused in the same way
  registry.SetProtected(HKCU, "Software\\LockedLeaf");

  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\T"), reg_status::AccessDenied);
  EXPECT_THAT(windows.messageBoxes, ElementsAre(fakes::MessageBoxCall{
                                        "Access denied to delete registry key.", "Access Denied",
                                        message_box::IconCritical | message_box::Ok}));
  EXPECT_THAT(registry.SubKeyNames(HKCU, "Software\\T\\A"), ElementsAre("Locked"));
  EXPECT_THAT(registry.SubKeyNames(HKCU, "Software\\T"), ElementsAre("A"));
  EXPECT_TRUE(registry.KeyExists(HKCU, "Software\\T\\A\\Locked\\Inner"));
  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\LockedLeaf"), reg_status::AccessDenied);
  EXPECT_EQ(windows.messageBoxes.size(), 2u);
}

TEST_F(Reg32Test, DeleteValuesByPrefixSweepsOnlyMatchingValuesOfTheUsersKey) {
  constexpr const char* kKey = "Software\\App\\Settings";
  const std::string kept(300, 'k');
  for (const std::string& name :
       {"MRU1"s, "mru2"s, "LastMRU"s, "MRU" + std::string(297, 'n'), kept, "MRU\0hidden"s}) {
    registry.SetString(HKCU, kKey, name, "x");
  }
  registry.SetBinary(HKCU, kKey, "MRUBig", std::string(10000, 'b'));
  registry.CreateKeyPath(HKCU, std::string(kKey) + "\\MRUChild");
  registry.SetString(reg_root::LocalMachine, kKey, "MRU1", "x");
  // Cut at its NUL the hidden name names no value: the sweep steps past it, not forever.
  reg.DeleteValuesByPrefix(kKey, "mru");
  EXPECT_THAT(registry.ValueNames(HKCU, kKey), ElementsAre("LastMRU", kept, "MRU\0hidden"s));
  EXPECT_TRUE(registry.KeyExists(HKCU, std::string(kKey) + "\\MRUChild"));
  EXPECT_TRUE(registry.ValueExists(reg_root::LocalMachine, kKey, "MRU1"));
}

}  // namespace
}  // namespace quorvane
