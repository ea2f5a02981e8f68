#include "core/FileServices.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/FakeFileSystem.h"

namespace quorvane {
namespace {

using fakes::FakeFileSystem;
using fakes::FsOp;

std::vector<std::string> Names(const std::vector<DirEntry>& entries) {
  std::vector<std::string> names;
  for (const DirEntry& entry : entries) names.push_back(entry.name);
  return names;
}

TEST(WildcardTest, StarAndQuestionMarkMatchWithoutRegardToCase) {
  EXPECT_TRUE(MatchesWildcard("Report.TXT", "*.txt"));
  EXPECT_TRUE(MatchesWildcard("report.txt", "R?PORT.*"));
  EXPECT_TRUE(MatchesWildcard("~DF1234.tmp", "~*.tmp"));
  EXPECT_TRUE(MatchesWildcard("a.b.c", "*.c"));
  EXPECT_TRUE(MatchesWildcard("abcabd", "*abd"));
  EXPECT_FALSE(MatchesWildcard("report.txt", "*.doc"));
  EXPECT_FALSE(MatchesWildcard("ab", "a?b"));
  EXPECT_FALSE(MatchesWildcard("report.txt", "report"));
  EXPECT_TRUE(MatchesWildcard("", "*"));
  EXPECT_FALSE(MatchesWildcard("a", ""));
}

TEST(WildcardTest, StarDotStarAlsoMatchesNamesWithoutADot) {
  EXPECT_TRUE(MatchesWildcard("README", "*.*"));
  EXPECT_TRUE(MatchesWildcard("a.txt", "*.*"));
  EXPECT_TRUE(MatchesWildcard("setup", "setup.*"));
  EXPECT_FALSE(MatchesWildcard("setupx", "setup.*"));
}

TEST(WildcardTest, PatternsMatchTheLongNameOnly) {
  // The short name of "a.chkdsk" would end in ".CHK"; the long name must decide.
  EXPECT_FALSE(MatchesWildcard("a.chkdsk", "*.chk"));
  EXPECT_FALSE(MatchesWildcard("Program Files", "progra~1"));
  EXPECT_TRUE(MatchesWildcard("FILE0001.CHK", "*.chk"));
}

TEST(WildcardTest, NonAsciiNamesCompareExactlyAndQuestionMarkIsOneCharacter) {
  const std::string name = "\xD0\x96urnal.txt";  // Cyrillic capital Zhe first
  EXPECT_TRUE(MatchesWildcard(name, "?urnal.txt"));
  EXPECT_TRUE(MatchesWildcard(name, "\xD0\x96*"));
  EXPECT_FALSE(MatchesWildcard(name, "\xD0\xB6*"));  // small zhe: no folding beyond ASCII
  EXPECT_FALSE(MatchesWildcard(name, "??urnal.txt"));
}

TEST(WildcardTest, SplitsAtTheLastBackslash) {
  std::string folder, pattern;
  SplitFolderAndPattern("C:\\a\\b\\*.txt", folder, pattern);
  EXPECT_EQ(folder, "C:\\a\\b");
  EXPECT_EQ(pattern, "*.txt");
  SplitFolderAndPattern("C:\\*.chk", folder, pattern);
  EXPECT_EQ(folder, "C:");
  EXPECT_EQ(pattern, "*.chk");
  SplitFolderAndPattern("*.tmp", folder, pattern);
  EXPECT_EQ(folder, "");
  EXPECT_EQ(pattern, "*.tmp");
  SplitFolderAndPattern("C:\\Temp\\", folder, pattern);
  EXPECT_EQ(folder, "C:\\Temp");
  EXPECT_EQ(pattern, "");
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
  std::vector<std::string> List(std::uint32_t set) {
    return Names(ListByPattern(files, "C:\\T\\*.tmp", set));
  }
  FakeFileSystem files;
};

TEST_F(ListByPatternTest, AttributeSetsAddHiddenSystemAndFolders) {
  using V = std::vector<std::string>;
  EXPECT_EQ(List(list_attr::Normal), (V{"locked.tmp", "plain.tmp"}));
  EXPECT_EQ(List(list_attr::Hidden), (V{"hidden.tmp", "locked.tmp", "plain.tmp"}));
  EXPECT_EQ(List(list_attr::System), (V{"locked.tmp", "plain.tmp", "system.tmp"}));
  EXPECT_EQ(List(list_attr::Hidden | list_attr::System),
            (V{"both.tmp", "hidden.tmp", "locked.tmp", "plain.tmp", "system.tmp"}));
  EXPECT_EQ(List(list_attr::Directory), (V{"locked.tmp", "plain.tmp", "sub.tmp"}));
  EXPECT_EQ(List(list_attr::Directory | list_attr::Hidden),
            (V{"hidden.tmp", "locked.tmp", "plain.tmp", "secret.tmp", "sub.tmp"}));
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

TEST_F(ListByPatternTest, APathWithoutWildcardsNamesOneEntry) {
  EXPECT_EQ(Names(ListByPattern(files, "C:\\T\\PLAIN.TMP", list_attr::Normal)),
            std::vector<std::string>{"plain.tmp"});
  EXPECT_TRUE(ListByPattern(files, "C:\\T\\plain", list_attr::Normal).empty());
  // A hidden folder of that exact name is not found without the hidden flag.
  EXPECT_TRUE(ListByPattern(files, "C:\\T\\secret.tmp", list_attr::Directory).empty());
  EXPECT_EQ(ListByPattern(files, "C:\\T\\sub.tmp", list_attr::Directory).size(), 1u);
}

TEST_F(ListByPatternTest, MissingOrRelativeFoldersGiveNothing) {
  EXPECT_TRUE(ListByPattern(files, "C:\\Missing\\*.*", list_attr::Normal).empty());
  EXPECT_TRUE(ListByPattern(files, "C:\\T\\plain.tmp\\*", list_attr::Normal).empty());
  files.ClearCalls();
  EXPECT_TRUE(ListByPattern(files, "*.tmp", list_attr::Normal).empty());
  EXPECT_EQ(files.CountCalls(FsOp::ListDirectory), 0u);
}

TEST_F(ListByPatternTest, DriveRootPatternsListTheRoot) {
  files.AddFile("C:\\FILE0000.CHK", "x");
  EXPECT_EQ(Names(ListByPattern(files, "C:\\*.chk", list_attr::Normal)),
            std::vector<std::string>{"FILE0000.CHK"});
  EXPECT_EQ(files.Calls().back().path, "C:\\");
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

TEST_F(DeleteFolderForcedTest, RemovesTheWholeTreeButNeverEntersALink) {
  EXPECT_EQ(DeleteFolderForced(files, "c:/temp/work/"), FsResult::Ok);
  EXPECT_FALSE(files.Exists("C:\\Temp\\Work"));
  EXPECT_TRUE(files.Exists("C:\\Temp"));
  ExpectTargetIntact();
  for (const fakes::FsCall& call : files.Calls()) {
    EXPECT_EQ(call.path.find("docs\\"), std::string::npos) << "walked into the link: " << call.path;
  }
}

TEST_F(DeleteFolderForcedTest, ReadsEachFolderOnceAndResetsOnlyReadOnlyEntries) {
  ASSERT_EQ(DeleteFolderForced(files, "C:\\Temp\\Work\\"), FsResult::Ok);
  // Work, Sub, Deeper and Empty: each listed once; attributes come from the listings.
  EXPECT_EQ(files.CountCalls(FsOp::ListDirectory), 4u);
  EXPECT_EQ(files.CountCalls(FsOp::GetAttributes), 1u);
  std::vector<std::string> reset;
  for (const fakes::FsCall& call : files.Calls()) {
    if (call.op == FsOp::SetAttributes) reset.push_back(call.path);
  }
  std::sort(reset.begin(), reset.end());
  EXPECT_EQ(reset, (std::vector<std::string>{"C:\\Temp\\Work\\Sub\\Deeper",
                                             "C:\\Temp\\Work\\Sub\\Deeper\\c.txt",
                                             "C:\\Temp\\Work\\ro.txt"}));
}

TEST_F(DeleteFolderForcedTest, AFileInUseStaysWithItsFoldersAndTheRestGoes) {
  files.SetInUse("C:\\Temp\\Work\\Sub\\b.txt");
  EXPECT_EQ(DeleteFolderForced(files, "C:\\Temp\\Work"), FsResult::NotEmpty);
  EXPECT_TRUE(files.Exists("C:\\Temp\\Work\\Sub\\b.txt"));
  EXPECT_FALSE(files.Exists("C:\\Temp\\Work\\a.txt"));
  EXPECT_FALSE(files.Exists("C:\\Temp\\Work\\ro.txt"));
  EXPECT_FALSE(files.Exists("C:\\Temp\\Work\\Sub\\Deeper"));
  EXPECT_FALSE(files.Exists("C:\\Temp\\Work\\Sub\\docs"));
  EXPECT_FALSE(files.Exists("C:\\Temp\\Work\\Empty"));
  // The folders that kept something are not asked to go.
  for (const fakes::FsCall& call : files.Calls()) {
    if (call.op == FsOp::RemoveDirectory) {
      EXPECT_EQ(call.result, FsResult::Ok) << call.path;
    }
  }
}

TEST_F(DeleteFolderForcedTest, ALinkThatCannotBeRemovedStaysAndItsTargetIsUntouched) {
  // Some platforms refuse to remove a link to a folder; it must then simply be left.
  files.SetInUse("C:\\Temp\\Work\\Sub\\docs");
  EXPECT_EQ(DeleteFolderForced(files, "C:\\Temp\\Work"), FsResult::NotEmpty);
  EXPECT_TRUE(files.Exists("C:\\Temp\\Work\\Sub\\docs"));
  EXPECT_FALSE(files.Exists("C:\\Temp\\Work\\Sub\\b.txt"));
  ExpectTargetIntact();
}

TEST_F(DeleteFolderForcedTest, AFolderThatIsItselfALinkLosesOnlyTheLink) {
  EXPECT_EQ(DeleteFolderForced(files, "C:\\Temp\\Work\\Sub\\docs"), FsResult::Ok);
  EXPECT_FALSE(files.Exists("C:\\Temp\\Work\\Sub\\docs"));
  ExpectTargetIntact();
  EXPECT_EQ(files.CountCalls(FsOp::ListDirectory), 0u);
}

TEST_F(DeleteFolderForcedTest, RefusesRootsRelativePathsAndFiles) {
  EXPECT_EQ(DeleteFolderForced(files, "C:\\"), FsResult::AccessDenied);
  EXPECT_EQ(DeleteFolderForced(files, "c:"), FsResult::AccessDenied);
  EXPECT_EQ(DeleteFolderForced(files, "C:/"), FsResult::AccessDenied);
  EXPECT_EQ(DeleteFolderForced(files, "\\\\?\\C:\\"), FsResult::AccessDenied);
  EXPECT_EQ(DeleteFolderForced(files, "C:\\Temp\\.."), FsResult::AccessDenied);
  EXPECT_EQ(DeleteFolderForced(files, ""), FsResult::AccessDenied);
  EXPECT_EQ(DeleteFolderForced(files, "Temp\\Work"), FsResult::AccessDenied);
  EXPECT_EQ(DeleteFolderForced(files, "\\Temp\\Work"), FsResult::AccessDenied);
  EXPECT_EQ(DeleteFolderForced(files, "C:\\Temp\\Work\\a.txt"), FsResult::Failed);
  EXPECT_EQ(DeleteFolderForced(files, "C:\\Temp\\Nothing"), FsResult::NotFound);
  EXPECT_TRUE(files.Exists("C:\\Temp\\Work\\a.txt"));
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
  EXPECT_EQ(FolderSize(files, "C:\\Cache\\"), 120u);
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
  EXPECT_FALSE(IsOrdinaryFile(files, "C:\\a\\hidden.txt"));
  EXPECT_FALSE(IsOrdinaryFile(files, "C:\\a"));
  EXPECT_FALSE(IsOrdinaryFile(files, "C:\\a\\missing.txt"));
  EXPECT_TRUE(FolderExists(files, "C:\\a"));
  EXPECT_TRUE(FolderExists(files, "C:\\"));
  EXPECT_FALSE(FolderExists(files, "C:\\a\\plain.txt"));
  EXPECT_TRUE(PathExists(files, "C:\\a\\hidden.txt"));
  EXPECT_FALSE(PathExists(files, "C:\\b"));
}

TEST(IsSafeToEmptyTest, RefusesEmptyRelativeRootAndProtectedFolders) {
  const std::vector<std::string> guarded = {"C:\\Windows", "C:\\Program Files", "C:\\Users\\bob",
                                            "C:\\Users"};
  EXPECT_TRUE(IsSafeToEmpty("C:\\Users\\bob\\AppData\\Local\\Temp\\", guarded));
  EXPECT_TRUE(IsSafeToEmpty("D:\\Scratch", guarded));
  EXPECT_TRUE(IsSafeToEmpty("\\\\server\\share\\temp", guarded));

  for (const char* unsafe : {"",
                             "Temp",
                             ".\\Temp",
                             "\\Temp",
                             "C:Temp",
                             "C:\\",
                             "C:",
                             "c:/",
                             "\\\\server\\share",
                             "\\\\server\\share\\",
                             "C:\\WINDOWS\\",
                             "c:/windows",
                             "C:\\Program Files\\\\",
                             "C:\\users\\BOB",
                             "C:\\Users",
                             "C:\\Windows\\System32\\..",
                             "C:\\Temp\\..\\..",
                             "C:\\Windows.",
                             "\\\\?\\C:\\Windows",
                             "C:\\.\\Windows"}) {
    EXPECT_FALSE(IsSafeToEmpty(unsafe, guarded)) << unsafe;
  }
}

TEST(IsSafeToEmptyTest, RefusesParentsOfProtectedFoldersOnly) {
  const std::vector<std::string> guarded = {"C:\\Users\\bob", "D:\\Data\\Profiles\\ann\\"};
  EXPECT_FALSE(IsSafeToEmpty("C:\\Users", guarded));
  EXPECT_FALSE(IsSafeToEmpty("D:\\Data", guarded));
  EXPECT_FALSE(IsSafeToEmpty("d:\\data\\profiles\\", guarded));
  // A sibling whose name merely begins like a protected folder is no parent of it.
  EXPECT_TRUE(IsSafeToEmpty("C:\\Users\\bo", guarded));
  EXPECT_TRUE(IsSafeToEmpty("C:\\Users\\bobby", guarded));
  EXPECT_TRUE(IsSafeToEmpty("C:\\Users\\bob\\Temp", guarded));
  EXPECT_TRUE(IsSafeToEmpty("C:\\Users\\bob", {}));
}

}  // namespace
}  // namespace quorvane
