#include "TargetsFixture.h"

#include <windows.h>

#include <filesystem>
#include <fstream>

#include "win32/platform/WideText.h"

namespace quorvane::testing {

using win32::Narrow;
using win32::Widen;
namespace fs = std::filesystem;

namespace {

class Key {
 public:
  Key(const std::string& path, REGSAM access) {
    if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, access, &key_) != ERROR_SUCCESS) {
      key_ = nullptr;
    }
  }
  ~Key() {
    if (key_) RegCloseKey(key_);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

// Starts a host program under Wine. Its Windows process ends before the host program has
// done its work, so callers wait for the effect itself.
void RunHostProgram(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                      nullptr, nullptr, &startup, &process)) {
    return;
  }
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
}

std::wstring Quoted(const std::string& text) { return L"\"" + Widen(text) + L"\""; }

bool IsLink(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(win32::LongPath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

template <typename Condition>
bool WaitFor(Condition condition) {
  for (int i = 0; i < 100; ++i) {
    if (condition()) return true;
    Sleep(50);
  }
  return condition();
}

}  // namespace

void SetRegString(const std::string& key, const std::string& name, const std::string& value) {
  HKEY created = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, Widen(key).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &created, nullptr),
            ERROR_SUCCESS)
      << key;
  const std::wstring data = Widen(value);
  const LONG status = RegSetValueExW(created, Widen(name).c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(data.c_str()),
                                     static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(created);
  ASSERT_EQ(status, ERROR_SUCCESS) << key << " " << name;
}

std::string GetRegString(const std::string& key, const std::string& name) {
  Key opened(key, KEY_QUERY_VALUE);
  if (!opened.get()) return {};
  wchar_t buffer[2048] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  DWORD type = 0;
  if (RegQueryValueExW(opened.get(), Widen(name).c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return {};
  }
  return Narrow(buffer);
}

bool RegKeyExists(const std::string& key) { return Key(key, KEY_READ).get() != nullptr; }

bool RegValueExists(const std::string& key, const std::string& name) {
  Key opened(key, KEY_QUERY_VALUE);
  return opened.get() && RegQueryValueExW(opened.get(), Widen(name).c_str(), nullptr, nullptr,
                                          nullptr, nullptr) == ERROR_SUCCESS;
}

std::vector<std::string> RegValueNames(const std::string& key) {
  std::vector<std::string> names;
  Key opened(key, KEY_QUERY_VALUE);
  if (!opened.get()) return names;
  for (DWORD index = 0;; ++index) {
    wchar_t name[16384];
    DWORD length = 16384;
    if (RegEnumValueW(opened.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    names.push_back(Narrow(std::wstring_view(name, length)));
  }
  return names;
}

void DeleteRegTree(const std::string& key) {
  RegDeleteTreeW(HKEY_CURRENT_USER, Widen(key).c_str());
  RegDeleteKeyW(HKEY_CURRENT_USER, Widen(key).c_str());
}

void DeleteRegValue(const std::string& key, const std::string& name) {
  RegDeleteKeyValueW(HKEY_CURRENT_USER, Widen(key).c_str(), Widen(name).c_str());
}

void SetAttributesOf(const std::string& path, std::uint32_t attributes) {
  ASSERT_TRUE(SetFileAttributesW(win32::LongPath(path).c_str(), attributes)) << path;
}

bool PathExists(const std::string& path) {
  return GetFileAttributesW(win32::LongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string UnixPath(const std::string& path) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  // Only Wine's kernel32 has this export; elsewhere there is no host path to give.
  const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"kernel32"), "wine_get_unix_file_name")));
  if (!toUnix) return {};
  char* hostPath = toUnix(Widen(path).c_str());
  if (!hostPath) return {};
  std::string result(hostPath);
  HeapFree(GetProcessHeap(), 0, hostPath);
  return result;
}

bool MakeHostSymlink(const std::string& target, const std::string& link) {
  const std::string unixTarget = UnixPath(target);
  const std::string unixLink = UnixPath(link);
  if (unixTarget.empty() || unixLink.empty()) return false;
  // CreateSymbolicLink makes no host link in this Wine version, but a host program started
  // by path runs as itself.
  RunHostProgram(L"Z:\\bin\\ln -s " + Quoted(unixTarget) + L" " + Quoted(unixLink));
  return WaitFor([&] { return IsLink(link); });
}

void RemoveHostSymlink(const std::string& link) {
  const std::string unixLink = UnixPath(link);
  if (unixLink.empty()) return;
  RunHostProgram(L"Z:\\bin\\rm -f " + Quoted(unixLink));
  (void)WaitFor([&] { return !IsLink(link); });
}

std::string UnusedDriveName() {
  const DWORD used = GetLogicalDrives();
  for (int letter = 'Q'; letter <= 'Y'; ++letter) {
    if (!(used & (1u << (letter - 'A')))) {
      return std::string(1, static_cast<char>(letter - 'A' + 'a')) + ":";
    }
  }
  return "b:";
}

void WriteRealFile(const std::string& path, std::uint32_t attributes) {
  const fs::path file(Widen(path));
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << "fragment";
  SetAttributesOf(path, attributes);
}

void RemoveTree(const std::string& path) {
  const fs::path root(Widen(path));
  std::error_code ignored;
  if (fs::is_directory(fs::symlink_status(root, ignored))) {
    for (auto it = fs::recursive_directory_iterator(root, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
      SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
  }
  SetFileAttributesW(root.c_str(), FILE_ATTRIBUTE_NORMAL);
  fs::remove_all(root, ignored);
}

bool RedirectHostTrash(const std::string& folder) {
  if (folder.empty()) return SetEnvironmentVariableW(L"XDG_DATA_HOME", nullptr);
  const std::string hostFolder = UnixPath(folder);
  return !hostFolder.empty() &&
         SetEnvironmentVariableW(L"XDG_DATA_HOME", Widen(hostFolder).c_str());
}

TargetsTest::TargetsTest() { shell.tempPath = sandbox / "Temp\\"; }

}  // namespace quorvane::testing
