// The main window's shared state: what the runs read and leave behind.
// One instance lives from start-up to exit; the window owns it, the headless
// runner and the tests make their own.
#pragma once

#include <string>

namespace enlacor {

struct SharedState {
  // Outcome of the last run: 0 no run finished, 1 a run finished, -1 the
  // chosen exchange document did not exist (set only in automation mode).
  int RunStatus = 0;
  // The number of command-line parameters once the window has been
  // embedded (2); 0 otherwise. Automation mode is on exactly when it is 2.
  int StartParamCount = 0;
  // Full path (UTF-8) of the exchange document confirmed last in a file
  // dialog, by either run; never cleared.
  std::string XmlFileName;
  // The time-frame codes chosen by the last export run, 10 characters per
  // frame, at most 20 characters.
  std::string SelectedFrames;

  bool IsAutomation() const { return StartParamCount == 2; }
};

}  // namespace enlacor
