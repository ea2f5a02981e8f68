#pragma once
// Conversion between the system's ANSI code page, in which stored formats are kept, and
// the UTF-8 that the program uses inside.

#include <string>
#include <string_view>

namespace quorvane {

class TextCodec {
 public:
  virtual ~TextCodec() = default;
  virtual std::string AnsiToUtf8(std::string_view ansi) = 0;
  // Characters the code page cannot hold become '?'.
  virtual std::string Utf8ToAnsi(std::string_view utf8) = 0;
};

}  // namespace quorvane
