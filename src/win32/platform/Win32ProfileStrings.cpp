#include "win32/platform/Win32ProfileStrings.h"

#include <windows.h>

#include <vector>

#include "win32/platform/WideText.h"

// The wide-character profile calls are used: they accept a settings file in a folder whose
// name lies outside the ANSI code page, and they still read and write a file without a
// byte-order mark in the ANSI code page, so the file stays what it always was.
namespace quorvane::win32 {

std::uint32_t Win32ProfileStrings::GetString(std::string_view section, std::string_view key,
                                             std::string_view defaultValue, std::string& value,
                                             std::uint32_t capacity, std::string_view file) {
  value.clear();
  if (capacity == 0) return 0;
  // With no file name the platform would read the Windows folder's own profile file; the
  // program wants the default then.
  if (file.empty()) {
    const std::wstring fallback = Widen(defaultValue).substr(0, capacity - 1);
    value = Narrow(fallback);
    return static_cast<std::uint32_t>(fallback.size());
  }
  std::vector<wchar_t> buffer(capacity, L'\0');
  const DWORD copied = GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                                Widen(defaultValue).c_str(), buffer.data(),
                                                capacity, Widen(file).c_str());
  value = Narrow(std::wstring_view(buffer.data(), copied));
  return copied;
}

bool Win32ProfileStrings::WriteString(std::string_view section, std::string_view key,
                                      std::string_view value, std::string_view file) {
  // Never write into the Windows folder's profile file when there is no settings file.
  if (file.empty()) return false;
  return WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                    Widen(value).c_str(), Widen(file).c_str()) != FALSE;
}

}  // namespace quorvane::win32
