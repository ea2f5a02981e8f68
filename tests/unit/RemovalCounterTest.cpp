#include "clean/RemovalCounter.h"

#include <gtest/gtest.h>

#include "core/FileServices.h"
#include "core/Reg32.h"
#include "fakes/FakePlatform.h"

namespace quorvane {
namespace {

TEST(RemovalCounterTest, CountsEveryKeyOfATreeAndOnlyWhatWasReallyRemoved) {
  constexpr auto hkcu = reg_root::CurrentUser;
  fakes::FakePlatform fake;
  RemovalCounts counts;
  CountingRegistry registry{fake.registry, counts};
  Reg32 reg(registry, fake.windows);
  fake.registry.SetString(hkcu, "Software\\Test\\A\\B", "x", "1");
  fake.registry.SetString(hkcu, "Software\\Keep", "v1", "1");
  EXPECT_EQ(reg.DeleteKeyTree(hkcu, "Software\\Test"), reg_status::Success);
  reg.DeleteValue(hkcu, "Software\\Keep", "v1");

  CountingFileSystem files{fake.files, counts};
  fake.files.AddFile("C:\\Tree\\a.txt", std::string(1000, 'a'));
  fake.files.AddFile("C:\\Tree\\sub\\ro.txt", "22", file_attr::ReadOnly);
  fake.files.AddFile("C:\\Tree\\busy.txt", "12345");
  fake.files.SetInUse("C:\\Tree\\busy.txt");
  (void)DeleteFolderForced(files, "C:\\Tree");

  EXPECT_EQ(counts.registryKeys, 3u);  // Test, A, B
  EXPECT_EQ(counts.registryValues, 1u);
  EXPECT_EQ(counts.files, 2u);  // the busy file stayed
  EXPECT_EQ(counts.bytes, 1002u);
}

// A file in use or denied is counted as not removed, whichever way it was to go; one that
// vanished before its turn is neither removed nor left.
TEST(RemovalCounterTest, CountsFilesInUseOrDeniedAsNotRemoved) {
  fakes::FakePlatform fake;
  RemovalCounts counts;
  CountingFileSystem files{fake.files, counts};
  fake.files.AddFile("C:\\T\\busy.txt", "b");
  fake.files.SetInUse("C:\\T\\busy.txt");
  fake.files.AddFile("C:\\T\\ro.txt", "r", file_attr::ReadOnly);
  fake.files.AddFile("C:\\T\\bleached.txt", "12345");
  EXPECT_EQ(files.DeleteFile("C:\\T\\busy.txt", DeleteMode::ResetAttributes),
            FsResult::AccessDenied);
  EXPECT_EQ(files.DeleteFile("C:\\T\\ro.txt", DeleteMode::AsFound), FsResult::AccessDenied);
  EXPECT_EQ(files.DeleteFile("C:\\T\\vanished.txt", DeleteMode::AsFound), FsResult::NotFound);
  FsResult opened = FsResult::Failed;
  EXPECT_EQ(files.OpenForOverwrite("C:\\T\\busy.txt", DeleteMode::AsFound, opened), nullptr);
  auto bleached = files.OpenForOverwrite("C:\\T\\bleached.txt", DeleteMode::AsFound, opened);
  ASSERT_NE(bleached, nullptr);
  EXPECT_EQ(bleached->Delete(), FsResult::Ok);
  EXPECT_EQ(counts.filesNotRemoved, 3u);
  EXPECT_EQ(counts.files, 1u);
  EXPECT_EQ(counts.bytes, 5u);
}

TEST(RemovalSummaryTest, NamesEachCountInSingularOrPlural) {
  EXPECT_EQ(RemovalSummary({1, 1, 1, 0}),
            "Removed: 1 file (1 byte), 1 registry key, 0 registry values");
  EXPECT_EQ(NotRemovedSummary({}), "");
  RemovalCounts stuck;
  stuck.filesNotRemoved = 1;
  EXPECT_EQ(NotRemovedSummary(stuck), "Not removed: 1 file in use or denied");
}

}  // namespace
}  // namespace quorvane
