// The file system and the file services over it, against real files.

#include "win32/platform/Win32FileSystem.h"

#include <windows.h>
// The interface names its calls after the platform's; the macros would rename them.
#undef CreateDirectory
#undef DeleteFile
#undef MoveFile
#undef RemoveDirectory

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "core/FileServices.h"
#include "support/Sandbox.h"
#include "win32/platform/WideText.h"

namespace quorvane::win32 {
namespace {

using quorvane::testing::Sandbox;

std::map<std::string, DirEntry> ListByName(FileSystem& files, const std::string& folder) {
  std::vector<DirEntry> entries;
  EXPECT_EQ(files.ListDirectory(folder, entries), FsResult::Ok) << folder;
  std::map<std::string, DirEntry> byName;
  for (DirEntry& entry : entries) byName[entry.name] = entry;
  return byName;
}

class Win32FileSystemTest : public ::testing::Test {
 protected:
  void Attributes(std::string_view relative, std::uint32_t attributes) {
    ASSERT_EQ(files.SetAttributes(box / relative, attributes), FsResult::Ok) << relative;
  }
  Win32FileSystem files;
  Sandbox box;
};

TEST_F(Win32FileSystemTest, ListingCarriesAttributesAndSizes) {
  box.WriteFile("plain.txt", "abc");
  box.WriteFile("hidden.txt", "");
  box.WriteFile("readonly.txt", "12345");
  box.MakeFolder("Sub");
  Attributes("hidden.txt", file_attr::Hidden | file_attr::System);
  Attributes("readonly.txt", file_attr::ReadOnly);

  auto listed = ListByName(files, box.Path());
  ASSERT_EQ(listed.size(), 4u);  // no "." or ".."
  EXPECT_EQ(listed["plain.txt"].size, 3u);
  EXPECT_EQ(listed["plain.txt"].attributes & (file_attr::Hidden | file_attr::System), 0u);
  EXPECT_EQ(listed["hidden.txt"].attributes & (file_attr::Hidden | file_attr::System),
            file_attr::Hidden | file_attr::System);
  EXPECT_NE(listed["readonly.txt"].attributes & file_attr::ReadOnly, 0u);
  EXPECT_NE(listed["Sub"].attributes & file_attr::Directory, 0u);
  // A trailing separator is taken as well; the listing of a drive root works too.
  EXPECT_EQ(ListByName(files, box.Path() + "\\").size(), 4u);
  EXPECT_FALSE(ListByName(files, "C:\\").empty());

  std::vector<DirEntry> entries;
  std::uint32_t attrs = 0;
  EXPECT_EQ(files.ListDirectory(box / "missing", entries), FsResult::NotFound);
  EXPECT_NE(files.ListDirectory(box / "plain.txt", entries), FsResult::Ok);
  EXPECT_EQ(files.GetAttributes(box / "missing", attrs), FsResult::NotFound);
}

TEST_F(Win32FileSystemTest, ForcedDeleteTakesProtectedContentButLeavesAFileInUse) {
  box.WriteFile("Tree\\open.txt", "o");
  box.WriteFile("Tree\\ro.txt", "r");
  box.WriteFile("Tree\\Sub\\hidden.txt", "h");
  box.WriteFile("Tree\\Sub\\Deeper\\ro.txt", "r");
  Attributes("Tree\\ro.txt", file_attr::ReadOnly);
  Attributes("Tree\\Sub\\hidden.txt", file_attr::Hidden | file_attr::System);
  Attributes("Tree\\Sub\\Deeper", file_attr::ReadOnly);
  HANDLE held = CreateFileW(LongPath(box / "Tree\\open.txt").c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_NE(DeleteFolderForced(files, box / "Tree"), FsResult::Ok);
  CloseHandle(held);
  EXPECT_TRUE(box.Exists("Tree\\open.txt"));
  EXPECT_FALSE(box.Exists("Tree\\ro.txt"));
  EXPECT_FALSE(box.Exists("Tree\\Sub"));

  EXPECT_EQ(DeleteFolderForced(files, box / "Tree"), FsResult::Ok);
  EXPECT_FALSE(box.Exists("Tree"));
  EXPECT_TRUE(FolderExists(files, box.Path()));
}

// The tree is made from the Linux side before the run (make-unix-links). Under Wine a Unix
// link to a folder lists as a reparse point that RemoveDirectory refuses, and a link to a
// file lists as a plain file whose deletion would reach its target: both must simply stay,
// and their targets must not be touched.
TEST(Win32FileSystemLinkTest, UnixLinksAreNeverFollowed) {
  Win32FileSystem files;
  const std::string base = "C:\\qv-unix-links";
  ASSERT_TRUE(FolderExists(files, base + "\\tree"))
      << "run through ctest: the fixture win32_platform_links makes this tree";

  auto sub = ListByName(files, base + "\\tree\\sub");
  ASSERT_EQ(sub.count("folder-link"), 1u);
  EXPECT_EQ(sub["folder-link"].attributes & (file_attr::ReparsePoint | file_attr::Directory),
            file_attr::ReparsePoint | file_attr::Directory);
  FsResult opened = FsResult::Ok;
  EXPECT_EQ(files.OpenForOverwrite(base + "\\tree\\file-link.txt", opened), nullptr);
  EXPECT_EQ(opened, FsResult::AccessDenied);

  (void)DeleteFolderForced(files, base + "\\tree");
  EXPECT_FALSE(PathExists(files, base + "\\tree\\plain.txt"));
  EXPECT_FALSE(PathExists(files, base + "\\tree\\sub\\other.txt"));
  std::string content;
  ASSERT_EQ(files.ReadFile(base + "\\target\\keep.txt", content), FsResult::Ok);
  EXPECT_EQ(content, "keep");
  ASSERT_EQ(files.ReadFile(base + "\\target\\inner\\deep.txt", content), FsResult::Ok);
  EXPECT_EQ(content, "keep too");

  // A plain file reached through a linked folder, as a prefix's user folders are, does go.
  EXPECT_EQ(files.DeleteFile(base + "\\folder-alias\\inside.txt"), FsResult::Ok);
  EXPECT_FALSE(PathExists(files, base + "\\real-folder\\inside.txt"));
  // Where the platform cannot remove a link without reaching its target, it stays.
  if (files.DeleteFile(base + "\\tree\\file-link.txt") != FsResult::Ok) {
    EXPECT_TRUE(PathExists(files, base + "\\tree\\file-link.txt"));
  }
  EXPECT_TRUE(PathExists(files, base + "\\target\\keep.txt"));
}

TEST_F(Win32FileSystemTest, NamesOutsideTheAnsiCodePageAndPathsBeyondMaxPath) {
  const std::string foreign = "\xD0\x96\xD1\x83\xD1\x80\xD0\xBD\xD0\xB0\xD0\xBB-\xE6\x97\xA5.tmp";
  box.MakeFolder("Tree");
  std::string deep = box / "Tree";
  while (deep.size() < 300) {
    deep += "\\a-rather-long-folder-name-" + std::to_string(deep.size());
    ASSERT_EQ(files.CreateDirectory(deep), FsResult::Ok) << deep.size();
  }
  const std::string deepFile = deep + "\\" + foreign;
  ASSERT_EQ(files.WriteFile(deepFile, "deep"), FsResult::Ok);
  ASSERT_EQ(files.SetAttributes(deepFile, file_attr::ReadOnly), FsResult::Ok);
  std::string content;
  ASSERT_EQ(files.ReadFile(deepFile, content), FsResult::Ok);
  EXPECT_EQ(content, "deep");
  const auto found = ListByPattern(files, deep + "\\*.TMP", list_attr::Normal);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].name, foreign);

  EXPECT_EQ(DeleteFolderForced(files, box / "Tree"), FsResult::Ok);
  EXPECT_FALSE(box.Exists("Tree"));
}

TEST_F(Win32FileSystemTest, WildcardDeleteLeavesHiddenSystemAndReadOnlyFiles) {
  for (const char* name : {"a.chk", "B.CHK", "hidden.chk", "system.chk", "readonly.chk",
                           "a.chkdsk", "Sub\\inner.chk"}) {
    box.WriteFile(name, "x");
  }
  Attributes("hidden.chk", file_attr::Hidden);
  Attributes("system.chk", file_attr::System);
  Attributes("readonly.chk", file_attr::ReadOnly);

  DeleteByWildcard(files, box / "*.chk");

  EXPECT_FALSE(box.Exists("a.chk"));
  EXPECT_FALSE(box.Exists("B.CHK"));
  for (const char* stays :
       {"hidden.chk", "system.chk", "readonly.chk", "a.chkdsk", "Sub\\inner.chk"}) {
    EXPECT_TRUE(box.Exists(stays)) << stays;
  }
}

TEST(Win32DriveTest, DriveCIsAFixedDiskWithSpace) {
  Win32FileSystem files;
  const auto names = files.DriveNames();
  ASSERT_NE(std::find(names.begin(), names.end(), "c:"), names.end());
  for (const char* name : {"C:", "c", "c:\\"}) {
    DriveInfo drive;
    ASSERT_EQ(files.GetDrive(name, drive), FsResult::Ok) << name;
    EXPECT_EQ(drive.name, "c:");
    EXPECT_EQ(drive.type, DriveType::Fixed);
    EXPECT_GT(drive.freeBytes, 0u);
    EXPECT_GE(drive.totalBytes, drive.freeBytes);
  }
  DriveInfo none;
  EXPECT_EQ(files.GetDrive("cd:", none), FsResult::NotFound);
}

TEST_F(Win32FileSystemTest, OverwritesLandInPlaceAndAreFlushed) {
  box.WriteFile("f.bin", "hello world");
  {
    FsResult opened = FsResult::Failed;
    auto file = files.OpenForOverwrite(box / "f.bin", opened);
    ASSERT_EQ(opened, FsResult::Ok);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->WriteAt(6, "WORLD"), FsResult::Ok);
    EXPECT_EQ(file->WriteAt(12, "!"), FsResult::Ok);
    EXPECT_EQ(file->Flush(), FsResult::Ok);
    // Held open for overwriting, the file cannot be deleted underneath.
    EXPECT_NE(files.DeleteFile(box / "f.bin"), FsResult::Ok);
  }
  EXPECT_EQ(box.ReadFile("f.bin"), std::string("hello WORLD\0!", 13));

  FsResult result = FsResult::Ok;
  EXPECT_EQ(files.OpenForOverwrite(box / "missing.bin", result), nullptr);
  EXPECT_EQ(result, FsResult::NotFound);
  box.WriteFile("ro.bin", "r");
  Attributes("ro.bin", file_attr::ReadOnly);
  EXPECT_EQ(files.OpenForOverwrite(box / "ro.bin", result), nullptr);
  EXPECT_EQ(result, FsResult::AccessDenied);
}

TEST_F(Win32FileSystemTest, HardLinksAreCounted) {
  box.WriteFile("one.txt", "shared");
  ASSERT_TRUE(CreateHardLinkW(LongPath(box / "two.txt").c_str(), LongPath(box / "one.txt").c_str(),
                              nullptr));
  std::uint32_t links = 0;
  ASSERT_EQ(files.GetLinkCount(box / "one.txt", links), FsResult::Ok);
  EXPECT_EQ(links, 2u);
  ASSERT_EQ(files.DeleteFile(box / "two.txt"), FsResult::Ok);
  ASSERT_EQ(files.GetLinkCount(box / "one.txt", links), FsResult::Ok);
  EXPECT_EQ(links, 1u);
  EXPECT_EQ(files.GetLinkCount(box / "none.txt", links), FsResult::NotFound);
}

TEST_F(Win32FileSystemTest, FileOperationsReportThePlatformsRefusals) {
  ASSERT_EQ(files.WriteFile(box / "a.txt", "first version"), FsResult::Ok);
  // Replacing a hidden file keeps working (a plain create would refuse it).
  Attributes("a.txt", file_attr::Hidden);
  ASSERT_EQ(files.WriteFile(box / "a.txt", "second"), FsResult::Ok);
  std::uint64_t size = 0;
  ASSERT_EQ(files.GetFileSize(box / "a.txt", size), FsResult::Ok);
  EXPECT_EQ(size, 6u);
  std::string content;
  EXPECT_EQ(files.ReadFile(box / "none.txt", content), FsResult::NotFound);

  ASSERT_EQ(files.WriteFile(box / "b.txt", ""), FsResult::Ok);
  EXPECT_EQ(files.MoveFile(box / "b.txt", box / "a.txt"), FsResult::AlreadyExists);
  ASSERT_EQ(files.MoveFile(box / "b.txt", box / "c.txt"), FsResult::Ok);
  EXPECT_TRUE(box.Exists("c.txt"));

  ASSERT_EQ(files.CreateDirectory(box / "Dir"), FsResult::Ok);
  EXPECT_EQ(files.CreateDirectory(box / "Dir"), FsResult::AlreadyExists);
  EXPECT_EQ(files.CreateDirectory(box / "No\\Such"), FsResult::NotFound);
  box.WriteFile("Dir\\x.txt", "x");
  EXPECT_EQ(files.RemoveDirectory(box / "Dir"), FsResult::NotEmpty);
  Attributes("Dir\\x.txt", file_attr::ReadOnly);
  EXPECT_EQ(files.DeleteFile(box / "Dir\\x.txt"), FsResult::AccessDenied);
  Attributes("Dir\\x.txt", file_attr::Normal);
  EXPECT_EQ(files.DeleteFile(box / "Dir\\x.txt"), FsResult::Ok);
  EXPECT_EQ(files.DeleteFile(box / "Dir\\x.txt"), FsResult::NotFound);
  EXPECT_EQ(files.RemoveDirectory(box / "Dir"), FsResult::Ok);
}

}  // namespace
}  // namespace quorvane::win32
