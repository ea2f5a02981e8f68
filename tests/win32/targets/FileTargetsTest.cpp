// The temporary folder, the disk-check fragments and the recycle bin, on real files.

#include "TargetsFixture.h"
#include "clean/WindowsTargets.h"

#include <tuple>
#include <utility>

namespace quorvane::testing {
namespace {

class TempFilesTest : public TargetsTest {
 protected:
  // The sandbox cannot remove host links through the Windows calls under Wine.
  ~TempFilesTest() override {
    for (const std::string& link : links) RemoveHostSymlink(link);
  }

  std::string Temp(std::string_view name) const { return "Temp\\" + std::string(name); }

  bool Link(const std::string& target, const std::string& link) {
    links.push_back(sandbox / link);
    return MakeHostSymlink(sandbox / target, sandbox / link);
  }

  std::vector<std::string> links;
};

TEST_F(TempFilesTest, EmptiesTheFolderButKeepsSystemFilesAndHiddenFolders) {
  sandbox.WriteFile("beside.txt", "the parent is not touched");
  const std::pair<const char*, std::uint32_t> seeded[] = {
      {"plain.tmp", file_attr::Normal},
      {"hidden.tmp", file_attr::Hidden},
      {"readonly.tmp", file_attr::ReadOnly},
      {"system.tmp", file_attr::System},
      {"tree\\deep\\readonly.txt", file_attr::ReadOnly},
      {"tree\\deep\\system.txt", file_attr::System},
      {"hidden-folder\\kept.txt", file_attr::Normal}};
  for (const auto& [name, attributes] : seeded) {
    sandbox.WriteFile(Temp(name), "x");
    SetAttributesOf(sandbox / Temp(name), attributes);
  }
  SetAttributesOf(sandbox / Temp("hidden-folder"), file_attr::Hidden);

  CleanTempFiles(context);

  for (const char* gone : {"plain.tmp", "hidden.tmp", "readonly.tmp", "tree"}) {
    EXPECT_FALSE(sandbox.Exists(Temp(gone))) << gone;
  }
  EXPECT_TRUE(sandbox.Exists(Temp("system.tmp")));
  EXPECT_TRUE(sandbox.Exists(Temp("hidden-folder\\kept.txt")));
  EXPECT_EQ(sandbox.ReadFile("beside.txt"), "the parent is not touched");
  EXPECT_FALSE(context.filesRemoved);
}

TEST_F(TempFilesTest, LinkedFolderKeepsItsContent) {
  sandbox.WriteFile("Outside\\precious.txt", "keep me");
  sandbox.WriteFile("Outside\\sub\\more.txt", "and me");
  sandbox.MakeFolder("Temp\\nested");
  if (!Link("Outside", Temp("link")) || !Link("Outside\\sub", Temp("nested\\inner-link"))) {
    GTEST_SKIP() << "host symbolic links need Wine";
  }
  sandbox.WriteFile(Temp("plain.tmp"), "a");

  CleanTempFiles(context);

  EXPECT_EQ(sandbox.ReadFile("Outside\\precious.txt"), "keep me");
  EXPECT_EQ(sandbox.ReadFile("Outside\\sub\\more.txt"), "and me");
  EXPECT_FALSE(sandbox.Exists(Temp("plain.tmp")));
  // Wine removes a host link through none of the Windows calls, so the links may stay
  // (and the folder holding one with it); what lies behind them is never touched.
}

TEST_F(TempFilesTest, UnsafeTemporaryFoldersAreSkipped) {
  sandbox.WriteFile("Temp\\a.tmp", "a");
  for (const std::string& temp : {std::string(), std::string("Temp\\"), std::string("C:\\"),
                                  std::string("C:"), shell.ProtectedFolders().front()}) {
    SCOPED_TRACE(temp);
    shell.tempPath = temp;
    CleanTempFiles(context);
  }
  EXPECT_TRUE(sandbox.Exists("Temp\\a.tmp"));
  EXPECT_TRUE(PathExists("C:\\windows\\win.ini"));
}

class ScandiskTest : public TargetsTest {
 protected:
  ScandiskTest() {
    // Only the prefix's own C: drive: under Wine, Z: is the host's root folder. A letter
    // that names no drive stands for every drive that is not a fixed disk.
    files.driveNames = {"c:", UnusedDriveName()};
    RemoveLeftovers();
  }
  ~ScandiskTest() override { RemoveLeftovers(); }

  static void RemoveLeftovers() {
    for (const char* path :
         {"C:\\QVTEST01.CHK", "C:\\QVTEST02.CHK", "C:\\qvtest03.chk", "C:\\qvtest04.chkdsk",
          "C:\\FOUND.000", "C:\\FOUND.005", "C:\\FOUND.010", "C:\\FOUND.011"}) {
      RemoveTree(path);
    }
  }
};

TEST_F(ScandiskTest, RemovesRootFragmentsAndFoundFoldersZeroToTen) {
  const std::tuple<const char*, std::uint32_t, bool> seeded[] = {
      {"C:\\QVTEST01.CHK", file_attr::Normal, false},
      {"C:\\QVTEST02.CHK", file_attr::ReadOnly, false},
      {"C:\\qvtest03.chk", file_attr::Hidden, true},
      {"C:\\qvtest04.chkdsk", file_attr::Normal, true},
      {"C:\\FOUND.000\\FILE0000.CHK", file_attr::ReadOnly, false},
      {"C:\\FOUND.010\\deep\\FILE0001.CHK", file_attr::Normal, false},
      {"C:\\FOUND.011\\FILE0000.CHK", file_attr::Normal, true},
      {"C:\\FOUND.005", file_attr::Normal, true}};
  for (const auto& [path, attributes, stays] : seeded) WriteRealFile(path, attributes);

  CleanScandiskFiles(context);

  for (const auto& [path, attributes, stays] : seeded) EXPECT_EQ(PathExists(path), stays) << path;
  EXPECT_FALSE(PathExists("C:\\FOUND.000"));
  EXPECT_TRUE(context.filesRemoved);
}

TEST_F(TargetsTest, RecycleBinIsEmptiedAndTheShellsResultIgnored) {
  // Under Wine the bin is the host user's trash folder: point it into the sandbox, so that
  // the test neither needs nor empties a real one.
  if (!RedirectHostTrash(sandbox / "data")) GTEST_SKIP() << "would empty the real recycle bin";
  sandbox.WriteFile("data\\Trash\\files\\old.txt", "thrown away");
  sandbox.WriteFile("data\\Trash\\info\\old.txt.trashinfo",
                    "[Trash Info]\nPath=/tmp/old.txt\nDeletionDate=2024-01-01T00:00:00\n");

  EmptyRecycleBin(context, "", true, true, true);
  EXPECT_FALSE(sandbox.Exists("data\\Trash\\files\\old.txt"));

  // An empty bin makes the shell report a failure, which the target passes over.
  EmptyRecycleBin(context, "c", true, true, true);
  EXPECT_FALSE(context.filesRemoved);
  RedirectHostTrash({});
}

}  // namespace
}  // namespace quorvane::testing
