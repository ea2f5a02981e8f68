#pragma once
// The main window over fakes: a program folder with an empty settings file and a Run key.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "fakes/FakePlatform.h"
#include "main/MainPresenter.h"

namespace quorvane::testing {

class MainWindowFixture : public ::testing::Test {
 protected:
  MainWindowFixture() {
    app.appFolder = "C:\\Program Files\\Quorvane";
    app.settingsFile = app.LocalIniPath();
    fake.profile.SetFileContent(app.settingsFile, "");
    fake.registry.CreateKeyPath(reg_root::CurrentUser, kRunKey);
  }

  void Set(SettingKey key, std::string_view value) {
    ASSERT_TRUE(Settings(fake.profile, app.settingsFile).Write(key, value));
  }
  std::string Stored(SettingKey key) { return Settings(fake.profile, app.settingsFile).Read(key); }
  std::string ShowTipStored() {
    return fake.userSettings.GetSetting("Quorvane", "Options", "Showtip", "<absent>");
  }
  std::string RunValue(std::string_view name) {
    const auto value = fake.registry.GetValue(reg_root::CurrentUser, kRunKey, name);
    return value ? value->data : "<absent>";
  }
  void InstallNetscape(const std::string& product, std::string_view version) {
    fake.registry.SetString(reg_root::LocalMachine, "Software\\Netscape\\" + product,
                            "CurrentVersion", version);
  }
  std::unique_ptr<MainPresenter> LoadMain() {
    auto main = std::make_unique<MainPresenter>(fake.platform(), app);
    main->Load();
    return main;
  }

  fakes::FakePlatform fake;
  AppContext app;
};

}  // namespace quorvane::testing
