// libFuzzer target: the table engine on an arbitrary .DBF file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "dbf_scan_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const enlacor::fuzz::ScratchDirectory scratch;
  enlacor::fuzz::ScanDbfBytes(std::string_view(reinterpret_cast<const char*>(data), size), scratch.path());
  return 0;
}
