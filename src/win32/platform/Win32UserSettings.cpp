#include "win32/platform/Win32UserSettings.h"

#include <windows.h>

#include <optional>
#include <vector>

#include "win32/platform/WideText.h"

namespace quorvane::win32 {

namespace {

class OpenedKey {
 public:
  OpenedKey() = default;
  ~OpenedKey() {
    if (key_) RegCloseKey(key_);
  }
  OpenedKey(const OpenedKey&) = delete;
  OpenedKey& operator=(const OpenedKey&) = delete;
  HKEY* Out() { return &key_; }
  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

 private:
  HKEY key_ = nullptr;
};

// REG_SZ data as stored, without the terminating NUL the data normally carries.
std::optional<std::wstring> StringData(DWORD type, const std::vector<BYTE>& bytes, DWORD size) {
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  std::wstring text(reinterpret_cast<const wchar_t*>(bytes.data()), size / sizeof(wchar_t));
  const auto end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return text;
}

std::optional<std::wstring> QueryString(HKEY key, const std::wstring& name) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::vector<BYTE> bytes(size + sizeof(wchar_t), 0);
  if (RegQueryValueExW(key, name.c_str(), nullptr, &type, bytes.data(), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return StringData(type, bytes, size);
}

}  // namespace

std::string Win32UserSettings::SectionKeyPath(std::string_view app, std::string_view section) {
  return "Software\\VB and VBA Program Settings\\" + std::string(app) + "\\" + std::string(section);
}

std::string Win32UserSettings::GetSetting(std::string_view app, std::string_view section,
                                          std::string_view key, std::string_view defaultValue) {
  OpenedKey opened;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(SectionKeyPath(app, section)).c_str(), 0,
                    KEY_QUERY_VALUE, opened.Out()) != ERROR_SUCCESS) {
    return std::string(defaultValue);
  }
  const auto text = QueryString(opened.get(), Widen(key));
  return text ? Narrow(*text) : std::string(defaultValue);
}

void Win32UserSettings::SaveSetting(std::string_view app, std::string_view section,
                                    std::string_view key, std::string_view value) {
  OpenedKey opened;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, Widen(SectionKeyPath(app, section)).c_str(), 0, nullptr,
                      REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, opened.Out(),
                      nullptr) != ERROR_SUCCESS) {
    return;
  }
  const std::wstring text = Widen(value);
  RegSetValueExW(opened.get(), Widen(key).c_str(), 0, REG_SZ,
                 reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::vector<std::pair<std::string, std::string>> Win32UserSettings::GetAllSettings(
    std::string_view app, std::string_view section) {
  OpenedKey opened;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, Widen(SectionKeyPath(app, section)).c_str(), 0,
                    KEY_QUERY_VALUE, opened.Out()) != ERROR_SUCCESS) {
    return {};
  }
  DWORD maxName = 0;
  DWORD maxData = 0;
  if (RegQueryInfoKeyW(opened.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                       &maxName, &maxData, nullptr, nullptr) != ERROR_SUCCESS) {
    return {};
  }
  return StringValues(opened.get(), maxName, maxData);
}

std::vector<std::pair<std::string, std::string>> Win32UserSettings::StringValues(
    HKEY__* key, std::uint32_t maxName, std::uint32_t maxData) {
  std::vector<std::pair<std::string, std::string>> settings;
  std::vector<wchar_t> name(maxName + 1);
  std::vector<BYTE> data(maxData + sizeof(wchar_t));
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD dataSize = static_cast<DWORD>(data.size());
    DWORD type = 0;
    const LSTATUS status =
        RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type, data.data(), &dataSize);
    // A value that grew since the key was measured is passed over; any other failure ends
    // the walk - a key deleted meanwhile gives the same error at every index.
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) break;
    if (const auto text = StringData(type, data, dataSize)) {
      settings.emplace_back(Narrow(std::wstring_view(name.data(), nameLength)), Narrow(*text));
    }
  }
  return settings;
}

void Win32UserSettings::DeleteSetting(std::string_view app, std::string_view section,
                                      std::string_view key) {
  const std::wstring path = Widen(SectionKeyPath(app, section));
  if (key.empty()) {
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    return;
  }
  OpenedKey opened;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, opened.Out()) ==
      ERROR_SUCCESS) {
    RegDeleteValueW(opened.get(), Widen(key).c_str());
  }
}

}  // namespace quorvane::win32
