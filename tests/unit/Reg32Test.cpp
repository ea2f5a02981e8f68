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

TEST(Reg32SplitTest, SplitsRootAndSubKeyWithExactRootNames) {
  std::string subKey = "untouched";
  EXPECT_EQ(Reg32::SplitRegistryPath("HKEY_CURRENT_USER\\Software\\X", subKey), HKCU);
  EXPECT_EQ(subKey, "Software\\X");
  EXPECT_EQ(Reg32::SplitRegistryPath("HKEY_USERS\\", subKey), reg_root::Users);
  EXPECT_EQ(subKey, "");
  EXPECT_EQ(Reg32::SplitRegistryPath("HKEY_CLASSES_ROOT\\.txt", subKey), reg_root::ClassesRoot);
  EXPECT_EQ(Reg32::SplitRegistryPath("HKEY_LOCAL_MACHINE\\A", subKey), HKLM);
  EXPECT_EQ(Reg32::SplitRegistryPath("HKEY_PERFORMANCE_DATA\\A", subKey),
            reg_root::PerformanceData);

  subKey = "untouched";
  EXPECT_EQ(Reg32::SplitRegistryPath("hkey_current_user\\Software\\X", subKey), std::nullopt);
  EXPECT_EQ(Reg32::SplitRegistryPath("HKEY_CURRENT_CONFIG\\Software", subKey), std::nullopt);
  EXPECT_EQ(Reg32::SplitRegistryPath("HKEY_CURRENT_USER", subKey), std::nullopt);
  EXPECT_EQ(Reg32::SplitRegistryPath("", subKey), std::nullopt);
  EXPECT_EQ(Reg32::SplitRegistryPath("\\HKEY_CURRENT_USER\\X", subKey), std::nullopt);
  EXPECT_EQ(subKey, "untouched");
}

TEST(Reg32SplitTest, TrimAtNullCutsAtTheFirstNul) {
  using namespace std::string_literals;
  EXPECT_EQ(Reg32::TrimAtNull("abc\0def\0"s), "abc");
  EXPECT_EQ(Reg32::TrimAtNull("abc"), "abc");
  EXPECT_EQ(Reg32::TrimAtNull("\0abc"s), "");
}

TEST_F(Reg32Test, GetStringValueReadsPlainStringsOnly) {
  using namespace std::string_literals;
  registry.SetString(HKCU, "Software\\A", "Plain", "C:\\file.txt");
  registry.SetString(HKCU, "Software\\A", "Nul", "abc\0def"s);
  registry.SetString(HKCU, "Software\\A", "Terminated", "xyz\0"s);
  registry.SetString(HKCU, "Software\\A", "Empty", "");
  registry.SetString(HKCU, "Software\\A", "Expand", "%TEMP%", reg_type::ExpandString);
  registry.SetDword(HKCU, "Software\\A", "Number", 7);

  EXPECT_EQ(reg.GetStringValue(HKCU, "Software\\A", "Plain"), "C:\\file.txt");
  EXPECT_EQ(reg.GetStringValue(HKCU, "software\\a", "PLAIN"), "C:\\file.txt");
  EXPECT_EQ(reg.GetStringValue(HKCU, "Software\\A", "Nul"), "abc");
  EXPECT_EQ(reg.GetStringValue(HKCU, "Software\\A", "Terminated"), "xyz");
  EXPECT_EQ(reg.GetStringValue(HKCU, "Software\\A", "Empty"), "");
  EXPECT_EQ(reg.GetStringValue(HKCU, "Software\\A", "Expand"), "");
  EXPECT_EQ(reg.GetStringValue(HKCU, "Software\\A", "Number"), "");
  EXPECT_EQ(reg.GetStringValue(HKCU, "Software\\A", "Missing"), "");
  EXPECT_EQ(reg.GetStringValue(HKCU, "Software\\Missing", "Plain"), "");
  EXPECT_EQ(reg.GetStringValue(HKLM, "Software\\A", "Plain"), "");
}

TEST_F(Reg32Test, GetStringValueReadsAProtectedKey) {
  registry.SetString(HKLM, "Software\\Locked", "Path", "C:\\x");
  registry.SetProtected(HKLM, "Software\\Locked");
  EXPECT_EQ(reg.GetStringValue(HKLM, "Software\\Locked", "Path"), "C:\\x");
}

TEST_F(Reg32Test, SetStringValueWritesTheTextWithoutNulIntoAnExistingKeyOnly) {
  registry.CreateKeyPath(HKCU, "Software\\Run");
  reg.SetStringValue("Software\\Run", "Tool", "abc");
  EXPECT_EQ(registry.GetValue(HKCU, "Software\\Run", "Tool"),
            (fakes::RegValue{reg_type::String, "abc"}));

  reg.SetStringValue("Software\\Run", "tool", "C:\\longer path\\x.exe");
  EXPECT_EQ(registry.GetValue(HKCU, "Software\\Run", "Tool")->data, "C:\\longer path\\x.exe");
  EXPECT_THAT(registry.ValueNames(HKCU, "Software\\Run"), ElementsAre("Tool"));

  reg.SetStringValue("Software\\Missing", "Tool", "abc");
  EXPECT_FALSE(registry.KeyExists(HKCU, "Software\\Missing"));
}

TEST_F(Reg32Test, DeleteValueRemovesOneValueAndIgnoresWhatIsMissing) {
  registry.SetString(HKCU, "Software\\A", "One", "1");
  registry.SetString(HKCU, "Software\\A", "Two", "2");
  reg.DeleteValue(HKCU, "Software\\A", "ONE");
  reg.DeleteValue(HKCU, "Software\\A", "Missing");
  reg.DeleteValue(HKCU, "Software\\Missing", "Two");
  EXPECT_THAT(registry.ValueNames(HKCU, "Software\\A"), ElementsAre("Two"));
}

TEST_F(Reg32Test, CreateKeyCreatesEveryMissingLevel) {
  reg.CreateKey(HKCU, "Software\\A\\B\\C");
  EXPECT_TRUE(registry.KeyExists(HKCU, "Software\\A\\B\\C"));
  reg.CreateKey(HKCU, "Software\\A\\B\\C");
  EXPECT_THAT(registry.SubKeyNames(HKCU, "Software\\A\\B"), ElementsAre("C"));
}

TEST_F(Reg32Test, DeleteKeyTreeOnAMissingOrChildlessKey) {
  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\Missing"), reg_status::NotFound);
  registry.SetString(HKCU, "Software\\Leaf", "Value", "x");
  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\Leaf"), reg_status::Success);
  EXPECT_FALSE(registry.KeyExists(HKCU, "Software\\Leaf"));
  EXPECT_TRUE(registry.KeyExists(HKCU, "Software"));
  EXPECT_THAT(windows.messageBoxes, IsEmpty());
}

TEST_F(Reg32Test, DeleteKeyTreeRemovesThreeLevelsAndLeavesSiblings) {
  for (const char* path : {"Software\\T\\A\\A1\\A11", "Software\\T\\A\\A2", "Software\\T\\B\\B1",
                           "Software\\T\\C", "Software\\Sibling\\Kept"}) {
    registry.SetString(HKCU, path, "Value", path);
  }
  registry.SetString(HKCU, "Software\\T", "Own", "x");

  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\T"), reg_status::Success);
  EXPECT_FALSE(registry.KeyExists(HKCU, "Software\\T"));
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

TEST_F(Reg32Test, DeleteKeyTreeRemovesChildrenWithLongNames) {
  const std::string longName(45, 'L');
  const std::string exactly40(40, 'F');
  const std::string maximal(255, 'M');
  for (const auto& name : {longName, exactly40, maximal, std::string("short")}) {
    registry.CreateKeyPath(HKCU, "Software\\Long\\" + name + "\\Deeper\\" + name);
  }
  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\Long"), reg_status::Success);
  EXPECT_FALSE(registry.KeyExists(HKCU, "Software\\Long"));
}

TEST_F(Reg32Test, DeleteKeyTreeRemovesAKeyWithMoreThan32767Children) {
  constexpr int kChildren = 33000;
  for (int i = 0; i < kChildren; ++i) {
    registry.CreateKeyPath(HKCU, "Software\\Many\\Child" + std::to_string(100000 + i));
  }
  registry.CreateKeyPath(HKCU, "Software\\Many\\Child100007\\Grandchild");
  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\Many"), reg_status::Success);
  EXPECT_FALSE(registry.KeyExists(HKCU, "Software\\Many"));
}

TEST_F(Reg32Test, DeleteKeyTreeOnAProtectedKeyShowsTheAccessDeniedBoxOnce) {
  registry.CreateKeyPath(HKLM, "Software\\Locked\\Child");
  registry.SetProtected(HKLM, "Software\\Locked");

  EXPECT_EQ(reg.DeleteKeyTree(HKLM, "Software\\Locked"), reg_status::AccessDenied);
  EXPECT_THAT(windows.messageBoxes, ElementsAre(fakes::MessageBoxCall{
                                        "Access denied to delete registry key.", "Access Denied",
                                        message_box::IconCritical | message_box::Ok}));
  EXPECT_TRUE(registry.KeyExists(HKLM, "Software\\Locked\\Child"));
}

TEST_F(Reg32Test, DeleteKeyTreeKeepsTheAncestorsOfAProtectedKeyAndSaysSo) {
  registry.CreateKeyPath(HKCU, "Software\\T\\A\\Locked\\Inner");
  registry.CreateKeyPath(HKCU, "Software\\T\\A\\Free\\Inner");
  registry.CreateKeyPath(HKCU, "Software\\T\\B\\Inner");
  registry.SetProtected(HKCU, "Software\\T\\A\\Locked");

  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\T"), reg_status::AccessDenied);
  EXPECT_EQ(windows.messageBoxes.size(), 1u);
  EXPECT_THAT(registry.SubKeyNames(HKCU, "Software\\T"), ElementsAre("A"));
  EXPECT_THAT(registry.SubKeyNames(HKCU, "Software\\T\\A"), ElementsAre("Locked"));
  EXPECT_TRUE(registry.KeyExists(HKCU, "Software\\T\\A\\Locked\\Inner"));
}

TEST_F(Reg32Test, DeleteKeyTreeOnAProtectedLeafShowsTheBoxToo) {
  registry.CreateKeyPath(HKCU, "Software\\LockedLeaf");
  registry.SetProtected(HKCU, "Software\\LockedLeaf");
  EXPECT_EQ(reg.DeleteKeyTree(HKCU, "Software\\LockedLeaf"), reg_status::AccessDenied);
  EXPECT_EQ(windows.messageBoxes.size(), 1u);
  EXPECT_TRUE(registry.KeyExists(HKCU, "Software\\LockedLeaf"));
}

class Reg32PrefixTest : public Reg32Test {
 protected:
  static constexpr const char* kKey = "Software\\App\\Settings";
};

TEST_F(Reg32PrefixTest, RemovesMatchingValuesWhateverTheirCase) {
  for (const char* name : {"MRU1", "mru2", "Settings", "MRUList", "MruFlags", "LastMRU", "MR"}) {
    registry.SetString(HKCU, kKey, name, name);
  }
  reg.DeleteValuesByPrefix(kKey, "MRU");
  EXPECT_THAT(registry.ValueNames(HKCU, kKey), ElementsAre("Settings", "LastMRU", "MR"));
}

TEST_F(Reg32PrefixTest, AnEmptyPrefixRemovesEveryValue) {
  for (const char* name : {"", "a", "b", "c"}) registry.SetString(HKCU, kKey, name, "x");
  registry.CreateKeyPath(HKCU, std::string(kKey) + "\\Child");
  reg.DeleteValuesByPrefix(kKey, "");
  EXPECT_THAT(registry.ValueNames(HKCU, kKey), IsEmpty());
  EXPECT_TRUE(registry.KeyExists(HKCU, std::string(kKey) + "\\Child"));
}

TEST_F(Reg32PrefixTest, GoesOnPastLargeDataAndLongNames) {
  const std::string longName = "MRU" + std::string(297, 'n');
  const std::string keptLongName = std::string(300, 'k');
  registry.SetString(HKCU, kKey, "MRU1", "a");
  registry.SetBinary(HKCU, kKey, "Big", std::string(10000, 'b'));
  registry.SetBinary(HKCU, kKey, "MRUBig", std::string(10000, 'b'));
  registry.SetString(HKCU, kKey, keptLongName, "x");
  registry.SetString(HKCU, kKey, longName, "x");
  registry.SetString(HKCU, kKey, "MRU2", "b");

  reg.DeleteValuesByPrefix(kKey, "mru");
  EXPECT_THAT(registry.ValueNames(HKCU, kKey), ElementsAre("Big", keptLongName));
}

TEST_F(Reg32PrefixTest, StepsPastAValueThatCannotBeDeletedByItsName) {
  // A value name may hide a NUL (written through the native interface). Cut at the NUL it
  // names no value, so its deletion fails; the sweep must go on rather than retry forever.
  using namespace std::string_literals;
  registry.SetString(HKCU, kKey, "MRU\0hidden"s, "x");
  registry.SetString(HKCU, kKey, "MRU1", "x");
  reg.DeleteValuesByPrefix(kKey, "MRU");
  EXPECT_THAT(registry.ValueNames(HKCU, kKey), ElementsAre("MRU\0hidden"s));
}

TEST_F(Reg32PrefixTest, WorksUnderTheCurrentUserOnlyAndIgnoresAMissingKey) {
  registry.SetString(HKLM, kKey, "MRU1", "x");
  reg.DeleteValuesByPrefix(kKey, "MRU");
  EXPECT_TRUE(registry.ValueExists(HKLM, kKey, "MRU1"));
  EXPECT_FALSE(registry.KeyExists(HKCU, kKey));
}

TEST_F(Reg32PrefixTest, LeavesAProtectedKeyAlone) {
  registry.SetString(HKCU, kKey, "MRU1", "x");
  registry.SetProtected(HKCU, kKey);
  reg.DeleteValuesByPrefix(kKey, "MRU");
  EXPECT_TRUE(registry.ValueExists(HKCU, kKey, "MRU1"));
  EXPECT_THAT(windows.messageBoxes, IsEmpty());
}

}  // namespace
}  // namespace quorvane
