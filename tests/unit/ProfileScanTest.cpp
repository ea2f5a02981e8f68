#include "netscape/ProfileScan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/Text.h"
#include "core/platform/ForwardingFileSystem.h"
#include "fakes/FakeFileSystem.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;

constexpr std::uint64_t kGiB = 1ull << 30;

struct Recorder final : ProfileScanListener {
  void DriveStarted(const DriveInfo& drive, std::uint64_t usedBytes) override {
    drives.push_back(drive.letter);
    used[drive.letter] = usedBytes;
  }
  void FolderEntered(std::string_view path) override {
    folders.emplace_back(path);
    if (path == stopAt) stop = true;
  }
  void BytesWalked(std::uint64_t bytes) override { walked[drives.back()] += bytes; }
  void ProfileFound(ProfileRow row) override { rows.push_back(std::move(row)); }

  std::vector<char> drives;
  std::map<char, std::uint64_t> used;
  std::map<char, std::uint64_t> walked;
  std::vector<std::string> folders;
  std::vector<ProfileRow> rows;
  std::string stopAt;  // entering this folder presses Stop
  std::atomic<bool> stop{false};
};

// Listing one chosen folder fails, as an unreadable folder's does.
class DeniedFolder final : public ForwardingFileSystem {
 public:
  DeniedFolder(FileSystem& inner, std::string folder)
      : ForwardingFileSystem(inner), folder_(std::move(folder)) {}
  FsResult ListDirectory(std::string_view folder, std::vector<DirEntry>& entries) override {
    if (!EqualsNoCase(folder, folder_)) return inner().ListDirectory(folder, entries);
    entries.clear();
    return FsResult::AccessDenied;
  }

 private:
  std::string folder_;
};

class ProfileScanTest : public ::testing::Test {
 protected:
  ProfileScanTest() {
    // Added out of order: the walk still goes by drive letter.
    files.AddDrive('D', DriveType::Fixed, 10 * kGiB, 20 * kGiB);
    files.AddDrive('C', DriveType::Fixed, 30 * kGiB, 100 * kGiB);
  }
  void Scan(FileSystem& walked) {
    ScanForProfiles(walked, kMarkerPattern, recorder.stop, recorder);
  }
  void Scan() { Scan(files); }

  fakes::FakeFileSystem files;
  Recorder recorder;
};

TEST_F(ProfileScanTest, FindsMarkerFoldersByDriveLetterAndWalkOrderNamedByTheirShortFolderName) {
  const std::string profiles = "C:\\Users\\ann\\Application Data\\Mozilla\\Profiles\\";
  files.AddFolder(profiles + "Work Profile\\k3j2a1.slt");
  files.SetShortName(profiles + "Work Profile", "WORKPR~1");
  files.AddFolder(profiles + "default\\x1y2.slt");  // an 8.3 name is its own short name
  // Two markers in one folder give one row, for the first.
  files.AddFolder("C:\\Both\\a.slt");
  files.AddFolder("C:\\Both\\B.SLT");
  // Neither a file nor a hidden or system folder marks a profile.
  files.AddFile("C:\\Files\\notes.slt", "text");
  files.AddFolder("C:\\Hidden\\h.slt", file_attr::Hidden);
  files.AddFolder("C:\\System\\s.slt", file_attr::System);
  files.AddFolder("D:\\root.slt");  // at a drive root the profile has no name
  files.AddFolder("C:\\Users\\ann\\nested.slt\\inner.slt");  // a marker inside a marker

  Scan();

  EXPECT_THAT(recorder.rows,
              ElementsAre(ProfileRow{"Both", "C:\\Both\\a.slt"},
                          ProfileRow{"ann", "C:\\Users\\ann\\nested.slt"},
                          ProfileRow{"default", profiles + "default\\x1y2.slt"},
                          ProfileRow{"WORKPR~1", profiles + "Work Profile\\k3j2a1.slt"},
                          ProfileRow{"nested.slt", "C:\\Users\\ann\\nested.slt\\inner.slt"},
                          ProfileRow{"", "D:\\root.slt"}));
  EXPECT_THAT(recorder.drives, ElementsAre('C', 'D'));
}

TEST_F(ProfileScanTest, OnlyFixedDrivesAreSearchedAndOneThatIsNotReadyIsPassedOver) {
  files.AddDrive('A', DriveType::Removable, 0, kGiB);
  files.AddDrive('E', DriveType::CdRom, 0, kGiB);
  files.AddDrive('N', DriveType::Network, kGiB, 2 * kGiB);
  files.AddDrive('R', DriveType::RamDisk, kGiB, 2 * kGiB);
  files.AddDrive('F', DriveType::Fixed, kGiB, 2 * kGiB);
  files.SetDriveReady('F', false);
  for (const char* marker : {"A:\\p\\a.slt", "E:\\p\\e.slt", "N:\\p\\n.slt", "R:\\p\\r.slt",
                             "F:\\p\\f.slt", "C:\\p\\c.slt"}) {
    files.AddFolder(marker);
  }
  Scan();
  EXPECT_THAT(recorder.rows, ElementsAre(ProfileRow{"p", "C:\\p\\c.slt"}));
  EXPECT_THAT(recorder.drives, ElementsAre('C', 'D'));
  for (const fakes::FsCall& call : files.Calls()) {
    EXPECT_TRUE(call.path.starts_with("C:") || call.path.starts_with("D:")) << call.path;
  }
}

// Each file's bytes count once, as the walk passes, however deep it lies; the bar's whole
// is the drive's used space.
TEST_F(ProfileScanTest, CountsEveryFileOnceAndEntersEveryFolderOnce) {
  files.AddFile("C:\\top.bin", std::string(1000, 'x'));
  files.AddFile("C:\\a\\b\\c\\d\\deep.bin", std::string(300, 'x'));
  files.AddFile("C:\\a\\b\\mid.bin", std::string(20, 'x'));
  files.AddFolder("C:\\a\\b\\c\\d\\p.slt");
  files.AddFile("D:\\x\\y.bin", std::string(7, 'x'));

  Scan();

  EXPECT_EQ(recorder.walked['C'], 1320u);
  EXPECT_EQ(recorder.walked['D'], 7u);
  EXPECT_EQ(recorder.used['C'], 70 * kGiB);
  EXPECT_EQ(recorder.used['D'], 10 * kGiB);
  EXPECT_THAT(recorder.folders,
              ElementsAre("C:\\", "C:\\a\\", "C:\\a\\b\\", "C:\\a\\b\\c\\", "C:\\a\\b\\c\\d\\",
                          "C:\\a\\b\\c\\d\\p.slt\\", "D:\\", "D:\\x\\"));
  // One listing per folder: the marker check and the walk share it.
  EXPECT_EQ(files.CountCalls(fakes::FsOp::ListDirectory), recorder.folders.size());
}

TEST_F(ProfileScanTest, NeverEntersALinkSoALoopEndsAndNoProfileIsFoundTwice) {
  files.AddFolder("C:\\Profiles\\home\\m.slt");
  files.AddLink("C:\\Profiles\\home\\up", "C:\\Profiles");      // back to a parent
  files.AddLink("C:\\Profiles\\root", "C:\\");                  // back to the drive root
  files.AddLink("C:\\Profiles\\junction.slt", "C:\\Profiles");  // a link named like a marker
  files.AddLink("C:\\elsewhere", "D:\\");

  Scan();

  EXPECT_THAT(recorder.rows, ElementsAre(ProfileRow{"home", "C:\\Profiles\\home\\m.slt"}));
  EXPECT_THAT(recorder.folders, ElementsAre("C:\\", "C:\\Profiles\\", "C:\\Profiles\\home\\",
                                            "C:\\Profiles\\home\\m.slt\\", "D:\\"));
}

TEST_F(ProfileScanTest, AnUnreadableFolderIsPassedOverAndItsSiblingsAreStillSearched) {
  files.AddFolder("C:\\a\\locked\\inner\\l.slt");
  files.AddFolder("C:\\a\\open\\o.slt");
  DeniedFolder denied(files, "C:\\a\\locked\\");
  Scan(denied);
  EXPECT_THAT(recorder.rows, ElementsAre(ProfileRow{"open", "C:\\a\\open\\o.slt"}));
}

TEST_F(ProfileScanTest, StopEndsTheWalkAtTheNextFolderEntryAndKeepsWhatWasFound) {
  files.AddFolder("C:\\a\\p\\first.slt");
  files.AddFolder("C:\\b\\deep\\deeper\\q\\second.slt");
  files.AddFolder("C:\\c\\r\\third.slt");
  files.AddFolder("D:\\s\\fourth.slt");
  recorder.stopAt = "C:\\b\\deep\\";
  Scan();
  EXPECT_THAT(recorder.rows, ElementsAre(ProfileRow{"p", "C:\\a\\p\\first.slt"}));
  EXPECT_EQ(recorder.folders.back(), "C:\\b\\deep\\");
  EXPECT_THAT(recorder.drives, ElementsAre('C'));
}

}  // namespace
}  // namespace quorvane
