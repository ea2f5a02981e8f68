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
  fake.registry.SetProtected(hkcu, "Software\\Locked");
  EXPECT_EQ(reg.DeleteKeyTree(hkcu, "Software\\Test"), reg_status::Success);
  EXPECT_EQ(reg.DeleteKeyTree(hkcu, "Software\\Locked"), reg_status::AccessDenied);
  reg.DeleteValue(hkcu, "Software\\Keep", "v1");
  reg.DeleteValue(hkcu, "Software\\Keep", "missing");

  CountingFileSystem files{fake.files, counts};
  fake.files.AddFile("C:\\Tree\\a.txt", std::string(1000, 'a'));
  fake.files.AddFile("C:\\Tree\\sub\\ro.txt", "22", file_attr::ReadOnly);
  fake.files.AddFile("C:\\Tree\\busy.txt", "12345");
  fake.files.SetInUse("C:\\Tree\\busy.txt");
  fake.files.AddFile("C:\\Junk\\grow.txt", "small");
  (void)DeleteFolderForced(files, "C:\\Tree");
  // The size comes from the listing, unless the file was rewritten after it.
  std::vector<DirEntry> entries;
  ASSERT_EQ(files.ListDirectory("C:\\Junk", entries), FsResult::Ok);
  ASSERT_EQ(files.WriteFile("C:\\Junk\\grow.txt", std::string(2000, 'g')), FsResult::Ok);
  EXPECT_EQ(files.DeleteFile("c:\\junk\\GROW.txt"), FsResult::Ok);

  EXPECT_EQ(counts.registryKeys, 3u);  // Test, A, B
  EXPECT_EQ(counts.registryValues, 1u);
  EXPECT_EQ(counts.files, 3u);
  EXPECT_EQ(counts.bytes, 3002u);
}

TEST(RemovalSummaryTest, GroupsBytesAndNamesEachCountInSingularOrPlural) {
  EXPECT_EQ(RemovalSummary({1, 1, 1, 1}),
            "Removed: 1 file (1 byte), 1 registry key, 1 registry value");
  EXPECT_EQ(RemovalSummary({2, 1234567890, 3, 0}),
            "Removed: 2 files (1,234,567,890 bytes), 3 registry keys, 0 registry values");
}

}  // namespace
}  // namespace quorvane
