#include "cli/console_host.h"

#include <stdexcept>

namespace enlacor {

ConsoleHost::ConsoleHost(std::filesystem::path document, std::optional<FrameDialogResult> frames,
                         std::ostream& out)
    : document_(std::filesystem::absolute(document)), frames_(std::move(frames)), out_(out) {}

std::optional<std::filesystem::path> ConsoleHost::ChooseExchangeDocument() { return document_; }

void ConsoleHost::ShowMessage(const std::string& text) { out_ << text << '\n' << std::flush; }

FrameDialogResult ConsoleHost::ChooseFrames(const std::filesystem::path&) {
  if (!frames_) {
    throw std::runtime_error(
        "El documento ofrece varios marcos horarios y no se indicó ninguno con --frames");
  }
  return *frames_;
}

}  // namespace enlacor
