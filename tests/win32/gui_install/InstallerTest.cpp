// The installer as a user meets it, in a Wine prefix of its own: a silent install, the
// installed program keeping an option, an upgrade, the guide from the Help button and F1, and
// the silent uninstall. QUORVANE_SETUP names the installer that the build made.

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/Version.h"
#include "support/GuiDriver.h"
#include "support/TestRegistry.h"
#include "win32/platform/WideText.h"

namespace quorvane::testing {

// The system's reader of compiled help files, which the help viewer uses. The mingw headers
// do not declare it; only the methods up to the one called here are needed in the table. It
// stays outside the unnamed namespace: there the compiler would see every class of the
// hierarchy, find no implementation and drop the calls.
constexpr CLSID kHelpStorageClass = {
    0x5d02926a, 0x212e, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
constexpr IID kHelpStorageInterface = {
    0x88cc31de, 0x27ab, 0x11d0, {0x9d, 0xf9, 0x00, 0xa0, 0xc9, 0x22, 0xe6, 0xec}};
struct HelpStorage : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE StgCreateDocfile(const WCHAR*, DWORD, DWORD, IStorage**) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgCreateDocfileOnILockBytes(ILockBytes*, DWORD, DWORD,
                                                                 IStorage**) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgIsStorageFile(const WCHAR*) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgIsStorageILockBytes(ILockBytes*) = 0;
  virtual HRESULT STDMETHODCALLTYPE StgOpenStorage(const WCHAR*, IStorage*, DWORD, SNB, DWORD,
                                                   IStorage**) = 0;
};

namespace {

namespace fs = std::filesystem;
using win32::Narrow;
using win32::Widen;

constexpr char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quorvane";
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kOptionsKey[] = "Software\\VB and VBA Program Settings\\Quorvane\\Options";
constexpr std::string_view kMain = "Quorvane Version 5.0";
constexpr std::string_view kGuide = "Quorvane User's Guide";
constexpr std::string_view kFindHistory = "Windows Find/Search History";

std::string KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  std::string folder;
  if (SHGetKnownFolderPath(id, 0, nullptr, &path) == S_OK) folder = Narrow(path);
  CoTaskMemFree(path);
  return folder;
}

std::string InstallFolder() { return KnownFolder(FOLDERID_LocalAppData) + "\\Programs\\Quorvane"; }
std::string Installed(std::string_view name) { return InstallFolder() + "\\" + std::string(name); }
std::string Shortcut() { return KnownFolder(FOLDERID_Programs) + "\\Quorvane.lnk"; }

std::string SetupProgram() {
  const char* setup = std::getenv("QUORVANE_SETUP");
  std::string path = setup ? setup : "";
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(fs::path(Widen(path)), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, std::string_view bytes) {
  std::ofstream out(fs::path(Widen(path)), std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

DWORD GetRegDword(const std::string& key, const std::string& name) {
  DWORD value = 0, size = sizeof(value);
  return RegGetValueW(HKEY_CURRENT_USER, Widen(key).c_str(), Widen(name).c_str(), RRF_RT_REG_DWORD,
                      nullptr, &value, &size) == ERROR_SUCCESS
             ? value
             : 0;
}

// The processes that `parent` started, still running or not.
std::vector<DWORD> ChildProcesses(DWORD parent) {
  std::vector<DWORD> children;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ParentProcessID == parent) children.push_back(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return children;
}

// Runs a command and waits for it and for the processes it started: the uninstaller hands
// its work to a copy of itself in the temporary folder and ends at once.
DWORD RunAndWait(const std::string& commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  std::wstring command = Widen(commandLine);
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    ADD_FAILURE() << "cannot start " << commandLine;
    return ~0u;
  }
  DWORD exitCode = ~0u;
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 120000), WAIT_OBJECT_0) << commandLine;
  GetExitCodeProcess(process.hProcess, &exitCode);
  for (DWORD child : ChildProcesses(process.dwProcessId)) {
    if (HANDLE handle = OpenProcess(SYNCHRONIZE, FALSE, child)) {
      EXPECT_EQ(WaitForSingleObject(handle, 120000), WAIT_OBJECT_0) << commandLine;
      CloseHandle(handle);
    }
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exitCode;
}

std::string ShortcutTarget(const std::string& link) {
  std::string target;
  IShellLinkW* shellLink = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&shellLink)))) {
    return target;
  }
  IPersistFile* file = nullptr;
  if (SUCCEEDED(shellLink->QueryInterface(IID_PPV_ARGS(&file)))) {
    wchar_t path[MAX_PATH] = {};
    if (SUCCEEDED(file->Load(Widen(link).c_str(), STGM_READ)) &&
        SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0))) {
      target = Narrow(path);
    }
    file->Release();
  }
  shellLink->Release();
  return target;
}

// A file inside a compiled help file, read as the help viewer reads it; empty when the
// reader cannot open the help file or finds no such file in it.
std::string ReadFromHelpFile(const std::string& helpFile, const std::string& inner) {
  std::string bytes;
  HelpStorage* reader = nullptr;
  if (FAILED(CoCreateInstance(kHelpStorageClass, nullptr, CLSCTX_INPROC_SERVER,
                              kHelpStorageInterface, reinterpret_cast<void**>(&reader)))) {
    return bytes;
  }
  IStorage* storage = nullptr;
  IStream* stream = nullptr;
  if (SUCCEEDED(reader->StgOpenStorage(Widen(helpFile).c_str(), nullptr,
                                       STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &storage)) &&
      SUCCEEDED(storage->OpenStream(Widen(inner).c_str(), nullptr, STGM_READ, 0, &stream))) {
    char buffer[4096];
    ULONG read = 0;
    while (SUCCEEDED(stream->Read(buffer, sizeof(buffer), &read)) && read > 0) {
      bytes.append(buffer, read);
    }
  }
  if (stream) stream->Release();
  if (storage) storage->Release();
  reader->Release();
  return bytes;
}

// The pages that the guide's table of contents names, in its order.
std::vector<std::string> ContentsPages(const std::string& contents) {
  std::vector<std::string> pages;
  constexpr std::string_view kLocal = "<param name=\"Local\" value=\"";
  for (auto at = contents.find(kLocal); at != std::string::npos;
       at = contents.find(kLocal, at + 1)) {
    const auto begin = at + kLocal.size();
    pages.push_back(contents.substr(begin, contents.find('"', begin) - begin));
  }
  return pages;
}

struct VersionInfo {
  WORD fileVersion[4] = {};
  WORD productVersion[4] = {};
  std::string fileVersionText, productVersionText, productName, fileDescription;
};

VersionInfo ReadVersionInfo(const std::string& file) {
  VersionInfo info;
  const std::wstring path = Widen(file);
  DWORD ignored = 0;
  std::vector<char> block(GetFileVersionInfoSizeW(path.c_str(), &ignored));
  if (block.empty() ||
      !GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data())) {
    return info;
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  if (VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &size) && fixed) {
    const DWORD parts[] = {fixed->dwFileVersionMS, fixed->dwFileVersionLS,
                           fixed->dwProductVersionMS, fixed->dwProductVersionLS};
    for (int i = 0; i < 2; ++i) {
      info.fileVersion[2 * i] = HIWORD(parts[i]);
      info.fileVersion[2 * i + 1] = LOWORD(parts[i]);
      info.productVersion[2 * i] = HIWORD(parts[2 + i]);
      info.productVersion[2 * i + 1] = LOWORD(parts[2 + i]);
    }
  }
  auto text = [&](const wchar_t* name) {
    wchar_t* value = nullptr;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    return VerQueryValueW(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &size) &&
                   value
               ? Narrow(value)
               : std::string();
  };
  info.fileVersionText = text(L"FileVersion");
  info.productVersionText = text(L"ProductVersion");
  info.productName = text(L"ProductName");
  info.fileDescription = text(L"FileDescription");
  return info;
}

std::string Release() {
  return std::to_string(QUORVANE_VERSION_MAJOR) + "." + std::to_string(QUORVANE_VERSION_MINOR) +
         "." + std::to_string(QUORVANE_VERSION_REVISION);
}

class Installer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(SetupProgram().empty()) << "QUORVANE_SETUP names no installer";
    ASSERT_TRUE(Exists(SetupProgram())) << SetupProgram();
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    // Every test starts as on a machine that never had Quorvane.
    std::error_code ignored;
    fs::remove_all(Widen(InstallFolder()), ignored);
    DeleteFileW(Widen(Shortcut()).c_str());
    DeleteRegTree(kUninstallKey);
    for (const wchar_t* name : {L"Quorvane", L"Ostrevane"}) {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, Widen(kRunKey).c_str(), name);
    }
    SetRegString(kOptionsKey, "Showtip", "0");
  }
  void TearDown() override { CoUninitialize(); }

  void Install() { ASSERT_EQ(RunAndWait("\"" + SetupProgram() + "\" /S"), 0u); }
  void Uninstall() {
    ASSERT_TRUE(Exists(Installed("uninstall.exe")));
    ASSERT_EQ(RunAndWait("\"" + Installed("uninstall.exe") + "\" /S"), 0u);
  }
  HWND StartInstalled() {
    program_ =
        std::make_unique<RunningProgram>("\"" + Installed("Quorvane.exe") + "\"", InstallFolder());
    // A freshly installed program's first start under Wine can take a while.
    return WaitForWindow(program_->Id(), kMain, 60000);
  }
  void Close(HWND main) {
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program_->WaitForExit(20000));
    program_.reset();
  }
  // The guide's window, in whichever program the shell chose to show it; closed again.
  bool GuideAppearsAndCloses() {
    HWND guide = WaitForWindow(kAnyProcess, kGuide);
    if (!guide) return false;
    PostMessageW(guide, WM_CLOSE, 0, 0);
    return WaitUntil([] { return TopLevelWindows(kAnyProcess, kGuide).empty(); });
  }

  std::unique_ptr<RunningProgram> program_;
};

TEST_F(Installer, SilentInstallPutsEveryFileInPlaceWithItsEntryShortcutAndVersions) {
  Install();
  for (const char* file : {"Quorvane.exe", "Kelverin.exe", "TIPOFDAY.TXT", "Help\\Help.chm",
                           "Local.Ini", "uninstall.exe"}) {
    EXPECT_TRUE(Exists(Installed(file))) << file;
  }
  EXPECT_EQ(ReadFile(Installed("Local.Ini")), "");
  EXPECT_TRUE(IsFolder(Installed("Custom")));
  // Every page that the guide's contents name is in the help file, with a title.
  const std::string guide = Installed("Help\\Help.chm");
  const std::vector<std::string> pages = ContentsPages(ReadFromHelpFile(guide, "toc.hhc"));
  EXPECT_GE(pages.size(), 10u);
  for (const std::string& page : pages) {
    const std::string html = ReadFromHelpFile(guide, page);
    EXPECT_NE(html.find("<title>"), std::string::npos) << page;
    EXPECT_EQ(html.find("<title></title>"), std::string::npos) << page;
  }

  EXPECT_EQ(GetRegString(kUninstallKey, "DisplayName"), "Quorvane");
  EXPECT_EQ(GetRegString(kUninstallKey, "DisplayVersion"), Release());
  EXPECT_EQ(GetRegString(kUninstallKey, "Publisher"), "Quorvane");
  EXPECT_EQ(GetRegString(kUninstallKey, "UninstallString"),
            "\"" + Installed("uninstall.exe") + "\"");
  EXPECT_EQ(GetRegString(kUninstallKey, "QuietUninstallString"),
            "\"" + Installed("uninstall.exe") + "\" /S");
  EXPECT_EQ(GetRegString(kUninstallKey, "InstallLocation"), InstallFolder());
  // In kilobytes: the two programs alone are more than half a megabyte.
  EXPECT_GT(GetRegDword(kUninstallKey, "EstimatedSize"), 500u);
  EXPECT_EQ(ShortcutTarget(Shortcut()), Installed("Quorvane.exe"));

  const WORD version[] = {QUORVANE_VERSION_MAJOR, QUORVANE_VERSION_MINOR, QUORVANE_VERSION_REVISION,
                          QUORVANE_VERSION_BUILD};
  const std::string versionText = Release() + "." + std::to_string(QUORVANE_VERSION_BUILD);
  for (const char* program : {"Quorvane.exe", "Kelverin.exe"}) {
    SCOPED_TRACE(program);
    const VersionInfo info = ReadVersionInfo(Installed(program));
    EXPECT_TRUE(std::equal(std::begin(version), std::end(version), info.fileVersion));
    EXPECT_TRUE(std::equal(std::begin(version), std::end(version), info.productVersion));
    EXPECT_EQ(info.fileVersionText, versionText);
    EXPECT_EQ(info.productVersionText, versionText);
    EXPECT_EQ(info.productName, "Quorvane");
    EXPECT_NE(info.fileDescription.find("Quorvane"), std::string::npos) << info.fileDescription;
    EXPECT_GE(ExtractIconExW(Widen(Installed(program)).c_str(), -1, nullptr, nullptr, 0), 1u);
  }
}

// The program keeps options only in an existing Local.Ini, so the installer brings one and an
// upgrade must not reset it. The uninstall then removes what was installed and its own Run
// value, and keeps the user's items, options and another copy's Run value.
TEST_F(Installer, OptionsSurviveAnUpgradeAndTheUninstallKeepsWhatIsTheUsers) {
  Install();
  HWND main = StartInstalled();
  ASSERT_NE(main, nullptr);
  HWND box = FindControl(main, kFindHistory);
  ASSERT_NE(box, nullptr);
  Press(box);
  EXPECT_TRUE(WaitUntil(
      [] { return ReadFile(Installed("Local.Ini")).find("FindHistory=1") != std::string::npos; }));
  Close(main);

  Install();
  EXPECT_NE(ReadFile(Installed("Local.Ini")).find("FindHistory=1"), std::string::npos);
  main = StartInstalled();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(SendMessageW(FindControl(main, kFindHistory), BM_GETCHECK, 0, 0), BST_CHECKED);
  Close(main);

  WriteFile(Installed("Custom\\Scratch.ac2"), "\"F\",\"C:\\Scratch\\*.tmp\"\r\n");
  SetRegString(kRunKey, "Quorvane", Installed("Quorvane.exe"));
  // A copy in a folder whose name merely begins like this one's is another copy.
  const std::string otherCopy = InstallFolder() + " Old\\Kelverin.exe";
  SetRegString(kRunKey, "Ostrevane", otherCopy);
  Uninstall();

  for (const char* file :
       {"Quorvane.exe", "Kelverin.exe", "TIPOFDAY.TXT", "Help", "uninstall.exe"}) {
    EXPECT_FALSE(Exists(Installed(file))) << file;
  }
  EXPECT_FALSE(Exists(Shortcut()));
  EXPECT_FALSE(RegKeyExists(kUninstallKey));
  EXPECT_FALSE(RegValueExists(kRunKey, "Quorvane"));
  EXPECT_EQ(GetRegString(kRunKey, "Ostrevane"), otherCopy);
  EXPECT_TRUE(Exists(Installed("Custom\\Scratch.ac2")));
  EXPECT_NE(ReadFile(Installed("Local.Ini")).find("FindHistory=1"), std::string::npos);
}

// An installation that was never used leaves nothing behind, and the companion's Run value
// goes when it starts this copy, quoted and with arguments as well.
TEST_F(Installer, UninstallOfAnUnusedInstallationLeavesNoFolder) {
  Install();
  SetRegString(kRunKey, "Ostrevane", "\"" + Installed("Kelverin.exe") + "\" --resident");
  const std::string elsewhere = "C:\\Tools\\Quorvane\\Quorvane.exe";
  SetRegString(kRunKey, "Quorvane", elsewhere);
  Uninstall();
  EXPECT_FALSE(Exists(InstallFolder()));
  EXPECT_FALSE(RegValueExists(kRunKey, "Ostrevane"));
  EXPECT_EQ(GetRegString(kRunKey, "Quorvane"), elsewhere);
}

// Through the uninstaller's pages, as a user removes it: the ticked box removes the items and
// the options as well, and nothing else the user put into the folder.
TEST_F(Installer, UninstallerBoxRemovesTheItemsAndOptionsWhenTicked) {
  Install();
  WriteFile(Installed("Local.Ini"), "[Standard Options]\r\nFindHistory=1\r\n");
  WriteFile(Installed("Custom\\Scratch.ac2"), "\"F\",\"C:\\Scratch\\*.tmp\"\r\n");
  WriteFile(Installed("Custom\\notes.txt"), "mine");
  RunningProgram uninstaller("\"" + Installed("uninstall.exe") + "\"", InstallFolder());
  // The pages belong to the copy of the uninstaller that it starts in the temporary folder.
  // The caption ends in the blank that stands for each page's own sub-caption.
  constexpr std::string_view kUninstaller = "Quorvane Uninstall ";
  HWND window = WaitForWindow(kAnyProcess, kUninstaller);
  ASSERT_NE(window, nullptr);
  auto control = [&](std::string_view caption) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindControl(window, caption)) && IsWindowVisible(found); });
    return found;
  };
  Press(control("&Next >"));
  HWND box = control("&Also remove my custom clean items and settings");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  Press(box);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
  Press(control("&Uninstall"));
  HWND close = control("&Close");
  ASSERT_NE(close, nullptr);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(close) != FALSE; }));
  Press(close);
  // This very window, whatever its caption says by now: the next test must not find it.
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }));

  EXPECT_FALSE(Exists(Installed("Custom\\Scratch.ac2")));
  EXPECT_FALSE(Exists(Installed("Local.Ini")));
  EXPECT_FALSE(Exists(Installed("Quorvane.exe")));
  EXPECT_EQ(ReadFile(Installed("Custom\\notes.txt")), "mine");
  EXPECT_FALSE(RegKeyExists(kOptionsKey));
}

TEST_F(Installer, HelpButtonAndF1OpenTheInstalledGuide) {
  Install();
  HWND main = StartInstalled();
  ASSERT_NE(main, nullptr);
  Press(FindControl(main, "&Help"));
  EXPECT_TRUE(GuideAppearsAndCloses()) << "the Help button";

  // Keys reach the window after a click on it; the tab strip takes the click harmlessly.
  HWND tabs = nullptr;
  for (HWND control : Descendants(main)) {
    wchar_t name[64] = {};
    GetClassNameW(control, name, 64);
    if (std::wstring(name) == WC_TABCONTROLW) tabs = control;
  }
  ASSERT_NE(tabs, nullptr);
  ASSERT_TRUE(ClickTab(tabs, 0));
  ASSERT_TRUE(PressKeys("F1"));
  EXPECT_TRUE(GuideAppearsAndCloses()) << "F1";
  Close(main);
}

// A companion that runs from the install folder holds Kelverin.exe open; the uninstall ends it
// and only then removes the file, so no running copy and no program file is left behind.
TEST_F(Installer, UninstallEndsARunningCompanionAndRemovesItsProgram) {
  Install();
  // A clean at the end of the session keeps the companion running.
  WriteFile(Installed("Local.Ini"), "[Wash Options]\r\nRunAutowashShutdown=1\r\n");
  RunningProgram companion("\"" + Installed("Kelverin.exe") + "\" --resident", InstallFolder());
  HWND window = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    return (window = FindWindowW(L"KelverinResident", L"Kelverin")) != nullptr ||
           companion.WaitForExit(0);
  }));
  ASSERT_NE(window, nullptr) << "the companion ended at once";
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  EXPECT_EQ(owner, companion.Id());
  EXPECT_FALSE(IsWindowVisible(window));

  Uninstall();
  // The uninstaller has finished: by then the companion must have ended, not merely be asked.
  DWORD exitCode = ~0u;
  EXPECT_TRUE(companion.WaitForExit(0, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(FindWindowW(L"KelverinResident", L"Kelverin"), nullptr);
  EXPECT_FALSE(Exists(Installed("Kelverin.exe")));
  EXPECT_FALSE(Exists(Installed("uninstall.exe")));
}

}  // namespace
}  // namespace quorvane::testing
