// libFuzzer target: the import run on an arbitrary SOLUC beside the tables
// of a small exported school.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "soluc_import_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const enlacor::fuzz::ScratchDirectory scratch;
  static const enlacor::fuzz::SolucImportBench bench(scratch.path());
  bench.Run(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
