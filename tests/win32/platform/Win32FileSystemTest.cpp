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

#include "core/FileServices.h"
#include "core/Text.h"
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
  EXPECT_EQ(files.DeleteFile(box / "Dir\\x.txt", DeleteMode::AsFound), FsResult::AccessDenied);
  EXPECT_EQ(files.RemoveDirectory(box / "Dir"), FsResult::NotEmpty);
  EXPECT_EQ(files.DeleteFile(box / "Dir\\x.txt", DeleteMode::ResetAttributes), FsResult::Ok);
  EXPECT_EQ(files.DeleteFile(box / "Dir\\x.txt", DeleteMode::AsFound), FsResult::NotFound);
  EXPECT_EQ(files.DeleteFile(box / "Dir", DeleteMode::ResetAttributes), FsResult::AccessDenied);
}

// A file another program holds without delete sharing is refused as in use, however the
// deletion is asked for; the other files go.
TEST_F(Win32FileSystemTest, AFileInUseIsRefusedAsDenied) {
  box.WriteFile("busy.txt", "b");
  HANDLE held = CreateFileW(LongPath(box / "busy.txt").c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(files.DeleteFile(box / "busy.txt", DeleteMode::ResetAttributes),
            FsResult::AccessDenied);
  FsResult opened = FsResult::Ok;
  EXPECT_EQ(files.OpenForOverwrite(box / "busy.txt", DeleteMode::AsFound, opened), nullptr);
  EXPECT_EQ(opened, FsResult::AccessDenied);
  CloseHandle(held);
  EXPECT_EQ(box.ReadFile("busy.txt"), "b");
}

// Replacing on a move is one step: the old content is there until the new one takes its name.
TEST_F(Win32FileSystemTest, MoveReplacesOnlyWhenAsked) {
  box.WriteFile("new.txt", "new");
  box.WriteFile("saved.txt", "saved");
  EXPECT_EQ(files.MoveFile(box / "new.txt", box / "saved.txt", IfTargetExists::Fail),
            FsResult::AlreadyExists);
  EXPECT_EQ(files.MoveFile(box / "new.txt", box / "saved.txt", IfTargetExists::Replace),
            FsResult::Ok);
  EXPECT_EQ(box.ReadFile("saved.txt"), "new");
  EXPECT_FALSE(box.Exists("new.txt"));
}

// A fixed drive gives its space; its label is a question of its own.
TEST_F(Win32FileSystemTest, DrivesGiveTheirTypeAndSpaceAndTheirLabelApart) {
  const std::vector<std::string> names = files.DriveNames();
  EXPECT_NE(std::find(names.begin(), names.end(), "c:"), names.end());
  DriveInfo drive;
  ASSERT_EQ(files.GetDrive("C:\\", drive), FsResult::Ok);
  EXPECT_EQ(drive.type, DriveType::Fixed);
  EXPECT_GT(drive.totalBytes, 0u);
  EXPECT_LE(drive.freeBytes, drive.totalBytes);
  std::string label = "unset";
  EXPECT_EQ(files.GetVolumeLabel("c", label), FsResult::Ok);
  EXPECT_NE(label, "unset");
  EXPECT_EQ(files.GetDrive("cc", drive), FsResult::NotFound);
}

TEST_F(Win32FileSystemTest, FinalPathOfAPlainFolderIsItsOwnInDriveForm) {
  box.MakeFolder("Plain");
  std::string finalPath;
  ASSERT_EQ(files.FinalPath(box / "Plain\\", finalPath), FsResult::Ok);
  EXPECT_TRUE(EqualsNoCase(finalPath, box / "Plain")) << finalPath;
  ASSERT_EQ(files.FinalPath("c:/", finalPath), FsResult::Ok);
  EXPECT_TRUE(EqualsNoCase(finalPath, "C:\\")) << finalPath;
  EXPECT_EQ(files.FinalPath(box / "Missing", finalPath), FsResult::NotFound);
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
  auto link =
      files.OpenForOverwrite(base + "tree\\file-link.txt", DeleteMode::ResetAttributes, opened);
  ASSERT_NE(link, nullptr);
  EXPECT_NE(link->Attributes() & file_attr::ReparsePoint, 0u);
  EXPECT_EQ(link->WriteAt(0, "overwritten"), FsResult::AccessDenied);
  link.reset();
  // Removed as the link, through the open that found it to be one; the read-only file it
  // leads to is not reset.
  EXPECT_EQ(files.DeleteFile(base + "tree\\readonly-link.txt", DeleteMode::ResetAttributes),
            FsResult::Ok);
  std::uint32_t attributes = 0;
  ASSERT_EQ(files.GetAttributes(base + "target\\readonly.txt", attributes), FsResult::Ok);
  EXPECT_NE(attributes & file_attr::ReadOnly, 0u);
  (void)DeleteFolderForced(files, base + "tree");
  for (const char* gone : {"tree\\file-link.txt", "tree\\plain.txt", "tree\\sub\\other.txt"}) {
    EXPECT_FALSE(PathExists(files, base + gone)) << gone;
  }
  for (const char* kept : {"target\\keep.txt", "target\\inner\\deep.txt", "target\\readonly.txt"}) {
    EXPECT_TRUE(PathExists(files, base + kept)) << kept;
  }
  std::string content;
  EXPECT_EQ(files.ReadFile(base + "target\\keep.txt", content), FsResult::Ok);
  EXPECT_EQ(content, "keep");
  // A plain file in a linked folder, as a prefix's user folders are, does go.
  EXPECT_EQ(files.DeleteFile(base + "folder-alias\\inside.txt", DeleteMode::AsFound), FsResult::Ok);
  // A link to a folder stays when it cannot go as a link; the empty folder it leads to stays.
  (void)files.RemoveDirectory(base + "empty-link");
  EXPECT_TRUE(FolderExists(files, base + "empty-target"));
}

// Where a linked folder really leads, in drive form: the host's root is the root of Z:.
TEST(Win32FileSystemLinkTest, FinalPathFollowsUnixLinksToWhereTheyLead) {
  Win32FileSystem files;
  const std::string base = "C:\\qv-unix-links\\";
  std::string finalPath;
  ASSERT_EQ(files.FinalPath(base + "folder-alias", finalPath), FsResult::Ok);
  EXPECT_TRUE(EqualsNoCase(finalPath, base + "real-folder")) << finalPath;
  ASSERT_EQ(files.FinalPath(base + "root-link\\", finalPath), FsResult::Ok);
  EXPECT_TRUE(EqualsNoCase(finalPath, "Z:\\")) << finalPath;
  EXPECT_FALSE(IsSafeToEmpty(files, base + "root-link", ProtectedFolderList{}));
  EXPECT_FALSE(
      IsSafeToEmpty(files, base + "folder-alias", ProtectedFolderList{{base + "real-folder"}, {}}));
  EXPECT_TRUE(IsSafeToEmpty(files, base + "folder-alias", ProtectedFolderList{}));
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
  FsResult result = FsResult::Failed;
  auto file = files.OpenForOverwrite(box / "f.bin", DeleteMode::AsFound, result);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->LinkCount(), 2u);
  EXPECT_EQ(file->Size(), 11u);
  EXPECT_EQ(file->WriteAt(6, "WORLD"), FsResult::Ok);
  EXPECT_EQ(file->Flush(), FsResult::Ok);
  EXPECT_EQ(file->Delete(), FsResult::Ok);
  file.reset();
  EXPECT_FALSE(box.Exists("f.bin"));
  EXPECT_EQ(box.ReadFile("two.bin"), "hello WORLD");
  EXPECT_EQ(files.OpenForOverwrite(box / "missing.bin", DeleteMode::AsFound, result), nullptr);
  EXPECT_EQ(result, FsResult::NotFound);
}

// A read-only, hidden file is refused as it stands, and with its attributes reset through the
// same open it is written and deleted.
TEST_F(Win32FileSystemTest, OverwriteOfAReadOnlyFileNeedsTheReset) {
  box.WriteFile("ro.bin", "abc");
  ASSERT_EQ(files.SetAttributes(box / "ro.bin", file_attr::ReadOnly | file_attr::Hidden),
            FsResult::Ok);
  FsResult result = FsResult::Failed;
  EXPECT_EQ(files.OpenForOverwrite(box / "ro.bin", DeleteMode::AsFound, result), nullptr);
  EXPECT_EQ(result, FsResult::AccessDenied);
  auto file = files.OpenForOverwrite(box / "ro.bin", DeleteMode::ResetAttributes, result);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->Attributes() & (file_attr::ReadOnly | file_attr::Hidden), 0u);
  EXPECT_EQ(file->WriteAt(0, "XYZ"), FsResult::Ok);
  EXPECT_EQ(file->Flush(), FsResult::Ok);
  EXPECT_EQ(file->Delete(), FsResult::Ok);
  file.reset();
  EXPECT_FALSE(box.Exists("ro.bin"));
}

}  // namespace
}  // namespace quorvane::win32
