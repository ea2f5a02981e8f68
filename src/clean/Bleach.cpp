#include "clean/Bleach.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "core/FileServices.h"

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

enum class OverwriteRule { Overwrite, UnlinkOnly, Unknown };

// Overwriting must stay within this one file: a link would carry the writes to its target,
// and a file with further hard links would lose the content kept under its other names.
OverwriteRule RuleFor(FileSystem& files, std::string_view path) {
  std::uint32_t attributes = 0;
  if (files.GetAttributes(path, attributes) != FsResult::Ok) return OverwriteRule::Unknown;
  if ((attributes & file_attr::ReparsePoint) != 0) return OverwriteRule::UnlinkOnly;
  std::uint32_t links = 0;
  if (files.GetLinkCount(path, links) != FsResult::Ok) return OverwriteRule::Unknown;
  return links > 1 ? OverwriteRule::UnlinkOnly : OverwriteRule::Overwrite;
}

}  // namespace

void BleachFile(CleanContext& context, std::string_view path) {
  FileSystem& files = context.platform.files;
  // Hidden and system files are passed over unless the caller has reset their attributes.
  if (!IsOrdinaryFile(files, path)) return;

  const OverwriteRule rule = RuleFor(files, path);
  // Without knowing the file's links it is not overwritten, and not deleted unbleached.
  if (rule == OverwriteRule::Unknown) return;
  if (rule == OverwriteRule::Overwrite) {
    std::uint64_t size = 0;
    if (files.GetFileSize(path, size) != FsResult::Ok) return;
    // One block more than the file fills, so the last partial block is covered as well.
    const std::uint64_t length = (size / kBlockSize + 1) * kBlockSize;
    FsResult opened = FsResult::Failed;
    auto file = files.OpenForOverwrite(path, opened);
    // A file that another program holds open, or one that fails half-way, is left as it is.
    if (!file || opened != FsResult::Ok) return;
    if (!WritePass(*file, 'X', length) || !WritePass(*file, ' ', length)) return;
  }
  if (files.DeleteFile(path) == FsResult::Ok) context.filesRemoved = true;
}

}  // namespace quorvane
