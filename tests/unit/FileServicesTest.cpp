#include "core/FileServices.h"

#include <gtest/gtest.h>

#include "fakes/FakeFileSystem.h"

namespace quorvane {
namespace {

using fakes::FakeFileSystem;
using fakes::FsOp;
using Names = std::vector<std::string>;

TEST(WildcardTest, MatchesTheLongNameByCharacterWithoutRegardToAsciiCase) {
  const std::string zhe = "\xD0\x96urnal.txt";  // a Cyrillic capital first
  EXPECT_TRUE(MatchesWildcard("Report.TXT", "*.txt"));
  EXPECT_TRUE(MatchesWildcard("abcabd", "*abd"));
  EXPECT_TRUE(MatchesWildcard("README", "*.*"));
  EXPECT_TRUE(MatchesWildcard(zhe, "?urnal.txt"));
  EXPECT_FALSE(MatchesWildcard(zhe, "??urnal.txt"));
  EXPECT_FALSE(MatchesWildcard(zhe, "\xD0\xB6*"));
  EXPECT_FALSE(MatchesWildcard("setupx", "setup.*"));
  // The short names ("A~1.CHK", "PROGRA~1") must not decide.
  EXPECT_FALSE(MatchesWildcard("a.chkdsk", "*.chk"));
  EXPECT_FALSE(MatchesWildcard("Program Files", "progra~1"));
}

TEST(ListByPatternTest, AttributeSetsAddHiddenSystemAndFoldersToPlainFiles) {
  FakeFileSystem files;
  files.AddFile("C:\\T\\ro.tmp", "1", file_attr::ReadOnly);
  files.AddFile("C:\\T\\hidden.tmp", "", file_attr::Hidden);
  files.AddFolder("C:\\T\\sub.tmp");
  files.AddFile("C:\\T\\other.log");
  const auto list = [&](std::string_view pattern, std::uint32_t set) {
    Names names;
    for (const DirEntry& entry : ListByPattern(files, pattern, set)) names.push_back(entry.name);
    return names;
  };
  EXPECT_EQ(list("c:\\t\\*.TMP", list_attr::Normal), Names{"ro.tmp"});
  EXPECT_EQ(list("C:\\T\\*.tmp", list_attr::Hidden | list_attr::Directory),
            (Names{"hidden.tmp", "ro.tmp", "sub.tmp"}));
  files.ClearCalls();
  EXPECT_TRUE(list("*.tmp", list_attr::Normal).empty());  // no current folder
  EXPECT_EQ(files.CountCalls(FsOp::ListDirectory), 0u);
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
  EXPECT_EQ(files.CountCalls(FsOp::SetAttributes), 0u);
}

class DeleteFolderForcedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.AddFile("C:\\Temp\\Work\\ro.txt", "r", file_attr::ReadOnly);
    files.AddFile("C:\\Temp\\Work\\Sub\\b.txt", "b", file_attr::Hidden | file_attr::System);
    files.AddFolder("C:\\Temp\\Work\\Sub\\Deeper", file_attr::ReadOnly);
    files.AddFile("C:\\Users\\bob\\Docs\\thesis.doc", "precious");
    files.AddLink("C:\\Temp\\Work\\Sub\\docs", "C:\\Users\\bob\\Docs");
    files.AddLink("C:\\Temp\\Work\\thesis.doc", "C:\\Users\\bob\\Docs\\thesis.doc");
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
  EXPECT_EQ(files.Content("C:\\Users\\bob\\Docs\\thesis.doc"), "precious");
}

TEST_F(DeleteFolderForcedTest, RefusesRootsRelativePathsAndFilesButGoesAnyDepth) {
  for (const char* refused : {"C:\\", "c:", "\\\\?\\C:\\", "C:\\Temp\\..", "", "Temp\\Work"}) {
    EXPECT_EQ(DeleteFolderForced(files, refused), FsResult::AccessDenied) << refused;
  }
  EXPECT_EQ(DeleteFolderForced(files, "C:\\Temp\\Work\\ro.txt"), FsResult::Failed);
  EXPECT_EQ(files.CountCalls(FsOp::DeleteFile) + files.CountCalls(FsOp::RemoveDirectory), 0u);
  std::string deep = "C:\\Deep";
  for (int level = 0; level < 300; ++level) deep += "\\d";
  files.AddFile(deep + "\\leaf.txt", "x", file_attr::ReadOnly);
  EXPECT_EQ(DeleteFolderForced(files, "C:\\Deep"), FsResult::Ok);
  EXPECT_FALSE(files.Exists("C:\\Deep"));
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
