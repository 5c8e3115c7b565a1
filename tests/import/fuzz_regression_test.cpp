// Replays the SOLUC files that once made the import fuzz target fail (and
// its seeds), through the same entry, without the fuzzer: each import must
// finish or stop with a TableError naming the table.
#include <gtest/gtest.h>

#include <filesystem>

#include "../../fuzz/regression_inputs.h"
#include "../../fuzz/soluc_import_entry.h"
#include "support/temp_dir.h"

namespace enlacor {
namespace {

TEST(FuzzRegression, ImportFinishesOrRefusesEverySoluc) {
  const auto inputs =
      fuzz::RegressionInputs(std::filesystem::path(ENLACOR_SOURCE_DIR) / "fuzz", "soluc_import");
  ASSERT_FALSE(inputs.empty());
  testing::TempDir scratch;
  const fuzz::SolucImportBench bench(scratch.path());
  for (const auto& input : inputs) {
    EXPECT_NO_THROW(bench.Run(fuzz::ReadInput(input))) << input;
  }
}

}  // namespace
}  // namespace enlacor
