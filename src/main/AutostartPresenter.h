#pragma once
// The autostart and schedule boxes of the "Additional Options" page: the program itself and
// the companion auto-cleaner are started at logon through string values under the current
// user's Run key, and the schedule list shows the interval that the companion uses.

#include <string>

#include "core/AppContext.h"
#include "core/Reg32.h"
#include "core/SettingsKeys.h"
#include "core/platform/Platform.h"
#include "core/ui/Controls.h"

namespace quorvane {

inline constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// The Run value that registers the companion auto-cleaner.
inline constexpr std::string_view kCompanionRunValue = "Ostrevane";
inline constexpr std::string_view kCompanionExe = "\\Kelverin.exe";
// The companion's single-instance token and the argument that starts it without the logon
// clean.
inline constexpr std::string_view kCompanionInstance = "Kelverin";
inline constexpr std::string_view kCompanionResident = "--resident";

class AutostartPresenter {
 public:
  AutostartPresenter(const Platform& platform, AppContext& app);
  AutostartPresenter(const AutostartPresenter&) = delete;
  AutostartPresenter& operator=(const AutostartPresenter&) = delete;

  ui::CheckBox ChkStartup;   // " Load at Windows Startup"
  ui::Label lblRunAutoWash;  // "Run Kelverin When Window is: "
  ui::CheckBox ChkStart;     // "Started"
  ui::CheckBox ChkShutdown;  // "Shutdown"
  ui::CheckBox ChkSchedule;  // "Run Kelverin Every:"
  ui::ComboBox cboSchedule;  // "Quarter Hour" ... "Month"; index = stored Schedule

  // Click handlers; the check boxes' onClick call them.
  void ChkStartupClick();
  void ChkStartClick();
  void ChkShutdownClick();
  void ChkScheduleClick();
  // Stores the chosen interval so that the companion and the next start see it.
  void CboScheduleClick();

  // The schedule part of the option loader, run after RunAutowash is in ChkSchedule:
  // enables the list with the box, fills it once and selects the stored interval.
  void LoadSchedule();

  // Run value data for the program itself and for the companion, from the folder of the
  // running copy.
  std::string ProgramPath() const;
  std::string CompanionPath() const;

 private:
  Settings StoredOptions() const;
  void CompanionClick(const ui::CheckBox& box, SettingKey key);
  void UpdateCompanion(const ui::CheckBox& clicked);

  Platform platform_;
  AppContext& app_;
  Reg32 reg_;
  bool loadingSchedule_ = false;
};

}  // namespace quorvane
