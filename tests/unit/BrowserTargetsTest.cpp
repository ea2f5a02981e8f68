#include "clean/BrowserTargets.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clean/IECache.h"
#include "clean/NetscapeTargets.h"
#include "clean/urlhistory/AutomationDate.h"
#include "clean/urlhistory/CURLHistory.h"
#include "fakes/FakeCleanContext.h"

namespace quorvane {
namespace {

using fakes::FakeUrlCache;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr RegKey HKCU = reg_root::CurrentUser;
constexpr RegKey HKLM = reg_root::LocalMachine;
constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kInternetSettings =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const char* kUnits = "SOFTWARE\\Microsoft\\Code Store Database\\Distribution Units";
constexpr const char* kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const std::string kCookies = "C:\\Users\\User\\Cookies\\";
const std::string kDownloads = "C:\\Windows\\Downloaded Program Files\\";

constexpr const char* kUrlHistoryKey = "Software\\Netscape\\Netscape Navigator\\URL History";
const std::string kRow1 = "C:\\Users\\User\\AppData\\Roaming\\Mozilla\\Profiles\\abcd.slt";
const std::string kRow2 = "D:\\Mail\\private\\efgh.slt";
// One trace for each Netscape option, in the order Cache, Cookies, Clean (two), MailTrash.
const std::vector<std::string> kTraces = {"Cache\\A1B2C3D4", "cookies.txt", "history.dat",
                                          "netscape.hst", "mail\\Local Folders\\Trash"};

// One trace of every kind that the Internet Explorer group can remove.
class BrowserTargetsTest : public ::testing::Test, public fakes::FakeCleanContext {
 protected:
  BrowserTargetsTest() {
    app.appFolder = "C:\\Quorvane";
    fake.registry.SetString(HKCU, kShellFolders, "Cookies", kCookies);
    fake.registry.SetString(HKLM, kInternetSettings, "ActiveXCache", kDownloads);
    fake.urlCache.AddEntry("http://example.com/page.html", url_cache_entry::Normal);
    fake.files.AddFile(kCookies + "user@example[1].txt", "cookie");
    fake.files.AddFile(kDownloads + "control.ocx", "program");
    fake.registry.SetString(HKLM, std::string(kUnits) + "\\{1234}\\Contains", "", "unit");
    fake.registry.SetString(HKCU, kTypedUrls, "url1", "http://typed.example.com/");
    fake.urlHistory.entries.push_back({"http://visited.example.com/", "", 1, 1, 1, 0});
    fake.files.AddFile("C:\\Quorvane\\kestrine.exe", "MZ");
  }
  void Options(const std::string& lines) {
    fake.profile.SetFileContent(settings.File(),
                                "[IEOptions]\r\n" + lines + "\r\n[Netscape Options]\r\n" + lines);
  }
  void StoreRow(const std::string& key, const std::string& value) {
    fake.userSettings.SaveSetting("Quorvane", "NProfile", key, value);
  }
  std::vector<std::string> TracesLeft(const std::string& profile) const {
    std::vector<std::string> left;
    for (const std::string& trace : kTraces) {
      if (fake.files.Exists(profile + "\\" + trace)) left.push_back(trace);
    }
    return left;
  }
};

// Only cookie files go: not the index, nothing in sub-folders. Downloaded programs go, but
// not hidden system files nor what lies in sub-folders. The typed addresses leave an empty key.
TEST_F(BrowserTargetsTest, EveryOptionRemovesItsTracesAndOtherFilesStay) {
  const std::pair<std::string, std::uint32_t> kept[] = {
      {kCookies + "index.dat", 0},
      {kCookies + "Sub\\deeper.txt", 0},
      {kDownloads + "desktop.ini", file_attr::Hidden | file_attr::System},
      {kDownloads + "CONFLICT.1\\a.ocx", 0}};
  for (const auto& [file, attrs] : kept) fake.files.AddFile(file, "c", attrs);
  fake.files.AddFile(kCookies + "other[2].TXT", "c");
  Options("TempIEFiles=1\r\nCookies=1\r\nDownloadDir=1\r\nCleanHistory=1\r\nIEConrolPanel=1\r\n");

  CleanIE(context);

  for (const auto& [file, attrs] : kept) EXPECT_TRUE(fake.files.Exists(file)) << file;
  EXPECT_FALSE(fake.files.Exists(kCookies + "user@example[1].txt"));
  EXPECT_FALSE(fake.files.Exists(kCookies + "other[2].TXT"));
  EXPECT_FALSE(fake.files.Exists(kDownloads + "control.ocx"));
  EXPECT_FALSE(fake.registry.KeyExists(HKLM, kUnits));
  EXPECT_THAT(fake.urlCache.Urls(), IsEmpty());
  EXPECT_THAT(fake.urlHistory.entries, IsEmpty());
  EXPECT_TRUE(fake.registry.KeyExists(HKCU, kTypedUrls));
  EXPECT_THAT(fake.registry.ValueNames(HKCU, kTypedUrls), IsEmpty());
  ASSERT_EQ(fake.shell.startedPrograms.size(), 1u);
  EXPECT_EQ(fake.shell.startedPrograms[0].style, WindowStyle::MinimizedFocus);
  EXPECT_TRUE(context.filesRemoved);
}

// The registrations still go; the folder's files are not even listed.
TEST_F(BrowserTargetsTest, AFolderThatIsEmptyRelativeARootOrProtectedIsNotTouched) {
  Options("Cookies=1\r\nDownloadDir=1\r\n");
  for (const char* folder :
       {"", "Cookies", "\\Cookies", "C:", "C:\\", "C:\\Users\\", "C:\\Windows"}) {
    SCOPED_TRACE(folder);
    fake.registry.SetString(HKCU, kShellFolders, "Cookies", folder);
    fake.registry.SetString(HKLM, kInternetSettings, "ActiveXCache", folder);
    fake.registry.SetString(HKLM, std::string(kUnits) + "\\{1234}", "", "unit");
    CleanIE(context);
    EXPECT_THAT(fake.files.Calls(), IsEmpty());
    EXPECT_FALSE(fake.registry.KeyExists(HKLM, kUnits));
  }
}

// A history store that implements nothing or cannot be opened, and a companion that fails
// to start or is missing, end only their own part.
TEST_F(BrowserTargetsTest, AFailingPartEndsOnlyItself) {
  Options("CleanHistory=1\r\nIEConrolPanel=1\r\n");
  fake.urlHistory.FailEveryCall(history_status::NotImplemented);
  fake.shell.startProgramSucceeds = false;
  CleanIE(context);
  fake.urlHistory.openResult = history_status::Failed;
  fake.registry.SetString(HKCU, kTypedUrls, "url2", "http://other.example.com/");
  app.appFolder = "C:\\Nowhere";
  CleanIE(context);
  EXPECT_EQ(fake.urlHistory.entries.size(), 1u);
  EXPECT_THAT(fake.registry.ValueNames(HKCU, kTypedUrls), IsEmpty());
  EXPECT_EQ(fake.shell.startedPrograms.size(), 1u);
  EXPECT_THAT(fake.windows.messageBoxes, IsEmpty());
}

// The cache walk and the URL history collection that the group runs on.
// The rewritten entry grows between the size question and the fetch.
TEST(IECacheTest, DeletesTheNormalEntriesHoldingOneBlockSizedAsThePlatformAsks) {
  FakeUrlCache cache;
  const std::string small = "http://example.com/a";
  const std::string rewritten = "http://example.com/rewritten";
  cache.AddEntry(small, url_cache_entry::Normal);
  cache.AddEntry(rewritten, url_cache_entry::Normal);
  cache.AddEntry("Cookie:user@example.com/", url_cache_entry::Cookie);
  cache.AddEntry("http://example.com/pin.css", url_cache_entry::Normal | url_cache_entry::Sticky);
  cache.AddEntry("Visited: user@http://example.com/", url_cache_entry::UrlHistory);
  cache.GrowAfterSizing(rewritten, 500);

  DeleteCacheURLList(cache);

  EXPECT_THAT(cache.Urls(),
              ElementsAre("Cookie:user@example.com/", "Visited: user@http://example.com/"));
  EXPECT_THAT(cache.AllocatedSizes(),
              ElementsAre(FakeUrlCache::EntrySize(small), FakeUrlCache::EntrySize(rewritten),
                          FakeUrlCache::EntrySize(rewritten) + 500));
  EXPECT_EQ(cache.MaxLiveBlocks(), 1);
  EXPECT_EQ(cache.OpenFinds(), 0u);
}

// File times of whole days: 1 January 2000 and 30 December 1899, 00:00.
constexpr std::uint64_t kHour = 36'000'000'000;
constexpr std::uint64_t kJanuary2000 = 125'911'584'000'000'000;
constexpr std::uint64_t kDecember1899 = 94'353'120'000'000'000;

std::vector<std::string> Urls(const CURLHistory& history) {
  std::vector<std::string> urls;
  for (const URLHistoryItem& item : history.NewEnum()) urls.push_back(item.URL());
  return urls;
}

TEST(CURLHistoryTest, ARefreshFiltersByPrefixAndRemoveDropsOneItemWithoutIt) {
  fakes::FakeUrlHistoryStore store;
  for (const char* url : {"http://a.example/", "ftp://b.example/", "http://c.example/"}) {
    store.entries.push_back({url, "", kJanuary2000, kJanuary2000, kDecember1899, 0});
  }
  CURLHistory history = CURLHistory::Create(store).value();
  ASSERT_EQ(history.AddURL("http://d.example/", "D", 0), history_status::Ok);
  EXPECT_EQ(history.Count(), 3u);
  ASSERT_EQ(history.Refresh("http://"), history_status::Ok);
  EXPECT_THAT(Urls(history),
              ElementsAre("http://a.example/", "http://c.example/", "http://d.example/"));

  EXPECT_EQ(history.Remove(0), history_status::InvalidArgument);
  EXPECT_EQ(history.Remove(4), history_status::InvalidArgument);
  ASSERT_EQ(history.Remove(1), history_status::Ok);
  EXPECT_THAT(Urls(history), ElementsAre("http://c.example/", "http://d.example/"));

  // Dates are local; an item outlives its collection.
  store.localOffset = static_cast<std::int64_t>(2 * kHour);
  const URLHistoryItem item = history.Item(1).value();
  history = CURLHistory::Create(store).value();
  EXPECT_DOUBLE_EQ(item.LastVisited().value(), 36526.0 + 2.0 / 24);
  EXPECT_DOUBLE_EQ(item.Expires().value(), 2.0 / 24);

  store.nextFailsAfter = 1;  // a listing that fails part-way keeps what was read
  EXPECT_EQ(history.Refresh(), history_status::Failed);
  EXPECT_THAT(Urls(history), ElementsAre("ftp://b.example/"));
}

TEST(AutomationDateTest, CountsDaysFromTheEndOf1899UpToTheYear9999) {
  const std::uint64_t lastDay = kDecember1899 + 2'958'465ull * 24 * kHour;  // 31 December 9999
  const std::pair<std::uint64_t, std::optional<double>> rows[] = {
      {kJanuary2000 + 6 * kHour + 9'999'999, 36526.25},  // fractions of a second are dropped
      {kDecember1899 - 18 * kHour, -1.25},  // the time is added away from zero before 1900
      {lastDay + 24 * kHour, std::nullopt},
      {~0ull, std::nullopt}};
  for (const auto& [fileTime, expected] : rows) {
    SCOPED_TRACE(fileTime);
    EXPECT_EQ(FileTimeToAutomationDate(fileTime), expected);
  }
}

// The selected Netscape 6 rows are cleaned, nothing else, and of them only what the options
// ask; the cache folder is there, empty. "Clean" also takes the "URL_" values, in any case.
TEST_F(BrowserTargetsTest, TheSelectedRowsAreCleanedAndTheOthersNot) {
  fake.registry.SetString(reg_root::LocalMachine, "Software\\Netscape\\Netscape 6",
                          "CurrentVersion", "6.2");
  for (const auto& [key, row] : {std::pair{"1", kRow1}, {"2", kRow2}, {"SelectedNProfile", "|2"}})
    StoreRow(key, row);
  for (const std::string& profile : {kRow1, kRow2}) {
    for (const std::string& trace : kTraces) fake.files.AddFile(profile + "\\" + trace, "x");
  }
  fake.files.AddFile(kRow2 + "\\prefs.js", "preferences");
  for (const char* name : {"URL_1", "url_2", "MyURL_1", "URL1"}) {
    fake.registry.SetString(HKCU, kUrlHistoryKey, name, "http://example.com/");
  }
  Options("Cookies=1\r\nFormData=1");
  CleanNetscape(context);
  EXPECT_THAT(TracesLeft(kRow2), ElementsAre(kTraces[0], kTraces[2], kTraces[3], kTraces[4]));
  Options("Cache=1\r\nCookies=1\r\nClean=1\r\nMailTrash=1");
  CleanNetscape(context);
  EXPECT_THAT(TracesLeft(kRow2), IsEmpty());
  EXPECT_TRUE(fake.files.Exists(kRow2 + "\\Cache"));
  EXPECT_TRUE(fake.files.Exists(kRow2 + "\\prefs.js"));
  EXPECT_THAT(fake.registry.ValueNames(HKCU, kUrlHistoryKey), ElementsAre("MyURL_1", "URL1"));
  EXPECT_EQ(TracesLeft(kRow1), kTraces);
  EXPECT_TRUE(context.filesRemoved);
  EXPECT_EQ(app.netscapeGeneration, 0);  // the run's context is left as it was
}

// A missing row is skipped rather than taken for the drive root; the text before the first
// bar is not a row; a stored folder that is no profile is left out.
TEST_F(BrowserTargetsTest, TheSelectionNamesTheRowsThatExist) {
  EXPECT_THAT(NetscapeProfileFolders(context, 6), IsEmpty());
  StoreRow("1", kRow1);
  StoreRow("2", kRow2);
  const char* notProfiles[] = {"relative\\abcd.slt", "\\Users\\abcd.slt", "C:\\", "C:\\Windows"};
  for (int i = 0; i < 4; ++i) StoreRow(std::to_string(i + 3), notProfiles[i]);
  const std::pair<std::string, std::vector<std::string>> rows[] = {
      {"", {}}, {"|9|2||x", {kRow2}}, {"1|2", {kRow2}}, {"|2|1", {kRow2, kRow1}}, {"|3|4|5|6", {}}};
  for (const auto& [selection, expected] : rows) {
    SCOPED_TRACE(selection);
    StoreRow("SelectedNProfile", selection);
    EXPECT_EQ(NetscapeProfileFolders(context, 6), expected);
  }
}

// The Navigator profile lies beside the program folder, named by the current user. An
// install directory without a back-slash leaves no Netscape folder: "\Users\bob" would be
// the user's own home folder.
TEST_F(BrowserTargetsTest, TheNavigatorProfileLiesBesideTheProgramFolder) {
  const std::string rows[][3] = {{"C:\\N\\Program", "bob", "C:\\N\\Users\\bob"},
                                 {"", "bob", ""},
                                 {"C:\\N\\P", "", ""},
                                 {"C:\\N\\P", "..\\..\\Windows", ""},
                                 {"Program", "bob", ""},
                                 {"C:Program", "bob", ""},
                                 {"\\Program", "bob", ""}};
  for (const auto& [folder, user, expected] : rows) {
    SCOPED_TRACE(folder + "|" + user);
    fake.registry.SetString(HKCU, "Software\\Netscape\\Netscape Navigator\\Main",
                            "Install Directory", folder);
    fake.registry.SetString(HKCU, "Software\\Netscape\\Netscape Navigator\\biff", "CurrentUser",
                            user);
    const std::vector<std::string> folders = NetscapeProfileFolders(context, 1);
    EXPECT_EQ(folders.empty() ? "" : folders[0], expected);
  }
}

// Links are never followed: a cache link goes without its target, a mail folder link is not
// entered. Only the mail folder's own sub-folders hold trash.
TEST_F(BrowserTargetsTest, CacheAndMailTrashStayInsideTheProfile) {
  const std::string mail = kRow1 + "\\mail\\";
  for (const char* file : {"Local\\Trash.msf", "Local\\Inbox", "Local\\Deep\\Trash", "Trash"}) {
    fake.files.AddFile(mail + file, "x");
  }
  fake.files.AddFile("C:\\Elsewhere\\trash.doc", "keep");
  fake.files.AddLink(mail + "Linked", "C:\\Elsewhere");
  fake.files.AddLink(kRow2 + "\\Cache", "C:\\Elsewhere");

  Options("Cache=1\r\nMailTrash=1");
  CleanNetscapeCache(context, kRow2);
  CleanNetscapeMailTrash(context, kRow1);

  EXPECT_EQ(fake.files.Attributes(kRow2 + "\\Cache") & file_attr::ReparsePoint, 0u);
  EXPECT_TRUE(fake.files.Exists("C:\\Elsewhere\\trash.doc"));
  EXPECT_FALSE(fake.files.Exists(mail + "Local\\Trash.msf"));
  for (const char* kept : {"Local\\Inbox", "Local\\Deep\\Trash", "Trash"}) {
    EXPECT_TRUE(fake.files.Exists(mail + kept)) << kept;
  }
}

}  // namespace
}  // namespace quorvane
