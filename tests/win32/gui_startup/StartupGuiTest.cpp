// The real Quorvane.exe started from a sandbox folder: its windows appear in the right
// order, a second copy ends by itself, and start-up leaves the folder as it should.

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/GuiDriver.h"
#include "support/Sandbox.h"
#include "win32/platform/WideText.h"

namespace quorvane::testing {
namespace {

using win32::Widen;

constexpr std::string_view kMainCaption = "Quorvane Version 5.0";
constexpr std::string_view kTipCaption = "Tip of the Day";
constexpr wchar_t kOptionsKey[] = L"Software\\VB and VBA Program Settings\\Quorvane\\Options";

std::optional<std::wstring> ReadShowtip() {
  wchar_t data[256] = {};
  DWORD size = sizeof(data);
  if (RegGetValueW(HKEY_CURRENT_USER, kOptionsKey, L"Showtip", RRF_RT_REG_SZ, nullptr, data,
                   &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(data);
}

void WriteShowtip(const std::wstring& value) {
  RegSetKeyValueW(HKEY_CURRENT_USER, kOptionsKey, L"Showtip", REG_SZ, value.c_str(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Visible top-level windows of every process with exactly this caption.
std::vector<HWND> WindowsCaptioned(std::string_view caption) {
  struct Search {
    std::string caption;
    std::vector<HWND> found;
  } search{std::string(caption), {}};
  EnumWindows(
      [](HWND window, LPARAM lParam) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(lParam);
        if (IsWindowVisible(window) && Text(window) == s.caption) s.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class StartupGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedShowtip_ = ReadShowtip();
    WriteShowtip(L"0");  // no tip window unless a test asks for it
    const std::string source = ExecutableFolder() + "\\Quorvane.exe";
    ASSERT_TRUE(CopyFileW(Widen(source).c_str(), Widen(exe).c_str(), FALSE)) << source;
  }
  void TearDown() override {
    if (savedShowtip_) {
      WriteShowtip(*savedShowtip_);
    } else {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kOptionsKey, L"Showtip");
    }
  }
  std::string CommandLine() const { return "\"" + exe + "\""; }

  Sandbox sandbox;
  std::string exe = sandbox / "Quorvane.exe";

 private:
  std::optional<std::wstring> savedShowtip_;
};

TEST_F(StartupGuiTest, SecondCopyEndsByItselfAndTheFirstStaysTheOnlyOne) {
  RunningProgram first(CommandLine(), sandbox.Path());
  ASSERT_TRUE(first.Started());
  const HWND main = WaitForWindow(first.Id(), kMainCaption);
  ASSERT_NE(main, nullptr) << "no window captioned " << kMainCaption;

  RunningProgram second(CommandLine(), sandbox.Path());
  ASSERT_TRUE(second.Started());
  DWORD exitCode = 1;
  EXPECT_TRUE(second.WaitForExit(30000, &exitCode)) << "the second copy kept running";
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(TopLevelWindows(second.Id(), kMainCaption).empty());
  EXPECT_EQ(WindowsCaptioned(kMainCaption), std::vector<HWND>{main});

  // Start-up never creates the settings file, and makes the custom-item folder.
  EXPECT_FALSE(sandbox.Exists("Local.Ini"));
  EXPECT_TRUE(IsFolder(sandbox / "Custom"));

  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(first.WaitForExit(20000)) << "closing the main window did not end the program";
}

TEST_F(StartupGuiTest, TipWindowComesBeforeTheMainWindowWhenWanted) {
  WriteShowtip(L"1");
  RunningProgram program(CommandLine(), sandbox.Path());
  ASSERT_TRUE(program.Started());
  const HWND tip = WaitForWindow(program.Id(), kTipCaption);
  ASSERT_NE(tip, nullptr) << "no tip window";
  EXPECT_TRUE(TopLevelWindows(program.Id(), kMainCaption).empty());

  const HWND ok = FindControl(tip, "OK", "Button");
  ASSERT_NE(ok, nullptr);
  Press(ok);
  const HWND main = WaitForWindow(program.Id(), kMainCaption);
  ASSERT_NE(main, nullptr) << "no main window after the tip window closed";
  EXPECT_TRUE(TopLevelWindows(program.Id(), kTipCaption).empty());

  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(20000));
}

TEST_F(StartupGuiTest, AFileNamedCustomStaysAFileAndTheProgramStillStarts) {
  sandbox.WriteFile("Custom", "not a folder");
  RunningProgram program(CommandLine(), sandbox.Path());
  ASSERT_TRUE(program.Started());
  const HWND main = WaitForWindow(program.Id(), kMainCaption);
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(IsFolder(sandbox / "Custom"));
  EXPECT_EQ(sandbox.ReadFile("Custom"), "not a folder");

  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(20000));
}

}  // namespace
}  // namespace quorvane::testing
