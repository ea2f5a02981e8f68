// The custom item file reader: any bytes give records or none, and the records it gives
// are written back so that they read the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "custom/CustomItemFile.h"
#include "fakes/FakeTextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace quorvane;
  fakes::FakeTextCodec codec;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<ItemRecord> records = ParseItemRecords(bytes, codec);
  std::string written;
  if (FormatItemRecords(codec, records, written) == RecordWriteStatus::Ok &&
      ParseItemRecords(written, codec) != records) {
    std::abort();
  }
  return 0;
}
