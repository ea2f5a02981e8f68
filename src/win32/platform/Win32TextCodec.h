#pragma once
// The system's ANSI code page through the platform's own conversion tables.

#include "core/platform/TextCodec.h"

namespace quorvane::win32 {

class Win32TextCodec final : public TextCodec {
 public:
  std::string AnsiToUtf8(std::string_view ansi) override;
  std::string Utf8ToAnsi(std::string_view utf8) override;
};

}  // namespace quorvane::win32
