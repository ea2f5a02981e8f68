#pragma once
// An in-memory file system that behaves like the platform where the program's safety
// depends on it: names match without regard to case, DeleteFile refuses read-only files
// unless asked to reset them (never resetting a link), RemoveDirectory refuses folders that
// are not empty, a file in use cannot be deleted, and a path that runs through a link -
// attributes set by name included - reaches the link's target, so a walk that carelessly
// enters a link really does destroy the target here, and a test sees it. The link itself
// shows in its parent's listing as one entry, DeleteFile and RemoveDirectory on it remove
// only the link, and FinalPath tells where a folder really leads. Paths are "X:\..." with either
// separator; a relative path names nothing. Deleting the last name of a file gives its size back to
// its drive, so freed space can be measured.
//
// Listings, attribute look-ups, reads, deletions and overwrites are logged in order, so that
// a test can check, for example, that an overwrite pass was flushed before the next.

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <map>
#include <stdexcept>

#include "core/Text.h"
#include "core/platform/FileSystem.h"
#include "fakes/NoCase.h"

namespace quorvane::fakes {

enum class FsOp {
  GetVolumeLabel,
  ListDirectory,
  GetAttributes,
  DeleteFile,
  RemoveDirectory,
  ReadFile,
  OpenForOverwrite,
  WriteAt,
  Flush
};

struct FsCall {
  FsOp op = FsOp::ListDirectory;
  std::string path;
  std::string bytes;         // WriteAt: what was written
  std::uint64_t offset = 0;  // WriteAt
};

class FakeFileSystem final : public FileSystem {
 public:
  FakeFileSystem() {
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
      top_->Add(std::string(1, letter) + ":", file_attr::Directory).parent = nullptr;
    }
  }

  // --- Set-up. Missing parent folders are created on the way.
  // A drive the platform reports; drives are listed by letter, as the platform lists them.
  void AddDrive(char letter, DriveType type, std::uint64_t freeBytes, std::uint64_t totalBytes) {
    const std::string name = ToLowerAscii(std::string(1, letter) + ":");
    drives_[name] = {DriveInfo{name, ToUpperAscii(name)[0], type, freeBytes, totalBytes}, {}};
  }
  void SetVolumeLabel(char letter, std::string label) {
    drives_.at(ToLowerAscii(std::string(1, letter) + ":")).label = std::move(label);
  }
  // A drive that is not ready (an empty card reader, say) fails GetVolumeLabel and every
  // listing; a fixed one also fails GetDrive (other drives are not asked for their space).
  void SetDriveReady(char letter, bool ready) {
    drives_.at(std::string(1, letter) + ":").ready = ready;
  }
  // Creates or replaces a file. `attrs` holds read-only, hidden, system, archive.
  void AddFile(std::string_view path, std::string_view content = {}, std::uint32_t attrs = 0) {
    Place(path, attrs & kSettable).data = std::make_shared<FileData>(std::string(content));
  }
  void AddFolder(std::string_view path, std::uint32_t attrs = 0) {
    Names names;
    Node* folder = Parse(path, names) ? Find(names, true, true) : nullptr;
    if (folder == nullptr || !folder->Is(file_attr::Directory)) BadSetUp(path);
    folder->attrs = file_attr::Directory | (attrs & kSettable);
  }
  // A symbolic link or junction: a file link when the target is a file, else a folder link.
  void AddLink(std::string_view path, std::string_view target) {
    const Node* reached = Find(target, true);
    const bool fileLink = reached != nullptr && !reached->Is(file_attr::Directory);
    Place(path, file_attr::ReparsePoint | (fileLink ? 0u : file_attr::Directory)).target = target;
  }
  // A second name for an existing file: both names share one content and link count.
  void AddHardLink(std::string_view existing, std::string_view path) {
    const Node* file = Find(existing, true);
    if (file == nullptr || !file->data) BadSetUp(existing);
    Place(path, file->attrs).data = file->data;
    ++file->data->links;
  }
  // The 8.3 name the volume keeps for an entry; without one the long name is reported, as
  // on a volume that keeps no short names.
  void SetShortName(std::string_view path, std::string_view shortName) {
    Node* node = Find(path, false);
    if (node == nullptr) BadSetUp(path);
    node->shortName = shortName;
  }
  // Held open by another program: it cannot be deleted, removed, moved, written or opened
  // for overwriting.
  void SetInUse(std::string_view path) {
    Node* node = Find(path, false);
    if (node == nullptr) BadSetUp(path);
    node->inUse = true;
  }

  // --- Inspection, not logged. A link at the end of the path is taken as itself.
  bool Exists(std::string_view path) const { return Find(path, false) != nullptr; }
  // As a listing reports them; 0 when nothing is there.
  std::uint32_t Attributes(std::string_view path) const {
    const Node* node = Find(path, false);
    return node == nullptr ? 0 : node->Reported();
  }
  // Through links, as the program would read it.
  std::string Content(std::string_view path) const {
    const Node* node = Find(path, true);
    return (node != nullptr && node->data) ? node->data->content : std::string();
  }
  const std::vector<FsCall>& Calls() const { return calls_; }
  std::size_t CountCalls(FsOp op) const {
    return static_cast<std::size_t>(
        std::count_if(calls_.begin(), calls_.end(), [op](const FsCall& c) { return c.op == op; }));
  }
  void ClearCalls() { calls_.clear(); }

  std::vector<std::string> DriveNames() override {
    std::vector<std::string> names;
    for (const auto& [name, drive] : drives_) names.push_back(name);
    return names;
  }

  FsResult GetDrive(std::string_view name, DriveInfo& info) override {
    // "c", "c:" and "c:\" all name drive C.
    const auto drive = drives_.find(std::string(name.substr(0, 1)) + ":");
    if (drive == drives_.end() || !std::string_view(":\\").starts_with(name.substr(1))) {
      return FsResult::NotFound;
    }
    info = drive->second.info;
    // Only a fixed drive is asked for its space.
    if (info.type != DriveType::Fixed) info.freeBytes = info.totalBytes = 0;
    if (drive->second.ready || info.type != DriveType::Fixed) return FsResult::Ok;
    info = DriveInfo{info.name, info.letter, info.type, 0, 0};
    return FsResult::Failed;
  }

  FsResult GetVolumeLabel(std::string_view name, std::string& label) override {
    Log(FsOp::GetVolumeLabel, name);
    const auto drive = drives_.find(std::string(name.substr(0, 1)) + ":");
    if (drive == drives_.end()) return FsResult::NotFound;
    if (!drive->second.ready) return FsResult::Failed;
    label = drive->second.label;
    return FsResult::Ok;
  }

  FsResult ListDirectory(std::string_view folder, std::vector<DirEntry>& entries) override {
    Log(FsOp::ListDirectory, folder);
    entries.clear();
    const auto drive = drives_.find(ToLowerAscii(folder.substr(0, 2)));
    if (drive != drives_.end() && !drive->second.ready) return FsResult::Failed;
    const Node* node = Find(folder, true);
    if (node == nullptr) return FsResult::NotFound;
    if (!node->Is(file_attr::Directory)) return FsResult::Failed;
    for (const auto& [key, child] : node->children) {
      entries.push_back({child->name, child->Reported(), child->Size()});
    }
    return FsResult::Ok;
  }

  FsResult GetAttributes(std::string_view path, std::uint32_t& attrs) override {
    Log(FsOp::GetAttributes, path);
    const Node* node = Find(path, false);
    if (node != nullptr) attrs = node->Reported();
    return node != nullptr ? FsResult::Ok : FsResult::NotFound;
  }

  // As on the platform, attributes set by name reach a link's target.
  FsResult GetShortName(std::string_view path, std::string& shortName) override {
    const Node* node = Find(path, false);
    if (node == nullptr || node->parent == nullptr) return FsResult::NotFound;
    shortName = node->shortName.empty() ? node->name : node->shortName;
    return FsResult::Ok;
  }

  FsResult SetAttributes(std::string_view path, std::uint32_t attrs) override {
    Node* node = Find(path, true);
    if (node == nullptr || node->parent == nullptr) return FsResult::NotFound;
    node->attrs = (node->attrs & ~kSettable) | (attrs & kSettable);
    return FsResult::Ok;
  }

  FsResult FinalPath(std::string_view folder, std::string& finalPath) override {
    const Node* node = Find(folder, true);
    if (node == nullptr) return FsResult::NotFound;
    if (!node->Is(file_attr::Directory)) return FsResult::Failed;
    finalPath = node->parent == nullptr ? node->name + "\\" : node->FullPath();
    return FsResult::Ok;
  }

  FsResult DeleteFile(std::string_view path, DeleteMode mode) override {
    Log(FsOp::DeleteFile, path);
    Node* node = Find(path, false);
    if (node == nullptr) return FsResult::NotFound;
    if ((node->Is(file_attr::Directory) && !node->Is(file_attr::ReparsePoint)) || node->Busy()) {
      return FsResult::AccessDenied;
    }
    // A link goes as it stands; its attributes are the link's own and are never reset.
    if (mode == DeleteMode::ResetAttributes && !node->Is(file_attr::ReparsePoint)) {
      node->attrs &= ~kSettable;
    }
    if (node->Is(file_attr::ReadOnly)) return FsResult::AccessDenied;
    Unlink(*node);
    return FsResult::Ok;
  }

  FsResult CreateDirectory(std::string_view path) override {
    std::string name;
    Node* parent = FindParent(path, name);
    if (Find(path, false) != nullptr) return FsResult::AlreadyExists;
    if (parent == nullptr) return FsResult::NotFound;
    parent->Add(name, file_attr::Directory);
    return FsResult::Ok;
  }

  FsResult RemoveDirectory(std::string_view path) override {
    Log(FsOp::RemoveDirectory, path);
    Node* node = Find(path, false);
    if (node == nullptr) return FsResult::NotFound;
    if (!node->Is(file_attr::Directory)) return FsResult::Failed;
    if (node->parent == nullptr || node->Busy() || node->Is(file_attr::ReadOnly)) {
      return FsResult::AccessDenied;
    }
    // A link goes on its own; its target is not looked at.
    if (!node->Is(file_attr::ReparsePoint) && !node->children.empty()) {
      return FsResult::NotEmpty;
    }
    node->Detach();
    return FsResult::Ok;
  }

  FsResult MoveFile(std::string_view from, std::string_view to, IfTargetExists ifExists) override {
    Node* node = Find(from, false);
    std::string name;
    Node* parent = FindParent(to, name);
    if (node == nullptr || node->parent == nullptr) return FsResult::NotFound;
    if (parent == nullptr) return FsResult::NotFound;
    if (node->Busy()) return FsResult::AccessDenied;
    if (Node* existing = Find(to, false); existing != nullptr && existing != node) {
      if (ifExists == IfTargetExists::Fail) return FsResult::AlreadyExists;
      if (existing->Is(file_attr::Directory | file_attr::ReadOnly) || existing->Busy()) {
        return FsResult::AccessDenied;
      }
      Unlink(*existing);
    }
    auto moved = std::move(node->parent->children.extract(node->name).mapped());
    moved->name = name;
    moved->parent = parent;
    parent->children[name] = std::move(moved);
    return FsResult::Ok;
  }

  FsResult GetFileSize(std::string_view path, std::uint64_t& size) override {
    // Like the attributes, the size of a link is the link's own.
    const Node* node = Find(path, false);
    if (node != nullptr) size = node->Size();
    return node != nullptr ? FsResult::Ok : FsResult::NotFound;
  }

  FsResult ReadFile(std::string_view path, std::string& bytes) override {
    Log(FsOp::ReadFile, path);
    const Node* node = Find(path, true);
    if (node == nullptr) return FsResult::NotFound;
    if (!node->data) return FsResult::AccessDenied;
    bytes = node->data->content;
    return FsResult::Ok;
  }

  FsResult WriteFile(std::string_view path, std::string_view bytes) override {
    Node* node = Find(path, true);
    std::string name;
    Node* parent = FindParent(path, name);
    if (node == nullptr && parent != nullptr) {
      node = &parent->Add(name, 0);
      node->data = std::make_shared<FileData>();
    }
    if (node == nullptr) return FsResult::NotFound;
    if (!node->data || node->Is(file_attr::ReadOnly) || node->Busy()) {
      return FsResult::AccessDenied;
    }
    node->data->content = std::string(bytes);
    return FsResult::Ok;
  }

  std::unique_ptr<WritableFile> OpenForOverwrite(std::string_view path, DeleteMode mode,
                                                 FsResult& result) override {
    // The link itself is opened: overwriting through a link would reach its target.
    Log(FsOp::OpenForOverwrite, path);
    Node* node = Find(path, false);
    const bool link = node != nullptr && node->Is(file_attr::ReparsePoint);
    if (node != nullptr && !link && mode == DeleteMode::ResetAttributes && !node->Busy()) {
      node->attrs &= ~kSettable;
    }
    const bool refused = node == nullptr || node->Busy() ||
                         (!link && (!node->data || node->Is(file_attr::ReadOnly)));
    result = node == nullptr ? FsResult::NotFound : refused ? FsResult::AccessDenied : FsResult::Ok;
    return refused ? nullptr : std::make_unique<OpenFile>(*this, path, *node);
  }

 private:
  static constexpr std::uint32_t kSettable =
      file_attr::ReadOnly | file_attr::Hidden | file_attr::System | file_attr::Archive;
  using Names = std::vector<std::string>;  // the drive ("C:") and the names below its root

  // A file's content lives apart from its names, so that hard links share it.
  struct FileData {
    std::string content;
    std::uint32_t links = 1;
    bool openForOverwrite = false;
  };

  struct Node {
    std::string name;
    std::uint32_t attrs = 0;  // Directory for folders, ReparsePoint for links
    std::string target;       // links only
    std::string shortName;    // empty: the volume keeps none for this entry
    std::shared_ptr<FileData> data;
    bool inUse = false;
    Node* parent = nullptr;
    std::map<std::string, std::unique_ptr<Node>, NoCaseLess> children;

    bool Is(std::uint32_t attr) const { return (attrs & attr) != 0; }
    bool Busy() const { return inUse || (data && data->openForOverwrite); }
    // A file without any attribute reports "normal", as on the platform.
    std::uint32_t Reported() const { return attrs == 0 ? file_attr::Normal : attrs; }
    std::uint64_t Size() const { return data ? data->content.size() : 0; }  // a link's is 0
    const Node& Root() const { return parent ? parent->Root() : *this; }
    std::string FullPath() const {
      return parent == nullptr ? name : parent->FullPath() + "\\" + name;
    }
    Node& Add(std::string_view childName, std::uint32_t childAttrs) {
      auto& slot = children[std::string(childName)];
      slot.reset(new Node{std::string(childName), childAttrs, {}, {}, nullptr, false, this, {}});
      return *slot;
    }
    void Detach() { parent->children.erase(name); }  // destroys this node
  };

  struct Drive {
    DriveInfo info;
    std::string label;
    bool ready = true;
  };

  // An open file sees the entry it opened: a link as the link, a file with its content.
  struct OpenFile final : WritableFile {
    OpenFile(FakeFileSystem& fs, std::string_view name, const Node& node)
        : owner(fs), path(name), attributes(node.Reported()), data(node.data) {
      if (data) data->openForOverwrite = true;
    }
    ~OpenFile() override {
      if (data) data->openForOverwrite = false;
    }
    std::uint32_t Attributes() const override { return attributes; }
    std::uint32_t LinkCount() const override { return data ? data->links : 1; }
    std::uint64_t Size() const override { return data ? data->content.size() : 0; }
    FsResult WriteAt(std::uint64_t offset, std::string_view bytes) override {
      if (!data || (attributes & file_attr::ReparsePoint)) return FsResult::AccessDenied;
      const auto at = static_cast<std::size_t>(offset);
      data->content.resize(std::max(data->content.size(), at + bytes.size()), '\0');
      data->content.replace(at, bytes.size(), bytes);
      owner.calls_.push_back({FsOp::WriteAt, path, std::string(bytes), offset});
      return FsResult::Ok;
    }
    FsResult Flush() override {
      owner.Log(FsOp::Flush, path);
      return FsResult::Ok;
    }
    FsResult Delete() override {
      owner.Log(FsOp::DeleteFile, path);
      Node* node = owner.Find(path, false);
      if (node == nullptr) return FsResult::NotFound;
      if (node->data != data || node->inUse) return FsResult::AccessDenied;
      owner.Unlink(*node);
      return FsResult::Ok;
    }

    FakeFileSystem& owner;
    std::string path;
    std::uint32_t attributes = 0;
    std::shared_ptr<FileData> data;
  };

  // Removes one name; the last name of a file gives its size back to its drive.
  void Unlink(Node& node) {
    if (node.data && --node.data->links == 0) {
      const auto drive = drives_.find(node.Root().name);
      if (drive != drives_.end()) drive->second.info.freeBytes += node.Size();
    }
    node.Detach();
  }

  // A broken set-up is the test's own mistake: make it loud rather than silently empty.
  [[noreturn]] static void BadSetUp(std::string_view path) {
    throw std::invalid_argument("FakeFileSystem: cannot set up " + std::string(path));
  }

  // "X:\a\b" or "x:/a/b", also behind the "\\?\" prefix, split into the drive ("X:") and
  // the names below its root; "." and ".." are not taken.
  static bool Parse(std::string_view path, Names& names) {
    if (path.starts_with("\\\\?\\")) path.remove_prefix(4);
    const bool drive = path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                       path[1] == ':' && (path.size() == 2 || path[2] == '\\' || path[2] == '/');
    names = SplitNames(path, "\\/");
    return drive && std::none_of(names.begin(), names.end(), [](const std::string& name) {
             return name == "." || name == "..";
           });
  }

  // The node a path names. `followLast` decides whether a link at the end is followed (a
  // listing or a read) or taken as itself (attributes, delete, remove, rename).
  Node* Find(std::string_view path, bool followLast) const {
    Names names;
    return Parse(path, names) ? Find(names, followLast) : nullptr;
  }
  // With `create`, missing folders are made on the way (a test's set-up).
  Node* Find(const Names& names, bool followLast, bool create = false) const {
    Node* node = top_.get();
    for (std::size_t i = 0; i < names.size() && node != nullptr; ++i) {
      const auto child = node->children.find(names[i]);
      const bool found = child != node->children.end();
      if (!found && !(create && node->Is(file_attr::Directory))) return nullptr;
      node = found ? child->second.get() : &node->Add(names[i], file_attr::Directory);
      if (node->Is(file_attr::ReparsePoint) && (followLast || i + 1 < names.size())) {
        Names target;
        node = Parse(node->target, target) ? Find(target, true, create) : nullptr;
      }
    }
    return node;
  }
  // The folder that would hold `path` (links followed, made where missing with `create`),
  // and the entry's name in it.
  Node* FindParent(std::string_view path, std::string& name, bool create = false) const {
    Names names;
    if (!Parse(path, names) || names.size() < 2) return nullptr;
    name = names.back();
    names.pop_back();
    Node* parent = Find(names, true, create);
    return (parent != nullptr && parent->Is(file_attr::Directory)) ? parent : nullptr;
  }
  // Set-up: a new entry, its folders made where missing.
  Node& Place(std::string_view path, std::uint32_t attrs) {
    std::string name;
    Node* folder = FindParent(path, name, true);
    if (folder == nullptr) BadSetUp(path);
    return folder->Add(name, attrs);
  }

  void Log(FsOp op, std::string_view path) { calls_.push_back({op, std::string(path), {}, 0}); }

  // Holds a file tree for every drive letter; only added drives are reported as drives.
  std::unique_ptr<Node> top_ = std::make_unique<Node>();
  std::map<std::string, Drive, NoCaseLess> drives_;  // by name, "c:"
  std::vector<FsCall> calls_;
};

}  // namespace quorvane::fakes
