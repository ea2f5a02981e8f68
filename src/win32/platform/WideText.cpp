#include "win32/platform/WideText.h"

#include <windows.h>

namespace quorvane::win32 {

std::wstring Widen(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                      length);
  return wide;
}

std::string Narrow(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length,
                      nullptr, nullptr);
  return utf8;
}

std::wstring LongPath(std::string_view utf8Path) {
  std::wstring path = Widen(utf8Path);
  for (auto& c : path) {
    if (c == L'/') c = L'\\';
  }
  if (path.rfind(L"\\\\?\\", 0) == 0) return path;
  const bool drivePath = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
  const bool uncPath = path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\';
  if (!drivePath && !uncPath) return path;

  std::wstring collapsed;
  collapsed.reserve(path.size() + 8);
  const size_t start = uncPath ? 2 : 0;
  for (size_t i = start; i < path.size(); ++i) {
    if (path[i] == L'\\' && !collapsed.empty() && collapsed.back() == L'\\') continue;
    collapsed += path[i];
  }
  return (uncPath ? L"\\\\?\\UNC\\" : L"\\\\?\\") + collapsed;
}

}  // namespace quorvane::win32
