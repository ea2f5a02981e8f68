#pragma once
// The fakes' ANSI code page is Latin-1: every byte maps to the code point of its value, and
// a character outside it becomes "?", as the platform's conversion does.

#include <cstddef>

#include "core/platform/TextCodec.h"

namespace quorvane::fakes {

class FakeTextCodec final : public TextCodec {
 public:
  std::string AnsiToUtf8(std::string_view ansi) override {
    std::string utf8;
    for (const unsigned char c : ansi) {
      if (c >= 0x80) utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(c < 0x80 ? c : 0x80 | (c & 0x3F));
    }
    return utf8;
  }

  std::string Utf8ToAnsi(std::string_view utf8) override {
    std::string ansi;
    for (std::size_t i = 0; i < utf8.size();) {
      const auto c = static_cast<unsigned char>(utf8[i]);
      const bool latin1 = (c == 0xC2 || c == 0xC3) && i + 1 < utf8.size();
      ansi += c < 0x80 ? utf8[i]
              : latin1 ? static_cast<char>(((c & 0x1F) << 6) | (utf8[i + 1] & 0x3F))
                       : '?';
      i += c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    }
    return ansi;
  }
};

}  // namespace quorvane::fakes
