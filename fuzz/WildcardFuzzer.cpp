// The wild-card matcher of file patterns: a name and a pattern, both arbitrary. Checks the
// rules every caller relies on: "*" takes every name, a pattern without wild cards takes
// only its own name (ignoring case), and case never changes a match.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/FileServices.h"
#include "core/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvane;
  FuzzedDataProvider input(data, size);
  const std::string name = input.ConsumeRandomLengthString(512);
  const std::string pattern = input.ConsumeRemainingBytesAsString();
  const bool matches = MatchesWildcard(name, pattern);
  if (!MatchesWildcard(name, "*")) std::abort();
  if (MatchesWildcard(ToUpperAscii(name), pattern) != matches) std::abort();
  if (pattern.find_first_of("*?") == std::string::npos && matches != EqualsNoCase(name, pattern)) {
    std::abort();
  }
  if (name.find_first_of("*?") == std::string::npos && !MatchesWildcard(name, name)) std::abort();
  return 0;
}
