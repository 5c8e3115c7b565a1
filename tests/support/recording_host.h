// A RunHost for tests: answers the file dialog and the frame dialogs from
// scripts, and records every message and call.
#pragma once

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/core/run_host.h"

namespace enlacor::testing {

class RecordingHost : public RunHost {
 public:
  // Answers of the file dialog, in order; nullopt is a cancel. When the
  // queue is empty the dialog is cancelled.
  std::deque<std::optional<std::filesystem::path>> documents;
  // Answers of the frame dialog, in order. When empty, ChooseFrames fails
  // the test by throwing.
  std::deque<FrameDialogResult> frame_answers;
  bool automation = false;

  std::vector<std::string> messages;
  std::vector<std::filesystem::path> frame_dialog_documents;
  int busy_calls = 0;
  int restore_calls = 0;
  bool buttons_disabled = false;
  bool closed = false;

  std::optional<std::filesystem::path> ChooseExchangeDocument() override {
    if (documents.empty()) return std::nullopt;
    auto answer = documents.front();
    documents.pop_front();
    return answer;
  }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  FrameDialogResult ChooseFrames(const std::filesystem::path& xml_file_name) override {
    frame_dialog_documents.push_back(xml_file_name);
    if (frame_answers.empty()) throw std::logic_error("unexpected frame dialog");
    auto answer = frame_answers.front();
    frame_answers.pop_front();
    return answer;
  }
  void SetBusyCursor() override { ++busy_calls; }
  void RestoreCursor() override { ++restore_calls; }
  bool IsAutomation() const override { return automation; }
  void DisableRunButtons() override { buttons_disabled = true; }
  void CloseMainWindow() override { closed = true; }
};

}  // namespace enlacor::testing
