// Platform answers the other tests rely on and a fake could get wrong unnoticed.

#include <gtest/gtest.h>

#include <string>

#include "fakes/FakeFileSystem.h"
#include "fakes/FakeRegistry.h"

namespace quorvane::fakes {
namespace {

constexpr RegKey HKCU = reg_root::CurrentUser;

TEST(FakeRegistryTest, AnswersWithThePlatformsStatusCodesAndTypes) {
  FakeRegistry registry;
  registry.CreateKeyPath(HKCU, "K\\Sub");
  registry.SetString(HKCU, "K", "Name", "abc");
  registry.SetString(HKCU, "K", "Path", "%TEMP%", reg_type::ExpandString);
  RegKey key = 0;
  ASSERT_EQ(registry.OpenKey(HKCU, "k", kRegAccessChange, key), reg_status::Success);
  std::string name;
  const std::pair<RegStatus, RegStatus> cases[] = {
      {registry.DeleteKey(HKCU, "K"), reg_status::AccessDenied},  // it has a sub-key
      {registry.DeleteKey(HKCU, "Missing"), reg_status::NotFound},
      {registry.EnumKey(key, 0, 3, name), reg_status::MoreData},  // no room for the NUL
      {registry.EnumKey(key, 1, 300, name), reg_status::NoMoreItems}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;
  }
  EXPECT_EQ(registry.GetValue(HKCU, "K", "name"), (RegValue{reg_type::String, "abc"}));
  EXPECT_EQ(registry.GetValue(HKCU, "K", "PATH"), (RegValue{reg_type::ExpandString, "%TEMP%"}));
}

TEST(FakeFileSystemTest, RefusesWhatThePlatformRefusesAndKeepsLinkTargets) {
  FakeFileSystem files;
  files.AddFile("C:\\a\\ro.txt", "r", file_attr::ReadOnly);
  files.AddFile("C:\\a\\open.txt", "o");
  files.SetInUse("C:\\a\\open.txt");
  files.AddFile("D:\\Target\\keep.txt", "k");
  files.AddLink("C:\\link", "D:\\Target");
  const std::pair<FsResult, FsResult> cases[] = {
      {files.DeleteFile("C:\\a\\ro.txt", DeleteMode::AsFound), FsResult::AccessDenied},
      {files.DeleteFile("C:\\a\\open.txt", DeleteMode::AsFound), FsResult::AccessDenied},
      {files.RemoveDirectory("C:\\a"), FsResult::NotEmpty},
      {files.MoveFile("C:\\a\\ro.txt", "C:\\A\\OPEN.TXT", IfTargetExists::Fail),
       FsResult::AlreadyExists},
      {files.RemoveDirectory("C:\\link"), FsResult::Ok}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].first, cases[i].second) << "case " << i;
  }
  EXPECT_EQ(files.Content("D:\\Target\\keep.txt"), "k");
}

}  // namespace
}  // namespace quorvane::fakes
