#pragma once
// The fakes' ANSI code page is Latin-1: every byte maps to the code point of its value.

#include "core/platform/TextCodec.h"

namespace quorvane::fakes {

class FakeTextCodec final : public TextCodec {
 public:
  std::string AnsiToUtf8(std::string_view ansi) override;
  std::string Utf8ToAnsi(std::string_view utf8) override;
};

}  // namespace quorvane::fakes
