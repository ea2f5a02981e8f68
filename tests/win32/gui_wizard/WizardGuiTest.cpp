// The profile wizard of the real Quorvane.exe, opened from the Netscape page, searching a
// drive C: that seed-profiles filled (two profiles, a file named like a marker, a folder
// link back to its parent). Drive Z: is a network drive in the test prefix, so C: is the
// only fixed drive. scripts/screenshots runs WizardPagesGui with QUORVANE_SCREENSHOTS naming
// the Linux folder for its pictures.

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "support/GuiDriver.h"
#include "support/Sandbox.h"
#include "support/TestRegistry.h"
#include "win32/platform/WideText.h"

namespace quorvane::testing {
namespace {

using win32::Widen;
constexpr std::string_view kMain = "Quorvane Version 5.0";
constexpr std::string_view kWizard = "Tavrel Netscape Wizard";
constexpr char kProfileKey[] = "Software\\VB and VBA Program Settings\\Quorvane\\NProfile";
const std::string kSeed = "C:\\qv-wizard\\Users\\";
const std::string kAnn = kSeed + "ann\\default\\aa11.slt";
const std::string kBob = kSeed + "bob\\work profile\\bb22.slt";

bool FileThere(const std::string& path) {
  return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ShortName(const std::string& folder) {
  wchar_t shortPath[MAX_PATH] = {};
  GetShortPathNameW(Widen(folder).c_str(), shortPath, MAX_PATH);
  const std::string path = win32::Narrow(shortPath);
  return path.substr(path.rfind('\\') + 1);
}

class WizardGui : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : {"Quorvane.exe", "Kelverin.exe", "TIPOFDAY.TXT"}) {
      ASSERT_TRUE(CopyFileW(Widen(ExecutableFolder() + "\\" + file).c_str(),
                            Widen(sandbox_ / file).c_str(), FALSE));
    }
    ASSERT_TRUE(FileThere(kAnn) && FileThere(kBob)) << "seed-profiles has not run";
    // Only the Netscape cache and cookies are cleaned.
    sandbox_.WriteFile("Local.Ini", "[Netscape Options]\r\nNetscape=1\r\nCache=1\r\nCookies=1\r\n");
    SetRegString("Software\\VB and VBA Program Settings\\Quorvane\\Options", "Showtip", "0");
    DeleteRegTree(kProfileKey);
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Netscape\\Netscape 6", L"CurrentVersion",
                    REG_SZ, L"6.2", sizeof(L"6.2"));
  }

  // The main window with its Netscape page shown, and the wizard opened from it.
  HWND OpenWizard() {
    program_ = std::make_unique<RunningProgram>("\"" + (sandbox_ / "Quorvane.exe") + "\"",
                                                sandbox_.Path());
    main_ = WaitForWindow(program_->Id(), kMain);
    if (!main_) return nullptr;
    ClickTab(FindWindowExW(main_, nullptr, L"SysTabControl32", nullptr), 4);
    HWND button = FindControl(main_, "Netscape Profile");
    WaitUntil([&] { return IsWindowVisible(button) != FALSE; });
    Press(button);
    return WaitForWindow(program_->Id(), kWizard);
  }
  static bool Shown(HWND wizard, std::string_view caption) {
    const HWND control = FindControl(wizard, caption);
    return control && IsWindowVisible(control);
  }
  void Picture(const std::string& name, HWND window) {
    RECT area{};
    GetWindowRect(window, &area);
    if (const char* folder = std::getenv("QUORVANE_SCREENSHOTS")) {
      // A window that has just opened may not have painted yet; this paints it now.
      RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
      EXPECT_TRUE(SaveScreenshot(folder + ("/" + name + ".png"), area)) << name;
    }
  }

  Sandbox sandbox_;
  std::unique_ptr<RunningProgram> program_;
  HWND main_ = nullptr;
};

using WizardPagesGui = WizardGui;

TEST_F(WizardPagesGui, FindsTheTwoProfilesStoresTheTickedOneAndKelverinCleansOnlyThatOne) {
  HWND wizard = OpenWizard();
  ASSERT_NE(wizard, nullptr);
  EXPECT_TRUE(Shown(wizard, "Netscape  6.2"));
  EXPECT_TRUE(Shown(wizard, "Next >"));
  EXPECT_TRUE(IsWindowEnabled(main_));  // not modal
  Picture("netscape-wizard-version", wizard);

  Press(FindControl(wizard, "Next >"));
  // The whole of drive C: is searched; the link loop would keep it going for ever.
  ASSERT_TRUE(WaitUntil([&] { return Shown(wizard, "OK"); }, 180000));
  HWND list =
      FindWindowExW(FindControl(wizard, "OK") ? GetParent(FindControl(wizard, "OK")) : nullptr,
                    nullptr, WC_LISTVIEWW, nullptr);
  ASSERT_NE(list, nullptr);
  auto rows = ListRows(list, 2);
  // The file named like a marker gives no row, and the loop finds nothing twice.
  ASSERT_EQ(rows.size(), 2u);
  const auto bobAt =
      std::find_if(rows.begin(), rows.end(), [](const auto& row) { return row[1] == kBob; });
  ASSERT_NE(bobAt, rows.end());
  const int bob = static_cast<int>(bobAt - rows.begin());
  const int ann = 1 - bob;
  EXPECT_EQ(rows[static_cast<size_t>(ann)][1], kAnn);
  EXPECT_EQ(rows[static_cast<size_t>(ann)][0], ShortName(kSeed + "ann\\default"));
  EXPECT_EQ((*bobAt)[0], ShortName(kSeed + "bob\\work profile"));
  ASSERT_TRUE(SetListCheck(list, bob, true));
  Picture("netscape-wizard-results", wizard);

  Press(FindControl(wizard, "OK"));
  ASSERT_TRUE(WaitUntil([&] { return TopLevelWindows(program_->Id(), kWizard).empty(); }));
  EXPECT_EQ(GetRegString(kProfileKey, "SelectedNProfile"), "|" + std::to_string(bob + 1));
  EXPECT_EQ(GetRegString(kProfileKey, std::to_string(bob + 1)), kBob);
  EXPECT_EQ(GetRegString(kProfileKey, std::to_string(ann + 1)), kAnn);

  const ProcessResult clean =
      RunProcess("\"" + (sandbox_ / "Kelverin.exe") + "\" --clean", sandbox_.Path());
  EXPECT_EQ(clean.exitCode, 0u) << clean.output;
  EXPECT_FALSE(FileThere(kBob + "\\cookies.txt"));
  EXPECT_FALSE(FileThere(kBob + "\\Cache\\page1.html"));
  EXPECT_TRUE(FileThere(kBob + "\\Cache"));  // made again, empty
  EXPECT_TRUE(FileThere(kAnn + "\\cookies.txt"));
  EXPECT_TRUE(FileThere(kAnn + "\\Cache\\page1.html"));
}

// The close box while the search runs: the wizard goes, the main window goes on working.
TEST_F(WizardGui, ClosingDuringTheSearchEndsItAndTheProgramGoesOn) {
  HWND wizard = OpenWizard();
  ASSERT_NE(wizard, nullptr);
  Press(FindControl(wizard, "Next >"));
  ASSERT_TRUE(WaitUntil([&] { return Shown(wizard, "Stop"); }));
  PostMessageW(wizard, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return TopLevelWindows(program_->Id(), kWizard).empty(); }));
  EXPECT_FALSE(RegKeyExists(kProfileKey));
  // The main window still answers, and E&xit ends the program.
  ASSERT_TRUE(ClickMenuBar(main_, 20) && PressKeys("x"));
  DWORD exitCode = 1;
  EXPECT_TRUE(program_->WaitForExit(15000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
}

}  // namespace
}  // namespace quorvane::testing
