#include "win32/platform/Win32TextCodec.h"

#include <windows.h>

#include "win32/platform/WideText.h"

namespace quorvane::win32 {

std::string Win32TextCodec::AnsiToUtf8(std::string_view ansi) {
  if (ansi.empty()) return {};
  const int size = static_cast<int>(ansi.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, wide.data(), length);
  return Narrow(wide);
}

std::string Win32TextCodec::Utf8ToAnsi(std::string_view utf8) {
  const std::wstring wide = Widen(utf8);
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  // Without "no best fit" the platform would quietly turn characters the code page lacks
  // into look-alikes ("ā" into "a"); a stored text should show that something was lost.
  // A UTF-8 code page holds everything and takes neither the flag nor a default character.
  const bool utf8CodePage = GetACP() == CP_UTF8;
  const DWORD flags = utf8CodePage ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* fallback = utf8CodePage ? nullptr : "?";
  const int length =
      WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, fallback, nullptr);
  std::string ansi(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_ACP, flags, wide.data(), size, ansi.data(), length, fallback, nullptr);
  return ansi;
}

}  // namespace quorvane::win32
