#include "companion/RecordingFileSystem.h"

#include "core/FileServices.h"
#include "core/Text.h"

namespace quorvane::companion {
namespace {

// Case-blind and without trailing back-slashes, so that one path has one key.
std::string Fold(std::string_view path) {
  while (path.size() > 1 && path.back() == '\\') path.remove_suffix(1);
  return ToLowerAscii(path);
}

std::string ParentOf(const std::string& key) {
  const auto slash = key.rfind('\\');
  return slash == std::string::npos ? std::string() : key.substr(0, slash);
}

std::string NameOf(std::string_view path) {
  std::string folder, name;
  SplitFolderAndPattern(path, folder, name);
  return name;
}

}  // namespace

class RecordingFileSystem::RecordedFile final : public WritableFile {
 public:
  RecordedFile(RecordingFileSystem& files, std::string path, const Entry& entry)
      : files_(files), path_(std::move(path)), attributes_(entry.attributes), size_(entry.size) {}
  std::uint32_t Attributes() const override { return attributes_; }
  std::uint32_t LinkCount() const override { return 1; }
  std::uint64_t Size() const override { return size_; }
  [[nodiscard]] FsResult WriteAt(std::uint64_t, std::string_view) override {
    return (attributes_ & file_attr::ReparsePoint) ? FsResult::AccessDenied : FsResult::Ok;
  }
  [[nodiscard]] FsResult Flush() override { return FsResult::Ok; }
  [[nodiscard]] FsResult Delete() override {
    files_.Record(path_, Entry{});
    return FsResult::Ok;
  }

 private:
  RecordingFileSystem& files_;
  std::string path_;
  std::uint32_t attributes_;
  std::uint64_t size_;
};

FsResult RecordingFileSystem::MayDelete(const Entry& entry, DeleteMode mode) {
  const bool folder = (entry.attributes & file_attr::Directory) != 0 &&
                      (entry.attributes & file_attr::ReparsePoint) == 0;
  const bool readOnly = (entry.attributes & file_attr::ReadOnly) != 0;
  if (folder || (readOnly && mode == DeleteMode::AsFound)) return FsResult::AccessDenied;
  return FsResult::Ok;
}

std::optional<RecordingFileSystem::Entry> RecordingFileSystem::Look(std::string_view path) {
  const std::string key = Fold(path);
  if (const auto it = changes_.find(key); it != changes_.end()) {
    if (!it->second.exists) return std::nullopt;
    return it->second;
  }
  // Beneath a recorded folder nothing of the disk shows: a removed folder took it along,
  // and a folder made by the preview did not exist before (or was emptied and removed).
  for (std::string up = ParentOf(key); !up.empty(); up = ParentOf(up)) {
    if (changes_.count(up)) return std::nullopt;
  }
  Entry real;
  if (real_.GetAttributes(path, real.attributes) != FsResult::Ok) return std::nullopt;
  real.exists = true;
  real.name = NameOf(path);
  if ((real.attributes & file_attr::Directory) == 0) (void)real_.GetFileSize(path, real.size);
  real.source = std::string(path);
  return real;
}

void RecordingFileSystem::Record(std::string_view path, Entry entry) {
  entry.name = NameOf(path);
  changes_[Fold(path)] = std::move(entry);
}

FsResult RecordingFileSystem::ListDirectory(std::string_view folder,
                                            std::vector<DirEntry>& entries) {
  const auto here = Look(folder);
  if (!here) return FsResult::NotFound;
  if ((here->attributes & file_attr::Directory) == 0) return FsResult::Failed;
  entries.clear();
  const std::string key = Fold(folder);
  if (!changes_.count(key)) {
    const FsResult listed = real_.ListDirectory(folder, entries);
    if (listed != FsResult::Ok) return listed;
    std::erase_if(entries, [&](const DirEntry& entry) {
      return changes_.count(key + "\\" + ToLowerAscii(entry.name)) != 0;
    });
  }
  const std::string prefix = key + "\\";
  for (auto it = changes_.lower_bound(prefix);
       it != changes_.end() && it->first.starts_with(prefix); ++it) {
    const bool child = it->first.find('\\', prefix.size()) == std::string::npos;
    if (child && it->second.exists) {
      entries.push_back({it->second.name, it->second.attributes, it->second.size});
    }
  }
  return FsResult::Ok;
}

FsResult RecordingFileSystem::GetAttributes(std::string_view path, std::uint32_t& attrs) {
  const auto entry = Look(path);
  if (!entry) return FsResult::NotFound;
  attrs = entry->attributes;
  return FsResult::Ok;
}

FsResult RecordingFileSystem::SetAttributes(std::string_view path, std::uint32_t attrs) {
  auto entry = Look(path);
  if (!entry) return FsResult::NotFound;
  // What a folder or link is cannot be changed by its attributes.
  constexpr std::uint32_t kFixed = file_attr::Directory | file_attr::ReparsePoint;
  entry->attributes = (entry->attributes & kFixed) | (attrs & ~kFixed);
  Record(path, std::move(*entry));
  return FsResult::Ok;
}

FsResult RecordingFileSystem::GetShortName(std::string_view path, std::string& shortName) {
  if (!Look(path)) return FsResult::NotFound;
  // An entry the preview made has no short name on any volume.
  if (changes_.count(Fold(path))) {
    shortName = NameOf(path);
    return FsResult::Ok;
  }
  return real_.GetShortName(path, shortName);
}

FsResult RecordingFileSystem::FinalPath(std::string_view folder, std::string& finalPath) {
  if (!Look(folder)) return FsResult::NotFound;
  // A folder the preview made again is a plain folder where it stands.
  if (changes_.count(Fold(folder))) {
    finalPath = std::string(folder);
    return FsResult::Ok;
  }
  return real_.FinalPath(folder, finalPath);
}

FsResult RecordingFileSystem::DeleteFile(std::string_view path, DeleteMode mode) {
  const auto entry = Look(path);
  if (!entry) return FsResult::NotFound;
  const FsResult allowed = MayDelete(*entry, mode);
  if (allowed != FsResult::Ok) return allowed;
  Record(path, Entry{});
  return FsResult::Ok;
}

FsResult RecordingFileSystem::CreateDirectory(std::string_view path) {
  if (Look(path)) return FsResult::AlreadyExists;
  const auto parent = Look(ParentOf(std::string(path)));
  if (!parent || (parent->attributes & file_attr::Directory) == 0) return FsResult::NotFound;
  Record(path, Entry{true, {}, file_attr::Directory, 0, {}, {}});
  return FsResult::Ok;
}

FsResult RecordingFileSystem::RemoveDirectory(std::string_view path) {
  const auto entry = Look(path);
  if (!entry) return FsResult::NotFound;
  if ((entry->attributes & file_attr::Directory) == 0) return FsResult::Failed;
  // A link goes by itself; its target's content is never looked at.
  if ((entry->attributes & file_attr::ReparsePoint) == 0) {
    std::vector<DirEntry> children;
    if (ListDirectory(path, children) == FsResult::Ok && !children.empty()) {
      return FsResult::NotEmpty;
    }
  }
  Record(path, Entry{});
  return FsResult::Ok;
}

FsResult RecordingFileSystem::MoveFile(std::string_view from, std::string_view to,
                                       IfTargetExists ifExists) {
  auto entry = Look(from);
  if (!entry) return FsResult::NotFound;
  if (ifExists == IfTargetExists::Fail && Look(to)) return FsResult::AlreadyExists;
  Record(to, std::move(*entry));
  Record(from, Entry{});
  return FsResult::Ok;
}

FsResult RecordingFileSystem::GetFileSize(std::string_view path, std::uint64_t& size) {
  const auto entry = Look(path);
  if (!entry) return FsResult::NotFound;
  size = entry->size;
  return FsResult::Ok;
}

FsResult RecordingFileSystem::ReadFile(std::string_view path, std::string& bytes) {
  const auto entry = Look(path);
  if (!entry) return FsResult::NotFound;
  if (entry->content) {
    bytes = *entry->content;
    return FsResult::Ok;
  }
  return real_.ReadFile(entry->source, bytes);
}

FsResult RecordingFileSystem::WriteFile(std::string_view path, std::string_view bytes) {
  const auto parent = Look(ParentOf(std::string(path)));
  if (!parent || (parent->attributes & file_attr::Directory) == 0) return FsResult::NotFound;
  Entry written = Look(path).value_or(Entry{true, {}, file_attr::Archive, 0, {}, {}});
  if ((written.attributes & (file_attr::ReadOnly | file_attr::Directory)) != 0) {
    return FsResult::AccessDenied;
  }
  written.size = bytes.size();
  written.content = std::string(bytes);
  Record(path, std::move(written));
  return FsResult::Ok;
}

std::unique_ptr<WritableFile> RecordingFileSystem::OpenForOverwrite(std::string_view path,
                                                                    DeleteMode mode,
                                                                    FsResult& result) {
  const auto entry = Look(path);
  result = entry ? MayDelete(*entry, mode) : FsResult::NotFound;
  if (result != FsResult::Ok) return nullptr;
  return std::make_unique<RecordedFile>(*this, std::string(path), *entry);
}

}  // namespace quorvane::companion
