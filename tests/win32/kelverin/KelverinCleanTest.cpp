// Kelverin.exe --clean end to end, run from a sandbox with its own Local.Ini, custom items
// and Netscape profiles, against the test prefix's real registry, URL cache and cookies.

#include <windows.h>
#include <wininet.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sddl.h>
#include <shlobj.h>

#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "clean/WindowsTargets.h"
#include "support/Sandbox.h"
#include "support/TestRegistry.h"
#include "win32/platform/WideText.h"

namespace quorvane::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using win32::Widen;

const std::string kTestKey = "Software\\QuorvaneKelverinTest";
const std::string kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const std::string kRunMru = kExplorer + "\\RunMRU";
const std::string kMediaUrls = "Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList";
const std::string kOffice9 = "Software\\Microsoft\\Office\\9.0";
const std::string kTypedUrls = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
const std::string kNetscape = "Software\\Netscape";
const std::string kUrlHistory = kNetscape + "\\Netscape Navigator\\URL History";
const std::string kNProfile = "Software\\VB and VBA Program Settings\\Quorvane\\NProfile";
const std::string kCodeStore = "SOFTWARE\\Microsoft\\Code Store Database";
const std::string kInternetSettings =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
// Two normal entries, one of them outgrowing the first block, and two of other kinds.
const std::pair<std::string, DWORD> kCacheEntries[] = {
    {"http://quorvane.test/kelverin/page.html", NORMAL_CACHE_ENTRY},
    {"http://quorvane.test/" + std::string(3000, 'l') + ".js", NORMAL_CACHE_ENTRY},
    {"Cookie:tester@quorvane.test/kelverin/", COOKIE_CACHE_ENTRY},
    {"Visited: tester@http://quorvane.test/kelverin/", URLHISTORY_CACHE_ENTRY}};
const char* const kCookies[] = {"kelverin@quorvane[1].txt", "hidden@quorvane[1].txt"};
// What a clean removes from a profile, and what it leaves: a Trash directly in the mail
// folder belongs to no mail folder.
const char* const kTraces[] = {"Cache\\Sub\\E5F6", "cookies.txt", "history.dat",
                               "mail\\Local Folders\\Trash.msf"};
const char* const kKept[] = {"mail\\Local Folders\\Inbox", "prefs.js", "mail\\Trash"};
constexpr char kNetscapeOptions[] =
    "[Netscape Options]\r\nNetscape=1\r\nCache=1\r\nCookies=1\r\nClean=1\r\nMailTrash=1\r\n";

bool Exists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void SetMachineString(const std::string& key, const std::string& name, const std::string& value) {
  const std::wstring data = Widen(value);
  ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, Widen(key).c_str(), Widen(name).c_str(), REG_SZ,
                            data.c_str(), static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
}

// "D:(D;;0x10006;;;WD)(A;;KA;;;WD)" refuses deletion and changes, so the program can neither
// delete the key nor open it to remove its children.
void SetKeySecurity(const std::string& key, const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                   &descriptor, nullptr));
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(key).c_str(), 0, WRITE_DAC, &opened) == 0) {
    EXPECT_EQ(RegSetKeySecurity(opened, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
    RegCloseKey(opened);
  }
  LocalFree(descriptor);
}

// Wine may print diagnostics of its own ("wine: ...").
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.rfind("wine: ", 0) != 0) lines.push_back(line);
  }
  return lines;
}

struct Outcome {
  std::uint32_t exitCode;
  std::vector<std::string> out, err;
};

class KelverinCleanTest : public ::testing::Test {
 protected:
  KelverinCleanTest() {
    EXPECT_TRUE(CopyFileW(Widen(ExecutableFolder() + "\\Kelverin.exe").c_str(),
                          Widen(box / "Kelverin.exe").c_str(), FALSE));
    box.MakeFolder("Custom");
  }
  ~KelverinCleanTest() override {
    SetKeySecurity(kTestKey + "\\Locked", L"D:(A;;KA;;;WD)");
    for (const std::string& key :
         {kTestKey, kRunMru, kMediaUrls, kOffice9, kTypedUrls, kNetscape, kNProfile}) {
      DeleteRegTree(key);
    }
    for (const std::string& key : {kNetscape, kCodeStore}) {
      RegDeleteTreeW(HKEY_LOCAL_MACHINE, Widen(key).c_str());
    }
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, Widen(kInternetSettings).c_str(), L"ActiveXCache");
    for (const auto& [url, type] : kCacheEntries) DeleteUrlCacheEntryW(Widen(url).c_str());
    for (const std::string& cookie : kCookies) {
      SetFileAttributesW(Widen(cookies + cookie).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(Widen(cookies + cookie).c_str());
    }
  }

  // Standard error goes to a file of its own, so that each line's stream is known.
  Outcome Run(const std::string& arguments) {
    const std::string err = "stderr-" + std::to_string(runs++) + ".txt";
    const ProcessResult result =
        RunProcess("cmd /c \"\"" + (box / "Kelverin.exe") + "\"" + arguments + " 2>" + err + "\"",
                   box.Path(), 120000);
    return {result.exitCode, Lines(result.output), Lines(box.ReadFile(err))};
  }

  void SeedHistoryAndCustomItems() {
    SetRegString(kRunMru, "MRUList", "cab");
    for (const char* name : {"a", "b", "c", "d"}) SetRegString(kRunMru, name, "notepad");
    SetRegString(kExplorer, std::string(kFindHistoryValue), "x");
    for (const char* name : {"URL0", "URL1", "URL3"}) SetRegString(kMediaUrls, name, "http://x");
    box.WriteFile("junk\\one.tmp", std::string(1000, '1'));
    box.WriteFile("junk\\two.TMP", std::string(536, '2'));
    box.WriteFile("junk\\keep.txt", "keep");
    box.WriteFile("junk\\sub\\deeper.tmp", "stays: patterns do not recurse");
    const std::string key = "HKEY_CURRENT_USER\\" + kTestKey;
    box.WriteFile("Custom\\Item.ac2", "\"F\",\"" + (box / "junk\\*.tmp") + "\",\"\"\r\n");
    box.WriteFile("Custom\\Item.ac1",
                  "\"K\",\"" + key + "\\Gone\",\"\"\r\n\"V\",\"" + key + "\",\"Drop\"\r\n");
    SetRegString(kTestKey + "\\Gone\\Deeper", "x", "1");
    SetRegString(kTestKey, "Drop", "x");
    SetRegString(kTestKey, "Keep", "x");
  }

  void SeedNavigator(const std::string& installDirectory, const std::string& user) {
    SetMachineString(kNetscape + "\\Netscape Navigator", "CurrentVersion", "4.79");
    SetRegString(kNetscape + "\\Netscape Navigator\\Main", "Install Directory", installDirectory);
    SetRegString(kNetscape + "\\Netscape Navigator\\biff", "CurrentUser", user);
    for (const char* name : {"URL_1", "url_2", "Kept"}) SetRegString(kUrlHistory, name, "x");
  }
  void SeedProfile(const std::string& profile) {
    for (const char* name : kTraces) box.WriteFile(profile + "\\" + name, name);
    for (const char* name : kKept) box.WriteFile(profile + "\\" + name, name);
    ASSERT_TRUE(SetFileAttributesW(Widen(box / (profile + "\\Cache\\Sub\\E5F6")).c_str(),
                                   FILE_ATTRIBUTE_READONLY));
  }
  void ExpectCleaned(const std::string& profile, bool cleaned) {
    SCOPED_TRACE(profile);
    for (const char* name : kTraces) EXPECT_NE(box.Exists(profile + "\\" + name), cleaned) << name;
    for (const char* name : kKept) EXPECT_TRUE(box.Exists(profile + "\\" + name)) << name;
  }

  Sandbox box;
  int runs = 0;
  const std::string cookies = GetRegString(kExplorer + "\\Shell Folders", "Cookies") + "\\";
};

TEST_F(KelverinCleanTest, CleansTheChosenTargetsPassesOverALockedKeyAndReportsEachLine) {
  box.WriteFile("Local.Ini",
                "[Standard Options]\r\nFindHistory=1\r\nRunHistory=1\r\nMediaPlayer=1\r\n"
                "[MSOffice]\r\nMSOffice=1\r\nMSExcel=1\r\nMSWord=0\r\n"
                "[IEOptions]\r\nIE=1\r\nTempIEFiles=1\r\nCookies=1\r\nDownloadDir=1\r\n"
                "CleanHistory=1\r\nIEConrolPanel=1\r\n[Wash Options]\r\nAfterClose=1\r\n" +
                    std::string(kNetscapeOptions));
  SeedHistoryAndCustomItems();
  const std::string locked = kTestKey + "\\Locked";
  SetRegString(locked + "\\Child", "x", "1");
  SetKeySecurity(locked, L"D:(D;;0x10006;;;WD)(A;;KA;;;WD)");
  // A root without a sub-key names nothing to delete.
  box.WriteFile("Custom\\Locked.ac1", "\"K\",\"HKEY_CURRENT_USER\\" + locked +
                                          "\",\"\"\r\n\"K\",\"HKEY_CURRENT_USER\\\",\"\"\r\n");
  SetRegString(kOffice9 + "\\Excel\\Recent Files", "File1", "a.xls");
  SetRegString(kOffice9 + "\\Word\\Data", "Settings", "kept");
  for (const auto& [url, type] : kCacheEntries) {
    ASSERT_TRUE(CommitUrlCacheEntryW(Widen(url).c_str(), nullptr, {}, {}, type, nullptr, 0, nullptr,
                                     nullptr));
  }
  ASSERT_GT(cookies.size(), 3u) << "the prefix names no cookie folder";
  CreateDirectoryW(Widen(cookies).c_str(), nullptr);
  for (const std::string& cookie : kCookies) {
    CloseHandle(CreateFileW(Widen(cookies + cookie).c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, cookie[0] == 'h' ? FILE_ATTRIBUTE_HIDDEN : 0, nullptr));
  }
  SetMachineString(kInternetSettings, "ActiveXCache", box / "Downloads");
  box.WriteFile("Downloads\\control.ocx", "program");
  box.WriteFile("Downloads\\CONFLICT.1\\control.ocx", "older program");
  SetMachineString(kCodeStore + "\\Distribution Units\\{1111}", "", "unit");
  SetRegString(kTypedUrls, "url1", "http://typed.quorvane.test/");
  SeedNavigator(box / "Netscape\\Program", "bob");
  SeedProfile("Netscape\\Users\\bob");
  SeedProfile("Netscape\\Users\\alice");
  // Held by another program without delete sharing: it stays, the run goes on and says so.
  box.WriteFile("junk\\held.tmp", "held");
  const HANDLE held = CreateFileW(Widen(box / "junk\\held.tmp").c_str(), GENERIC_READ,
                                  FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  const Outcome outcome = Run(" --clean");
  CloseHandle(held);

  EXPECT_EQ(outcome.exitCode, 0u);  // a failed step does not fail the run
  EXPECT_THAT(outcome.err, ElementsAre("Access denied to delete registry key."));
  ASSERT_EQ(outcome.out.size(), 11u) << ::testing::PrintToString(outcome.out);
  EXPECT_THAT(std::vector<std::string>(outcome.out.begin(), outcome.out.begin() + 8),
              ElementsAre("Windows Find/Search History: done", "Windows Run History: done",
                          "Windows Media Player: done", "MS-Office Tracks: done",
                          "Internet Explorer: done", "Custom Clean Items: done", "Netscape: done",
                          "Please logoff the machine for effect in Run History."));
  // The space estimate and the bytes removed depend on the disk; the rest is exact.
  EXPECT_TRUE(std::regex_match(
      outcome.out[8] + "\n" + outcome.out[9],
      std::regex("Estimated Drive Space Restored: [0-9]+(\\.[0-9]+)? Kb\n"
                 "Removed: 8 files \\([0-9,]+ bytes\\), 6 registry keys, 10 registry values")))
      << outcome.out[8] + "\n" + outcome.out[9];
  EXPECT_EQ(outcome.out[10], "Not removed: 1 file in use or denied");
  EXPECT_EQ(box.ReadFile("junk\\held.tmp"), "held");

  EXPECT_TRUE(RegKeyExists(locked));
  EXPECT_FALSE(RegValueExists(kExplorer, std::string(kFindHistoryValue)));
  for (const std::string& key : {kOffice9 + "\\Excel\\Recent Files", kTestKey + "\\Gone"}) {
    EXPECT_FALSE(RegKeyExists(key)) << key;
  }
  const std::pair<std::string, std::vector<std::string>> valuesLeft[] = {
      {kRunMru, {"d"}},        {kMediaUrls, {"URL3"}}, {kTestKey, {"Keep"}},
      {kUrlHistory, {"Kept"}}, {kTypedUrls, {}},       {kOffice9 + "\\Word\\Data", {"Settings"}}};
  for (const auto& [key, names] : valuesLeft) {
    EXPECT_THAT(RegValueNames(key), ElementsAreArray(names)) << key;
  }
  EXPECT_TRUE(RegKeyExists(kTypedUrls));
  EXPECT_FALSE(RegKeyExists(kCodeStore + "\\Distribution Units"));
  for (const char* gone : {"junk\\one.tmp", "junk\\two.TMP", "Downloads\\control.ocx"}) {
    EXPECT_FALSE(box.Exists(gone)) << gone;
  }
  for (const char* kept :
       {"junk\\keep.txt", "junk\\sub\\deeper.tmp", "Downloads\\CONFLICT.1\\control.ocx"}) {
    EXPECT_TRUE(box.Exists(kept)) << kept;
  }
  for (const auto& [url, type] : kCacheEntries) {
    DWORD size = 0;  // without a block, an entry that is there asks for one
    EXPECT_FALSE(GetUrlCacheEntryInfoW(Widen(url).c_str(), nullptr, &size));
    EXPECT_EQ(GetLastError() == ERROR_INSUFFICIENT_BUFFER, type != NORMAL_CACHE_ENTRY)
        << url.substr(0, 40);
  }
  EXPECT_FALSE(Exists(cookies + kCookies[0]));
  EXPECT_TRUE(Exists(cookies + kCookies[1]));
  ExpectCleaned("Netscape\\Users\\bob", true);
  ExpectCleaned("Netscape\\Users\\alice", false);
}

// Navigator's install directory without a back-slash would make the profile the user's own
// home folder on the current drive. With Netscape 6 present, Navigator's profile is left
// alone and only the stored selection of Netscape 6 profiles is cleaned.
TEST_F(KelverinCleanTest, NetscapeCleansOnlyTheProfilesItsSettingsName) {
  box.WriteFile("Local.Ini", kNetscapeOptions);
  const char* user = std::getenv("USERNAME");
  ASSERT_NE(user, nullptr);
  // The program runs in the sandbox, so its current drive is the sandbox's.
  const std::string probe = box.Path().substr(0, 2) + "\\Users\\" + user + "\\cookies.txt";
  const bool existed = Exists(probe);
  if (!existed) {
    CloseHandle(
        CreateFileW(Widen(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  }
  SeedNavigator("Program", user);
  EXPECT_EQ(Run(" --clean").exitCode, 0u);
  EXPECT_TRUE(Exists(probe)) << probe;
  if (!existed) DeleteFileW(Widen(probe).c_str());

  SeedNavigator(box / "Netscape\\Program", "bob");
  SeedProfile("Netscape\\Users\\bob");
  SetMachineString(kNetscape + "\\Netscape 6", "CurrentVersion", "6.2.3");
  const std::string rows[] = {"Profiles\\first\\abcd.slt", "Profiles\\second\\efgh.slt",
                              "Profiles\\third\\ijkl.slt"};
  for (int i = 0; i < 3; ++i) {
    SeedProfile(rows[i]);
    SetRegString(kNProfile, std::to_string(i + 1), box / rows[i]);
  }
  SetRegString(kNProfile, "SelectedNProfile", "|1|3");
  EXPECT_EQ(Run(" --clean").exitCode, 0u);
  for (int i = 0; i < 3; ++i) ExpectCleaned(rows[i], i != 1);
  ExpectCleaned("Netscape\\Users\\bob", false);
}

TEST_F(KelverinCleanTest, WithoutAVisibleLocalIniOnlyTheCustomItemsRun) {
  SeedHistoryAndCustomItems();
  Outcome outcome = Run(" --clean");
  EXPECT_EQ(outcome.exitCode, 0u);
  EXPECT_THAT(outcome.out, ElementsAre("Custom Clean Items: done", ::testing::_,
                                       "Removed: 2 files (1,536 bytes), 2 registry keys, 1 "
                                       "registry value"));
  EXPECT_FALSE(box.Exists("Local.Ini"));  // never created

  // A hidden settings file counts as absent: its Run history choice is not taken.
  box.WriteFile("Local.Ini", "[Standard Options]\r\nRunHistory=1\r\n");
  ASSERT_TRUE(SetFileAttributesW(Widen(box / "Local.Ini").c_str(), FILE_ATTRIBUTE_HIDDEN));
  outcome = Run(" --clean");
  EXPECT_THAT(outcome.out, Contains("Custom Clean Items: done"));
  EXPECT_TRUE(RegValueExists(kRunMru, "MRUList"));
}

TEST_F(KelverinCleanTest, UsageErrorsExitWithTwoAndCleanNothing) {
  SeedHistoryAndCustomItems();
  for (const char* arguments : {" --bogus", " --clean extra", " /clean", " --json"}) {
    SCOPED_TRACE(arguments);
    const Outcome outcome = Run(arguments);
    EXPECT_EQ(outcome.exitCode, 2u);
    EXPECT_TRUE(outcome.out.empty());
    EXPECT_THAT(outcome.err, Contains(::testing::StartsWith("Usage: Kelverin.exe [--resident")));
  }
  EXPECT_TRUE(box.Exists("junk\\one.tmp"));

  const Outcome version = Run(" --version");
  EXPECT_EQ(version.exitCode, 0u);
  EXPECT_THAT(version.out, ElementsAre("Kelverin 5.0.0"));
  const Outcome help = Run(" --help");
  EXPECT_EQ(help.exitCode, 0u);
  for (const char* mode : {"--resident", "--stop", "--clean", "--preview", "--json", "--version"}) {
    EXPECT_THAT(help.out, Contains(::testing::HasSubstr(mode)));
  }
  // Without a running copy there is nothing to stop, which is no error.
  EXPECT_EQ(Run(" --stop").exitCode, 0u);
}

// The preview runs the clean's own code over a platform that only records: it leaves every
// trace where it was, and the clean then removes exactly what it listed.
TEST_F(KelverinCleanTest, APreviewRemovesNothingAndTheCleanRemovesExactlyWhatItListed) {
  box.WriteFile("Local.Ini",
                "[Standard Options]\r\nFindHistory=1\r\nRunHistory=1\r\nMediaPlayer=1\r\n"
                "[IEOptions]\r\nIE=1\r\nTempIEFiles=1\r\nCookies=1\r\n"
                "[Wash Options]\r\nSkipMessages=1\r\nAddBleach=1\r\n");
  SeedHistoryAndCustomItems();
  box.WriteFile("junk\\caf\xc3\xa9 \xe6\x97\xa5 [1]'s.tmp", "name outside the code page");
  for (const auto& [url, type] : kCacheEntries) {
    ASSERT_TRUE(CommitUrlCacheEntryW(Widen(url).c_str(), nullptr, {}, {}, type, nullptr, 0, nullptr,
                                     nullptr));
  }
  CreateDirectoryW(Widen(cookies).c_str(), nullptr);
  CloseHandle(CreateFileW(Widen(cookies + kCookies[0]).c_str(), GENERIC_WRITE, 0, nullptr,
                          CREATE_ALWAYS, 0, nullptr));

  const Outcome text = Run(" --preview");
  EXPECT_EQ(text.exitCode, 0u);
  EXPECT_THAT(text.out, Contains("Windows Run History:"));
  EXPECT_THAT(text.out, Contains("  file    " + (box / "junk\\one.tmp") + " (1000 bytes)"));
  EXPECT_THAT(text.out, Contains("Preview only: nothing was removed."));
  const Outcome preview = Run(" --preview --json");
  ASSERT_EQ(preview.out.size(), 1u) << ::testing::PrintToString(preview.out);
  const nlohmann::json listed = nlohmann::json::parse(preview.out[0]);
  EXPECT_EQ(listed["mode"], "preview");

  for (const char* name : {"a", "b", "c", "MRUList"}) EXPECT_TRUE(RegValueExists(kRunMru, name));
  EXPECT_TRUE(RegKeyExists(kTestKey + "\\Gone\\Deeper"));
  EXPECT_EQ(box.ReadFile("junk\\one.tmp"), std::string(1000, '1'));  // not even bleached
  EXPECT_TRUE(box.Exists("junk\\caf\xc3\xa9 \xe6\x97\xa5 [1]'s.tmp"));
  EXPECT_TRUE(Exists(cookies + kCookies[0]));
  DWORD size = 0;
  EXPECT_FALSE(GetUrlCacheEntryInfoW(Widen(kCacheEntries[0].first).c_str(), nullptr, &size));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));  // still cached

  const Outcome clean = Run(" --clean --json");
  ASSERT_EQ(clean.out.size(), 1u) << ::testing::PrintToString(clean.out);
  const nlohmann::json removed = nlohmann::json::parse(clean.out[0]);
  EXPECT_EQ(removed["mode"], "clean");
  EXPECT_EQ(listed["targets"], removed["targets"]);
  EXPECT_EQ(listed["totals"], removed["totals"]);
  EXPECT_EQ(removed["totals"]["files"], 4) << removed.dump(1);
  EXPECT_EQ(removed["totals"]["urls"], 2) << removed.dump(1);
  EXPECT_FALSE(box.Exists("junk\\caf\xc3\xa9 \xe6\x97\xa5 [1]'s.tmp"));
  EXPECT_FALSE(RegValueExists(kRunMru, "MRUList"));
}

std::string LogPath() {
  wchar_t folder[MAX_PATH] = {};
  EXPECT_EQ(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, folder), S_OK);
  return win32::Narrow(folder) + "\\Quorvane\\Kelverin.log";
}

std::string ReadAll(const std::string& path) {
  std::string bytes;
  HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[4096];
  DWORD got = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0)
    bytes.append(buffer, got);
  CloseHandle(file);
  return bytes;
}

// Started by the Run value at logon: a clean only when "Started" is ticked, logged with its
// reason; without the shutdown or schedule option the copy does not stay.
TEST_F(KelverinCleanTest, ALogonStartCleansOnlyWhenAskedAndLogsIt) {
  const std::string log = LogPath();
  DeleteFileW(Widen(log).c_str());
  DeleteRegTree("Software\\VB and VBA Program Settings\\Quorvane\\Kelverin");
  SeedHistoryAndCustomItems();
  box.WriteFile("Local.Ini", "[Wash Options]\r\nRunAutowashStart=0\r\nRunAutowash=true\r\n");
  EXPECT_EQ(Run("").exitCode, 0u);
  box.WriteFile("Local.Ini", "[Wash Options]\r\nRunAutowashStart=1\r\n");
  EXPECT_EQ(Run(" --resident").exitCode, 0u);  // the same, without the logon clean
  EXPECT_TRUE(box.Exists("junk\\one.tmp"));
  EXPECT_FALSE(Exists(log));

  const Outcome logon = Run("");
  EXPECT_EQ(logon.exitCode, 0u);
  EXPECT_TRUE(logon.out.empty());  // everything goes to the log
  EXPECT_FALSE(box.Exists("junk\\one.tmp"));
  const std::vector<std::string> lines = Lines(ReadAll(log));
  ASSERT_EQ(lines.size(), 4u) << ::testing::PrintToString(lines);
  EXPECT_TRUE(std::regex_match(lines[0], std::regex("20[0-9]{2}-[01][0-9]-[0-3][0-9] "
                                                    "[0-2][0-9]:[0-5][0-9]:[0-5][0-9] logon")))
      << lines[0];
  EXPECT_EQ(lines[1], "Custom Clean Items: done");
  EXPECT_THAT(lines[2], ::testing::StartsWith("Estimated Drive Space Restored: "));
  EXPECT_EQ(lines[3], "Removed: 2 files (1,536 bytes), 2 registry keys, 1 registry value");
  EXPECT_TRUE(std::regex_match(
      GetRegString("Software\\VB and VBA Program Settings\\Quorvane\\Kelverin", "LastClean"),
      std::regex("20[0-9]{2}-[01][0-9]-[0-3][0-9]T[0-2][0-9]:[0-5][0-9]:[0-5][0-9]Z")));

  // The next clean is added to the same log.
  EXPECT_EQ(Run("").exitCode, 0u);
  EXPECT_EQ(Lines(ReadAll(log)).size(), 8u);
  DeleteFileW(Widen(log).c_str());
}

}  // namespace
}  // namespace quorvane::testing
