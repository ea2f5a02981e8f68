// The file system and the file services over it, against real files.

#include "win32/platform/Win32FileSystem.h"

#include <windows.h>
// The interface names its calls after the platform's; the macros would rename them.
#undef CreateDirectory
#undef DeleteFile
#undef RemoveDirectory

#include <gtest/gtest.h>

#include "core/FileServices.h"
#include "support/Sandbox.h"
#include "win32/platform/WideText.h"

namespace quorvane::win32 {
namespace {

class Win32FileSystemTest : public ::testing::Test {
 protected:
  Win32FileSystem files;
  quorvane::testing::Sandbox box;
};

TEST_F(Win32FileSystemTest, ReportsThePlatformsAttributesAndRefusals) {
  box.WriteFile("Dir\\x.txt", "x");
  ASSERT_EQ(files.SetAttributes(box / "Dir\\x.txt", file_attr::ReadOnly), FsResult::Ok);
  std::vector<DirEntry> listed;
  ASSERT_EQ(files.ListDirectory(box / "Dir\\", listed), FsResult::Ok);
  ASSERT_EQ(listed.size(), 1u);  // no "." or ".."
  EXPECT_EQ(listed[0].size, 1u);
  EXPECT_EQ(listed[0].attributes & 0xF, file_attr::ReadOnly);
  EXPECT_EQ(files.DeleteFile(box / "Dir\\x.txt"), FsResult::AccessDenied);
  EXPECT_EQ(files.RemoveDirectory(box / "Dir"), FsResult::NotEmpty);
}

TEST_F(Win32FileSystemTest, ForcedDeleteTakesProtectedFilesButLeavesOneInUse) {
  box.WriteFile("Tree\\Sub\\ro.txt", "r");
  box.WriteFile("Tree\\open.txt", "o");
  for (const char* name : {"Tree\\Sub\\ro.txt", "Tree\\Sub"}) {
    ASSERT_EQ(files.SetAttributes(box / name, file_attr::ReadOnly | file_attr::Hidden),
              FsResult::Ok);
  }
  HANDLE held = CreateFileW(LongPath(box / "Tree\\open.txt").c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(DeleteFolderForced(files, box / "Tree"), FsResult::Ok);
  CloseHandle(held);
  EXPECT_TRUE(box.Exists("Tree\\open.txt") && !box.Exists("Tree\\Sub"));
}

// make-unix-links makes the tree before the run. Under Wine a Unix link to a folder lists as
// a reparse point, and one to a file as a plain file whose deletion would reach its target.
TEST(Win32FileSystemLinkTest, UnixLinksAreNeverFollowed) {
  Win32FileSystem files;
  const std::string base = "C:\\qv-unix-links\\";
  ASSERT_TRUE(FolderExists(files, base + "tree")) << "made by the fixture win32_platform_links";
  FsResult opened = FsResult::Ok;
  EXPECT_EQ(files.OpenForOverwrite(base + "tree\\file-link.txt", opened), nullptr);
  (void)DeleteFolderForced(files, base + "tree");
  EXPECT_FALSE(PathExists(files, base + "tree\\sub\\other.txt"));
  EXPECT_TRUE(PathExists(files, base + "target\\keep.txt"));
  EXPECT_TRUE(PathExists(files, base + "target\\inner\\deep.txt"));
  // A plain file in a linked folder, as a prefix's user folders are, does go.
  EXPECT_EQ(files.DeleteFile(base + "folder-alias\\inside.txt"), FsResult::Ok);
}

TEST_F(Win32FileSystemTest, ReachesNonAnsiNamesBeyondMaxPathAndMatchesLongNamesOnly) {
  const std::string foreign = "\xD0\x96\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB.chk";
  std::string deep = box / "Tree";
  for (box.MakeFolder("Tree"); deep.size() < 300; deep += "\\a-rather-long-folder-name") {
    ASSERT_EQ(files.CreateDirectory(deep + "\\a-rather-long-folder-name"), FsResult::Ok);
  }
  box.WriteFile("a.chkdsk", "x");
  ASSERT_EQ(files.WriteFile(deep + "\\" + foreign, "deep"), FsResult::Ok);
  DeleteByWildcard(files, box / "*.chk");
  EXPECT_TRUE(box.Exists("a.chkdsk"));
  EXPECT_EQ(ListByPattern(files, deep + "\\*.CHK", list_attr::Normal).at(0).name, foreign);
  EXPECT_EQ(DeleteFolderForced(files, box / "Tree"), FsResult::Ok);
}

// A profile is named by its folder's 8.3 name: a long name has a short one of its own, an
// 8.3 name is its own short name.
TEST_F(Win32FileSystemTest, ShortNamesOfLongAndShortFolderNames) {
  box.MakeFolder("Work Profile");
  box.MakeFolder("default");
  wchar_t expected[MAX_PATH] = {};
  ASSERT_NE(GetShortPathNameW(Widen(box / "Work Profile").c_str(), expected, MAX_PATH), 0u);
  const std::string expectedPath = Narrow(expected);
  std::string shortName;
  ASSERT_EQ(files.GetShortName(box / "Work Profile", shortName), FsResult::Ok);
  EXPECT_EQ(shortName, expectedPath.substr(expectedPath.rfind('\\') + 1));
  EXPECT_LE(shortName.size(), 12u);
  ASSERT_EQ(files.GetShortName(box / "default", shortName), FsResult::Ok);
  EXPECT_EQ(shortName, "default");

  EXPECT_EQ(files.GetShortName(box / "missing", shortName), FsResult::NotFound);
}

TEST_F(Win32FileSystemTest, OverwritesLandInPlaceOnExistingFilesOnlyAndLinksAreCounted) {
  box.WriteFile("f.bin", "hello world");
  ASSERT_TRUE(
      CreateHardLinkW(LongPath(box / "two.bin").c_str(), LongPath(box / "f.bin").c_str(), nullptr));
  std::uint32_t links = 0;
  ASSERT_EQ(files.GetLinkCount(box / "f.bin", links), FsResult::Ok);
  EXPECT_EQ(links, 2u);
  FsResult result = FsResult::Failed;
  auto file = files.OpenForOverwrite(box / "f.bin", result);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->WriteAt(6, "WORLD"), FsResult::Ok);
  EXPECT_EQ(file->Flush(), FsResult::Ok);
  file.reset();
  EXPECT_EQ(box.ReadFile("f.bin"), "hello WORLD");
  EXPECT_EQ(files.OpenForOverwrite(box / "missing.bin", result), nullptr);
  EXPECT_EQ(result, FsResult::NotFound);
}

}  // namespace
}  // namespace quorvane::win32
