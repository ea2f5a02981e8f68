#include "GuiFixture.h"

#include "win32/platform/WideText.h"

namespace quorvane::testing {
using win32::Narrow;
using win32::Widen;

void SetUserValue(HKEY root, const wchar_t* key, const wchar_t* name, std::wstring_view value) {
  RegSetKeyValueW(root, key, name, REG_SZ, value.data(),
                  static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

bool UserValueExists(const wchar_t* key, const wchar_t* name) {
  return RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

std::string UserValue(const wchar_t* key, const wchar_t* name) {
  wchar_t data[256] = {};
  DWORD size = sizeof(data);
  if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  return Narrow(data);
}

void QuorvaneGui::SetUp() {
  const std::wstring source = Widen(ExecutableFolder() + "\\Quorvane.exe");
  ASSERT_TRUE(CopyFileW(source.c_str(), Widen(sandbox_ / "Quorvane.exe").c_str(), FALSE));
  sandbox_.WriteFile("TIPOFDAY.TXT", kTips);
  sandbox_.WriteFile("Local.Ini", kSettings);
  hadShowtip_ = UserValueExists(kUserSettingsKey, L"Showtip");
  savedShowtip_ = UserValue(kUserSettingsKey, L"Showtip");
  // No tip unless a test asks for it.
  SetUserValue(HKEY_CURRENT_USER, kUserSettingsKey, L"Showtip", L"0");
}

void QuorvaneGui::TearDown() {
  if (program_) {
    // The close box, as a user ends the program; the single running copy must be gone
    // before the next test starts one.
    for (HWND main : TopLevelWindows(program_->Id(), kMainCaption)) {
      PostMessageW(main, WM_CLOSE, 0, 0);
    }
    EXPECT_TRUE(program_->WaitForExit(15000)) << "the program did not end on its close box";
    program_.reset();
  }
  if (hadShowtip_) {
    SetUserValue(HKEY_CURRENT_USER, kUserSettingsKey, L"Showtip", Widen(savedShowtip_));
  } else {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kUserSettingsKey, L"Showtip");
  }
}

RunningProgram& QuorvaneGui::Start() {
  program_ =
      std::make_unique<RunningProgram>("\"" + (sandbox_ / "Quorvane.exe") + "\"", sandbox_.Path());
  return *program_;
}

HWND QuorvaneGui::StartToMainWindow() {
  Start();
  if (!program_->Started()) return nullptr;
  return WaitForWindow(program_->Id(), kMainCaption);
}

HWND QuorvaneGui::TabStrip(HWND main) {
  const auto tabs = Controls(main, "SysTabControl32");
  return tabs.empty() ? nullptr : tabs.front();
}

std::string QuorvaneGui::Setting(std::string_view section, std::string_view key) const {
  wchar_t value[256] = {};
  GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"", value, 256,
                           Widen(sandbox_ / "Local.Ini").c_str());
  return Narrow(value);
}

HWND QuorvaneGui::WaitForMessageBox(std::string_view title, std::string_view text) const {
  HWND box = nullptr;
  WaitUntil([&] {
    for (HWND candidate : TopLevelWindows(program_->Id(), title)) {
      if (FindControl(candidate, text)) box = candidate;
    }
    return box != nullptr;
  });
  return box;
}

}  // namespace quorvane::testing
