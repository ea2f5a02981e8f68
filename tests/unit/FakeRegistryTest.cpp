// The registry layer's tests rely on the fake behaving like the platform in these points.

#include "fakes/FakeRegistry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "fakes/FakeWindowServices.h"

namespace quorvane::fakes {
namespace {

using ::testing::ElementsAre;
constexpr RegKey HKCU = reg_root::CurrentUser;

TEST(FakeRegistryTest, DeleteKeyRefusesAKeyWithSubKeysAndReportsMissingKeys) {
  FakeRegistry registry;
  registry.CreateKeyPath(HKCU, "Software\\A\\B");
  EXPECT_EQ(registry.DeleteKey(HKCU, "Software\\A"), reg_status::AccessDenied);
  EXPECT_EQ(registry.DeleteKey(HKCU, "Software\\Missing"), reg_status::NotFound);
  EXPECT_EQ(registry.DeleteKey(HKCU, ""), reg_status::AccessDenied);
  EXPECT_EQ(registry.DeleteKey(HKCU, "software\\a\\b"), reg_status::Success);
  EXPECT_EQ(registry.DeleteKey(HKCU, "Software\\A"), reg_status::Success);
  EXPECT_FALSE(registry.KeyExists(HKCU, "Software\\A"));
}

TEST(FakeRegistryTest, EnumerationEndsWithNoMoreItemsAndCountsTheNulInCapacities) {
  FakeRegistry registry;
  registry.CreateKeyPath(HKCU, "K\\abc");
  registry.SetString(HKCU, "K", "xyz", std::string(10, 'd'));
  RegKey key = 0;
  ASSERT_EQ(registry.OpenKey(HKCU, "K", kRegAccessChange, key), reg_status::Success);

  std::string name = "before";
  EXPECT_EQ(registry.EnumKey(key, 0, 3, name), reg_status::MoreData);
  EXPECT_EQ(registry.EnumKey(key, 0, 4, name), reg_status::Success);
  EXPECT_EQ(name, "abc");
  EXPECT_EQ(registry.EnumKey(key, 1, 300, name), reg_status::NoMoreItems);

  std::uint32_t type = 0;
  std::string data;
  EXPECT_EQ(registry.EnumValue(key, 0, 3, name, nullptr, nullptr, 0), reg_status::MoreData);
  EXPECT_EQ(registry.EnumValue(key, 0, 4, name, &type, &data, 9), reg_status::MoreData);
  EXPECT_EQ(registry.EnumValue(key, 0, 4, name, &type, &data, 10), reg_status::Success);
  EXPECT_EQ(name, "xyz");
  EXPECT_EQ(data, std::string(10, 'd'));
  EXPECT_EQ(registry.EnumValue(key, 1, 300, name, nullptr, nullptr, 0), reg_status::NoMoreItems);

  std::uint32_t size = 0;
  EXPECT_EQ(registry.QueryValue(key, "XYZ", type, nullptr, size), reg_status::Success);
  EXPECT_EQ(size, 10u);
  size = 9;
  EXPECT_EQ(registry.QueryValue(key, "xyz", type, &data, size), reg_status::MoreData);
  EXPECT_EQ(size, 10u);
  EXPECT_EQ(registry.QueryValue(key, "missing", type, nullptr, size), reg_status::NotFound);
  EXPECT_EQ(registry.CloseKey(key), reg_status::Success);
}

TEST(FakeRegistryTest, NamesLongerThanTheirBytesAreCountedInPlatformCharacters) {
  FakeRegistry registry;
  // Six Cyrillic letters: twelve bytes, six characters.
  registry.CreateKeyPath(HKCU, "K\\\xD0\x96\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB");
  RegKey key = 0;
  ASSERT_EQ(registry.OpenKey(HKCU, "K", 0, key), reg_status::Success);
  KeyInfo info;
  ASSERT_EQ(registry.QueryInfoKey(key, info), reg_status::Success);
  EXPECT_EQ(info.MaxSubKeyLen, 6u);
  std::string name;
  EXPECT_EQ(registry.EnumKey(key, 0, 7, name), reg_status::Success);
  EXPECT_EQ(registry.CloseKey(key), reg_status::Success);
}

TEST(FakeRegistryTest, SubKeysEnumerateSortedAndValuesInWritingOrder) {
  FakeRegistry registry;
  for (const char* name : {"b", "C", "a", "B2"})
    registry.CreateKeyPath(HKCU, std::string("K\\") + name);
  for (const char* name : {"z", "Y", "x"}) registry.SetString(HKCU, "K", name, "1");
  registry.SetString(HKCU, "K", "Y", "expanded", reg_type::ExpandString);
  EXPECT_THAT(registry.SubKeyNames(HKCU, "K"), ElementsAre("a", "b", "B2", "C"));
  EXPECT_THAT(registry.ValueNames(HKCU, "k"), ElementsAre("z", "Y", "x"));
  EXPECT_EQ(registry.GetValue(HKCU, "K", "y"), (RegValue{reg_type::ExpandString, "expanded"}));

  RegKey key = 0;
  ASSERT_EQ(registry.OpenKey(HKCU, "K", 0, key), reg_status::Success);
  std::string name;
  ASSERT_EQ(registry.EnumKey(key, 2, 10, name), reg_status::Success);
  EXPECT_EQ(name, "B2");
  ASSERT_EQ(registry.DeleteValue(key, "Z"), reg_status::Success);
  ASSERT_EQ(registry.EnumValue(key, 0, 10, name, nullptr, nullptr, 0), reg_status::Success);
  EXPECT_EQ(name, "Y");
  EXPECT_EQ(registry.CloseKey(key), reg_status::Success);
}

TEST(FakeRegistryTest, HandlesAreCountedAndADeletedKeyInvalidatesOnlyItsOwnHandles) {
  FakeRegistry registry;
  registry.CreateKeyPath(HKCU, "K\\Gone");
  registry.CreateKeyPath(HKCU, "K\\Stays");
  RegKey gone = 0, stays = 0, created = 0;
  ASSERT_EQ(registry.OpenKey(HKCU, "K\\Gone", 0, gone), reg_status::Success);
  ASSERT_EQ(registry.OpenKey(HKCU, "K\\Stays", 0, stays), reg_status::Success);
  ASSERT_EQ(registry.CreateKey(stays, "New\\Deeper", created), reg_status::Success);
  EXPECT_EQ(registry.OpenHandleCount(), 3u);

  ASSERT_EQ(registry.DeleteKey(gone, ""), reg_status::Success);
  EXPECT_FALSE(registry.KeyExists(HKCU, "K\\Gone"));
  EXPECT_EQ(registry.SetValue(gone, "v", reg_type::String, "x"), FakeRegistry::KeyDeleted);
  EXPECT_EQ(registry.SetValue(stays, "v", reg_type::String, "x"), reg_status::Success);
  EXPECT_EQ(registry.SetValue(created, "v", reg_type::String, "x"), reg_status::Success);
  EXPECT_TRUE(registry.ValueExists(HKCU, "K\\Stays\\New\\Deeper", "V"));

  for (const RegKey key : {gone, stays, created})
    EXPECT_EQ(registry.CloseKey(key), reg_status::Success);
  EXPECT_EQ(registry.CloseKey(gone), reg_status::InvalidHandle);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(FakeRegistryTest, AHandleKeepsTheAccessItWasOpenedWith) {
  FakeRegistry registry;
  registry.CreateKeyPath(HKCU, "K");
  RegKey readOnly = 0;
  ASSERT_EQ(registry.OpenKey(HKCU, "K", 0x20019, readOnly), reg_status::Success);
  EXPECT_EQ(registry.SetValue(readOnly, "v", reg_type::String, "x"), reg_status::AccessDenied);
  KeyInfo info;
  EXPECT_EQ(registry.QueryInfoKey(readOnly, info), reg_status::Success);
  EXPECT_EQ(registry.CloseKey(readOnly), reg_status::Success);
}

TEST(FakeRegistryTest, AProtectedKeyCanBeReadButNotChangedOrDeleted) {
  FakeRegistry registry;
  registry.SetString(HKCU, "Locked", "v", "x");
  registry.SetProtected(HKCU, "Locked");
  RegKey key = 0;
  EXPECT_EQ(registry.OpenKey(HKCU, "Locked", kRegAccessChange, key), reg_status::AccessDenied);
  EXPECT_EQ(registry.DeleteKey(HKCU, "Locked"), reg_status::AccessDenied);
  ASSERT_EQ(registry.OpenKey(HKCU, "Locked", 0, key), reg_status::Success);
  std::uint32_t type = 0, size = 0;
  EXPECT_EQ(registry.QueryValue(key, "v", type, nullptr, size), reg_status::Success);
  EXPECT_EQ(registry.DeleteValue(key, "v"), reg_status::AccessDenied);
  EXPECT_EQ(registry.CloseKey(key), reg_status::Success);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

TEST(FakeWindowServicesTest, RecordsBoxesCountsEventsAndHoldsInstanceTokens) {
  FakeWindowServices windows;
  EXPECT_EQ(windows.MessageBox("text", "title", message_box::IconInformation), 1);
  EXPECT_THAT(windows.messageBoxes,
              ElementsAre(MessageBoxCall{"text", "title", message_box::IconInformation}));

  int clicks = 0;
  windows.ProcessPendingEvents();
  windows.onProcessEvents = [&] { ++clicks; };
  windows.ProcessPendingEvents();
  EXPECT_EQ(windows.processEventsCalls, 2);
  EXPECT_EQ(clicks, 1);

  EXPECT_TRUE(windows.AcquireSingleInstance("Quorvane"));
  EXPECT_FALSE(windows.AcquireSingleInstance("Quorvane"));
  windows.heldInstances.insert("Other");
  EXPECT_FALSE(windows.AcquireSingleInstance("Other"));
}

}  // namespace
}  // namespace quorvane::fakes
