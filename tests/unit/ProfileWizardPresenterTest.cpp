#include "netscape/ProfileWizardPresenter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <semaphore>
#include <string>
#include <vector>

#include "core/Text.h"
#include "core/platform/ForwardingFileSystem.h"
#include "fakes/FakePlatform.h"

namespace quorvane {
namespace {

using ::testing::ElementsAre;
using Rows = std::vector<std::vector<std::string>>;

// Listing the gated folder waits until the test lets it go, so that the test can act while
// the search is in the middle of its walk.
class GatedFileSystem final : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  FsResult ListDirectory(std::string_view folder, std::vector<DirEntry>& entries) override {
    if (EqualsNoCase(folder, gate)) {
      reached.release();
      release.acquire();
    }
    return inner().ListDirectory(folder, entries);
  }
  std::string gate;
  std::binary_semaphore reached{0};
  std::binary_semaphore release{0};
};

class ProfileWizardTest : public ::testing::Test {
 protected:
  ProfileWizardTest() {
    fake.registry.SetString(reg_root::LocalMachine, "Software\\Netscape\\Netscape 6",
                            "CurrentVersion", "6.2");
    // The drive's used space is exactly what its files hold.
    fake.files.AddDrive('C', DriveType::Fixed, 1000, 1000 + 4096 + 904);
    fake.files.AddFile("C:\\pagefile.sys", std::string(4096, 'p'));
    for (int i = 1; i <= 5; ++i) {
      const std::string folder = "C:\\Profiles\\user" + std::to_string(i);
      fake.files.AddFolder(folder + "\\m" + std::to_string(i) + ".slt");
      fake.files.AddFile(folder + "\\prefs.js", std::string(i == 5 ? 104 : 200, 'x'));
    }
  }
  std::unique_ptr<ProfileWizardPresenter> Open() {
    auto wizard = std::make_unique<ProfileWizardPresenter>(platform, app);
    wizard->onClose = [this] { ++closed; };
    wizard->Load();
    return wizard;
  }
  // Next, the whole search, and the tick that follows it.
  std::unique_ptr<ProfileWizardPresenter> Scanned() {
    auto wizard = Open();
    wizard->cmdNext.Click();
    wizard->WaitForScan();
    wizard->Tick();
    return wizard;
  }
  std::string Stored(std::string_view key) {
    return fake.userSettings.GetSetting("Quorvane", "NProfile", key, "<absent>");
  }
  static std::string Marker(int row) {
    return "C:\\Profiles\\user" + std::to_string(row) + "\\m" + std::to_string(row) + ".slt";
  }

  fakes::FakePlatform fake;
  GatedFileSystem gated{fake.files};
  Platform platform{fake.registry, fake.profile, fake.userSettings, gated,          fake.shell,
                    fake.windows,  fake.codec,   fake.urlCache,     fake.urlHistory};
  AppContext app;
  int closed = 0;
};

TEST_F(ProfileWizardTest, NextSearchesAndPage3ListsEveryProfileUntickedWithTheBarFull) {
  auto wizard = Open();
  EXPECT_EQ(wizard->Form.Caption(), "Tavrel Netscape Wizard");
  EXPECT_EQ(wizard->lblNetscapeVersion.Caption(), "Netscape  6.2");
  EXPECT_TRUE(wizard->Frame1.Visible());
  EXPECT_FALSE(wizard->Frame2.Visible());
  EXPECT_FALSE(wizard->Frame3.Visible());

  wizard->cmdNext.Click();
  EXPECT_FALSE(wizard->Frame1.Visible());
  EXPECT_TRUE(wizard->Frame2.Visible());
  EXPECT_EQ(wizard->lblScan.Caption(),
            "A search for Netscape6.2 profile is taking place.\r\nThis may take a few minutes.");
  wizard->WaitForScan();
  wizard->Tick();

  EXPECT_FALSE(wizard->Frame2.Visible());
  EXPECT_TRUE(wizard->Frame3.Visible());
  ASSERT_EQ(wizard->ListView1.Rows().size(), 5u);
  EXPECT_THAT(wizard->ListView1.Rows()[1], ElementsAre("user2", Marker(2)));
  for (int row = 0; row < 5; ++row) EXPECT_FALSE(wizard->ListView1.Checked(row));
  EXPECT_EQ(wizard->ListView1.columns,
            (std::vector<std::string>{"Profile Names",
                                      "Directory containing Netscape Profile Information"}));
  // Every byte of the drive was walked once: the bar ends exactly full.
  EXPECT_EQ(wizard->ProgressBar1.Max(), 5000);
  EXPECT_EQ(wizard->ProgressBar1.Value(), 5000);
  EXPECT_EQ(wizard->lblPath.Caption(), "C:\\Profiles\\user5\\m5.slt\\");
  EXPECT_FALSE(wizard->Busy());
}

// Bytes a drive cannot hold twice (a file with two names counts for each) keep the bar full
// rather than beyond; a drive larger than the bar's range is scaled into it.
TEST_F(ProfileWizardTest, TheBarStaysWithinItsRangeOnLargeDrivesAndRepeatedBytes) {
  fake.files.AddHardLink("C:\\pagefile.sys", "C:\\again.sys");
  auto wizard = Scanned();
  EXPECT_EQ(wizard->ProgressBar1.Value(), wizard->ProgressBar1.Max());

  fakes::FakePlatform large;
  large.files.AddDrive('C', DriveType::Fixed, 0, 3ull << 40);  // 3 TiB used
  large.files.AddFile("C:\\a.bin", "x");
  ProfileWizardPresenter big(large.platform(), app);
  big.cmdNext.Click();
  big.WaitForScan();
  big.Tick();
  EXPECT_GT(big.ProgressBar1.Max(), 1 << 30);
  EXPECT_EQ(big.ProgressBar1.Value(), 0);
}

TEST_F(ProfileWizardTest, OkStoresEveryRowAndTheTickedOnesAndCloses) {
  fake.userSettings.SaveSetting("Quorvane", "NProfile", "6", "C:\\old\\six.slt");
  auto wizard = Scanned();
  wizard->ListView1.SetChecked(1, true);
  wizard->ListView1.SetChecked(3, true);
  wizard->cmdOK.Click();
  for (int row = 1; row <= 5; ++row) EXPECT_EQ(Stored(std::to_string(row)), Marker(row));
  EXPECT_EQ(Stored("SelectedNProfile"), "|2|4");
  EXPECT_EQ(Stored("6"), "C:\\old\\six.slt");  // a row of an earlier, larger search stays
  EXPECT_EQ(closed, 1);
  EXPECT_TRUE(fake.windows.messageBoxes.empty());
}

// Rows stored without their selection would point the earlier selection at other folders,
// so an OK with nothing ticked stores nothing at all.
TEST_F(ProfileWizardTest, OkWithNothingTickedSaysSoStaysOpenAndKeepsTheEarlierChoice) {
  fake.userSettings.SaveSetting("Quorvane", "NProfile", "1", "C:\\chosen\\a.slt");
  fake.userSettings.SaveSetting("Quorvane", "NProfile", "SelectedNProfile", "|1");
  auto wizard = Scanned();
  wizard->cmdOK.Click();
  EXPECT_THAT(
      fake.windows.messageBoxes,
      ElementsAre(fakes::MessageBoxCall{"No profiles has been selected.", "Tavrel Netscape Wizard",
                                        message_box::IconInformation}));
  EXPECT_EQ(closed, 0);
  EXPECT_TRUE(wizard->Frame3.Visible());
  EXPECT_EQ(Stored("1"), "C:\\chosen\\a.slt");
  EXPECT_EQ(Stored("2"), "<absent>");
  EXPECT_EQ(Stored("SelectedNProfile"), "|1");

  wizard->ListView1.SetChecked(4, true);
  wizard->cmdOK.Click();
  EXPECT_EQ(Stored("SelectedNProfile"), "|5");
  EXPECT_EQ(closed, 1);
}

TEST_F(ProfileWizardTest, SkipAndCancelCloseAndStoreNothing) {
  auto first = Open();
  first->cmdSkip.Click();
  EXPECT_EQ(closed, 1);
  auto second = Scanned();
  second->ListView1.SetChecked(0, true);
  second->CmdCancel.Click();
  EXPECT_EQ(closed, 2);
  EXPECT_TRUE(fake.userSettings.GetAllSettings("Quorvane", "NProfile").empty());
}

TEST_F(ProfileWizardTest, StopEndsTheSearchWithinOneFolderAndShowsWhatWasFound) {
  gated.gate = "C:\\Profiles\\user3\\";
  auto wizard = Open();
  wizard->cmdNext.Click();
  gated.reached.acquire();
  EXPECT_TRUE(wizard->Busy());
  wizard->Tick();  // the walk is under way: page 2 stays, its label follows the walk
  EXPECT_TRUE(wizard->Frame2.Visible());
  EXPECT_EQ(wizard->lblPath.Caption(), "C:\\Profiles\\user3\\");

  wizard->CmdStop.Click();
  EXPECT_FALSE(wizard->Busy());
  EXPECT_FALSE(wizard->CmdStop.Enabled());
  gated.release.release();
  wizard->WaitForScan();
  wizard->Tick();

  EXPECT_TRUE(wizard->Frame3.Visible());
  EXPECT_THAT(wizard->ListView1.Rows(),
              ElementsAre(ElementsAre("user1", Marker(1)), ElementsAre("user2", Marker(2)),
                          ElementsAre("user3", Marker(3))));
  for (const fakes::FsCall& call : fake.files.Calls()) {
    EXPECT_FALSE(call.path.starts_with("C:\\Profiles\\user4")) << call.path;
  }
}

// The window goes while the walk runs: the search ends, and a late tick draws nothing.
TEST_F(ProfileWizardTest, ClosingDuringTheSearchEndsItWithoutDrawingAgain) {
  gated.gate = "C:\\Profiles\\user2\\";
  auto wizard = Open();
  wizard->cmdNext.Click();
  gated.reached.acquire();
  gated.release.release();
  wizard->Shutdown();
  int draws = 0;
  for (ui::Control* control :
       {static_cast<ui::Control*>(&wizard->lblPath), static_cast<ui::Control*>(&wizard->Frame3),
        static_cast<ui::Control*>(&wizard->ListView1)}) {
    control->changed = [&draws] { ++draws; };
  }
  wizard->Tick();
  EXPECT_EQ(draws, 0);
  EXPECT_FALSE(wizard->Busy());
}

}  // namespace
}  // namespace quorvane
