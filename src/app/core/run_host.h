// RunHost: everything a run asks of the person (or program) running it.
//
// The export and import runs never talk to a window, a terminal or a test
// directly; they go through this interface. The Qt main window, the headless
// runner and the tests each implement it, so every run can be exercised
// without a display. Every method is called on the run's own thread and may
// block (a modal dialog) until the person answers.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace enlacor {

// What one showing of the time-frame dialog (TPlantillas) left behind.
struct FrameDialogResult {
  bool Accepted = false;  // one or two frames were selected at closing
  std::string Selection;  // 10 characters per selected frame, in list order
};

class RunHost {
 public:
  virtual ~RunHost() = default;

  // The file dialog OpenDialogXML: the chosen document's full path, or
  // nullopt when the person cancelled.
  virtual std::optional<std::filesystem::path> ChooseExchangeDocument() = 0;

  // A plain modal message (caption "Enlacor", one OK button); returns when
  // it has been acknowledged. UTF-8.
  virtual void ShowMessage(const std::string& text) = 0;

  // Shows one time-frame dialog for the document at `xml_file_name` and
  // returns what it left when it closed. The caller repeats until accepted.
  virtual FrameDialogResult ChooseFrames(const std::filesystem::path& xml_file_name) = 0;

  // The busy cursor (hourglass) and back.
  virtual void SetBusyCursor() = 0;
  virtual void RestoreCursor() = 0;

  // Whether the program is in automation mode (StartParamCount equals 2).
  virtual bool IsAutomation() const = 0;

  // Disables BExportar, then BImportar.
  virtual void DisableRunButtons() = 0;

  // Closes the main window; in automation mode this writes the status file.
  virtual void CloseMainWindow() = 0;
};

}  // namespace enlacor
