// The fake stands in for the platform in every test of a cleaning target, so the platform
// rules those tests rely on are checked here once.

#include "fakes/FakeFileSystem.h"

#include <gtest/gtest.h>

namespace quorvane::fakes {
namespace {

TEST(FakeFileSystemTest, RefusesWhatThePlatformRefuses) {
  FakeFileSystem files;
  files.AddFile("C:\\a\\ro.txt", "r", file_attr::ReadOnly);
  files.AddFile("C:\\a\\open.txt", "o");
  files.SetInUse("C:\\a\\open.txt");

  EXPECT_EQ(files.DeleteFile("C:\\a\\ro.txt"), FsResult::AccessDenied);
  EXPECT_EQ(files.DeleteFile("C:\\a\\open.txt"), FsResult::AccessDenied);
  EXPECT_EQ(files.DeleteFile("C:\\a"), FsResult::AccessDenied);
  EXPECT_EQ(files.DeleteFile("C:\\a\\none.txt"), FsResult::NotFound);
  EXPECT_EQ(files.RemoveDirectory("C:\\a"), FsResult::NotEmpty);
  EXPECT_EQ(files.MoveFile("C:\\a\\ro.txt", "C:\\A\\OPEN.TXT"), FsResult::AlreadyExists);
  EXPECT_EQ(files.CreateDirectory("C:\\x\\y"), FsResult::NotFound);

  ASSERT_EQ(files.SetAttributes("C:\\a\\ro.txt", file_attr::Normal), FsResult::Ok);
  EXPECT_EQ(files.DeleteFile("C:\\A\\RO.TXT"), FsResult::Ok);
  EXPECT_FALSE(files.Exists("c:/a/ro.txt"));
}

TEST(FakeFileSystemTest, LinksLeadToTheirTargetAndHardLinksShareTheData) {
  FakeFileSystem files;
  files.AddDrive('c', DriveType::Fixed, 1000, 5000);
  files.AddFile("D:\\Target\\keep.txt", "k");
  files.AddLink("C:\\Tree\\link", "D:\\Target");
  std::vector<DirEntry> entries;
  ASSERT_EQ(files.ListDirectory("C:\\Tree", entries), FsResult::Ok);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].attributes, file_attr::Directory | file_attr::ReparsePoint);
  // Through the link the target is reached, as on the platform: entering it is dangerous.
  EXPECT_EQ(files.Content("C:\\Tree\\link\\keep.txt"), "k");
  EXPECT_EQ(files.RemoveDirectory("C:\\Tree\\link"), FsResult::Ok);
  EXPECT_EQ(files.Content("D:\\Target\\keep.txt"), "k");

  files.AddFile("C:\\one.txt", "shared");
  files.AddHardLink("C:\\one.txt", "C:\\two.txt");
  std::uint32_t links = 0;
  ASSERT_EQ(files.DeleteFile("C:\\one.txt"), FsResult::Ok);
  EXPECT_EQ(files.FreeBytes('C'), 1000u);  // the data is still held by its other name
  ASSERT_EQ(files.GetLinkCount("C:\\two.txt", links), FsResult::Ok);
  EXPECT_EQ(links, 1u);
  ASSERT_EQ(files.DeleteFile("C:\\two.txt"), FsResult::Ok);
  EXPECT_EQ(files.FreeBytes('C'), 1006u);
}

TEST(FakeFileSystemTest, OverwritesAreLoggedInOrderAndHoldTheFileOpen) {
  FakeFileSystem files;
  files.AddFile("C:\\f.bin", "abc");
  {
    FsResult opened = FsResult::Failed;
    auto file = files.OpenForOverwrite("C:\\f.bin", opened);
    ASSERT_EQ(opened, FsResult::Ok);
    ASSERT_EQ(file->WriteAt(1, "XYZW"), FsResult::Ok);
    ASSERT_EQ(file->Flush(), FsResult::Ok);
    EXPECT_EQ(files.DeleteFile("C:\\f.bin"), FsResult::AccessDenied);
  }
  EXPECT_EQ(files.Content("C:\\f.bin"), "aXYZW");
  std::vector<FsOp> ops;
  for (const FsCall& call : files.Calls()) ops.push_back(call.op);
  EXPECT_EQ(ops, (std::vector<FsOp>{FsOp::OpenForOverwrite, FsOp::WriteAt, FsOp::Flush,
                                    FsOp::DeleteFile, FsOp::Close}));

  files.AddFile("D:\\t\\target.txt", "t");
  files.AddLink("C:\\link.txt", "D:\\t\\target.txt");
  FsResult viaLink = FsResult::Ok;
  EXPECT_EQ(files.OpenForOverwrite("C:\\link.txt", viaLink), nullptr);
  EXPECT_EQ(viaLink, FsResult::AccessDenied);
}

TEST(FakeFileSystemTest, DrivesInOrderWithNamesInEveryForm) {
  FakeFileSystem files;
  files.AddDrive('C', DriveType::Fixed, 100, 200, "SYSTEM");
  files.AddDrive('e', DriveType::CdRom, 0, 0);
  files.SetDriveReady('E', false);
  EXPECT_EQ(files.DriveNames(), (std::vector<std::string>{"c:", "e:"}));
  DriveInfo info;
  ASSERT_EQ(files.GetDrive("c:\\", info), FsResult::Ok);
  EXPECT_EQ(info.volumeLabel, "SYSTEM");
  EXPECT_EQ(files.GetDrive("E", info), FsResult::Failed);
  EXPECT_EQ(files.GetDrive("cd", info), FsResult::NotFound);
}

}  // namespace
}  // namespace quorvane::fakes
