#include "core/FileServices.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/FakeFileSystem.h"

namespace quorvane {
namespace {

using fakes::FakeFileSystem;
using fakes::FsOp;
using Names = std::vector<std::string>;

Names NamesOf(const std::vector<DirEntry>& entries) {
  Names names;
  for (const DirEntry& entry : entries) names.push_back(entry.name);
  return names;
}

TEST(WildcardTest, MatchesTheLongNameWithoutRegardToAsciiCase) {
  EXPECT_TRUE(MatchesWildcard("Report.TXT", "*.txt"));
  EXPECT_TRUE(MatchesWildcard("report.txt", "R?PORT.*"));
  EXPECT_TRUE(MatchesWildcard("abcabd", "*abd"));
  EXPECT_TRUE(MatchesWildcard("", "*"));
  EXPECT_TRUE(MatchesWildcard("README", "*.*"));
  EXPECT_TRUE(MatchesWildcard("setup", "setup.*"));
  EXPECT_FALSE(MatchesWildcard("setupx", "setup.*"));
  EXPECT_FALSE(MatchesWildcard("ab", "a?b"));
  EXPECT_FALSE(MatchesWildcard("report.txt", "report"));
  EXPECT_FALSE(MatchesWildcard("a", ""));
  // The short names ("A~1.CHK", "PROGRA~1") must not decide.
  EXPECT_FALSE(MatchesWildcard("a.chkdsk", "*.chk"));
  EXPECT_FALSE(MatchesWildcard("Program Files", "progra~1"));
  // "?" is one character, not one byte, and case folds in ASCII only.
  const std::string zhe = "\xD0\x96urnal.txt";  // Cyrillic capital Zhe first
  EXPECT_TRUE(MatchesWildcard(zhe, "?urnal.txt"));
  EXPECT_FALSE(MatchesWildcard(zhe, "??urnal.txt"));
  EXPECT_FALSE(MatchesWildcard(zhe, "\xD0\xB6*"));
}

class ListByPatternTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.AddFile("C:\\T\\plain.tmp", "1");
    files.AddFile("C:\\T\\locked.tmp", "2", file_attr::ReadOnly | file_attr::Archive);
    files.AddFile("C:\\T\\hidden.tmp", "3", file_attr::Hidden);
    files.AddFile("C:\\T\\system.tmp", "4", file_attr::System);
    files.AddFile("C:\\T\\both.tmp", "5", file_attr::Hidden | file_attr::System);
    files.AddFolder("C:\\T\\sub.tmp");
    files.AddFolder("C:\\T\\secret.tmp", file_attr::Hidden);
    files.AddFile("C:\\T\\other.log", "6");
  }
  Names List(std::string_view pattern, std::uint32_t set) {
    return NamesOf(ListByPattern(files, pattern, set));
  }
  FakeFileSystem files;
};

TEST_F(ListByPatternTest, AttributeSetsAddHiddenSystemAndFolders) {
  const char* t = "C:\\T\\*.tmp";
  EXPECT_EQ(List(t, list_attr::Normal), (Names{"locked.tmp", "plain.tmp"}));
  EXPECT_EQ(List(t, list_attr::Hidden), (Names{"hidden.tmp", "locked.tmp", "plain.tmp"}));
  EXPECT_EQ(List(t, list_attr::System), (Names{"locked.tmp", "plain.tmp", "system.tmp"}));
  EXPECT_EQ(List(t, list_attr::Hidden | list_attr::System),
            (Names{"both.tmp", "hidden.tmp", "locked.tmp", "plain.tmp", "system.tmp"}));
  EXPECT_EQ(List(t, list_attr::Directory), (Names{"locked.tmp", "plain.tmp", "sub.tmp"}));
  EXPECT_EQ(List(t, list_attr::Directory | list_attr::Hidden),
            (Names{"hidden.tmp", "locked.tmp", "plain.tmp", "secret.tmp", "sub.tmp"}));
}

TEST_F(ListByPatternTest, ListsTheFolderOnceAndKeepsTheListingsAttributes) {
  const auto entries = ListByPattern(files, "c:\\t\\LOCKED.*", list_attr::Normal);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].name, "locked.tmp");
  EXPECT_EQ(entries[0].attributes, file_attr::ReadOnly | file_attr::Archive);
  EXPECT_EQ(entries[0].size, 1u);
  EXPECT_EQ(files.CountCalls(FsOp::ListDirectory), 1u);
  EXPECT_EQ(files.CountCalls(FsOp::GetAttributes), 0u);
}

TEST_F(ListByPatternTest, ExactNamesDriveRootsAndMissingOrRelativeFolders) {
  EXPECT_EQ(List("C:\\T\\PLAIN.TMP", list_attr::Normal), Names{"plain.tmp"});
  EXPECT_TRUE(List("C:\\T\\plain", list_attr::Normal).empty());
  // A hidden folder of that exact name is not found without the hidden flag.
  EXPECT_TRUE(List("C:\\T\\secret.tmp", list_attr::Directory).empty());
  EXPECT_TRUE(List("C:\\Missing\\*.*", list_attr::Normal).empty());
  EXPECT_TRUE(List("C:\\T\\plain.tmp\\*", list_attr::Normal).empty());
  files.AddFile("C:\\FILE0000.CHK", "x");
  EXPECT_EQ(List("C:\\*.chk", list_attr::Normal), Names{"FILE0000.CHK"});
  EXPECT_EQ(files.Calls().back().path, "C:\\");
  files.ClearCalls();
  EXPECT_TRUE(List("*.tmp", list_attr::Normal).empty());
  EXPECT_EQ(files.CountCalls(FsOp::ListDirectory), 0u);
}

TEST(DeleteByWildcardTest, DeletesOnlyPlainMatchingFiles) {
  FakeFileSystem files;
  files.AddFile("D:\\FILE0000.CHK", "lost");
  files.AddFile("D:\\a.chkdsk", "keep: its short name would match");
  files.AddFile("D:\\hidden.chk", "", file_attr::Hidden);
  files.AddFile("D:\\system.chk", "", file_attr::System);
  files.AddFile("D:\\readonly.chk", "", file_attr::ReadOnly);
  files.AddFile("D:\\open.chk", "");
  files.SetInUse("D:\\open.chk");
  files.AddFolder("D:\\folder.chk");
  files.AddFile("D:\\sub\\deeper.chk", "");

  DeleteByWildcard(files, "D:\\*.chk");

  EXPECT_FALSE(files.Exists("D:\\FILE0000.CHK"));
  for (const char* stays : {"D:\\a.chkdsk", "D:\\hidden.chk", "D:\\system.chk", "D:\\readonly.chk",
                            "D:\\open.chk", "D:\\folder.chk", "D:\\sub\\deeper.chk"}) {
    EXPECT_TRUE(files.Exists(stays)) << stays;
  }
  // Attributes are not touched: the read-only file stays read-only.
  EXPECT_EQ(files.CountCalls(FsOp::SetAttributes), 0u);
}

class DeleteFolderForcedTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files.AddFile("C:\\Temp\\Work\\a.txt", "a");
    files.AddFile("C:\\Temp\\Work\\ro.txt", "r", file_attr::ReadOnly);
    files.AddFile("C:\\Temp\\Work\\hidden.dat", "h", file_attr::Hidden | file_attr::System);
    files.AddFile("C:\\Temp\\Work\\Sub\\b.txt", "b");
    files.AddFile("C:\\Temp\\Work\\Sub\\Deeper\\c.txt", "c", file_attr::ReadOnly);
    files.AddFolder("C:\\Temp\\Work\\Sub\\Deeper", file_attr::ReadOnly | file_attr::Hidden);
    files.AddFolder("C:\\Temp\\Work\\Empty");
    files.AddFile("C:\\Users\\bob\\Documents\\thesis.doc", "precious");
    files.AddFile("C:\\Users\\bob\\Documents\\Drafts\\draft.doc", "precious too");
    files.AddLink("C:\\Temp\\Work\\Sub\\docs", "C:\\Users\\bob\\Documents");
    files.AddLink("C:\\Temp\\Work\\thesis-link.doc", "C:\\Users\\bob\\Documents\\thesis.doc");
  }
  void ExpectTargetIntact() {
    EXPECT_EQ(files.Content("C:\\Users\\bob\\Documents\\thesis.doc"), "precious");
    EXPECT_EQ(files.Content("C:\\Users\\bob\\Documents\\Drafts\\draft.doc"), "precious too");
  }
  FakeFileSystem files;
};

TEST_F(DeleteFolderForcedTest, RemovesTheTreeReadingEachFolderOnceButNeverEntersALink) {
  EXPECT_EQ(DeleteFolderForced(files, "C:/Temp/Work/"), FsResult::Ok);
  EXPECT_FALSE(files.Exists("C:\\Temp\\Work"));
  EXPECT_TRUE(files.Exists("C:\\Temp"));
  ExpectTargetIntact();
  // Work, Sub, Deeper and Empty: each listed once; attributes come from the listings.
  EXPECT_EQ(files.CountCalls(FsOp::ListDirectory), 4u);
  EXPECT_EQ(files.CountCalls(FsOp::GetAttributes), 1u);
  Names reset;
  for (const fakes::FsCall& call : files.Calls()) {
    EXPECT_EQ(call.path.find("docs\\"), std::string::npos) << "walked into the link: " << call.path;
    if (call.op == FsOp::SetAttributes) reset.push_back(call.path);
  }
  std::sort(reset.begin(), reset.end());
  EXPECT_EQ(reset, (Names{"C:\\Temp\\Work\\Sub\\Deeper", "C:\\Temp\\Work\\Sub\\Deeper\\c.txt",
                          "C:\\Temp\\Work\\ro.txt"}));
}

TEST_F(DeleteFolderForcedTest, AFileInUseStaysWithItsFoldersAndTheRestGoes) {
  files.SetInUse("C:\\Temp\\Work\\Sub\\b.txt");
  EXPECT_EQ(DeleteFolderForced(files, "C:\\Temp\\Work"), FsResult::NotEmpty);
  EXPECT_TRUE(files.Exists("C:\\Temp\\Work\\Sub\\b.txt"));
  for (const char* gone : {"a.txt", "ro.txt", "Sub\\Deeper", "Sub\\docs", "Empty"}) {
    EXPECT_FALSE(files.Exists(std::string("C:\\Temp\\Work\\") + gone)) << gone;
  }
  // The folders that kept something are not asked to go.
  for (const fakes::FsCall& call : files.Calls()) {
    if (call.op == FsOp::RemoveDirectory) {
      EXPECT_EQ(call.result, FsResult::Ok) << call.path;
    }
  }
}

TEST_F(DeleteFolderForcedTest, ALinkIsOnlyRemovedAndOneThatCannotBeStays) {
  EXPECT_EQ(DeleteFolderForced(files, "C:\\Temp\\Work\\Sub\\docs"), FsResult::Ok);
  EXPECT_FALSE(files.Exists("C:\\Temp\\Work\\Sub\\docs"));
  EXPECT_EQ(files.CountCalls(FsOp::ListDirectory), 0u);
  ExpectTargetIntact();

  // Some platforms refuse to remove a link to a folder; it must then simply be left.
  files.AddLink("C:\\Temp\\Work\\Sub\\docs", "C:\\Users\\bob\\Documents");
  files.SetInUse("C:\\Temp\\Work\\Sub\\docs");
  EXPECT_EQ(DeleteFolderForced(files, "C:\\Temp\\Work"), FsResult::NotEmpty);
  EXPECT_TRUE(files.Exists("C:\\Temp\\Work\\Sub\\docs"));
  EXPECT_FALSE(files.Exists("C:\\Temp\\Work\\Sub\\b.txt"));
  ExpectTargetIntact();
}

TEST_F(DeleteFolderForcedTest, RefusesRootsRelativePathsAndFiles) {
  for (const char* refused :
       {"C:\\", "c:", "C:/", "\\\\?\\C:\\", "C:\\Temp\\..", "", "Temp\\Work", "\\Temp\\Work"}) {
    EXPECT_EQ(DeleteFolderForced(files, refused), FsResult::AccessDenied) << refused;
  }
  EXPECT_EQ(DeleteFolderForced(files, "C:\\Temp\\Work\\a.txt"), FsResult::Failed);
  EXPECT_EQ(DeleteFolderForced(files, "C:\\Temp\\Nothing"), FsResult::NotFound);
  EXPECT_EQ(files.CountCalls(FsOp::DeleteFile) + files.CountCalls(FsOp::RemoveDirectory), 0u);
}

TEST(DeleteFolderForcedDepthTest, DeepTreesGoCompletely) {
  FakeFileSystem files;
  std::string path = "C:\\Deep";
  for (int level = 0; level < 300; ++level) path += "\\d";
  files.AddFile(path + "\\leaf.txt", "x", file_attr::ReadOnly);
  EXPECT_EQ(DeleteFolderForced(files, "C:\\Deep"), FsResult::Ok);
  EXPECT_FALSE(files.Exists("C:\\Deep"));
}

TEST(FolderSizeTest, SumsEverythingBeneathWithoutFollowingLinks) {
  FakeFileSystem files;
  files.AddFile("C:\\Cache\\a.bin", std::string(100, 'a'));
  files.AddFile("C:\\Cache\\Sub\\b.bin", std::string(20, 'b'), file_attr::Hidden);
  files.AddFile("C:\\Elsewhere\\big.bin", std::string(5000, 'c'));
  files.AddLink("C:\\Cache\\Sub\\out", "C:\\Elsewhere");
  files.AddLink("C:\\Cache\\big-link.bin", "C:\\Elsewhere\\big.bin");
  EXPECT_EQ(FolderSize(files, "C:\\Cache"), 120u);
  EXPECT_EQ(FolderSize(files, "c:/cache/"), 120u);
  EXPECT_EQ(FolderSize(files, "C:\\Cache\\Sub\\out"), 0u);
  EXPECT_EQ(FolderSize(files, "C:\\Missing"), 0u);
}

TEST(PathQueriesTest, TellFilesFoldersAndHiddenEntriesApart) {
  FakeFileSystem files;
  files.AddFile("C:\\a\\plain.txt");
  files.AddFile("C:\\a\\hidden.txt", "", file_attr::Hidden);
  files.AddFile("C:\\a\\ro.txt", "", file_attr::ReadOnly);
  EXPECT_TRUE(IsOrdinaryFile(files, "C:\\A\\PLAIN.TXT"));
  EXPECT_TRUE(IsOrdinaryFile(files, "C:\\a\\ro.txt"));
  for (const char* not_ordinary : {"C:\\a\\hidden.txt", "C:\\a", "C:\\a\\missing.txt"}) {
    EXPECT_FALSE(IsOrdinaryFile(files, not_ordinary)) << not_ordinary;
  }
  EXPECT_TRUE(FolderExists(files, "C:\\"));
  EXPECT_FALSE(FolderExists(files, "C:\\a\\plain.txt"));
  EXPECT_TRUE(PathExists(files, "C:\\a\\hidden.txt"));
  EXPECT_FALSE(PathExists(files, "C:\\b"));
}

TEST(IsSafeToEmptyTest, RefusesEmptyRelativeRootAndProtectedFoldersAndTheirParents) {
  const std::vector<std::string> guarded = {"C:\\Windows", "C:\\Program Files", "C:\\Users\\bob",
                                            "D:\\Data\\Profiles\\ann\\"};
  // "C:\Users\bo" and "C:\Users\bobby" merely begin like a protected folder.
  for (const char* safe :
       {"C:\\Users\\bob\\AppData\\Local\\Temp\\", "D:\\Scratch", "\\\\server\\share\\temp",
        "C:\\Users\\bob\\Temp", "C:\\Users\\bo", "C:\\Users\\bobby"}) {
    EXPECT_TRUE(IsSafeToEmpty(safe, guarded)) << safe;
  }
  for (const char* unsafe : {"", "Temp", ".\\Temp", "\\Temp", "C:Temp", "C:\\", "C:", "c:/",
                             "\\\\server\\share", "\\\\server\\share\\"}) {
    EXPECT_FALSE(IsSafeToEmpty(unsafe, guarded)) << unsafe;
  }
  for (const char* guardedOrParent :
       {"C:\\WINDOWS\\", "c:/windows", "C:\\Program Files\\\\", "C:\\users\\BOB", "C:\\Users",
        "D:\\Data", "d:\\data\\profiles\\", "C:\\Windows\\System32\\..", "C:\\Temp\\..\\..",
        "C:\\Windows.", "\\\\?\\C:\\Windows", "C:\\.\\Windows"}) {
    EXPECT_FALSE(IsSafeToEmpty(guardedOrParent, guarded)) << guardedOrParent;
  }
  EXPECT_TRUE(IsSafeToEmpty("C:\\Users\\bob", {}));
}

}  // namespace
}  // namespace quorvane
