#include "clean/RemovalCounter.h"

#include <gtest/gtest.h>

#include "core/FileServices.h"
#include "core/Reg32.h"
#include "fakes/FakePlatform.h"

namespace quorvane {
namespace {

using fakes::FsOp;

class RemovalCounterTest : public ::testing::Test {
 protected:
  fakes::FakePlatform fake;
  RemovalCounts counts;
  CountingRegistry registry{fake.registry, counts};
  CountingFileSystem files{fake.files, counts};
};

TEST_F(RemovalCounterTest, CountsEveryKeyOfADeletedTreeAndOnlyWhatWasReallyRemoved) {
  constexpr auto hkcu = reg_root::CurrentUser;
  fake.registry.SetString(hkcu, "Software\\Test\\A\\B", "x", "1");
  fake.registry.SetString(hkcu, "Software\\Test\\C", "y", "2");
  fake.registry.SetString(hkcu, "Software\\Keep", "v1", "1");
  fake.registry.SetProtected(hkcu, "Software\\Locked");

  Reg32 reg(registry, fake.windows);
  EXPECT_EQ(reg.DeleteKeyTree(hkcu, "Software\\Test"), reg_status::Success);
  reg.DeleteValue(hkcu, "Software\\Keep", "v1");
  reg.DeleteValue(hkcu, "Software\\Keep", "missing");
  EXPECT_EQ(reg.DeleteKeyTree(hkcu, "Software\\Gone"), reg_status::NotFound);
  EXPECT_EQ(reg.DeleteKeyTree(hkcu, "Software\\Locked"), reg_status::AccessDenied);

  EXPECT_EQ(counts.registryKeys, 4u);  // Test, A, B, C
  EXPECT_EQ(counts.registryValues, 1u);
  EXPECT_EQ(counts.files, 0u);
}

TEST_F(RemovalCounterTest, TakesSizesFromTheListingThatFoundTheFilesOrAsksForThem) {
  fake.files.AddFile("C:\\Junk\\a.tmp", std::string(1000, 'a'));
  fake.files.AddFile("C:\\Junk\\B.TMP", std::string(24, 'b'));
  fake.files.AddFile("C:\\Junk\\ro.tmp", "12345", file_attr::ReadOnly);
  fake.files.AddFile("C:\\Junk\\busy.txt", "12345");
  fake.files.SetInUse("C:\\Junk\\busy.txt");
  fake.files.AddFile("C:\\Other\\single.dat", std::string(300, 'x'));

  for (const DirEntry& entry : ListByPattern(files, "C:\\Junk\\*.*", list_attr::Normal)) {
    // Case differs from the listing on purpose: names match without regard to case.
    (void)files.DeleteFile("c:\\junk\\" + entry.name);
  }
  EXPECT_EQ(fake.files.CountCalls(FsOp::ListDirectory), 1u);
  EXPECT_EQ(counts.files, 2u);  // the read-only and the busy file stayed
  EXPECT_EQ(counts.bytes, 1024u);

  EXPECT_EQ(files.DeleteFile("C:\\Other\\single.dat"), FsResult::Ok);
  EXPECT_NE(files.DeleteFile("C:\\Other\\missing.txt"), FsResult::Ok);
  EXPECT_EQ(counts.files, 3u);
  EXPECT_EQ(counts.bytes, 1324u);
}

TEST_F(RemovalCounterTest, AForcedFolderDeletionCountsEveryFileInTheTree) {
  fake.files.AddFile("C:\\Tree\\one.txt", "1");
  fake.files.AddFile("C:\\Tree\\sub\\two.txt", "22", file_attr::ReadOnly);
  fake.files.AddFile("C:\\Tree\\sub\\deeper\\three.txt", "333", file_attr::Hidden);
  (void)DeleteFolderForced(files, "C:\\Tree");
  EXPECT_EQ(counts.files, 3u);
  EXPECT_EQ(counts.bytes, 6u);
}

TEST_F(RemovalCounterTest, ARewrittenFileIsMeasuredAnewButAnOverwrittenOneIsNot) {
  fake.files.AddFile("C:\\Junk\\grow.txt", "small");
  fake.files.AddFile("C:\\Junk\\secret.txt", std::string(5000, 's'));
  std::vector<DirEntry> entries;
  ASSERT_EQ(files.ListDirectory("C:\\Junk\\", entries), FsResult::Ok);
  ASSERT_EQ(files.WriteFile("C:\\Junk\\grow.txt", std::string(2000, 'g')), FsResult::Ok);
  FsResult opened = FsResult::Failed;
  {
    auto file = files.OpenForOverwrite("C:\\Junk\\secret.txt", opened);
    ASSERT_EQ(opened, FsResult::Ok);
    ASSERT_EQ(file->WriteAt(0, std::string(8192, ' ')), FsResult::Ok);
  }
  EXPECT_EQ(files.DeleteFile("C:\\Junk\\grow.txt"), FsResult::Ok);
  EXPECT_EQ(files.DeleteFile("C:\\Junk\\secret.txt"), FsResult::Ok);
  EXPECT_EQ(counts.bytes, 7000u);
}

TEST(RemovalSummaryTest, GroupsBytesAndNamesEachCount) {
  EXPECT_EQ(RemovalSummary({}), "Removed: 0 files (0 bytes), 0 registry keys, 0 registry values");
  EXPECT_EQ(RemovalSummary({1, 1, 1, 1}),
            "Removed: 1 file (1 byte), 1 registry key, 1 registry value");
  EXPECT_EQ(RemovalSummary({2, 1234567890, 3, 5}),
            "Removed: 2 files (1,234,567,890 bytes), 3 registry keys, 5 registry values");
}

}  // namespace
}  // namespace quorvane
