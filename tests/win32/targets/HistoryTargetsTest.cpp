// The registry lists of Windows itself, cleaned in the test prefix's real registry.

#include <gmock/gmock.h>

#include "TargetsFixture.h"
#include "clean/WindowsTargets.h"

namespace quorvane::testing {
namespace {

using ::testing::ElementsAre;

const std::string kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::string kRunMru = kExplorer + "\\RunMRU";
const std::string kExplorerBars = "Software\\Microsoft\\Internet Explorer\\Explorer Bars";
const std::string kSearchAssistant = "Software\\Microsoft\\Search Assistant";
const std::string kPlayer = "Software\\Microsoft\\MediaPlayer\\Player";

class HistoryTargetsTest : public TargetsTest {
 protected:
  HistoryTargetsTest() {
    for (const std::string& key : {kRunMru, kExplorerBars, kSearchAssistant, kPlayer}) {
      DeleteRegTree(key);
    }
  }
  ~HistoryTargetsTest() override {
    DeleteRegValue(kExplorer, "QuorvaneTestKeep");
    for (const std::string& key : {kRunMru, kExplorerBars, kSearchAssistant, kPlayer}) {
      DeleteRegTree(key);
    }
  }
};

TEST_F(HistoryTargetsTest, FindHistoryRemovesTheSearchLists) {
  SetRegString(kExplorer, "Doc Find Spec MRU", "secret");
  SetRegString(kExplorer, "QuorvaneTestKeep", "stays");
  SetRegString(kExplorerBars + "\\{C4EE31F3-4768-11D2-BE5C-00A0C9A83DA1}\\FilesNamedMRU", "000",
               "secret.txt");
  SetRegString(kSearchAssistant + "\\ACMru\\5603", "000", "query");
  SetRegString(kSearchAssistant, "Setting", "stays");

  CleanFindHistory(context);

  EXPECT_FALSE(RegValueExists(kExplorer, "Doc Find Spec MRU"));
  EXPECT_EQ(GetRegString(kExplorer, "QuorvaneTestKeep"), "stays");
  EXPECT_FALSE(RegKeyExists(kExplorerBars));
  EXPECT_FALSE(RegKeyExists(kSearchAssistant + "\\ACMru"));
  EXPECT_EQ(GetRegString(kSearchAssistant, "Setting"), "stays");
}

TEST_F(HistoryTargetsTest, RunHistoryDeletesTheListedValuesOnly) {
  SetRegString(kRunMru, "MRUList", "cab");
  for (const char* name : {"a", "b", "c", "d"}) SetRegString(kRunMru, name, "notepad\\1");

  CleanRunHistory(context);

  ASSERT_TRUE(RegKeyExists(kRunMru));
  EXPECT_THAT(RegValueNames(kRunMru), ElementsAre("d"));
}

TEST_F(HistoryTargetsTest, RunHistoryWithoutListKeepsItsValues) {
  SetRegString(kRunMru, "a", "calc\\1");

  CleanRunHistory(context);

  EXPECT_THAT(RegValueNames(kRunMru), ElementsAre("a"));
}

TEST_F(HistoryTargetsTest, MediaPlayerStopsAtTheFirstGap) {
  for (const char* name : {"URL0", "URL1", "URL2", "URL3", "URL4", "URL7"}) {
    SetRegString(kPlayer + "\\RecentURLList", name, std::string("http://example.com/") + name);
  }
  SetRegString(kPlayer + "\\RecentFileList", "File0", "C:\\music\\song.mp3");
  SetRegString(kPlayer + "\\RecentFileList\\Sub", "File0", "C:\\music\\other.mp3");

  CleanMediaPlayer(context);

  EXPECT_THAT(RegValueNames(kPlayer + "\\RecentURLList"), ElementsAre("URL7"));
  EXPECT_FALSE(RegKeyExists(kPlayer + "\\RecentFileList"));
  EXPECT_TRUE(RegKeyExists(kPlayer));
}

}  // namespace
}  // namespace quorvane::testing
