// The number readers of stored settings (Showtip, the schedule): any text gives a byte or
// nothing, the byte reads back from its own decimal text, and blanks around change nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/NumberText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using quorvane::TextToByte;
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto value = TextToByte(text);
  if (TextToByte(" " + text + " ") != value) std::abort();
  if (value && TextToByte(std::to_string(*value)) != value) std::abort();
  return 0;
}
