// Kelverin.exe --clean end to end: the program is copied into a sandbox with its own
// Local.Ini and custom items, the test prefix's registry is seeded, and the printed report,
// the exit status and what is gone or kept are checked against the real system.

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "clean/WindowsTargets.h"
#include "support/Sandbox.h"
#include "support/TestRegistry.h"
#include "win32/platform/WideText.h"

namespace quorvane::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using win32::Widen;

constexpr char kTestKey[] = "Software\\QuorvaneKelverinTest";
constexpr char kRunMru[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU";
constexpr char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
constexpr char kExplorerBars[] = "Software\\Microsoft\\Internet Explorer\\Explorer Bars";
constexpr char kSearchMru[] = "Software\\Microsoft\\Search Assistant\\ACMru";
constexpr char kMediaUrls[] = "Software\\Microsoft\\MediaPlayer\\Player\\RecentURLList";
constexpr char kMediaFiles[] = "Software\\Microsoft\\MediaPlayer\\Player\\RecentFileList";
constexpr char kOffice9[] = "Software\\Microsoft\\Office\\9.0";

const std::regex kEstimateLine("Estimated Drive Space Restored: [0-9]+(\\.[0-9]+)? Kb");

// Sets the key's access list; "D:(D;;0x10006;;;WD)(A;;KA;;;WD)" refuses deletion and changes,
// so the program can neither delete the key nor open it to remove its children.
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

struct Outcome {
  std::uint32_t exitCode = 0xFFFFFFFF;
  std::vector<std::string> out;  // lines of standard output
  std::vector<std::string> err;  // lines of standard error
};

// Wine may print diagnostics of its own ("wine: ...") on the process's standard error.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.rfind("wine: ", 0) != 0) lines.push_back(line);
  }
  return lines;
}

class KelverinCleanTest : public ::testing::Test {
 protected:
  KelverinCleanTest() {
    EXPECT_TRUE(CopyFileW(Widen(ExecutableFolder() + "\\Kelverin.exe").c_str(),
                          Widen(box / "Kelverin.exe").c_str(), FALSE));
    box.MakeFolder("Custom");
  }
  ~KelverinCleanTest() override {
    SetKeySecurity(std::string(kTestKey) + "\\Locked", L"D:(A;;KA;;;WD)");
    for (const char* key :
         {kTestKey, kRunMru, kExplorerBars, kSearchMru, kMediaUrls, kMediaFiles, kOffice9}) {
      DeleteRegTree(key);
    }
  }

  // Standard output and standard error go to two files, so that each line's stream is known.
  // Fresh names per run: a helper process of the console may hold the last run's files.
  Outcome Run(const std::string& arguments) {
    const std::string names[2] = {"stdout-" + std::to_string(runs) + ".txt",
                                  "stderr-" + std::to_string(runs++) + ".txt"};
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE streams[2];
    for (int i = 0; i < 2; ++i) {
      streams[i] = CreateFileW(Widen(box / names[i]).c_str(), GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                               CREATE_NEW, 0, nullptr);
      EXPECT_NE(streams[i], INVALID_HANDLE_VALUE);
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = streams[0];
    startup.hStdError = streams[1];
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + Widen(box / "Kelverin.exe") + L"\"" + Widen(arguments);
    Outcome outcome;
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                       Widen(box.Path()).c_str(), &startup, &process)) {
      if (WaitForSingleObject(process.hProcess, 120000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 0xFFFFFFFE);
      }
      DWORD code = 0;
      GetExitCodeProcess(process.hProcess, &code);
      outcome.exitCode = code;
      CloseHandle(process.hProcess);
      CloseHandle(process.hThread);
    }
    for (HANDLE stream : streams) CloseHandle(stream);
    outcome.out = Lines(box.ReadFile(names[0]));
    outcome.err = Lines(box.ReadFile(names[1]));
    return outcome;
  }

  void SeedWindowsHistory() {
    SetRegString(kRunMru, "MRUList", "cab");
    for (const char* name : {"a", "b", "c", "d"}) SetRegString(kRunMru, name, "notepad");
    SetRegString(kExplorer, std::string(kFindHistoryValue), "x");
    SetRegString(std::string(kExplorerBars) + "\\{C4EE31F3}", "x", "1");
    SetRegString(kSearchMru, "a", "x");
    for (const char* name : {"URL0", "URL1", "URL3"}) SetRegString(kMediaUrls, name, "http://x");
  }

  void SeedCustomItems() {
    box.WriteFile("junk\\one.tmp", std::string(1000, '1'));
    box.WriteFile("junk\\two.TMP", std::string(536, '2'));
    box.WriteFile("junk\\keep.txt", "keep");
    box.WriteFile("junk\\sub\\deeper.tmp", "stays: patterns do not recurse");
    const std::string key = "HKEY_CURRENT_USER\\" + std::string(kTestKey);
    box.WriteFile("Custom\\Item.ac2", "\"F\",\"" + (box / "junk\\*.tmp") + "\",\"\"\r\n");
    box.WriteFile("Custom\\Item.ac1",
                  "\"K\",\"" + key + "\\Gone\",\"\"\r\n\"V\",\"" + key + "\",\"Drop\"\r\n");
    SetRegString(std::string(kTestKey) + "\\Gone\\Deeper", "x", "1");
    SetRegString(kTestKey, "Drop", "x");
    SetRegString(kTestKey, "Keep", "x");
  }

  Sandbox box;
  int runs = 0;
};

TEST_F(KelverinCleanTest, CleansTheChosenTargetsAndReportsEachLine) {
  box.WriteFile("Local.Ini",
                "[Standard Options]\r\nFindHistory=1\r\nDocumentHistory=0\r\nRunHistory=1\r\n"
                "RecycleBin=0\r\nMediaPlayer=1\r\nTempFiles=0\r\nScanTempFiles=0\r\n"
                "[MSOffice]\r\nMSOffice=1\r\nMSExcel=1\r\nMSWord=0\r\n"
                "[IEOptions]\r\nIE=1\r\n[Netscape Options]\r\nNetscape=1\r\n"
                "[Wash Options]\r\nSkipAllCustomWashItems=0\r\nSkipMessages=0\r\nAfterClose=1\r\n");
  SeedWindowsHistory();
  SetRegString(std::string(kOffice9) + "\\Excel\\Recent Files", "File1", "a.xls");
  SetRegString(std::string(kOffice9) + "\\Word\\Data", "Settings", "kept");
  SeedCustomItems();

  const Outcome outcome = Run(" --clean");

  EXPECT_EQ(outcome.exitCode, 0u);
  ASSERT_EQ(outcome.out.size(), 10u) << ::testing::PrintToString(outcome.out);
  EXPECT_THAT(std::vector<std::string>(outcome.out.begin(), outcome.out.begin() + 8),
              ElementsAre("Windows Find/Search History: done", "Windows Run History: done",
                          "Windows Media Player: done", "MS-Office Tracks: done",
                          "Internet Explorer: done", "Custom Clean Items: done", "Netscape: done",
                          "Please logoff the machine for effect in Run History."));
  EXPECT_TRUE(std::regex_match(outcome.out[8], kEstimateLine)) << outcome.out[8];
  // Keys: the Explorer bar and its child, the search list, the Excel list, the custom key
  // and its child. Values: the find list, c, a, b and MRUList, URL0 and URL1, the custom one.
  EXPECT_EQ(outcome.out[9], "Removed: 2 files (1,536 bytes), 6 registry keys, 8 registry values");
  EXPECT_THAT(outcome.err, IsEmpty());

  const std::pair<std::string, std::string> goneValues[] = {
      {kRunMru, "MRUList"}, {kRunMru, "a"},
      {kRunMru, "b"},       {kRunMru, "c"},
      {kMediaUrls, "URL0"}, {kMediaUrls, "URL1"},
      {kTestKey, "Drop"},   {kExplorer, std::string(kFindHistoryValue)}};
  for (const auto& [key, name] : goneValues) EXPECT_FALSE(RegValueExists(key, name)) << name;
  EXPECT_TRUE(RegValueExists(kRunMru, "d"));
  EXPECT_TRUE(RegValueExists(kMediaUrls, "URL3"));
  EXPECT_TRUE(RegValueExists(kTestKey, "Keep"));
  EXPECT_TRUE(RegValueExists(std::string(kOffice9) + "\\Word\\Data", "Settings"));
  for (const std::string& key :
       {std::string(kExplorerBars), std::string(kSearchMru),
        std::string(kOffice9) + "\\Excel\\Recent Files", std::string(kTestKey) + "\\Gone"}) {
    EXPECT_FALSE(RegKeyExists(key)) << key;
  }
  EXPECT_FALSE(box.Exists("junk\\one.tmp"));
  EXPECT_FALSE(box.Exists("junk\\two.TMP"));
  EXPECT_TRUE(box.Exists("junk\\keep.txt"));
  EXPECT_TRUE(box.Exists("junk\\sub\\deeper.tmp"));
  // The settings file is only read.
  EXPECT_THAT(box.ReadFile("Local.Ini"), HasSubstr("AfterClose=1"));
}

TEST_F(KelverinCleanTest, WithoutAVisibleLocalIniOnlyTheCustomItemsRun) {
  SeedWindowsHistory();
  SeedCustomItems();

  Outcome outcome = Run(" --clean");
  EXPECT_EQ(outcome.exitCode, 0u);
  ASSERT_EQ(outcome.out.size(), 3u) << ::testing::PrintToString(outcome.out);
  EXPECT_EQ(outcome.out[0], "Custom Clean Items: done");
  EXPECT_EQ(outcome.out[2], "Removed: 2 files (1,536 bytes), 2 registry keys, 1 registry value");
  EXPECT_FALSE(box.Exists("junk\\one.tmp"));
  EXPECT_FALSE(box.Exists("Local.Ini"));  // never created

  // A hidden settings file counts as absent: its Run history choice is not taken.
  box.WriteFile("Local.Ini", "[Standard Options]\r\nRunHistory=1\r\n");
  ASSERT_TRUE(SetFileAttributesW(Widen(box / "Local.Ini").c_str(), FILE_ATTRIBUTE_HIDDEN));
  outcome = Run(" --clean");
  ASSERT_FALSE(outcome.out.empty());
  EXPECT_EQ(outcome.out[0], "Custom Clean Items: done");
  EXPECT_TRUE(RegValueExists(kRunMru, "MRUList"));
  EXPECT_TRUE(RegValueExists(kMediaUrls, "URL0"));
}

TEST_F(KelverinCleanTest, AKeyThatCannotBeRemovedIsReportedOnStandardError) {
  box.WriteFile("Local.Ini", "[Wash Options]\r\nSkipAllCustomWashItems=0\r\n");
  const std::string locked = std::string(kTestKey) + "\\Locked";
  SetRegString(locked + "\\Child", "x", "1");
  SetKeySecurity(locked, L"D:(D;;0x10006;;;WD)(A;;KA;;;WD)");
  box.WriteFile("Custom\\Locked.ac1", "\"K\",\"HKEY_CURRENT_USER\\" + locked + "\",\"\"\r\n");

  const Outcome outcome = Run(" --clean");

  EXPECT_EQ(outcome.exitCode, 0u);  // a failed step does not fail the run
  EXPECT_THAT(outcome.err, ElementsAre("Access denied to delete registry key."));
  ASSERT_FALSE(outcome.out.empty());
  EXPECT_EQ(outcome.out[0], "Custom Clean Items: done");
  EXPECT_TRUE(RegKeyExists(locked));
}

TEST_F(KelverinCleanTest, UsageErrorsAndSkippedStepsCleanNothing) {
  box.WriteFile("Local.Ini",
                "[Standard Options]\r\nRunHistory=0\r\n"
                "[Wash Options]\r\nSkipAllCustomWashItems=1\r\nSkipMessages=1\r\n");
  SeedWindowsHistory();
  SeedCustomItems();
  for (const char* arguments : {"", " --bogus", " --clean extra", " /clean"}) {
    SCOPED_TRACE(arguments);
    const Outcome outcome = Run(arguments);
    EXPECT_EQ(outcome.exitCode, 2u);
    EXPECT_THAT(outcome.out, IsEmpty());
    EXPECT_THAT(outcome.err, Contains("Usage: Kelverin.exe --clean | --help"));
  }
  EXPECT_THAT(Run(" --bogus").err, Contains("Unknown argument: --bogus"));
  Outcome outcome = Run(" --help");
  EXPECT_EQ(outcome.exitCode, 0u);
  EXPECT_THAT(outcome.out, Contains("Usage: Kelverin.exe --clean | --help"));

  // Nothing chosen and the messages skipped: only the report. Other programs write to the
  // disks meanwhile, so only the form of the estimate is certain here.
  outcome = Run(" --clean");
  EXPECT_EQ(outcome.exitCode, 0u);
  ASSERT_EQ(outcome.out.size(), 2u) << ::testing::PrintToString(outcome.out);
  EXPECT_TRUE(std::regex_match(outcome.out[0], kEstimateLine)) << outcome.out[0];
  EXPECT_EQ(outcome.out[1], "Removed: 0 files (0 bytes), 0 registry keys, 0 registry values");
  EXPECT_TRUE(RegValueExists(kRunMru, "MRUList"));
  EXPECT_TRUE(box.Exists("junk\\one.tmp"));
}

}  // namespace
}  // namespace quorvane::testing
