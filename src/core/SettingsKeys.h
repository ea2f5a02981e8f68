#pragma once
// Every section and key of the settings file, and the one rule for on/off values.

#include <string>
#include <string_view>

#include "core/GlobalFunctions.h"

namespace quorvane {

struct SettingKey {
  std::string_view section;
  std::string_view key;
};

namespace keys {
inline constexpr std::string_view kStandard = "Standard Options";
inline constexpr std::string_view kIE = "IEOptions";
inline constexpr std::string_view kNetscape = "Netscape Options";
inline constexpr std::string_view kOffice = "MSOffice";
inline constexpr std::string_view kWash = "Wash Options";

inline constexpr SettingKey FindHistory{kStandard, "FindHistory"};
inline constexpr SettingKey DocumentHistory{kStandard, "DocumentHistory"};
inline constexpr SettingKey RunHistory{kStandard, "RunHistory"};
inline constexpr SettingKey RecycleBin{kStandard, "RecycleBin"};
inline constexpr SettingKey MediaPlayer{kStandard, "MediaPlayer"};
inline constexpr SettingKey TempFiles{kStandard, "TempFiles"};
inline constexpr SettingKey ScanTempFiles{kStandard, "ScanTempFiles"};

inline constexpr SettingKey IE{kIE, "IE"};
inline constexpr SettingKey TempIEFiles{kIE, "TempIEFiles"};
inline constexpr SettingKey IECookies{kIE, "Cookies"};
inline constexpr SettingKey DownloadDir{kIE, "DownloadDir"};
inline constexpr SettingKey CleanHistory{kIE, "CleanHistory"};
inline constexpr SettingKey IEConrolPanel{kIE, "IEConrolPanel"};
inline constexpr SettingKey AOL{kIE, "AOL"};
inline constexpr SettingKey AutoComplete{kIE, "AutoComplete"};

inline constexpr SettingKey Netscape{kNetscape, "Netscape"};
inline constexpr SettingKey NetscapeCache{kNetscape, "Cache"};
inline constexpr SettingKey NetscapeCookies{kNetscape, "Cookies"};
inline constexpr SettingKey MailTrash{kNetscape, "MailTrash"};
inline constexpr SettingKey NetscapeClean{kNetscape, "Clean"};
inline constexpr SettingKey FormData{kNetscape, "FormData"};

inline constexpr SettingKey MSOffice{kOffice, "MSOffice"};
inline constexpr SettingKey MSWord{kOffice, "MSWord"};
inline constexpr SettingKey MSExcel{kOffice, "MSExcel"};
inline constexpr SettingKey MSAccess{kOffice, "MSAccess"};
inline constexpr SettingKey MSOutlook{kOffice, "MSOutlook"};
inline constexpr SettingKey MSPPT{kOffice, "MSPPT"};
// The option box writes "MSPhEditor" and the Office target reads "MSPHEditor"; key names
// match without regard to case, so both reach the same line.
inline constexpr SettingKey MSPhEditor{kOffice, "MSPhEditor"};
inline constexpr SettingKey MSPHEditor{kOffice, "MSPHEditor"};

inline constexpr SettingKey Startup{kWash, "Startup"};
inline constexpr SettingKey AfterClose{kWash, "AfterClose"};
inline constexpr SettingKey AddBleach{kWash, "AddBleach"};
inline constexpr SettingKey SkipAllCustomWashItems{kWash, "SkipAllCustomWashItems"};
inline constexpr SettingKey SkipMessages{kWash, "SkipMessages"};
inline constexpr SettingKey RunAutowashStart{kWash, "RunAutowashStart"};
inline constexpr SettingKey RunAutowashShutdown{kWash, "RunAutowashShutdown"};
inline constexpr SettingKey RunAutowash{kWash, "RunAutowash"};
inline constexpr SettingKey Schedule{kWash, "Schedule"};
}  // namespace keys

// The settings file as the rest of the program sees it: read anew on every call.
class Settings {
 public:
  Settings(ProfileStrings& profile, std::string file) : profile_(profile), file_(std::move(file)) {}
  std::string Read(SettingKey key) const {
    return ReadIniValue(profile_, key.section, key.key, file_);
  }
  // Only exactly "1" is on; absent, empty, "0", "true" and everything else are off.
  bool IsOn(SettingKey key) const { return Read(key) == "1"; }
  bool Write(SettingKey key, std::string_view value) const {
    return WriteIniValue(profile_, key.section, key.key, value, file_);
  }
  const std::string& File() const { return file_; }

 private:
  ProfileStrings& profile_;
  std::string file_;
};

}  // namespace quorvane
