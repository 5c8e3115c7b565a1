#include "app/core/run_frame.h"

#include <system_error>

namespace enlacor {

std::optional<std::filesystem::path> BeginRun(RunHost& host, SharedState& state) {
  if (auto chosen = host.ChooseExchangeDocument()) state.XmlFileName = chosen->string();

  std::error_code ec;
  const bool exists = !state.XmlFileName.empty() &&
                      std::filesystem::is_regular_file(state.XmlFileName, ec);
  if (!exists) {
    host.ShowMessage(kNoExisteArchivo);
    if (host.IsAutomation()) {
      state.RunStatus = -1;
      host.CloseMainWindow();
    }
    return std::nullopt;
  }
  return std::filesystem::path(state.XmlFileName);
}

void FinishRun(RunHost& host, SharedState& state) {
  state.RunStatus = 1;
  host.ShowMessage(kProcesoFinalizado);
  host.DisableRunButtons();
  if (host.IsAutomation()) host.CloseMainWindow();
}

std::string StandardErrorText(std::string_view message) {
  std::string text(message);
  if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) text += '.';
  return text;
}

}  // namespace enlacor
