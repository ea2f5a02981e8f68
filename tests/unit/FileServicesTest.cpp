#include "core/FileServices.h"

#include <gtest/gtest.h>

#include "fakes/FakeFileSystem.h"

namespace quorvane {
namespace {

using fakes::FakeFileSystem;
using fakes::FsOp;

TEST(WildcardTest, MatchesTheLongNameByCharacterWithoutRegardToAsciiCase) {
  const std::string zhe = "\xD0\x96urnal.txt";  // a Cyrillic capital first
  EXPECT_TRUE(MatchesWildcard("Report.TXT", "*.txt"));
  EXPECT_TRUE(MatchesWildcard(zhe, "?urnal.txt"));
  EXPECT_FALSE(MatchesWildcard(zhe, "??urnal.txt"));
  // The short names ("A~1.CHK", "PROGRA~1") must not decide.
  EXPECT_FALSE(MatchesWildcard("a.chkdsk", "*.chk"));
  EXPECT_FALSE(MatchesWildcard("Program Files", "progra~1"));
}

TEST(DeleteByWildcardTest, DeletesOnlyPlainMatchingFilesAndLeavesAttributes) {
  FakeFileSystem files;
  files.AddFile("D:\\FILE0000.CHK", "lost");
  files.AddFile("D:\\hidden.chk", "", file_attr::Hidden);
  files.AddFile("D:\\readonly.chk", "", file_attr::ReadOnly);
  files.AddFile("D:\\open.chk");
  files.SetInUse("D:\\open.chk");
  DeleteByWildcard(files, "D:\\*.chk");
  EXPECT_FALSE(files.Exists("D:\\FILE0000.CHK"));
  for (const char* stays : {"D:\\hidden.chk", "D:\\readonly.chk", "D:\\open.chk"}) {
    EXPECT_TRUE(files.Exists(stays)) << stays;
  }
}

class DeleteFolderForcedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.AddFile("C:\\Temp\\Work\\ro.txt", "r", file_attr::ReadOnly);
    files.AddFile("C:\\Temp\\Work\\Sub\\b.txt", "b", file_attr::Hidden | file_attr::System);
    files.AddFolder("C:\\Temp\\Work\\Sub\\Deeper", file_attr::ReadOnly);
    files.AddFile("C:\\Users\\bob\\Docs\\thesis.doc", "precious");
    files.AddLink("C:\\Temp\\Work\\Sub\\docs", "C:\\Users\\bob\\Docs");
  }
  FakeFileSystem files;
};

TEST_F(DeleteFolderForcedTest, MeasuresAndRemovesTheWholeTreeButNeverEntersOrFollowsALink) {
  EXPECT_EQ(FolderSize(files, "c:\\temp\\work\\"), 2u);
  EXPECT_EQ(DeleteFolderForced(files, "C:/Temp/Work/"), FsResult::Ok);
  EXPECT_FALSE(files.Exists("C:\\Temp\\Work"));
  EXPECT_EQ(files.Content("C:\\Users\\bob\\Docs\\thesis.doc"), "precious");
  for (const fakes::FsCall& call : files.Calls()) {
    EXPECT_EQ(call.path.find("docs\\"), std::string::npos) << "walked into the link: " << call.path;
  }
}

TEST_F(DeleteFolderForcedTest, WhatCannotBeRemovedStaysWithItsFoldersAndTheRestGoes) {
  files.SetInUse("C:\\Temp\\Work\\Sub\\b.txt");
  files.SetInUse("C:\\Temp\\Work\\Sub\\docs");  // some platforms refuse to remove such a link
  EXPECT_EQ(DeleteFolderForced(files, "C:\\Temp\\Work"), FsResult::NotEmpty);
  for (const char* stays : {"Sub\\b.txt", "Sub\\docs"}) {
    EXPECT_TRUE(files.Exists("C:\\Temp\\Work\\" + std::string(stays))) << stays;
  }
  EXPECT_FALSE(files.Exists("C:\\Temp\\Work\\Sub\\Deeper"));
}

TEST_F(DeleteFolderForcedTest, RefusesRootsRelativePathsAndFiles) {
  for (const char* refused : {"C:\\", "c:", "\\\\?\\C:\\", "C:\\Temp\\..", "", "Temp\\Work"}) {
    EXPECT_EQ(DeleteFolderForced(files, refused), FsResult::AccessDenied) << refused;
  }
  EXPECT_EQ(DeleteFolderForced(files, "C:\\Temp\\Work\\ro.txt"), FsResult::Failed);
  EXPECT_EQ(files.CountCalls(FsOp::DeleteFile) + files.CountCalls(FsOp::RemoveDirectory), 0u);
}

TEST(IsSafeToEmptyTest, RefusesEmptyRelativeRootAndProtectedFoldersAndTheirParents) {
  const std::vector<std::string> guarded = {"C:\\Windows", "C:\\Users\\bob", "D:\\Data\\ann\\"};
  for (const char* safe : {"C:\\Users\\bob\\AppData\\Local\\Temp\\", "\\\\server\\share\\temp",
                           "C:\\Users\\bobby", "D:\\Data\\annex"}) {
    EXPECT_TRUE(IsSafeToEmpty(safe, guarded)) << safe;
  }
  for (const char* unsafe :
       {"", "Temp", ".\\Temp", "\\Temp", "C:Temp", "C:\\", "c:/", "\\\\server\\share\\",
        "c:/windows", "C:\\users\\BOB\\\\", "C:\\Users", "d:\\data\\", "C:\\Windows\\System32\\..",
        "C:\\Temp\\..\\..", "C:\\Windows.", "\\\\?\\C:\\Windows", "C:\\.\\Windows"}) {
    EXPECT_FALSE(IsSafeToEmpty(unsafe, guarded)) << unsafe;
  }
}

}  // namespace
}  // namespace quorvane
