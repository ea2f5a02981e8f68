// The registry layer's tests rely on the fake behaving like the platform in these points.

#include "fakes/FakeRegistry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

namespace quorvane::fakes {
namespace {

using ::testing::ElementsAre;
constexpr RegKey HKCU = reg_root::CurrentUser;

TEST(FakeRegistryTest, DeleteKeyRefusesAKeyWithSubKeysAndProtectedKeysStayReadable) {
  FakeRegistry registry;
  registry.CreateKeyPath(HKCU, "Software\\A\\B");
  EXPECT_EQ(registry.DeleteKey(HKCU, "Software\\A"), reg_status::AccessDenied);
  EXPECT_EQ(registry.DeleteKey(HKCU, "Software\\Missing"), reg_status::NotFound);
  EXPECT_EQ(registry.DeleteKey(HKCU, "software\\a\\b"), reg_status::Success);
  EXPECT_EQ(registry.DeleteKey(HKCU, "Software\\A"), reg_status::Success);

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
}

TEST(FakeRegistryTest, EnumerationCountsTheNulAndPlatformCharactersInCapacities) {
  FakeRegistry registry;
  registry.CreateKeyPath(HKCU, "K\\abc");
  // Six Cyrillic letters: twelve bytes, six characters.
  registry.CreateKeyPath(HKCU, "K\\\xD0\x96\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB");
  registry.SetString(HKCU, "K", "xyz", std::string(10, 'd'));
  RegKey key = 0;
  ASSERT_EQ(registry.OpenKey(HKCU, "K", kRegAccessChange, key), reg_status::Success);
  KeyInfo info;
  ASSERT_EQ(registry.QueryInfoKey(key, info), reg_status::Success);
  EXPECT_EQ(info.MaxSubKeyLen, 6u);

  std::string name;
  EXPECT_EQ(registry.EnumKey(key, 0, 3, name), reg_status::MoreData);
  EXPECT_EQ(registry.EnumKey(key, 0, 4, name), reg_status::Success);
  EXPECT_EQ(registry.EnumKey(key, 1, 7, name), reg_status::Success);
  EXPECT_EQ(registry.EnumKey(key, 2, 300, name), reg_status::NoMoreItems);
  std::uint32_t type = 0;
  std::string data;
  EXPECT_EQ(registry.EnumValue(key, 0, 3, name, nullptr, nullptr, 0), reg_status::MoreData);
  EXPECT_EQ(registry.EnumValue(key, 0, 4, name, &type, &data, 9), reg_status::MoreData);
  EXPECT_EQ(registry.EnumValue(key, 0, 4, name, &type, &data, 10), reg_status::Success);
  EXPECT_EQ(data, std::string(10, 'd'));
  EXPECT_EQ(registry.EnumValue(key, 1, 300, name, nullptr, nullptr, 0), reg_status::NoMoreItems);
  std::uint32_t size = 9;
  EXPECT_EQ(registry.QueryValue(key, "XYZ", type, &data, size), reg_status::MoreData);
  EXPECT_EQ(size, 10u);
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
}

TEST(FakeRegistryTest, HandlesAreCountedAndADeletedKeyInvalidatesOnlyItsOwnHandles) {
  FakeRegistry registry;
  registry.CreateKeyPath(HKCU, "K\\Gone");
  registry.CreateKeyPath(HKCU, "K\\Stays");
  RegKey gone = 0, stays = 0;
  ASSERT_EQ(registry.OpenKey(HKCU, "K\\Gone", 0, gone), reg_status::Success);
  ASSERT_EQ(registry.OpenKey(HKCU, "K\\Stays", 0x20019, stays), reg_status::Success);
  EXPECT_EQ(registry.OpenHandleCount(), 2u);
  ASSERT_EQ(registry.DeleteKey(gone, ""), reg_status::Success);
  EXPECT_EQ(registry.SetValue(gone, "v", reg_type::String, "x"), FakeRegistry::KeyDeleted);
  // A handle keeps the access it was opened with.
  EXPECT_EQ(registry.SetValue(stays, "v", reg_type::String, "x"), reg_status::AccessDenied);
  for (const RegKey key : {gone, stays}) EXPECT_EQ(registry.CloseKey(key), reg_status::Success);
  EXPECT_EQ(registry.CloseKey(gone), reg_status::InvalidHandle);
  EXPECT_EQ(registry.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace quorvane::fakes
