#include "core/FileServices.h"

#include <gtest/gtest.h>

#include "core/platform/ForwardingFileSystem.h"
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

// A file or folder that another program removes while the walk is under way is gone all the
// same: the folders around it still go, and nothing is reported as left behind.
class VanishingFileSystem final : public ForwardingFileSystem {
 public:
  explicit VanishingFileSystem(FakeFileSystem& fake) : ForwardingFileSystem(fake), fake_(fake) {}
  FsResult ListDirectory(std::string_view folder, std::vector<DirEntry>& entries) override {
    const FsResult listed = inner().ListDirectory(folder, entries);
    for (const DirEntry& entry : entries) {
      if (entry.name.starts_with("gone")) {
        (void)DeleteFolderForced(fake_, std::string(folder) + "\\" + entry.name);
        (void)fake_.DeleteFile(std::string(folder) + "\\" + entry.name, DeleteMode::AsFound);
      }
    }
    return listed;
  }

 private:
  FakeFileSystem& fake_;
};

TEST_F(DeleteFolderForcedTest, WhatVanishesDuringTheWalkCountsAsGone) {
  files.AddFile("C:\\Temp\\Work\\gone.txt", "x");
  files.AddFile("C:\\Temp\\Work\\Sub\\gone-folder\\inner.txt", "y");
  VanishingFileSystem vanishing(files);
  EXPECT_EQ(DeleteFolderForced(vanishing, "C:\\Temp\\Work"), FsResult::Ok);
  EXPECT_FALSE(files.Exists("C:\\Temp\\Work"));
}

class IsSafeToEmptyTest : public ::testing::Test {
 protected:
  IsSafeToEmptyTest() {
    for (const char* folder :
         {"C:\\Windows", "C:\\ProgramData", "C:\\Users\\ann\\Temp", "C:\\Users\\bob",
          "C:\\Users\\Public", "D:\\Temp", "E:\\Profiles\\carl", "F:\\Users\\dora\\Temp"}) {
      files.AddFolder(folder);
    }
    guarded.folders = {"C:\\Windows", "C:\\ProgramData", "C:\\Users\\ann", "G:\\Users"};
    guarded.profilesFolder = "C:\\Users";
  }
  FakeFileSystem files;
  ProtectedFolderList guarded;
};

TEST_F(IsSafeToEmptyTest, JudgesTheTextFirst) {
  for (const char* safe :
       {"C:\\Users\\ann\\Temp\\", "\\\\server\\share\\temp", "C:\\Windowsx", "C:\\Missing\\Temp"}) {
    EXPECT_TRUE(IsSafeToEmpty(files, safe, guarded)) << safe;
  }
  for (const char* unsafe :
       {"", "Temp", ".\\Temp", "\\Temp", "C:Temp", "C:\\", "c:/", "\\\\server\\share\\",
        "c:/windows", "C:\\users\\ANN\\\\", "C:\\Users", "C:\\Windows\\System32\\..",
        "C:\\Temp\\..\\..", "C:\\Windows.", "\\\\?\\C:\\Windows", "C:\\.\\Windows",
        "C:\\Users\\bob", "C:\\Users\\Public\\", "C:\\Users\\nobody-yet"}) {
    EXPECT_FALSE(IsSafeToEmpty(files, unsafe, guarded)) << unsafe;
  }
}

// A folder is judged by where it really leads: a temporary folder moved to another drive is
// still a temporary folder, but one that leads to a profile, a system folder or a root is not.
TEST_F(IsSafeToEmptyTest, JudgesALinkedFolderByItsFinalPath) {
  files.AddLink("C:\\Users\\ann\\Temp\\moved", "D:\\Temp");
  files.AddLink("C:\\Users\\ann\\Temp\\linked-parent", "F:\\Users");
  EXPECT_TRUE(IsSafeToEmpty(files, "C:\\Users\\ann\\Temp\\moved", guarded));
  EXPECT_TRUE(IsSafeToEmpty(files, "C:\\Users\\ann\\Temp\\linked-parent\\dora\\Temp", guarded));
  const std::pair<const char*, const char*> links[] = {{"profile", "C:\\Users\\ann"},
                                                       {"other-profile", "C:\\Users\\bob"},
                                                       {"public", "C:\\Users\\Public"},
                                                       {"profiles", "C:\\Users"},
                                                       {"data", "C:\\ProgramData"},
                                                       {"windows", "C:\\Windows"},
                                                       {"root", "D:\\"},
                                                       {"above-a-profile", "G:\\"}};
  for (const auto& [name, target] : links) {
    const std::string link = std::string("D:\\Temp\\") + name;
    files.AddLink(link, target);
    EXPECT_FALSE(IsSafeToEmpty(files, link, guarded)) << name;
  }
}

// A protected folder that is itself moved by a link is protected where it really lies.
TEST_F(IsSafeToEmptyTest, ProtectsAMovedProfilesFolderInBothPlaces) {
  files.AddLink("C:\\Moved", "E:\\Profiles");
  guarded.profilesFolder = "C:\\Moved";
  EXPECT_FALSE(IsSafeToEmpty(files, "E:\\Profiles\\carl", guarded));
  EXPECT_FALSE(IsSafeToEmpty(files, "C:\\Moved\\carl", guarded));
  EXPECT_TRUE(IsSafeToEmpty(files, "D:\\Temp", guarded));
}

}  // namespace
}  // namespace quorvane
