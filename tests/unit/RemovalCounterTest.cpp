#include "clean/RemovalCounter.h"

#include <gtest/gtest.h>

#include "core/FileServices.h"
#include "core/Reg32.h"
#include "fakes/FakePlatform.h"

namespace quorvane {
namespace {

using fakes::FakePlatform;
using fakes::FsOp;

class RemovalCounterTest : public ::testing::Test {
 protected:
  FakePlatform fake;
  RemovalCounts counts;
  CountingRegistry registry{fake.registry, counts};
  CountingFileSystem files{fake.files, counts};
};

TEST_F(RemovalCounterTest, CountsEveryKeyOfADeletedTreeAndOnlyValuesThatExisted) {
  constexpr auto hkcu = reg_root::CurrentUser;
  fake.registry.SetString(hkcu, "Software\\Test\\A\\B", "x", "1");
  fake.registry.SetString(hkcu, "Software\\Test\\C", "y", "2");
  fake.registry.SetString(hkcu, "Software\\Keep", "v1", "1");

  Reg32 reg(registry, fake.windows);
  EXPECT_EQ(reg.DeleteKeyTree(hkcu, "Software\\Test"), reg_status::Success);
  reg.DeleteValue(hkcu, "Software\\Keep", "v1");
  reg.DeleteValue(hkcu, "Software\\Keep", "missing");
  EXPECT_EQ(reg.DeleteKeyTree(hkcu, "Software\\Gone"), reg_status::NotFound);

  EXPECT_FALSE(fake.registry.KeyExists(hkcu, "Software\\Test"));
  EXPECT_EQ(counts.registryKeys, 4u);  // Test, A, B, C
  EXPECT_EQ(counts.registryValues, 1u);
  EXPECT_EQ(counts.files, 0u);
}

TEST_F(RemovalCounterTest, AKeyThatCannotBeDeletedIsNotCounted) {
  constexpr auto hkcu = reg_root::CurrentUser;
  fake.registry.SetProtected(hkcu, "Software\\Locked");
  Reg32 reg(registry, fake.windows);
  (void)reg.DeleteKeyTree(hkcu, "Software\\Locked");
  EXPECT_TRUE(fake.registry.KeyExists(hkcu, "Software\\Locked"));
  EXPECT_EQ(counts.registryKeys, 0u);
}

TEST_F(RemovalCounterTest, TakesSizesFromTheListingThatFoundTheFiles) {
  fake.files.AddFile("C:\\Junk\\a.tmp", std::string(1000, 'a'));
  fake.files.AddFile("C:\\Junk\\B.TMP", std::string(24, 'b'));
  fake.files.AddFile("C:\\Junk\\keep.txt", "keep");

  for (const DirEntry& entry : ListByPattern(files, "C:\\Junk\\*.tmp", list_attr::Normal)) {
    // Case differs from the listing on purpose: names match without regard to case.
    EXPECT_EQ(files.DeleteFile("c:\\junk\\" + entry.name), FsResult::Ok);
  }

  EXPECT_EQ(counts.files, 2u);
  EXPECT_EQ(counts.bytes, 1024u);
  EXPECT_TRUE(fake.files.Exists("C:\\Junk\\keep.txt"));
  // No extra size query was needed for files the listing had shown.
  EXPECT_EQ(fake.files.CountCalls(FsOp::ListDirectory), 1u);
}

TEST_F(RemovalCounterTest, AsksForTheSizeOfAFileNoListingShowed) {
  fake.files.AddFile("C:\\Junk\\single.dat", std::string(300, 'x'));
  EXPECT_EQ(files.DeleteFile("C:\\Junk\\single.dat"), FsResult::Ok);
  EXPECT_EQ(counts.files, 1u);
  EXPECT_EQ(counts.bytes, 300u);
}

TEST_F(RemovalCounterTest, AFailedDeletionCountsNothing) {
  fake.files.AddFile("C:\\Junk\\ro.txt", "12345", file_attr::ReadOnly);
  fake.files.AddFile("C:\\Junk\\busy.txt", "12345");
  fake.files.SetInUse("C:\\Junk\\busy.txt");
  std::vector<DirEntry> entries;
  ASSERT_EQ(files.ListDirectory("C:\\Junk", entries), FsResult::Ok);

  EXPECT_NE(files.DeleteFile("C:\\Junk\\ro.txt"), FsResult::Ok);
  EXPECT_NE(files.DeleteFile("C:\\Junk\\busy.txt"), FsResult::Ok);
  EXPECT_NE(files.DeleteFile("C:\\Junk\\missing.txt"), FsResult::Ok);
  EXPECT_EQ(counts.files, 0u);
  EXPECT_EQ(counts.bytes, 0u);
}

TEST_F(RemovalCounterTest, AForcedFolderDeletionCountsEveryFileInTheTree) {
  fake.files.AddFile("C:\\Tree\\one.txt", "1");
  fake.files.AddFile("C:\\Tree\\sub\\two.txt", "22", file_attr::ReadOnly);
  fake.files.AddFile("C:\\Tree\\sub\\deeper\\three.txt", "333", file_attr::Hidden);

  (void)DeleteFolderForced(files, "C:\\Tree");

  EXPECT_FALSE(fake.files.Exists("C:\\Tree"));
  EXPECT_EQ(counts.files, 3u);
  EXPECT_EQ(counts.bytes, 6u);
}

TEST_F(RemovalCounterTest, ARewrittenFileIsMeasuredAnew) {
  fake.files.AddFile("C:\\Junk\\grow.txt", "small");
  std::vector<DirEntry> entries;
  ASSERT_EQ(files.ListDirectory("C:\\Junk\\", entries), FsResult::Ok);
  ASSERT_EQ(files.WriteFile("C:\\Junk\\grow.txt", std::string(2000, 'g')), FsResult::Ok);
  EXPECT_EQ(files.DeleteFile("C:\\Junk\\grow.txt"), FsResult::Ok);
  EXPECT_EQ(counts.bytes, 2000u);
}

TEST_F(RemovalCounterTest, AFileOverwrittenBeforeDeletionCountsWhatTheListingShowed) {
  fake.files.AddFile("C:\\Junk\\secret.txt", std::string(5000, 's'));
  std::vector<DirEntry> entries;
  ASSERT_EQ(files.ListDirectory("C:\\Junk", entries), FsResult::Ok);
  FsResult opened = FsResult::Failed;
  {
    auto file = files.OpenForOverwrite("C:\\Junk\\secret.txt", opened);
    ASSERT_EQ(opened, FsResult::Ok);
    ASSERT_EQ(file->WriteAt(0, std::string(8192, ' ')), FsResult::Ok);
  }
  EXPECT_EQ(files.DeleteFile("C:\\Junk\\secret.txt"), FsResult::Ok);
  EXPECT_EQ(counts.bytes, 5000u);
}

TEST(RemovalSummaryTest, GroupsBytesAndNamesEachCount) {
  EXPECT_EQ(RemovalSummary({}), "Removed: 0 files (0 bytes), 0 registry keys, 0 registry values");
  EXPECT_EQ(RemovalSummary({1, 1, 1, 1}),
            "Removed: 1 file (1 byte), 1 registry key, 1 registry value");
  EXPECT_EQ(RemovalSummary({12, 34567, 3, 5}),
            "Removed: 12 files (34,567 bytes), 3 registry keys, 5 registry values");
  EXPECT_EQ(RemovalSummary({2, 1234567890, 0, 0}),
            "Removed: 2 files (1,234,567,890 bytes), 0 registry keys, 0 registry values");
  EXPECT_EQ(RemovalSummary({0, 999, 0, 0}),
            "Removed: 0 files (999 bytes), 0 registry keys, 0 registry values");
}

}  // namespace
}  // namespace quorvane
