// Pieces the benchmark programs share: a clock and a host that is never
// asked anything, since the benchmarks drive the runs' parts directly.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "app/core/run_host.h"

namespace enlacor::bench {

using Clock = std::chrono::steady_clock;

inline double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

class SilentHost : public RunHost {
 public:
  std::optional<std::filesystem::path> ChooseExchangeDocument() override { return std::nullopt; }
  void ShowMessage(const std::string&) override {}
  FrameDialogResult ChooseFrames(const std::filesystem::path&) override { return {}; }
  void SetBusyCursor() override {}
  void RestoreCursor() override {}
  bool IsAutomation() const override { return false; }
  void DisableRunButtons() override {}
  void CloseMainWindow() override {}
};

}  // namespace enlacor::bench
