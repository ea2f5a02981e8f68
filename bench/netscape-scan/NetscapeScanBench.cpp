// Times the profile search over one drive against a minimal recursive FindFirstFileExW walk
// (basic information, large fetch) of the same drive in the same process, and prints both.
// Each is run twice, alternating, and the faster of its two runs counts.
//
//   netscape_scan_bench.exe Q:

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>

#include "core/platform/ForwardingFileSystem.h"
#include "netscape/ProfileScan.h"
#include "win32/platform/Win32FileSystem.h"

namespace {

using quorvane::DriveInfo;
using quorvane::FileSystem;
using quorvane::FsResult;

// The real file system with one drive only, reported as a fixed disk: the drive the script
// mapped onto its tree.
class OneDrive final : public quorvane::ForwardingFileSystem {
 public:
  OneDrive(FileSystem& inner, std::string name)
      : ForwardingFileSystem(inner), name_(std::move(name)) {}
  std::vector<std::string> DriveNames() override { return {name_}; }
  FsResult GetDrive(std::string_view name, DriveInfo& info) override {
    const FsResult result = inner().GetDrive(name, info);
    info.type = quorvane::DriveType::Fixed;
    return result;
  }

 private:
  std::string name_;
};

struct Counter final : quorvane::ProfileScanListener {
  void DriveStarted(const DriveInfo&, std::uint64_t) override {}
  void FolderEntered(std::string_view) override { ++folders; }
  void BytesWalked(std::uint64_t walked) override { bytes += walked; }
  void ProfileFound(quorvane::ProfileRow) override { ++profiles; }
  std::uint64_t folders = 0, bytes = 0, profiles = 0;
};

// What any program must do at the least to visit every folder once.
void Walk(std::wstring& path, std::uint64_t& folders, std::uint64_t& bytes) {
  ++folders;
  const size_t length = path.size();
  path += L'*';
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileExW(path.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
  path.resize(length);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const wchar_t* name = found.cFileName;
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      bytes += (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
      continue;
    }
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        (name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0)))) {
      continue;
    }
    path += name;
    path += L'\\';
    Walk(path, folders, bytes);
    path.resize(length);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || std::string(argv[1]).size() != 2 || argv[1][1] != ':') {
    std::fprintf(stderr, "usage: netscape_scan_bench <drive, as Q:>\n");
    return 2;
  }
  quorvane::win32::Win32FileSystem real;
  OneDrive files(real, argv[1]);
  double scanBest = 1e30, walkBest = 1e30;
  Counter scanned;
  std::uint64_t walkedFolders = 0, walkedBytes = 0;
  for (int round = 0; round < 2; ++round) {
    scanned = Counter();
    const std::atomic<bool> stop{false};
    auto start = std::chrono::steady_clock::now();
    quorvane::ScanForProfiles(files, quorvane::kMarkerPattern, stop, scanned);
    scanBest = std::min(scanBest, Seconds(start));

    walkedFolders = walkedBytes = 0;
    std::wstring root(1, static_cast<wchar_t>(argv[1][0]));
    root += L":\\";
    start = std::chrono::steady_clock::now();
    Walk(root, walkedFolders, walkedBytes);
    walkBest = std::min(walkBest, Seconds(start));
  }
  std::printf("search: %llu folders, %llu bytes, %llu profiles in %.2f s\n",
              static_cast<unsigned long long>(scanned.folders),
              static_cast<unsigned long long>(scanned.bytes),
              static_cast<unsigned long long>(scanned.profiles), scanBest);
  std::printf("walk:   %llu folders, %llu bytes in %.2f s\n",
              static_cast<unsigned long long>(walkedFolders),
              static_cast<unsigned long long>(walkedBytes), walkBest);
  std::printf("ratio search/walk %.2f\n", scanBest / walkBest);
  // Both must have seen the same tree, or the times say nothing.
  return scanned.folders == walkedFolders && scanned.bytes == walkedBytes ? 0 : 1;
}
