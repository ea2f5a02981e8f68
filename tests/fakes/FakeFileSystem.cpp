#include "fakes/FakeFileSystem.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "core/Text.h"

namespace quorvane::fakes {
namespace {

constexpr std::uint32_t kSettable =
    file_attr::ReadOnly | file_attr::Hidden | file_attr::System | file_attr::Archive;
// Links deeper than this are taken as a loop, as the platform does.
constexpr int kMaxLinkDepth = 32;

char UpperLetter(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A file's content lives apart from its names, so that hard links share it.
struct FileData {
  std::string content;
  std::uint32_t links = 1;
  int openForOverwrite = 0;
};

}  // namespace

struct FakeFileSystem::Node {
  std::string name;
  std::uint32_t attrs = 0;  // Directory for folders, ReparsePoint for links
  std::string target;       // links only
  std::shared_ptr<FileData> data;
  bool inUse = false;
  Node* parent = nullptr;
  std::map<std::string, std::unique_ptr<Node>> children;  // by case-folded name

  bool IsFolder() const { return (attrs & file_attr::Directory) != 0; }
  bool IsLink() const { return (attrs & file_attr::ReparsePoint) != 0; }
  bool IsBusy() const { return inUse || (data && data->openForOverwrite > 0); }
  std::uint32_t Reported() const {
    // A file without any attribute reports "normal", as on the platform.
    return attrs == 0 ? file_attr::Normal : attrs;
  }
  std::uint64_t Size() const { return (data && !IsLink()) ? data->content.size() : 0; }
};

struct FakeFileSystem::Drive {
  DriveInfo info;
  bool reported = false;  // added with AddDrive, so DriveNames lists it
  bool ready = true;
  std::unique_ptr<Node> root;
};

class FakeFileSystem::OpenFile final : public WritableFile {
 public:
  OpenFile(FakeFileSystem& owner, std::string path, std::shared_ptr<FileData> data)
      : owner_(owner), path_(std::move(path)), data_(std::move(data)) {
    ++data_->openForOverwrite;
  }
  ~OpenFile() override {
    --data_->openForOverwrite;
    (void)owner_.Record({FsOp::Close, path_, {}, 0, 0, FsResult::Ok});
  }

  FsResult WriteAt(std::uint64_t offset, std::string_view bytes) override {
    std::string& content = data_->content;
    const size_t at = static_cast<size_t>(offset);
    if (content.size() < at + bytes.size()) content.resize(at + bytes.size(), '\0');
    std::copy(bytes.begin(), bytes.end(), content.begin() + static_cast<std::ptrdiff_t>(at));
    return owner_.Record({FsOp::WriteAt, path_, std::string(bytes), offset, 0, FsResult::Ok});
  }
  FsResult Flush() override { return owner_.Record({FsOp::Flush, path_, {}, 0, 0, FsResult::Ok}); }

 private:
  FakeFileSystem& owner_;
  std::string path_;
  std::shared_ptr<FileData> data_;
};

FakeFileSystem::FakeFileSystem() = default;
FakeFileSystem::~FakeFileSystem() = default;

bool FakeFileSystem::Parse(std::string_view path, Location& location) {
  if (path.rfind("\\\\?\\", 0) == 0) path.remove_prefix(4);
  if (path.size() < 2 || !IsLetter(path[0]) || path[1] != ':') return false;
  if (path.size() > 2 && path[2] != '\\' && path[2] != '/') return false;
  location.drive = UpperLetter(path[0]);
  location.names.clear();
  size_t start = 2;
  while (start < path.size()) {
    const size_t end = path.find_first_of("\\/", start);
    const std::string_view name = path.substr(start, end - start);
    if (name == "." || name == "..") return false;
    if (!name.empty()) location.names.emplace_back(name);
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  return true;
}

FakeFileSystem::Node* FakeFileSystem::Root(char drive) const {
  auto& slot = drives_[drive];
  if (!slot) {
    // Every drive letter has a file tree; only added drives are reported as drives.
    slot = std::make_unique<Drive>();
    slot->info.letter = drive;
    slot->info.name = std::string(1, static_cast<char>(drive - 'A' + 'a')) + ":";
  }
  if (!slot->root) {
    slot->root = std::make_unique<Node>();
    slot->root->name = std::string(1, drive) + ":";
    slot->root->attrs = file_attr::Directory;
  }
  return slot->root.get();
}

FakeFileSystem::Node* FakeFileSystem::Find(std::string_view path, bool followLast) const {
  Location location;
  if (!Parse(path, location)) return nullptr;
  return Find(location, followLast, 0);
}

FakeFileSystem::Node* FakeFileSystem::Find(const Location& location, bool followLast,
                                           int depth) const {
  Node* node = Root(location.drive);
  for (size_t i = 0; i < location.names.size(); ++i) {
    auto child = node->children.find(ToLowerAscii(location.names[i]));
    if (child == node->children.end()) return nullptr;
    node = child->second.get();
    const bool last = i + 1 == location.names.size();
    if (node->IsLink() && (!last || followLast)) {
      Location target;
      if (depth >= kMaxLinkDepth || !Parse(node->target, target)) return nullptr;
      node = Find(target, true, depth + 1);
      if (node == nullptr) return nullptr;
    }
  }
  return node;
}

FakeFileSystem::Node* FakeFileSystem::FindParent(std::string_view path, std::string& name) const {
  Location location;
  if (!Parse(path, location) || location.names.empty()) return nullptr;
  name = location.names.back();
  location.names.pop_back();
  Node* parent = Find(location, true, 0);
  return (parent != nullptr && parent->IsFolder()) ? parent : nullptr;
}

FakeFileSystem::Node* FakeFileSystem::MakeFolders(std::string_view path) {
  Location location;
  if (!Parse(path, location)) return nullptr;
  Node* node = Root(location.drive);
  for (const std::string& name : location.names) {
    auto& child = node->children[ToLowerAscii(name)];
    if (!child) {
      child = std::make_unique<Node>();
      child->name = name;
      child->attrs = file_attr::Directory;
      child->parent = node;
    }
    node = child.get();
    if (node->IsLink()) node = Find(node->target, true);
    if (node == nullptr || !node->IsFolder()) return nullptr;
  }
  return node;
}

FakeFileSystem::Node& FakeFileSystem::Place(std::string_view path, std::uint32_t attrs) {
  Location location;
  Node* parent = nullptr;
  if (Parse(path, location) && !location.names.empty()) {
    const std::string name = location.names.back();
    location.names.pop_back();
    std::string folder(1, location.drive);
    folder += ':';
    for (const std::string& part : location.names) folder += "\\" + part;
    parent = MakeFolders(folder);
    if (parent != nullptr) {
      auto& slot = parent->children[ToLowerAscii(name)];
      slot = std::make_unique<Node>();
      slot->name = name;
      slot->attrs = attrs;
      slot->parent = parent;
      return *slot;
    }
  }
  // A broken set-up is the test's own mistake: make it loud rather than silently empty.
  throw std::invalid_argument("FakeFileSystem: cannot place " + std::string(path));
}

char FakeFileSystem::DriveOf(const Node& node) const {
  const Node* top = &node;
  while (top->parent != nullptr) top = top->parent;
  return top->name.empty() ? 0 : top->name[0];
}

FsResult FakeFileSystem::Record(FsCall call) {
  const FsResult result = call.result;
  calls_.push_back(std::move(call));
  return result;
}

void FakeFileSystem::AddDrive(char letter, DriveType type, std::uint64_t freeBytes,
                              std::uint64_t totalBytes, std::string_view label) {
  const char drive = UpperLetter(letter);
  Root(drive);
  Drive& entry = *drives_[drive];
  if (!entry.reported) driveOrder_.push_back(drive);
  entry.reported = true;
  entry.info.type = type;
  entry.info.freeBytes = freeBytes;
  entry.info.totalBytes = totalBytes;
  entry.info.volumeLabel = std::string(label);
}

void FakeFileSystem::SetDriveReady(char letter, bool ready) {
  Root(UpperLetter(letter));
  drives_[UpperLetter(letter)]->ready = ready;
}

void FakeFileSystem::AddFile(std::string_view path, std::string_view content, std::uint32_t attrs) {
  Node& node = Place(path, attrs & kSettable);
  node.data = std::make_shared<FileData>();
  node.data->content = std::string(content);
}

void FakeFileSystem::AddFolder(std::string_view path, std::uint32_t attrs) {
  Node* folder = MakeFolders(path);
  if (folder == nullptr) throw std::invalid_argument("FakeFileSystem: cannot place folder");
  folder->attrs = file_attr::Directory | (attrs & kSettable);
}

void FakeFileSystem::AddLink(std::string_view path, std::string_view target) {
  const Node* reached = Find(target, true);
  const bool fileLink = reached != nullptr && !reached->IsFolder();
  Node& link = Place(path, file_attr::ReparsePoint | (fileLink ? 0u : file_attr::Directory));
  link.target = std::string(target);
}

void FakeFileSystem::AddHardLink(std::string_view existing, std::string_view path) {
  Node* file = Find(existing, true);
  if (file == nullptr || file->IsFolder()) {
    throw std::invalid_argument("FakeFileSystem: no file to link " + std::string(existing));
  }
  Node& second = Place(path, file->attrs);
  second.data = file->data;
  ++second.data->links;
}

void FakeFileSystem::SetInUse(std::string_view path, bool inUse) {
  Node* node = Find(path, false);
  if (node == nullptr)
    throw std::invalid_argument("FakeFileSystem: nothing at " + std::string(path));
  node->inUse = inUse;
}

bool FakeFileSystem::Exists(std::string_view path) const { return Find(path, false) != nullptr; }

std::uint32_t FakeFileSystem::Attributes(std::string_view path) const {
  const Node* node = Find(path, false);
  return node == nullptr ? 0 : node->Reported();
}

std::string FakeFileSystem::Content(std::string_view path) const {
  const Node* node = Find(path, true);
  return (node != nullptr && node->data) ? node->data->content : std::string();
}

std::uint64_t FakeFileSystem::FreeBytes(char letter) const {
  auto drive = drives_.find(UpperLetter(letter));
  return drive == drives_.end() ? 0 : drive->second->info.freeBytes;
}

std::size_t FakeFileSystem::CountCalls(FsOp op) const {
  return static_cast<std::size_t>(
      std::count_if(calls_.begin(), calls_.end(), [op](const FsCall& c) { return c.op == op; }));
}

std::vector<std::string> FakeFileSystem::DriveNames() {
  std::vector<std::string> names;
  for (char drive : driveOrder_) names.push_back(drives_[drive]->info.name);
  return names;
}

FsResult FakeFileSystem::GetDrive(std::string_view name, DriveInfo& info) {
  // "c", "c:" and "c:\" all name drive C.
  if (name.empty() || !IsLetter(name[0]) || name.size() > 3 ||
      (name.size() >= 2 && name[1] != ':') || (name.size() == 3 && name[2] != '\\')) {
    return FsResult::NotFound;
  }
  auto drive = drives_.find(UpperLetter(name[0]));
  if (drive == drives_.end() || !drive->second->reported) return FsResult::NotFound;
  const Drive& found = *drive->second;
  info = DriveInfo{};
  info.name = found.info.name;
  info.letter = found.info.letter;
  info.type = found.info.type;
  if (!found.ready) return FsResult::Failed;
  info = found.info;
  return FsResult::Ok;
}

FsResult FakeFileSystem::ListDirectory(std::string_view folder, std::vector<DirEntry>& entries) {
  entries.clear();
  const Node* node = Find(folder, true);
  FsResult result = FsResult::Ok;
  if (node == nullptr) {
    result = FsResult::NotFound;
  } else if (!node->IsFolder()) {
    result = FsResult::Failed;
  } else {
    for (const auto& [key, child] : node->children) {
      entries.push_back({child->name, child->Reported(), child->Size()});
    }
  }
  return Record({FsOp::ListDirectory, std::string(folder), {}, 0, 0, result});
}

FsResult FakeFileSystem::GetAttributes(std::string_view path, std::uint32_t& attrs) {
  const Node* node = Find(path, false);
  if (node != nullptr) attrs = node->Reported();
  return Record({FsOp::GetAttributes,
                 std::string(path),
                 {},
                 0,
                 0,
                 node != nullptr ? FsResult::Ok : FsResult::NotFound});
}

FsResult FakeFileSystem::SetAttributes(std::string_view path, std::uint32_t attrs) {
  Node* node = Find(path, false);
  FsResult result = FsResult::NotFound;
  if (node != nullptr && node->parent != nullptr) {
    node->attrs =
        (node->attrs & (file_attr::Directory | file_attr::ReparsePoint)) | (attrs & kSettable);
    result = FsResult::Ok;
  }
  return Record({FsOp::SetAttributes, std::string(path), {}, 0, attrs, result});
}

FsResult FakeFileSystem::DeleteFile(std::string_view path) {
  Node* node = Find(path, false);
  FsResult result = FsResult::Ok;
  if (node == nullptr) {
    result = FsResult::NotFound;
  } else if (node->IsFolder() || (node->attrs & file_attr::ReadOnly) || node->IsBusy()) {
    result = FsResult::AccessDenied;
  } else {
    if (node->data && --node->data->links == 0) {
      auto drive = drives_.find(DriveOf(*node));
      if (drive != drives_.end()) drive->second->info.freeBytes += node->data->content.size();
    }
    node->parent->children.erase(ToLowerAscii(node->name));
  }
  return Record({FsOp::DeleteFile, std::string(path), {}, 0, 0, result});
}

FsResult FakeFileSystem::CreateDirectory(std::string_view path) {
  std::string name;
  Node* parent = FindParent(path, name);
  FsResult result = FsResult::Ok;
  if (parent == nullptr) {
    result = Find(path, false) != nullptr ? FsResult::AlreadyExists : FsResult::NotFound;
  } else if (parent->children.count(ToLowerAscii(name)) != 0) {
    result = FsResult::AlreadyExists;
  } else {
    auto& slot = parent->children[ToLowerAscii(name)];
    slot = std::make_unique<Node>();
    slot->name = name;
    slot->attrs = file_attr::Directory;
    slot->parent = parent;
  }
  return Record({FsOp::CreateDirectory, std::string(path), {}, 0, 0, result});
}

FsResult FakeFileSystem::RemoveDirectory(std::string_view path) {
  Node* node = Find(path, false);
  FsResult result = FsResult::Ok;
  if (node == nullptr) {
    result = FsResult::NotFound;
  } else if (!node->IsFolder()) {
    result = FsResult::Failed;
  } else if (node->parent == nullptr || node->IsBusy() || (node->attrs & file_attr::ReadOnly)) {
    result = FsResult::AccessDenied;
  } else if (!node->IsLink() && !node->children.empty()) {
    result = FsResult::NotEmpty;
  } else {
    // A link goes on its own; its target is not looked at.
    node->parent->children.erase(ToLowerAscii(node->name));
  }
  return Record({FsOp::RemoveDirectory, std::string(path), {}, 0, 0, result});
}

FsResult FakeFileSystem::MoveFile(std::string_view from, std::string_view to) {
  Node* node = Find(from, false);
  std::string name;
  Node* parent = FindParent(to, name);
  FsResult result = FsResult::Ok;
  if (node == nullptr || node->parent == nullptr) {
    result = FsResult::NotFound;
  } else if (Find(to, false) != nullptr) {
    result = FsResult::AlreadyExists;
  } else if (parent == nullptr) {
    result = FsResult::NotFound;
  } else if (node->IsBusy()) {
    result = FsResult::AccessDenied;
  } else {
    for (const Node* up = parent; up != nullptr; up = up->parent) {
      if (up == node) result = FsResult::Failed;  // into its own sub-tree
    }
    if (result == FsResult::Ok) {
      std::unique_ptr<Node> moved = std::move(node->parent->children[ToLowerAscii(node->name)]);
      node->parent->children.erase(ToLowerAscii(node->name));
      moved->name = name;
      moved->parent = parent;
      parent->children[ToLowerAscii(name)] = std::move(moved);
    }
  }
  return Record({FsOp::MoveFile, std::string(from), std::string(to), 0, 0, result});
}

FsResult FakeFileSystem::GetFileSize(std::string_view path, std::uint64_t& size) {
  // Like the attributes, the size of a link is the link's own.
  const Node* node = Find(path, false);
  if (node == nullptr) return FsResult::NotFound;
  size = node->Size();
  return FsResult::Ok;
}

FsResult FakeFileSystem::GetLinkCount(std::string_view path, std::uint32_t& links) {
  const Node* node = Find(path, true);
  if (node == nullptr) return FsResult::NotFound;
  links = node->data ? node->data->links : 1;
  return FsResult::Ok;
}

FsResult FakeFileSystem::ReadFile(std::string_view path, std::string& bytes) {
  const Node* node = Find(path, true);
  FsResult result = FsResult::Ok;
  if (node == nullptr) {
    result = FsResult::NotFound;
  } else if (node->IsFolder() || !node->data) {
    result = FsResult::AccessDenied;
  } else {
    bytes = node->data->content;
  }
  return Record({FsOp::ReadFile, std::string(path), {}, 0, 0, result});
}

FsResult FakeFileSystem::WriteFile(std::string_view path, std::string_view bytes) {
  Node* node = Find(path, true);
  std::string name;
  Node* parent = node == nullptr ? FindParent(path, name) : nullptr;
  FsResult result = FsResult::Ok;
  if (node != nullptr) {
    if (node->IsFolder() || (node->attrs & file_attr::ReadOnly) || node->IsBusy()) {
      result = FsResult::AccessDenied;
    } else {
      node->data->content = std::string(bytes);
    }
  } else if (parent == nullptr) {
    result = FsResult::NotFound;
  } else {
    auto& slot = parent->children[ToLowerAscii(name)];
    slot = std::make_unique<Node>();
    slot->name = name;
    slot->parent = parent;
    slot->data = std::make_shared<FileData>();
    slot->data->content = std::string(bytes);
  }
  return Record({FsOp::WriteFile, std::string(path), std::string(bytes), 0, 0, result});
}

std::unique_ptr<WritableFile> FakeFileSystem::OpenForOverwrite(std::string_view path,
                                                               FsResult& result) {
  // The link itself is looked at: overwriting through a link would reach its target.
  Node* node = Find(path, false);
  if (node == nullptr) {
    result = FsResult::NotFound;
  } else if (node->IsFolder() || node->IsLink() || (node->attrs & file_attr::ReadOnly) ||
             node->IsBusy()) {
    result = FsResult::AccessDenied;
  } else {
    result = FsResult::Ok;
  }
  (void)Record({FsOp::OpenForOverwrite, std::string(path), {}, 0, 0, result});
  if (result != FsResult::Ok) return nullptr;
  return std::make_unique<OpenFile>(*this, std::string(path), node->data);
}

}  // namespace quorvane::fakes
