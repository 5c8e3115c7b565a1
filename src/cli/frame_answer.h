// The headless answer to the time-frame dialog (TPlantillas).
//
// enlacor-cli cannot ask anyone which time frames to use, so it works the
// answer out from its --frames option before the run touches the workspace.
// The answer is what the dialog would have left had the person selected the
// named frames: Accepted, and the Selection built from the frame list's
// items (the JORNADAS field-0 texts, untrimmed, in list order) with the
// named ones selected. A named code matches a frame whose field 0, trimmed,
// equals it exactly.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/core/run_host.h"
#include "exchange/exchange_document.h"

namespace enlacor {

// --frames does not fit the document. The message names the problem and
// lists the frames that exist, one per line, code and name.
class FrameUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct FrameAnswer {
  // How many JORNADAS entries the document has; the dialog is shown only
  // for two or more.
  std::size_t frame_count = 0;
  // The dialog's answer; set exactly when frame_count is two or more.
  std::optional<FrameDialogResult> dialog;
};

// Works out the answer for `codes` (the --frames values; empty when the
// option was not given). With two or more frames, `codes` must name one or
// two of them; with fewer, any code named must still exist. Otherwise
// raises FrameUsageError.
FrameAnswer AnswerFrameDialog(const ExchangeDocument& document, const std::vector<std::string>& codes);

}  // namespace enlacor
