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

class Win32WritableFile final : public WritableFile {
 public:
  explicit Win32WritableFile(HANDLE file) : file_(file) {}
  FsResult WriteAt(std::uint64_t offset, std::string_view bytes) override {
    return WriteAll(file_.get(), offset, bytes);
  }
  FsResult Flush() override { return Check(FlushFileBuffers(file_.get())); }

 private:
  Handle file_;
};

}  // namespace

// True unless the opened file is known to be the very entry that `longPath` names. The
// folder's name is kept from one call to the next: a forced delete removes a folder's files
// one after the other, and looking at the folder again for each would double the work.
bool Win32FileSystem::ReachedThroughLink(void* file, std::wstring_view longPath) {
  const size_t slash = longPath.find_last_of(L'\\');
  if (slash == std::wstring_view::npos) return true;
  const std::wstring_view folderPath = longPath.substr(0, slash + 1);
  if (folderPath != checkedFolder_ || checkedFolderName_.empty()) {
    checkedFolder_ = folderPath;
    Handle folder(CreateFileW(checkedFolder_.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    checkedFolderName_ = folder.valid() ? ObjectName(folder.get()) : std::wstring();
    if (checkedFolderName_.empty()) return true;
    if (checkedFolderName_.back() != L'\\') checkedFolderName_ += L'\\';
  }
  const std::wstring actual = ObjectName(file);
  const std::wstring_view leaf = longPath.substr(slash + 1);
  const size_t folderLength = checkedFolderName_.size();
  if (actual.size() != folderLength + leaf.size()) return true;
  return CompareStringOrdinal(actual.data(), static_cast<int>(folderLength),
                              checkedFolderName_.data(), static_cast<int>(folderLength),
                              TRUE) != CSTR_EQUAL ||
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

  QuietDriveErrors quiet;
  ULARGE_INTEGER availableToUser{}, total{}, totalFree{};
  if (!GetDiskFreeSpaceExW(root, &availableToUser, &total, &totalFree)) return FsResult::Failed;
  // The whole drive's free space: a user's quota says nothing about what a clean frees.
  info.freeBytes = totalFree.QuadPart;
  info.totalBytes = total.QuadPart;
  wchar_t label[MAX_PATH + 1] = {};
  if (GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) {
    info.volumeLabel = Narrow(label);
  }
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

FsResult Win32FileSystem::DeleteFile(std::string_view path) {
  const std::wstring longPath = LongPath(path);
  if (!RunningUnderWine()) return Check(DeleteFileW(longPath.c_str()));
  // The same steps as DeleteFileW, with a look at the opened file in between.
  Handle file(CreateFileW(longPath.c_str(), DELETE,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.valid()) return LastError();
  if (ReachedThroughLink(file.get(), longPath)) return FsResult::AccessDenied;
  FILE_DISPOSITION_INFO dispose{TRUE};
  return Check(
      SetFileInformationByHandle(file.get(), FileDispositionInfo, &dispose, sizeof(dispose)));
}

FsResult Win32FileSystem::CreateDirectory(std::string_view path) {
  return Check(CreateDirectoryW(LongPath(path).c_str(), nullptr));
}

FsResult Win32FileSystem::RemoveDirectory(std::string_view path) {
  return Check(RemoveDirectoryW(LongPath(path).c_str()));
}

FsResult Win32FileSystem::MoveFile(std::string_view from, std::string_view to) {
  return Check(MoveFileW(LongPath(from).c_str(), LongPath(to).c_str()));
}

FsResult Win32FileSystem::GetFileSize(std::string_view path, std::uint64_t& size) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(LongPath(path).c_str(), GetFileExInfoStandard, &data)) {
    return LastError();
  }
  size = Combine(data.nFileSizeHigh, data.nFileSizeLow);
  return FsResult::Ok;
}

FsResult Win32FileSystem::GetLinkCount(std::string_view path, std::uint32_t& links) {
  Handle file(CreateFileW(LongPath(path).c_str(), FILE_READ_ATTRIBUTES,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) return LastError();
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(file.get(), &information)) return LastError();
  links = information.nNumberOfLinks;
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
                                                                FsResult& result) {
  // The link itself is opened, not its target, and then refused after a look at the handle,
  // so nothing can swap the file for a link between the look and the writes.
  const std::wstring longPath = LongPath(path);
  Handle file(CreateFileW(longPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!file.valid()) {
    result = LastError();
    return nullptr;
  }
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(file.get(), &information)) {
    result = LastError();
    return nullptr;
  }
  // A read-only file is refused here too: the platform's own refusal does not hold for
  // every account (an administrator under Wine writes anyway).
  const DWORD refused =
      FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY;
  if ((information.dwFileAttributes & refused) ||
      (RunningUnderWine() && ReachedThroughLink(file.get(), longPath))) {
    result = FsResult::AccessDenied;
    return nullptr;
  }
  result = FsResult::Ok;
  return std::make_unique<Win32WritableFile>(file.release());
}

}  // namespace quorvane::win32
