#include "win32/platform/Win32FileSystem.h"

#include <windows.h>
#include <winternl.h>
// The interface names its calls after the platform's; the macros would rename the members.
#undef CreateDirectory
#undef DeleteFile
#undef MoveFile
#undef RemoveDirectory

#include <algorithm>
#include <utility>
#include <vector>

#include "win32/platform/WideText.h"

namespace quorvane::win32 {
namespace {

// Attributes that SetFileAttributes takes; the others describe what an entry is.
constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_OFFLINE |
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
// Large files are read and written in pieces that one call can take.
constexpr DWORD kChunk = 16u << 20;

FsResult FromError(DWORD error) {
  switch (error) {
    case ERROR_SUCCESS:
      return FsResult::Ok;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
      return FsResult::NotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return FsResult::AccessDenied;
    case ERROR_DIR_NOT_EMPTY:
      return FsResult::NotEmpty;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return FsResult::AlreadyExists;
    default:
      return FsResult::Failed;
  }
}

FsResult LastError() { return FromError(GetLastError()); }

FsResult Check(BOOL done) { return done ? FsResult::Ok : LastError(); }

DriveType ToDriveType(UINT type) {
  switch (type) {
    case DRIVE_NO_ROOT_DIR:
      return DriveType::NoRootDir;
    case DRIVE_REMOVABLE:
      return DriveType::Removable;
    case DRIVE_FIXED:
      return DriveType::Fixed;
    case DRIVE_REMOTE:
      return DriveType::Network;
    case DRIVE_CDROM:
      return DriveType::CdRom;
    case DRIVE_RAMDISK:
      return DriveType::RamDisk;
    default:
      return DriveType::Unknown;
  }
}

std::uint64_t Combine(DWORD high, DWORD low) {
  return (static_cast<std::uint64_t>(high) << 32) | low;
}

// Closes a handle when it goes out of scope.
class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() {
    if (valid()) CloseHandle(handle_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
  HANDLE get() const { return handle_; }
  HANDLE release() { return std::exchange(handle_, INVALID_HANDLE_VALUE); }
  void reset(HANDLE handle) {
    if (valid()) CloseHandle(handle_);
    handle_ = handle;
  }

 private:
  HANDLE handle_;
};

// An empty floppy or card reader must fail quietly instead of asking the user for a disk.
class QuietDriveErrors {
 public:
  QuietDriveErrors() { SetThreadErrorMode(SEM_FAILCRITICALERRORS, &previous_); }
  ~QuietDriveErrors() { SetThreadErrorMode(previous_, nullptr); }
  QuietDriveErrors(const QuietDriveErrors&) = delete;
  QuietDriveErrors& operator=(const QuietDriveErrors&) = delete;

 private:
  DWORD previous_ = 0;
};

// Under Wine a Unix symbolic link to a file lists as a plain file, and deleting it, or
// writing to it, reaches the file it points to. Only the name the system gives the opened
// file tells: it is the target's. So there, before a file is deleted or overwritten, that
// name must be the folder's own name followed by the file's.
bool RunningUnderWine() {
  static const bool underWine =
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return underWine;
}

// The system's full name of an opened file ("\??\C:\a\b.txt"), of any length; empty
// when it cannot be had. Wine's own GetFinalPathNameByHandleW stops at MAX_PATH.
std::wstring ObjectName(HANDLE handle) {
  // Looked up rather than linked: only the Wine path needs it.
  static const auto query = reinterpret_cast<decltype(&NtQueryObject)>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryObject")));
  if (query == nullptr) return {};
  alignas(UNICODE_STRING) char small[2048];
  std::vector<char> large;
  void* buffer = small;
  ULONG needed = 0;
  if (!NT_SUCCESS(query(handle, ObjectNameInformation, small, sizeof(small), &needed))) {
    if (needed <= sizeof(small)) return {};
    large.resize(needed);
    buffer = large.data();
    if (!NT_SUCCESS(query(handle, ObjectNameInformation, buffer, needed, &needed))) return {};
  }
  const auto* name = static_cast<const UNICODE_STRING*>(buffer);
  return std::wstring(name->Buffer, name->Length / sizeof(wchar_t));
}

FsResult WriteAll(HANDLE file, std::uint64_t offset, std::string_view bytes) {
  while (!bytes.empty()) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(bytes.size(), kChunk));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), piece, &written, &at)) return LastError();
    if (written == 0) return FsResult::Failed;
    offset += written;
    bytes.remove_prefix(written);
  }
  return FsResult::Ok;
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
constexpr DWORD kResettable =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

FsResult SetDisposition(HANDLE file) {
  FILE_DISPOSITION_INFO dispose{TRUE};
  return Check(SetFileInformationByHandle(file, FileDispositionInfo, &dispose, sizeof(dispose)));
}

// The attributes of an opened file. The basic information only: under Wine the full
// information costs a look-up of the volume that takes longer than the deletion itself.
bool AttributesOf(HANDLE file, DWORD& attributes) {
  FILE_BASIC_INFO basic;
  if (!GetFileInformationByHandleEx(file, FileBasicInfo, &basic, sizeof(basic))) return false;
  attributes = basic.FileAttributes;
  return true;
}

// Makes the opened file normal: for a file only, after the open has shown it is no link.
FsResult ResetThroughHandle(HANDLE file) {
  FILE_BASIC_INFO basic{};  // zero times stay as they are
  basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
  return Check(SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof(basic)));
}

// Under Wine every open of a Unix symbolic link reaches its target, and so does every
// deletion through such an open. Renaming onto the link's name, however, replaces the link
// itself: a fresh empty file, deleted when closed, takes the link's place and then goes.
FsResult RemoveUnixFileLink(const std::wstring& longPath) {
  const size_t slash = longPath.find_last_of(L'\\');
  std::wstring stand;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (unsigned attempt = 0; attempt < 16 && file == INVALID_HANDLE_VALUE; ++attempt) {
    stand = longPath.substr(0, slash + 1) + L"~qv" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(GetTickCount() + attempt) + L".tmp";
    file = CreateFileW(stand.c_str(), DELETE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return LastError();
  }
  if (file == INVALID_HANDLE_VALUE) return FsResult::Failed;
  Handle standIn(file);
  const std::wstring_view target(longPath);
  std::vector<char> buffer(sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t));
  auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  rename->ReplaceIfExists = TRUE;
  rename->FileNameLength = static_cast<DWORD>(target.size() * sizeof(wchar_t));
  std::copy(target.begin(), target.end(), rename->FileName);
  return Check(SetFileInformationByHandle(standIn.get(), FileRenameInfo, rename,
                                          static_cast<DWORD>(buffer.size())));
}

// One open of a file for its overwrite and deletion. The first open takes no write access to
// the data, so that a read-only file can be looked at and reset; writing reopens the same
// file through this handle, never through its name.
class Win32WritableFile final : public WritableFile {
 public:
  Win32WritableFile(HANDLE file, std::wstring longPath, DWORD attributes, DWORD links,
                    std::uint64_t size, bool unixLink)
      : file_(file),
        longPath_(std::move(longPath)),
        attributes_(attributes),
        links_(links),
        size_(size),
        unixLink_(unixLink) {}

  std::uint32_t Attributes() const override { return attributes_; }
  std::uint32_t LinkCount() const override { return links_; }
  std::uint64_t Size() const override { return size_; }
  FsResult WriteAt(std::uint64_t offset, std::string_view bytes) override {
    if (attributes_ & FILE_ATTRIBUTE_REPARSE_POINT) return FsResult::AccessDenied;
    if (!writer_.valid()) {
      writer_.reset(ReOpenFile(file_.get(), GENERIC_WRITE, kShareAll, 0));
      if (!writer_.valid()) return LastError();
    }
    return WriteAll(writer_.get(), offset, bytes);
  }
  FsResult Flush() override {
    return writer_.valid() ? Check(FlushFileBuffers(writer_.get())) : FsResult::Ok;
  }
  FsResult Delete() override {
    if (!unixLink_) return SetDisposition(file_.get());
    writer_.reset(INVALID_HANDLE_VALUE);
    file_.reset(INVALID_HANDLE_VALUE);
    return RemoveUnixFileLink(longPath_);
  }

 private:
  Handle file_;
  Handle writer_{INVALID_HANDLE_VALUE};
  std::wstring longPath_;
  DWORD attributes_;
  DWORD links_;
  std::uint64_t size_;
  bool unixLink_;
};

}  // namespace

// True unless the opened file is known to be the very entry that `longPath` names. The names
// of the two folders looked at last are kept: a forced delete removes a folder's files one
// after the other, then the folder itself (an entry of its parent), then goes on to the next
// sibling, and looking at each folder again for every entry would double the work.
bool Win32FileSystem::ReachedThroughLink(void* file, std::wstring_view longPath) {
  const size_t slash = longPath.find_last_of(L'\\');
  if (slash == std::wstring_view::npos) return true;
  const std::wstring_view folderPath = longPath.substr(0, slash + 1);
  if (checked_[1].path == folderPath) std::swap(checked_[0], checked_[1]);
  if (checked_[0].path != folderPath || checked_[0].name.empty()) {
    std::swap(checked_[0], checked_[1]);
    CheckedFolder& folder = checked_[0];
    folder.path = folderPath;
    Handle opened(CreateFileW(folder.path.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    folder.name = opened.valid() ? ObjectName(opened.get()) : std::wstring();
    if (folder.name.empty()) return true;
    if (folder.name.back() != L'\\') folder.name += L'\\';
  }
  const std::wstring& folderName = checked_[0].name;
  const std::wstring actual = ObjectName(file);
  const std::wstring_view leaf = longPath.substr(slash + 1);
  const size_t folderLength = folderName.size();
  if (actual.size() != folderLength + leaf.size()) return true;
  return CompareStringOrdinal(actual.data(), static_cast<int>(folderLength), folderName.data(),
                              static_cast<int>(folderLength), TRUE) != CSTR_EQUAL ||
         CompareStringOrdinal(actual.data() + folderLength, static_cast<int>(leaf.size()),
                              leaf.data(), static_cast<int>(leaf.size()), TRUE) != CSTR_EQUAL;
}

std::vector<std::string> Win32FileSystem::DriveNames() {
  std::vector<std::string> names;
  std::wstring buffer(128, L'\0');
  DWORD length = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
  if (length > buffer.size()) {
    buffer.resize(length);
    length = GetLogicalDriveStringsW(static_cast<DWORD>(buffer.size()), buffer.data());
  }
  if (length == 0 || length > buffer.size()) return names;
  // "C:\<nul>D:\<nul><nul>": each root becomes "c:".
  for (size_t at = 0; at < length && buffer[at] != L'\0';) {
    const size_t end = buffer.find(L'\0', at);
    const std::wstring_view root(buffer.data() + at, end - at);
    if (root.size() >= 2 && root[1] == L':' && root[0] >= L'A' && root[0] <= L'Z') {
      names.push_back(std::string(1, static_cast<char>(root[0] - L'A' + L'a')) + ":");
    }
    at = end + 1;
  }
  return names;
}

FsResult Win32FileSystem::GetDrive(std::string_view name, DriveInfo& info) {
  // "c", "c:" and "c:\" all name drive C.
  const char first = name.empty() ? '\0' : name[0];
  const char letter = (first >= 'a' && first <= 'z') ? static_cast<char>(first - 'a' + 'A') : first;
  const bool wellFormed = letter >= 'A' && letter <= 'Z' && name.size() <= 3 &&
                          (name.size() < 2 || name[1] == ':') &&
                          (name.size() < 3 || name[2] == '\\' || name[2] == '/');
  if (!wellFormed) return FsResult::NotFound;
  const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};

  info = DriveInfo{};
  info.letter = letter;
  info.name = std::string(1, static_cast<char>(letter - 'A' + 'a')) + ":";
  info.type = ToDriveType(GetDriveTypeW(root));
  if (info.type == DriveType::NoRootDir) return FsResult::NotFound;
  // A network drive whose server is gone can hold the caller for a minute; nothing asks for
  // the space of any drive but a fixed one.
  if (info.type != DriveType::Fixed) return FsResult::Ok;

  QuietDriveErrors quiet;
  ULARGE_INTEGER availableToUser{}, total{}, totalFree{};
  if (!GetDiskFreeSpaceExW(root, &availableToUser, &total, &totalFree)) return FsResult::Failed;
  // The whole drive's free space: a user's quota says nothing about what a clean frees.
  info.freeBytes = totalFree.QuadPart;
  info.totalBytes = total.QuadPart;
  return FsResult::Ok;
}

FsResult Win32FileSystem::GetVolumeLabel(std::string_view name, std::string& label) {
  const char first = name.empty() ? '\0' : name[0];
  const char letter = (first >= 'a' && first <= 'z') ? static_cast<char>(first - 'a' + 'A') : first;
  if (letter < 'A' || letter > 'Z') return FsResult::NotFound;
  const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', L'\0'};
  QuietDriveErrors quiet;
  wchar_t text[MAX_PATH + 1] = {};
  if (!GetVolumeInformationW(root, text, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) {
    return LastError();
  }
  label = Narrow(text);
  return FsResult::Ok;
}

FsResult Win32FileSystem::ListDirectory(std::string_view folder, std::vector<DirEntry>& entries) {
  entries.clear();
  // An empty name would list the current folder, which nobody asked for.
  if (folder.empty()) return FsResult::NotFound;
  const std::wstring base = LongPath(folder);
  std::wstring pattern = base;
  if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
  pattern += L'*';

  WIN32_FIND_DATAW found;
  // The basic information level skips the short 8.3 names, which nothing here uses.
  HANDLE search = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                   nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    // A drive's empty root has no "." entry, so nothing at all is found there.
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) {
      const DWORD attributes = GetFileAttributesW(base.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return FsResult::Ok;
      }
    }
    return FromError(error);
  }
  do {
    const wchar_t* name = found.cFileName;
    if (name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'))) continue;
    entries.push_back(DirEntry{Narrow(name), found.dwFileAttributes,
                               Combine(found.nFileSizeHigh, found.nFileSizeLow)});
  } while (FindNextFileW(search, &found));
  const DWORD error = GetLastError();
  FindClose(search);
  return error == ERROR_NO_MORE_FILES ? FsResult::Ok : FromError(error);
}

FsResult Win32FileSystem::GetAttributes(std::string_view path, std::uint32_t& attrs) {
  const DWORD attributes = GetFileAttributesW(LongPath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
  attrs = attributes;
  return FsResult::Ok;
}

FsResult Win32FileSystem::GetShortName(std::string_view path, std::string& shortName) {
  const std::wstring longPath = LongPath(path);
  std::wstring shortPath(longPath.size() + 1, L'\0');
  DWORD length =
      GetShortPathNameW(longPath.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
  if (length >= shortPath.size()) {
    shortPath.resize(length);
    length =
        GetShortPathNameW(longPath.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
  }
  if (length == 0 || length >= shortPath.size()) return LastError();
  shortPath.resize(length);
  // Where the volume keeps no short names the call hands back the long ones.
  shortName = Narrow(shortPath.substr(shortPath.find_last_of(L'\\') + 1));
  return FsResult::Ok;
}

FsResult Win32FileSystem::SetAttributes(std::string_view path, std::uint32_t attrs) {
  DWORD settable = attrs & kSettableAttributes;
  if (settable == 0) settable = FILE_ATTRIBUTE_NORMAL;
  return Check(SetFileAttributesW(LongPath(path).c_str(), settable));
}

FsResult Win32FileSystem::FinalPath(std::string_view folder, std::string& finalPath) {
  Handle opened(CreateFileW(LongPath(folder).c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!opened.valid()) return LastError();
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(
        opened.get(), name.data(), static_cast<DWORD>(name.size()), VOLUME_NAME_DOS);
    if (length == 0) return LastError();
    if (length < name.size()) {
      name.resize(length);
      break;
    }
    name.resize(length + 1);
  }
  // "\\?\C:\a" is "C:\a", "\\?\UNC\server\share" is "\\server\share".
  if (name.rfind(L"\\\\?\\UNC\\", 0) == 0) {
    name.replace(0, 8, L"\\\\");
  } else if (name.rfind(L"\\\\?\\", 0) == 0) {
    name.erase(0, 4);
  }
  finalPath = Narrow(name);
  return FsResult::Ok;
}

FsResult Win32FileSystem::DeleteFile(std::string_view path, DeleteMode mode) {
  const std::wstring longPath = LongPath(path);
  // The entry itself is opened - a link as the link - and deleted through that same open.
  const DWORD access = DELETE | FILE_READ_ATTRIBUTES |
                       (mode == DeleteMode::ResetAttributes ? FILE_WRITE_ATTRIBUTES : 0);
  Handle file(CreateFileW(longPath.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                          FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.valid()) return LastError();
  if (RunningUnderWine() && ReachedThroughLink(file.get(), longPath)) {
    file.reset(INVALID_HANDLE_VALUE);
    return RemoveUnixFileLink(longPath);
  }
  const FsResult deleted = SetDisposition(file.get());
  // Only a read-only file refuses, so only such a file pays for the reset. The open is the
  // entry itself (under Wine checked above, elsewhere a link opened as the link), so the
  // reset reaches no link's target.
  if (deleted != FsResult::AccessDenied || mode != DeleteMode::ResetAttributes) return deleted;
  if (const FsResult reset = ResetThroughHandle(file.get()); reset != FsResult::Ok) return reset;
  return SetDisposition(file.get());
}

FsResult Win32FileSystem::CreateDirectory(std::string_view path) {
  return Check(CreateDirectoryW(LongPath(path).c_str(), nullptr));
}

FsResult Win32FileSystem::RemoveDirectory(std::string_view path) {
  const std::wstring longPath = LongPath(path);
  if (!RunningUnderWine()) return Check(RemoveDirectoryW(longPath.c_str()));
  // Under Wine removing a Unix link to a folder would remove the folder it leads to when that
  // is empty; such a link stays.
  Handle folder(CreateFileW(longPath.c_str(), DELETE, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!folder.valid()) return LastError();
  if (ReachedThroughLink(folder.get(), longPath)) return FsResult::AccessDenied;
  return SetDisposition(folder.get());
}

FsResult Win32FileSystem::MoveFile(std::string_view from, std::string_view to,
                                   IfTargetExists ifExists) {
  const DWORD flags = ifExists == IfTargetExists::Replace ? MOVEFILE_REPLACE_EXISTING : 0;
  return Check(MoveFileExW(LongPath(from).c_str(), LongPath(to).c_str(), flags));
}

FsResult Win32FileSystem::GetFileSize(std::string_view path, std::uint64_t& size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(LongPath(path).c_str(), GetFileExInfoStandard, &data)) {
    return LastError();
  }
  size = Combine(data.nFileSizeHigh, data.nFileSizeLow);
  return FsResult::Ok;
}

FsResult Win32FileSystem::ReadFile(std::string_view path, std::string& bytes) {
  Handle file(CreateFileW(LongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.valid()) return LastError();
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file.get(), &size)) return LastError();
  std::string content(static_cast<size_t>(size.QuadPart), '\0');
  size_t filled = 0;
  while (filled < content.size()) {
    DWORD got = 0;
    const DWORD piece = static_cast<DWORD>(std::min<size_t>(content.size() - filled, kChunk));
    if (!::ReadFile(file.get(), content.data() + filled, piece, &got, nullptr)) return LastError();
    if (got == 0) break;  // the file became shorter while it was read
    filled += got;
  }
  content.resize(filled);
  bytes = std::move(content);
  return FsResult::Ok;
}

FsResult Win32FileSystem::WriteFile(std::string_view path, std::string_view bytes) {
  // OPEN_ALWAYS and an explicit end rather than CREATE_ALWAYS, which refuses to replace a
  // hidden or system file unless the caller repeats those attributes.
  Handle file(CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return LastError();
  if (const FsResult written = WriteAll(file.get(), 0, bytes); written != FsResult::Ok) {
    return written;
  }
  LARGE_INTEGER end;
  end.QuadPart = static_cast<LONGLONG>(bytes.size());
  if (!SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN)) return LastError();
  return Check(SetEndOfFile(file.get()));
}

std::unique_ptr<WritableFile> Win32FileSystem::OpenForOverwrite(std::string_view path,
                                                                DeleteMode mode, FsResult& result) {
  // The link itself is opened, not its target, and looked at through the handle, so nothing
  // can swap the file for a link between the look, the writes and the deletion.
  const std::wstring longPath = LongPath(path);
  Handle file(CreateFileW(longPath.c_str(),
                          DELETE | SYNCHRONIZE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                          FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  DWORD attributes = 0;
  FILE_STANDARD_INFO standard;
  if (!file.valid() || !AttributesOf(file.get(), attributes) ||
      !GetFileInformationByHandleEx(file.get(), FileStandardInfo, &standard, sizeof(standard))) {
    result = LastError();
    return nullptr;
  }
  const bool unixLink = RunningUnderWine() && ReachedThroughLink(file.get(), longPath);
  if (unixLink) attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
  const bool link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !link) {
    result = FsResult::AccessDenied;
    return nullptr;
  }
  if (!link && mode == DeleteMode::ResetAttributes && (attributes & kResettable)) {
    if (const FsResult reset = ResetThroughHandle(file.get()); reset != FsResult::Ok) {
      result = reset;
      return nullptr;
    }
    attributes = (attributes & ~kResettable) | FILE_ATTRIBUTE_NORMAL;
  }
  // A read-only file is refused here too: the platform's own refusal does not hold for
  // every account (an administrator under Wine writes anyway).
  if (!link && (attributes & FILE_ATTRIBUTE_READONLY)) {
    result = FsResult::AccessDenied;
    return nullptr;
  }
  result = FsResult::Ok;
  return std::make_unique<Win32WritableFile>(
      file.release(), longPath, attributes, standard.NumberOfLinks,
      static_cast<std::uint64_t>(standard.EndOfFile.QuadPart), unixLink);
}

}  // namespace quorvane::win32
