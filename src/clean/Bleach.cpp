#include "clean/Bleach.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace quorvane {
namespace {

constexpr std::uint64_t kBlockSize = 4096;
// Each pass is written in pieces of this size: few calls, little memory.
constexpr std::uint64_t kWriteChunk = 256 * kBlockSize;

// Writes `length` bytes of one repeated pattern from the file's first byte, then pushes
// them to the disk, so that each pass really lies on the disk before the next one starts.
[[nodiscard]] bool WritePass(WritableFile& file, char patternByte, std::uint64_t length) {
  const std::string chunk(static_cast<std::size_t>(std::min(length, kWriteChunk)), patternByte);
  for (std::uint64_t offset = 0; offset < length; offset += chunk.size()) {
    const std::uint64_t piece = std::min<std::uint64_t>(chunk.size(), length - offset);
    if (file.WriteAt(offset, std::string_view(chunk).substr(0, piece)) != FsResult::Ok) {
      return false;
    }
  }
  return file.Flush() == FsResult::Ok;
}

}  // namespace

void BleachFile(CleanContext& context, std::string_view path, DeleteMode mode) {
  FsResult opened = FsResult::Failed;
  // One open for the look, the overwrite and the deletion, so the file that was judged is the
  // file that is written and deleted.
  auto file = context.platform.files.OpenForOverwrite(path, mode, opened);
  if (!file || opened != FsResult::Ok) return;
  const std::uint32_t attributes = file->Attributes();
  // Overwriting must stay within this one file: a link would carry the writes to its target,
  // and a file with further hard links would lose the content kept under its other names.
  // Both are only unlinked.
  if ((attributes & file_attr::ReparsePoint) == 0) {
    // Hidden and system files are passed over unless the caller has the attributes reset.
    if (mode == DeleteMode::AsFound && (attributes & (file_attr::Hidden | file_attr::System))) {
      return;
    }
    if (file->LinkCount() == 1) {
      // One block more than the file fills, so the last partial block is covered as well.
      const std::uint64_t length = (file->Size() / kBlockSize + 1) * kBlockSize;
      // A file that fails half-way is left as it is.
      if (!WritePass(*file, 'X', length) || !WritePass(*file, ' ', length)) return;
    }
  }
  if (file->Delete() == FsResult::Ok) context.filesRemoved = true;
}

}  // namespace quorvane
