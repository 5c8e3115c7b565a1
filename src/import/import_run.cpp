#include "import/import_run.h"

#include <stdexcept>

#include "app/core/run_frame.h"

namespace enlacor {

ImportRun::ImportRun(RunHost& host, SharedState& state, Workspace workspace)
    : host_(host), state_(state), workspace_(std::move(workspace)) {}

void ImportRun::BImportarClick() {
  const auto path = BeginRun(host_, state_);
  if (!path) return;
  host_.SetBusyCursor();
  Import(*path);
  host_.RestoreCursor();
  FinishRun(host_, state_);
}

void ImportRun::Import(const std::filesystem::path&) {
  throw std::runtime_error("La importación aún no está disponible");
}

}  // namespace enlacor
