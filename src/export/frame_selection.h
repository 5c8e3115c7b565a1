// The logic of the time-frame selection dialog (TPlantillas), without any
// window: what its handlers compute from the document and the list's
// selection. The Qt dialog shows what this computes; the headless runner
// builds the same Selection from codes named on its command line.
#pragma once

#include <string>
#include <vector>

namespace enlacor {

// The Selection text of a closed dialog: for each selected item, in list
// order, the first 10 characters of its text, padded with blanks to exactly
// 10 characters.
std::string BuildSelection(const std::vector<std::string>& items, const std::vector<bool>& selected);

}  // namespace enlacor
