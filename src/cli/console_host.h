// ConsoleHost: the RunHost of the headless runner enlacor-cli.
//
// It answers the file dialog with the document named on the command line
// (as a full path) and the time-frame dialog with the answer worked out
// beforehand from --frames, prints the run's messages on its output stream,
// and has no cursor, buttons or window: those calls do nothing. It is never
// in automation mode, so a run never closes anything and no status file is
// written.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>

#include "app/core/run_host.h"

namespace enlacor {

class ConsoleHost : public RunHost {
 public:
  // `frames` is the frame dialog's answer; without one, a request for the
  // dialog is a failure (the runner checks the document beforehand, so it
  // happens only when the document changed meanwhile).
  ConsoleHost(std::filesystem::path document, std::optional<FrameDialogResult> frames, std::ostream& out);

  std::optional<std::filesystem::path> ChooseExchangeDocument() override;
  void ShowMessage(const std::string& text) override;
  FrameDialogResult ChooseFrames(const std::filesystem::path& xml_file_name) override;
  void SetBusyCursor() override {}
  void RestoreCursor() override {}
  bool IsAutomation() const override { return false; }
  void DisableRunButtons() override {}
  void CloseMainWindow() override {}

 private:
  std::filesystem::path document_;
  std::optional<FrameDialogResult> frames_;
  std::ostream& out_;
};

}  // namespace enlacor
