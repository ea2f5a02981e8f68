#include "fakes/FakeFileSystem.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "core/Text.h"

namespace quorvane::fakes {
namespace {

using namespace file_attr;

constexpr std::uint32_t kSettable = ReadOnly | Hidden | System | Archive;
// Links deeper than this are taken as a loop, as the platform does.
constexpr int kMaxLinkDepth = 32;

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
char Upper(char c) { return ToUpperAscii(std::string_view(&c, 1))[0]; }

// A broken set-up is the test's own mistake: make it loud rather than silently empty.
[[noreturn]] void BadSetUp(std::string_view path) {
  throw std::invalid_argument("FakeFileSystem: cannot set up " + std::string(path));
}

// "X:\a\b" or "x:/a/b", also behind the "\\?\" prefix, split into the drive ("X:") and
// the names below its root; "." and ".." are not taken.
bool Parse(std::string_view path, std::vector<std::string>& names) {
  if (path.starts_with("\\\\?\\")) path.remove_prefix(4);
  if (path.size() < 2 || !IsLetter(path[0]) || path[1] != ':') return false;
  if (path.size() > 2 && path[2] != '\\' && path[2] != '/') return false;
  names.clear();
  for (std::size_t start = 0; start < path.size();) {
    const std::size_t end = std::min(path.find_first_of("\\/", start), path.size());
    const std::string_view name = path.substr(start, end - start);
    if (name == "." || name == "..") return false;
    if (!name.empty()) names.emplace_back(name);
    start = end + 1;
  }
  return true;
}

// A file's content lives apart from its names, so that hard links share it.
struct FileData {
  std::string content;
  std::uint32_t links = 1;
  bool openForOverwrite = false;
};

}  // namespace

struct FakeFileSystem::Node {
  std::string name;
  std::uint32_t attrs = 0;  // Directory for folders, ReparsePoint for links
  std::string target;       // links only
  std::shared_ptr<FileData> data;
  bool inUse = false;
  Node* parent = nullptr;
  std::map<std::string, std::unique_ptr<Node>> children;  // by lower-case name

  bool Is(std::uint32_t attr) const { return (attrs & attr) != 0; }
  bool Busy() const { return inUse || (data && data->openForOverwrite); }
  // A file without any attribute reports "normal", as on the platform.
  std::uint32_t Reported() const { return attrs == 0 ? Normal : attrs; }
  std::uint64_t Size() const { return (data && !Is(ReparsePoint)) ? data->content.size() : 0; }
  char Letter() const { return parent ? parent->Letter() : name[0]; }

  Node& Add(std::string_view childName, std::uint32_t childAttrs) {
    auto& slot = children[ToLowerAscii(childName)];
    slot = std::make_unique<Node>();
    slot->name = std::string(childName);
    slot->attrs = childAttrs;
    slot->parent = this;
    return *slot;
  }
  // Destroys this node.
  void Detach() { parent->children.erase(ToLowerAscii(name)); }
};

class FakeFileSystem::OpenFile final : public WritableFile {
 public:
  OpenFile(FakeFileSystem& owner, std::string_view path, std::shared_ptr<FileData> data)
      : owner_(owner), path_(path), data_(std::move(data)) {
    data_->openForOverwrite = true;
  }
  ~OpenFile() override { data_->openForOverwrite = false; }

  FsResult WriteAt(std::uint64_t offset, std::string_view bytes) override {
    std::string& content = data_->content;
    content.resize(std::max(content.size(), static_cast<std::size_t>(offset) + bytes.size()), '\0');
    content.replace(static_cast<std::size_t>(offset), bytes.size(), bytes);
    owner_.calls_.push_back({FsOp::WriteAt, path_, std::string(bytes), offset});
    return FsResult::Ok;
  }
  FsResult Flush() override { return owner_.Log(FsOp::Flush, path_, FsResult::Ok); }

 private:
  FakeFileSystem& owner_;
  std::string path_;
  std::shared_ptr<FileData> data_;
};

FakeFileSystem::FakeFileSystem() : top_(std::make_unique<Node>()) {
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    top_->Add(std::string(1, letter) + ":", Directory).parent = nullptr;
  }
}

FakeFileSystem::~FakeFileSystem() = default;

FakeFileSystem::Node* FakeFileSystem::Find(std::string_view path, bool followLast) const {
  Names names;
  return Parse(path, names) ? Find(names, followLast) : nullptr;
}

FakeFileSystem::Node* FakeFileSystem::Find(const Names& names, bool followLast, int depth) const {
  Node* node = top_.get();
  for (std::size_t i = 0; i < names.size() && node != nullptr; ++i) {
    const auto child = node->children.find(ToLowerAscii(names[i]));
    if (child == node->children.end()) return nullptr;
    node = child->second.get();
    if (node->Is(ReparsePoint) && (followLast || i + 1 < names.size())) {
      Names target;
      if (depth >= kMaxLinkDepth || !Parse(node->target, target)) return nullptr;
      node = Find(target, true, depth + 1);
    }
  }
  return node;
}

FakeFileSystem::Node* FakeFileSystem::FindParent(std::string_view path, std::string& name) const {
  Names names;
  if (!Parse(path, names) || names.size() < 2) return nullptr;
  name = names.back();
  names.pop_back();
  Node* parent = Find(names, true);
  return (parent != nullptr && parent->Is(Directory)) ? parent : nullptr;
}

FakeFileSystem::Node& FakeFileSystem::MakeFolders(const Names& names, std::size_t count) {
  Node* node = top_.get();
  for (std::size_t i = 0; i < count; ++i) {
    const auto child = node->children.find(ToLowerAscii(names[i]));
    node = child != node->children.end() ? child->second.get() : &node->Add(names[i], Directory);
    if (node->Is(ReparsePoint)) node = Find(node->target, true);
    if (node == nullptr || !node->Is(Directory)) BadSetUp(names[i]);
  }
  return *node;
}

FakeFileSystem::Node& FakeFileSystem::Place(std::string_view path, std::uint32_t attrs) {
  Names names;
  if (!Parse(path, names) || names.size() < 2) BadSetUp(path);
  return MakeFolders(names, names.size() - 1).Add(names.back(), attrs);
}

FakeFileSystem::Drive* FakeFileSystem::FindDrive(char letter) {
  const auto drive = std::find_if(drives_.begin(), drives_.end(),
                                  [&](const Drive& d) { return d.info.letter == Upper(letter); });
  return drive == drives_.end() ? nullptr : &*drive;
}

FsResult FakeFileSystem::Log(FsOp op, std::string_view path, FsResult result) {
  calls_.push_back({op, std::string(path), {}, 0});
  return result;
}

void FakeFileSystem::AddDrive(char letter, DriveType type, std::uint64_t freeBytes,
                              std::uint64_t totalBytes) {
  const std::string name = ToLowerAscii(std::string_view(&letter, 1)) + ":";
  drives_.push_back({DriveInfo{name, Upper(letter), type, freeBytes, totalBytes, {}}});
}

void FakeFileSystem::SetDriveReady(char letter, bool ready) {
  Drive* drive = FindDrive(letter);
  if (drive == nullptr) BadSetUp(std::string_view(&letter, 1));
  drive->ready = ready;
}

void FakeFileSystem::AddFile(std::string_view path, std::string_view content, std::uint32_t attrs) {
  Node& file = Place(path, attrs & kSettable);
  file.data = std::make_shared<FileData>();
  file.data->content = std::string(content);
}

void FakeFileSystem::AddFolder(std::string_view path, std::uint32_t attrs) {
  Names names;
  if (!Parse(path, names)) BadSetUp(path);
  MakeFolders(names, names.size()).attrs = Directory | (attrs & kSettable);
}

void FakeFileSystem::AddLink(std::string_view path, std::string_view target) {
  const Node* reached = Find(target, true);
  const bool fileLink = reached != nullptr && !reached->Is(Directory);
  Place(path, ReparsePoint | (fileLink ? 0u : Directory)).target = std::string(target);
}

void FakeFileSystem::AddHardLink(std::string_view existing, std::string_view path) {
  const Node* file = Find(existing, true);
  if (file == nullptr || !file->data) BadSetUp(existing);
  Node& second = Place(path, file->attrs);
  second.data = file->data;
  ++second.data->links;
}

void FakeFileSystem::SetInUse(std::string_view path) {
  Node* node = Find(path, false);
  if (node == nullptr) BadSetUp(path);
  node->inUse = true;
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

std::size_t FakeFileSystem::CountCalls(FsOp op) const {
  return static_cast<std::size_t>(
      std::count_if(calls_.begin(), calls_.end(), [op](const FsCall& c) { return c.op == op; }));
}

std::vector<std::string> FakeFileSystem::DriveNames() {
  std::vector<std::string> names;
  for (const Drive& drive : drives_) names.push_back(drive.info.name);
  return names;
}

FsResult FakeFileSystem::GetDrive(std::string_view name, DriveInfo& info) {
  // "c", "c:" and "c:\" all name drive C.
  const Drive* drive = name.empty() || name.size() > 3 || (name.size() > 1 && name[1] != ':') ||
                               (name.size() > 2 && name[2] != '\\')
                           ? nullptr
                           : FindDrive(name[0]);
  if (drive == nullptr) return FsResult::NotFound;
  info = drive->info;
  if (drive->ready) return FsResult::Ok;
  info = DriveInfo{info.name, info.letter, info.type, 0, 0, {}};
  return FsResult::Failed;
}

FsResult FakeFileSystem::ListDirectory(std::string_view folder, std::vector<DirEntry>& entries) {
  entries.clear();
  return Log(FsOp::ListDirectory, folder, [&] {
    const Node* node = Find(folder, true);
    if (node == nullptr) return FsResult::NotFound;
    if (!node->Is(Directory)) return FsResult::Failed;
    for (const auto& [key, child] : node->children) {
      entries.push_back({child->name, child->Reported(), child->Size()});
    }
    return FsResult::Ok;
  }());
}

FsResult FakeFileSystem::GetAttributes(std::string_view path, std::uint32_t& attrs) {
  const Node* node = Find(path, false);
  if (node != nullptr) attrs = node->Reported();
  return Log(FsOp::GetAttributes, path, node != nullptr ? FsResult::Ok : FsResult::NotFound);
}

FsResult FakeFileSystem::SetAttributes(std::string_view path, std::uint32_t attrs) {
  Node* node = Find(path, false);
  const bool settable = node != nullptr && node->parent != nullptr;
  if (settable) node->attrs = (node->attrs & (Directory | ReparsePoint)) | (attrs & kSettable);
  return Log(FsOp::SetAttributes, path, settable ? FsResult::Ok : FsResult::NotFound);
}

FsResult FakeFileSystem::DeleteFile(std::string_view path) {
  return Log(FsOp::DeleteFile, path, [&] {
    Node* node = Find(path, false);
    if (node == nullptr) return FsResult::NotFound;
    if (node->Is(Directory | ReadOnly) || node->Busy()) return FsResult::AccessDenied;
    if (node->data && --node->data->links == 0) {
      if (Drive* drive = FindDrive(node->Letter())) drive->info.freeBytes += node->Size();
    }
    node->Detach();
    return FsResult::Ok;
  }());
}

FsResult FakeFileSystem::CreateDirectory(std::string_view path) {
  return Log(FsOp::CreateDirectory, path, [&] {
    std::string name;
    Node* parent = FindParent(path, name);
    if (Find(path, false) != nullptr) return FsResult::AlreadyExists;
    if (parent == nullptr) return FsResult::NotFound;
    parent->Add(name, Directory);
    return FsResult::Ok;
  }());
}

FsResult FakeFileSystem::RemoveDirectory(std::string_view path) {
  return Log(FsOp::RemoveDirectory, path, [&] {
    Node* node = Find(path, false);
    if (node == nullptr) return FsResult::NotFound;
    if (!node->Is(Directory)) return FsResult::Failed;
    if (node->parent == nullptr || node->Busy() || node->Is(ReadOnly)) {
      return FsResult::AccessDenied;
    }
    // A link goes on its own; its target is not looked at.
    if (!node->Is(ReparsePoint) && !node->children.empty()) return FsResult::NotEmpty;
    node->Detach();
    return FsResult::Ok;
  }());
}

FsResult FakeFileSystem::MoveFile(std::string_view from, std::string_view to) {
  return Log(FsOp::MoveFile, from, [&] {
    Node* node = Find(from, false);
    std::string name;
    Node* parent = FindParent(to, name);
    if (node == nullptr || node->parent == nullptr) return FsResult::NotFound;
    if (Find(to, false) != nullptr) return FsResult::AlreadyExists;
    if (parent == nullptr) return FsResult::NotFound;
    if (node->Busy()) return FsResult::AccessDenied;
    for (const Node* up = parent; up != nullptr; up = up->parent) {
      if (up == node) return FsResult::Failed;  // into its own sub-tree
    }
    auto moved = std::move(node->parent->children.extract(ToLowerAscii(node->name)).mapped());
    moved->name = name;
    moved->parent = parent;
    parent->children[ToLowerAscii(name)] = std::move(moved);
    return FsResult::Ok;
  }());
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
  return Log(FsOp::ReadFile, path, [&] {
    const Node* node = Find(path, true);
    if (node == nullptr) return FsResult::NotFound;
    if (!node->data) return FsResult::AccessDenied;
    bytes = node->data->content;
    return FsResult::Ok;
  }());
}

FsResult FakeFileSystem::WriteFile(std::string_view path, std::string_view bytes) {
  return Log(FsOp::WriteFile, path, [&] {
    Node* node = Find(path, true);
    std::string name;
    Node* parent = FindParent(path, name);
    if (node == nullptr && parent != nullptr) {
      node = &parent->Add(name, 0);
      node->data = std::make_shared<FileData>();
    }
    if (node == nullptr) return FsResult::NotFound;
    if (!node->data || node->Is(ReadOnly) || node->Busy()) return FsResult::AccessDenied;
    node->data->content = std::string(bytes);
    return FsResult::Ok;
  }());
}

std::unique_ptr<WritableFile> FakeFileSystem::OpenForOverwrite(std::string_view path,
                                                               FsResult& result) {
  // The link itself is looked at: overwriting through a link would reach its target.
  Node* node = Find(path, false);
  result = Log(FsOp::OpenForOverwrite, path, [&] {
    if (node == nullptr) return FsResult::NotFound;
    if (!node->data || node->Is(ReparsePoint | ReadOnly) || node->Busy()) {
      return FsResult::AccessDenied;
    }
    return FsResult::Ok;
  }());
  if (result != FsResult::Ok) return nullptr;
  return std::make_unique<OpenFile>(*this, path, node->data);
}

}  // namespace quorvane::fakes
