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
constexpr RegKey HKLM = reg_root::LocalMachine;

class Reg32Test : public ::testing::Test {
 protected:
  // Every operation closes what it opened, whatever happened.
  void TearDown() override { EXPECT_EQ(registry.OpenHandleCount(), 0u); }

  fakes::FakeRegistry registry;
  fakes::FakeWindowServices windows;
  Reg32 reg{registry, windows};
};

TEST(Reg32SplitTest, SplitsRootAndSubKeyWithExactRootNamesOnly) {
  std::string subKey = "untouched";
  EXPECT_EQ(Reg32::SplitRegistryPath("HKEY_CURRENT_USER\\Software\\X", subKey), HKCU);
  EXPECT_EQ(subKey, "Software\\X");
  EXPECT_EQ(Reg32::SplitRegistryPath("HKEY_USERS\\", subKey), reg_root::Users);
  EXPECT_EQ(subKey, "");
  subKey = "untouched";
  for (const char* path : {"hkey_current_user\\Software\\X", "HKEY_CURRENT_CONFIG\\Software",
                           "HKEY_CURRENT_USER", "", "\\HKEY_CURRENT_USER\\X"}) {
    EXPECT_EQ(Reg32::SplitRegistryPath(path, subKey), std::nullopt) << path;
  }
  EXPECT_EQ(subKey, "untouched");
  EXPECT_EQ(Reg32::TrimAtNull("abc\0def\0"s), "abc");
}

TEST_F(Reg32Test, GetStringValueReadsPlainStringsOnlyUpToTheirFirstNul) {
  registry.SetString(HKCU, "Software\\A", "Plain", "C:\\file.txt");
  registry.SetString(HKCU, "Software\\A", "Nul", "abc\0def"s);
  registry.SetString(HKCU, "Software\\A", "Expand", "%TEMP%", reg_type::ExpandString);
  registry.SetDword(HKCU, "Software\\A", "Number", 7);
  registry.SetProtected(HKCU, "Software\\A");  // reading needs no write access

  EXPECT_EQ(reg.GetStringValue(HKCU, "software\\a", "PLAIN"), "C:\\file.txt");
  EXPECT_EQ(reg.GetStringValue(HKCU, "Software\\A", "Nul"), "abc");
  for (const char* empty : {"Expand", "Number", "Missing"}) {
    EXPECT_EQ(reg.GetStringValue(HKCU, "Software\\A", empty), "") << empty;
  }
  EXPECT_EQ(reg.GetStringValue(HKLM, "Software\\A", "Plain"), "");
}

TEST_F(Reg32Test, SetDeleteValueAndCreateKey) {
  registry.CreateKeyPath(HKCU, "Software\\Run");
  reg.SetStringValue("Software\\Run", "Tool", "abc");
  reg.SetStringValue("Software\\Run", "tool", "C:\\longer path\\x.exe");
  EXPECT_EQ(registry.GetValue(HKCU, "Software\\Run", "Tool"),
            (fakes::RegValue{reg_type::String, "C:\\longer path\\x.exe"}));
  reg.SetStringValue("Software\\Missing", "Tool", "abc");
  EXPECT_FALSE(registry.KeyExists(HKCU, "Software\\Missing"));

  registry.SetString(HKCU, "Software\\Run", "Two", "2");
  reg.DeleteValue(HKCU, "Software\\Run", "TOOL");
  reg.DeleteValue(HKCU, "Software\\Run", "Missing");
  reg.DeleteValue(HKCU, "Software\\Missing", "Two");
  EXPECT_THAT(registry.ValueNames(HKCU, "Software\\Run"), ElementsAre("Two"));

  reg.CreateKey(HKCU, "Software\\A\\B\\C");
  reg.CreateKey(HKCU, "Software\\A\\B\\C");
  EXPECT_THAT(registry.SubKeyNames(HKCU, "Software\\A\\B"), ElementsAre("C"));
}

TEST_F(Reg32Test, DeleteKeyTreeRemovesEveryLevelAndLeavesSiblings) {
  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\Missing"), reg_status::NotFound);
  for (const char* path : {"Software\\T\\A\\A1\\A11", "Software\\T\\A\\A2", "Software\\T\\B\\B1",
                           "Software\\T\\C", "Software\\Sibling\\Kept"}) {
    registry.SetString(HKCU, path, "Value", path);
  }
  registry.SetString(HKCU, "Software\\T", "Own", "x");
  // Names longer than a first guess at the buffer, up to the longest the platform allows.
  for (const auto& name : {std::string(40, 'F'), std::string(45, 'L'), std::string(255, 'M')}) {
    registry.CreateKeyPath(HKCU, "Software\\T\\" + name + "\\Deeper\\" + name);
  }

  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\T"), reg_status::Success);
  EXPECT_THAT(registry.SubKeyNames(HKCU, "Software"), ElementsAre("Sibling"));
  EXPECT_TRUE(registry.KeyExists(HKCU, "Software\\Sibling\\Kept"));
  EXPECT_THAT(windows.messageBoxes, IsEmpty());
}

TEST_F(Reg32Test, DeleteKeyTreeWorksBelowAnOpenKey) {
  registry.CreateKeyPath(HKCU, "Software\\P\\Child\\Grandchild");
  RegKey parent = 0;
  ASSERT_EQ(registry.OpenKey(HKCU, "Software\\P", kRegAccessChange, parent), reg_status::Success);
  EXPECT_EQ(reg.DeleteKeyTree(parent, "Child"), reg_status::Success);
  EXPECT_EQ(registry.CloseKey(parent), reg_status::Success);
  EXPECT_TRUE(registry.KeyExists(HKCU, "Software\\P"));
  EXPECT_FALSE(registry.KeyExists(HKCU, "Software\\P\\Child"));
}

TEST_F(Reg32Test, DeleteKeyTreeRemovesAKeyWithMoreThan32767Children) {
  for (int i = 0; i < 33000; ++i) {
    registry.CreateKeyPath(HKCU, "Software\\Many\\Child" + std::to_string(100000 + i));
  }
  registry.CreateKeyPath(HKCU, "Software\\Many\\Child100007\\Grandchild");
  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\Many"), reg_status::Success);
  EXPECT_FALSE(registry.KeyExists(HKCU, "Software\\Many"));
}

TEST_F(Reg32Test, DeleteKeyTreeKeepsAProtectedKeyAndItsAncestorsAndSaysSoOnce) {
  registry.CreateKeyPath(HKCU, "Software\\T\\A\\Locked\\Inner");
  registry.CreateKeyPath(HKCU, "Software\\T\\A\\Free\\Inner");
  registry.CreateKeyPath(HKCU, "Software\\T\\B\\Inner");
  registry.SetProtected(HKCU, "Software\\T\\A\\Locked");

  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\T"), reg_status::AccessDenied);
  EXPECT_THAT(windows.messageBoxes, ElementsAre(fakes::MessageBoxCall{
                                        "Access denied to delete registry key.", "Access Denied",
                                        message_box::IconCritical | message_box::Ok}));
  EXPECT_THAT(registry.SubKeyNames(HKCU, "Software\\T"), ElementsAre("A"));
  EXPECT_THAT(registry.SubKeyNames(HKCU, "Software\\T\\A"), ElementsAre("Locked"));
  EXPECT_TRUE(registry.KeyExists(HKCU, "Software\\T\\A\\Locked\\Inner"));

  // A protected key without children is refused in the same way.
  registry.CreateKeyPath(HKCU, "Software\\LockedLeaf");
  registry.SetProtected(HKCU, "Software\\LockedLeaf");
  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\LockedLeaf"), reg_status::AccessDenied);
  EXPECT_EQ(windows.messageBoxes.size(), 2u);
  EXPECT_TRUE(registry.KeyExists(HKCU, "Software\\LockedLeaf"));
}

class Reg32PrefixTest : public Reg32Test {
 protected:
  static constexpr const char* kKey = "Software\\App\\Settings";
};

TEST_F(Reg32PrefixTest, RemovesMatchingValuesWhateverTheirCaseSizeOrNameLength) {
  const std::string longName = "MRU" + std::string(297, 'n');
  const std::string keptLongName = std::string(300, 'k');
  for (const char* name : {"MRU1", "mru2", "Settings", "MruFlags", "LastMRU", "MR"}) {
    registry.SetString(HKCU, kKey, name, name);
  }
  registry.SetBinary(HKCU, kKey, "Big", std::string(10000, 'b'));
  registry.SetBinary(HKCU, kKey, "MRUBig", std::string(10000, 'b'));
  registry.SetString(HKCU, kKey, keptLongName, "x");
  registry.SetString(HKCU, kKey, longName, "x");
  registry.CreateKeyPath(HKCU, std::string(kKey) + "\\MRUChild");

  reg.DeleteValuesByPrefix(kKey, "mru");
  EXPECT_THAT(registry.ValueNames(HKCU, kKey),
              ElementsAre("Settings", "LastMRU", "MR", "Big", keptLongName));
  EXPECT_TRUE(registry.KeyExists(HKCU, std::string(kKey) + "\\MRUChild"));

  reg.DeleteValuesByPrefix(kKey, "");
  EXPECT_THAT(registry.ValueNames(HKCU, kKey), IsEmpty());
}

TEST_F(Reg32PrefixTest, StepsPastAValueThatCannotBeDeletedByItsName) {
  // A value name may hide a NUL (written through the native interface). Cut at the NUL it
  // names no value, so its deletion fails; the sweep must go on rather than retry forever.
  registry.SetString(HKCU, kKey, "MRU\0hidden"s, "x");
  registry.SetString(HKCU, kKey, "MRU1", "x");
  reg.DeleteValuesByPrefix(kKey, "MRU");
  EXPECT_THAT(registry.ValueNames(HKCU, kKey), ElementsAre("MRU\0hidden"s));
}

TEST_F(Reg32PrefixTest, TouchesOnlyAnUnprotectedKeyOfTheCurrentUser) {
  registry.SetString(HKLM, kKey, "MRU1", "x");
  reg.DeleteValuesByPrefix(kKey, "MRU");
  EXPECT_TRUE(registry.ValueExists(HKLM, kKey, "MRU1"));
  EXPECT_FALSE(registry.KeyExists(HKCU, kKey));

  registry.SetString(HKCU, kKey, "MRU1", "x");
  registry.SetProtected(HKCU, kKey);
  reg.DeleteValuesByPrefix(kKey, "MRU");
  EXPECT_TRUE(registry.ValueExists(HKCU, kKey, "MRU1"));
  EXPECT_THAT(windows.messageBoxes, IsEmpty());
}

}  // namespace
}  // namespace quorvane
