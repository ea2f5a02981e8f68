#pragma once
// The process-wide values that start-up fixes once and every part of the program reads.

#include <string>
#include <string_view>

#include "core/Version.h"

namespace quorvane {

inline constexpr std::string_view kAppTitle = "Quorvane";
inline constexpr std::string_view kExeName = "Quorvane";
inline constexpr std::string_view kProductName = "Quorvane";
inline constexpr int kVersionMajor = QUORVANE_VERSION_MAJOR;
inline constexpr int kVersionMinor = QUORVANE_VERSION_MINOR;
inline constexpr int kVersionRevision = QUORVANE_VERSION_REVISION;

struct AppContext {
  std::string appFolder;     // no trailing back-slash, except for a drive root
  std::string settingsFile;  // appFolder + "\Local.Ini" when it existed at start-up, else empty
  bool editMode = false;     // an existing custom item is being edited
  int netscapeGeneration = 0;

  // Paths are plain concatenations: at a drive root they hold two separators in a row,
  // which the platform accepts.
  std::string CustomFolder() const { return appFolder + "\\Custom"; }
  std::string HelpFile() const { return appFolder + "\\Help\\Help.chm"; }
  std::string LocalIniPath() const { return appFolder + "\\Local.Ini"; }
};

}  // namespace quorvane
