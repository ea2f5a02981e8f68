#include "companion/Output.h"

namespace quorvane::companion {

void ConsoleOutput::Write(std::FILE* stream, std::string_view line) {
  std::fwrite(line.data(), 1, line.size(), stream);
  std::fputc('\n', stream);
  std::fflush(stream);
}

}  // namespace quorvane::companion
