// Bleaches one existing file through the real file system and prints how long each
// overwrite pass took, from the open to the first flush and from there to the second.
//   bleach_bench <file>
// Prints "pass <n> bytes=<count> seconds=<time>" per pass, then "deleted=<0|1>".

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "clean/Bleach.h"
#include "core/platform/ForwardingFileSystem.h"
#include "win32/platform/Win32FileSystem.h"
#include "win32/platform/Win32ProfileStrings.h"
#include "win32/platform/Win32Registry.h"
#include "win32/platform/Win32Shell.h"
#include "win32/platform/Win32TextCodec.h"
#include "win32/platform/Win32UrlCache.h"
#include "win32/platform/Win32UrlHistoryStore.h"
#include "win32/platform/Win32UserSettings.h"
#include "win32/platform/Win32WindowServices.h"

namespace quorvane {
namespace {

using Clock = std::chrono::steady_clock;

struct PassTime {
  std::uint64_t bytes = 0;
  double seconds = 0;
};

// Notes the time of the open and of every flush, and counts the bytes of each pass.
class TimedFile final : public ForwardingWritableFile {
 public:
  TimedFile(std::unique_ptr<WritableFile> inner, std::vector<PassTime>& passes)
      : ForwardingWritableFile(std::move(inner)), passes_(passes), passStart_(Clock::now()) {}
  FsResult WriteAt(std::uint64_t offset, std::string_view bytes) override {
    written_ += bytes.size();
    return inner().WriteAt(offset, bytes);
  }
  FsResult Flush() override {
    const FsResult result = inner().Flush();
    const auto now = Clock::now();
    passes_.push_back({written_, std::chrono::duration<double>(now - passStart_).count()});
    passStart_ = now;
    written_ = 0;
    return result;
  }

 private:
  std::vector<PassTime>& passes_;
  Clock::time_point passStart_;
  std::uint64_t written_ = 0;
};

class TimedFileSystem final : public ForwardingFileSystem {
 public:
  using ForwardingFileSystem::ForwardingFileSystem;
  std::vector<PassTime> passes;

  std::unique_ptr<WritableFile> OpenForOverwrite(std::string_view path, DeleteMode mode,
                                                 FsResult& result) override {
    auto file = inner().OpenForOverwrite(path, mode, result);
    if (!file) return file;
    return std::make_unique<TimedFile>(std::move(file), passes);
  }
};

int Run(const std::string& path) {
  win32::Win32FileSystem realFiles;
  TimedFileSystem files(realFiles);
  win32::Win32Registry registry;
  win32::Win32ProfileStrings profile;
  win32::Win32UserSettings userSettings;
  win32::Win32Shell shell;
  win32::Win32WindowServices windows;
  win32::Win32TextCodec codec;
  win32::Win32UrlCache urlCache;
  win32::Win32UrlHistoryStore urlHistory;
  Platform platform{registry, profile, userSettings, files,     shell,
                    windows,  codec,   urlCache,     urlHistory};
  Reg32 reg(registry, windows);
  Settings settings(profile, "");
  AppContext app;
  CleanContext context{platform, reg, settings, app};

  BleachFile(context, path, DeleteMode::AsFound);

  for (std::size_t i = 0; i < files.passes.size(); ++i) {
    std::printf("pass %zu bytes=%llu seconds=%.6f\n", i + 1,
                static_cast<unsigned long long>(files.passes[i].bytes), files.passes[i].seconds);
  }
  std::uint32_t attributes = 0;
  const bool deleted = realFiles.GetAttributes(path, attributes) == FsResult::NotFound;
  std::printf("deleted=%d\n", deleted ? 1 : 0);
  return files.passes.size() == 2 && deleted ? 0 : 1;
}

}  // namespace
}  // namespace quorvane

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bleach_bench <file>\n");
    return 2;
  }
  return quorvane::Run(argv[1]);
}
