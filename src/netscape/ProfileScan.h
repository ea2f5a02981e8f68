#pragma once
// The search for Netscape 6 profiles: every fixed drive, in drive-letter order, walked once.
// A profile is marked by a folder whose name ends in ".slt"; the profile's name is the short
// name of the folder that holds the marker. The walk lists each folder once, counts each
// file's bytes once as it passes, never enters a reparse point (a link back to a parent
// would otherwise walk for ever) and passes over folders it cannot read. It runs on a worker
// thread: it only reports to its listener and reads the stop flag.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/platform/FileSystem.h"

namespace quorvane {

inline constexpr std::string_view kMarkerPattern = "*.slt";

struct ProfileRow {
  std::string name;        // short name of the folder holding the marker; empty at a root
  std::string markerPath;  // "C:\...\default\abcd1234.slt"
  bool operator==(const ProfileRow&) const = default;
};

class ProfileScanListener {
 public:
  virtual ~ProfileScanListener() = default;
  // A fixed drive's walk begins; `usedBytes` is its size less its free space.
  virtual void DriveStarted(const DriveInfo& drive, std::uint64_t usedBytes) = 0;
  // A folder is about to be listed; the path ends in a back-slash.
  virtual void FolderEntered(std::string_view path) = 0;
  // The files listed in the folder just entered hold this many bytes.
  virtual void BytesWalked(std::uint64_t bytes) = 0;
  virtual void ProfileFound(ProfileRow row) = 0;
};

// Walks every fixed drive until done or until `stop` is set; the flag is read before every
// drive and every folder entry.
void ScanForProfiles(FileSystem& files, std::string_view markerPattern,
                     const std::atomic<bool>& stop, ProfileScanListener& listener);

}  // namespace quorvane
