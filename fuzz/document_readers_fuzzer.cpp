// libFuzzer target: the document loader and every list reader on arbitrary
// bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "document_readers_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  enlacor::fuzz::ReadDocumentBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
