#include "app/core/run_frame.h"

#include <system_error>

namespace enlacor {

namespace {

// XmlFileName holds UTF-8, whatever the platform's narrow encoding.
std::string ToUtf8(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::filesystem::path FromUtf8(const std::string& text) {
  return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

bool IsExistingFile(const std::string& xml_file_name) {
  std::error_code ec;
  return !xml_file_name.empty() && std::filesystem::is_regular_file(FromUtf8(xml_file_name), ec);
}

}  // namespace

std::optional<std::filesystem::path> BeginRun(RunHost& host, SharedState& state) {
  if (auto chosen = host.ChooseExchangeDocument()) state.XmlFileName = ToUtf8(*chosen);

  if (!IsExistingFile(state.XmlFileName)) {
    host.ShowMessage(kNoExisteArchivo);
    if (host.IsAutomation()) {
      state.RunStatus = -1;
      host.CloseMainWindow();
    }
    return std::nullopt;
  }
  return FromUtf8(state.XmlFileName);
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
