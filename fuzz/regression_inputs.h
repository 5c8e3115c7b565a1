// The inputs a regression test replays for a fuzz target: every file of
// fuzz/regressions/<target>/ (inputs that once crashed, hung or tripped a
// sanitizer) and of fuzz/corpus/<target>/ (the seeds, so that a target that
// breaks on valid files shows too). Hidden files are skipped.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace enlacor::fuzz {

inline std::vector<std::filesystem::path> RegressionInputs(const std::filesystem::path& fuzz_dir,
                                                           const std::string& target) {
  std::vector<std::filesystem::path> inputs;
  for (const char* folder : {"regressions", "corpus"}) {
    const std::filesystem::path dir = fuzz_dir / folder / target;
    if (!std::filesystem::is_directory(dir)) continue;
    for (const auto& item : std::filesystem::directory_iterator(dir)) {
      if (item.is_regular_file() && item.path().filename().string().front() != '.')
        inputs.push_back(item.path());
    }
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

inline std::string ReadInput(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace enlacor::fuzz
