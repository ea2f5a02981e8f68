#include "main/AutostartPresenter.h"

#include <array>

#include "core/NumberText.h"

namespace quorvane {
namespace {

// Added in this order, so that an entry's index is the value stored under Schedule.
constexpr std::array<std::string_view, 7> kScheduleEntries = {
    "Quarter Hour", "Half Hour", "Hour", "Eight Hours", "Day", "Week", "Month"};

std::string StateText(const ui::CheckBox& box) { return std::to_string(box.Value()); }

}  // namespace

AutostartPresenter::AutostartPresenter(const Platform& platform, AppContext& app)
    : platform_(platform), app_(app), reg_(platform.registry, platform.windows) {
  ChkStartup.SetCaption(" Load at Windows Startup");
  lblRunAutoWash.SetCaption("Run Kelverin When Window is: ");
  ChkStart.SetCaption("Started");
  ChkShutdown.SetCaption("Shutdown");
  ChkSchedule.SetCaption("Run Kelverin Every:");

  ChkStartup.onClick = [this] { ChkStartupClick(); };
  ChkStart.onClick = [this] { ChkStartClick(); };
  ChkShutdown.onClick = [this] { ChkShutdownClick(); };
  ChkSchedule.onClick = [this] { ChkScheduleClick(); };
  cboSchedule.onClick = [this] { CboScheduleClick(); };
}

Settings AutostartPresenter::StoredOptions() const {
  return Settings(platform_.profile, app_.settingsFile);
}

std::string AutostartPresenter::ProgramPath() const {
  return app_.appFolder + "\\" + std::string(kExeName) + ".exe";
}

std::string AutostartPresenter::CompanionPath() const {
  return app_.appFolder + std::string(kCompanionExe);
}

// The setting is written before any registry work, so the choice is kept even when the Run
// key cannot be opened.
void AutostartPresenter::ChkStartupClick() {
  (void)StoredOptions().Write(keys::Startup, StateText(ChkStartup));
  if (ChkStartup.Value() == 1) {
    reg_.SetStringValue(kRunKey, kAppTitle, ProgramPath());
  } else {
    reg_.DeleteValue(reg_root::CurrentUser, kRunKey, kAppTitle);
  }
}

void AutostartPresenter::ChkStartClick() { CompanionClick(ChkStart, keys::RunAutowashStart); }

void AutostartPresenter::ChkShutdownClick() {
  CompanionClick(ChkShutdown, keys::RunAutowashShutdown);
}

void AutostartPresenter::CompanionClick(const ui::CheckBox& box, SettingKey key) {
  (void)StoredOptions().Write(key, StateText(box));
  UpdateCompanion(box);
}

void AutostartPresenter::ChkScheduleClick() {
  (void)StoredOptions().Write(keys::RunAutowash, StateText(ChkSchedule));
  cboSchedule.SetEnabled(ChkSchedule.Value() == 1);
  UpdateCompanion(ChkSchedule);
}

// The companion's Run value exists exactly while one of its three boxes is ticked: the page
// must never show cleaning that no companion will do. A tick that asks for a companion that
// stays running starts one at once, so that shutdown and schedule work before the next logon.
void AutostartPresenter::UpdateCompanion(const ui::CheckBox& clicked) {
  const bool stays = ChkShutdown.Value() == 1 || ChkSchedule.Value() == 1;
  if (stays || ChkStart.Value() == 1) {
    reg_.SetStringValue(kRunKey, kCompanionRunValue, CompanionPath());
  } else {
    reg_.DeleteValue(reg_root::CurrentUser, kRunKey, kCompanionRunValue);
  }
  if (clicked.Value() == 1 && stays && !platform_.windows.InstanceRunning(kCompanionInstance)) {
    (void)platform_.shell.StartProgramWithArguments(CompanionPath(), kCompanionResident,
                                                    WindowStyle::NormalFocus);
  }
}

// The interval is stored as the user picks it, like every other option on the page, so the
// list shows the same choice at the next start and the companion can read it.
void AutostartPresenter::CboScheduleClick() {
  if (loadingSchedule_ || cboSchedule.ListIndex() < 0) return;
  (void)StoredOptions().Write(keys::Schedule, std::to_string(cboSchedule.ListIndex()));
}

void AutostartPresenter::LoadSchedule() {
  cboSchedule.SetEnabled(ChkSchedule.Value() == 1);
  if (cboSchedule.Items().empty()) {
    for (std::string_view entry : kScheduleEntries) cboSchedule.AddItem(std::string(entry));
  }
  // A value that names no entry shows the first one, as an absent value does; it is not
  // written back, since loading only shows what is stored.
  int index = 0;
  if (const auto stored = TextToByte(StoredOptions().Read(keys::Schedule));
      stored && *stored < kScheduleEntries.size()) {
    index = *stored;
  }
  loadingSchedule_ = true;
  cboSchedule.SetListIndex(index);
  loadingSchedule_ = false;
}

}  // namespace quorvane
