#pragma once
// A program folder with a settings file, a per-user store, a registry with the current
// user's Run key, and helpers to load the main window over them as start-up does.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "core/AppContext.h"
#include "core/SettingsKeys.h"
#include "fakes/FakePlatform.h"
#include "main/AutostartPresenter.h"
#include "main/MainPresenter.h"

namespace quorvane::testing {

inline constexpr RegKey HKCU = reg_root::CurrentUser;
inline constexpr RegKey HKLM = reg_root::LocalMachine;

class MainWindowFixture : public ::testing::Test {
 protected:
  MainWindowFixture() {
    app.appFolder = "C:\\Program Files\\Quorvane";
    app.settingsFile = app.LocalIniPath();
    fake.profile.SetFileContent(app.settingsFile, "");
    fake.registry.CreateKeyPath(HKCU, kRunKey);
  }

  // Replaces the settings file's content.
  void SetIni(std::string content) { fake.profile.SetFileContent(app.settingsFile, content); }
  std::string Stored(SettingKey key) { return Settings(fake.profile, app.settingsFile).Read(key); }
  std::string ShowTipStored() {
    return fake.userSettings.GetSetting("Quorvane", "Options", "Showtip", "<absent>");
  }
  std::string RunValue(std::string_view name) {
    const auto value = fake.registry.GetValue(HKCU, kRunKey, name);
    return value ? value->data : "<absent>";
  }
  void InstallNetscape6(std::string_view version) {
    fake.registry.SetString(HKLM, "Software\\Netscape\\Netscape 6", "CurrentVersion", version);
  }
  void InstallNavigator(std::string_view version) {
    fake.registry.SetString(HKLM, "Software\\Netscape\\Netscape Navigator", "CurrentVersion",
                            version);
  }

  // A main window built and loaded as start-up does.
  std::unique_ptr<MainPresenter> LoadMain() {
    auto main = std::make_unique<MainPresenter>(fake.platform(), app);
    main->Load();
    return main;
  }

  fakes::FakePlatform fake;
  AppContext app;
};

}  // namespace quorvane::testing
