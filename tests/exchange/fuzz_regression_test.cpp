// Replays the inputs that once made a fuzz target of the table engine or the
// document readers fail, through the same entry functions, without the
// fuzzer. Each must now end cleanly: refused with TableError/DocumentError
// inside the entry, or read through.
#include <gtest/gtest.h>

#include <filesystem>

#include "../../fuzz/dbf_scan_entry.h"
#include "../../fuzz/document_readers_entry.h"
#include "../../fuzz/regression_inputs.h"
#include "support/temp_dir.h"

namespace enlacor {
namespace {

const std::filesystem::path kFuzzDir = std::filesystem::path(ENLACOR_SOURCE_DIR) / "fuzz";

TEST(FuzzRegression, TableEngineReadsOrRefusesEveryInput) {
  const auto inputs = fuzz::RegressionInputs(kFuzzDir, "dbf_scan");
  ASSERT_FALSE(inputs.empty());
  testing::TempDir scratch;
  for (const auto& input : inputs) {
    EXPECT_NO_THROW(fuzz::ScanDbfBytes(fuzz::ReadInput(input), scratch.path())) << input;
  }
}

TEST(FuzzRegression, DocumentReadersReadOrRefuseEveryInput) {
  const auto inputs = fuzz::RegressionInputs(kFuzzDir, "document_readers");
  ASSERT_FALSE(inputs.empty());
  for (const auto& input : inputs) {
    EXPECT_NO_THROW(fuzz::ReadDocumentBytes(fuzz::ReadInput(input))) << input;
  }
}

}  // namespace
}  // namespace enlacor
