#include "fakes/FakeTextCodec.h"

namespace quorvane::fakes {

std::string FakeTextCodec::AnsiToUtf8(std::string_view ansi) {
  std::string utf8;
  for (unsigned char c : ansi) {
    if (c < 0x80) {
      utf8 += static_cast<char>(c);
    } else {
      utf8 += static_cast<char>(0xC0 | (c >> 6));
      utf8 += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return utf8;
}

std::string FakeTextCodec::Utf8ToAnsi(std::string_view utf8) {
  std::string ansi;
  for (size_t i = 0; i < utf8.size();) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : 4;
    if (length == 1) {
      ansi += static_cast<char>(c);
    } else if (length == 2 && i + 1 < utf8.size() && c <= 0xC3) {
      ansi += static_cast<char>(((c & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
    } else {
      ansi += '?';
    }
    i += length;
  }
  return ansi;
}

}  // namespace quorvane::fakes
