// enlacor-cli check: the pre-run report on a document, written without
// touching any file (not even the workspace).
//
//   enlacor-cli check DOCUMENT [--frames CODE[,CODE]] [--json]
//
// --frames names the frames the export would use, as for export; without it
// a document with two or more frames has the periods of every frame checked.
// The exit status tells a script what an export would do: 0 nothing lost,
// kExitWarnings when data would be cut, dropped or renamed, 1 when the run
// would stop.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace enlacor {

// Loads `document` and writes its report to `out`; returns the exit status.
// Raises DocumentError for a document that cannot be read and
// FrameUsageError for --frames that do not fit it.
int CheckDocument(const std::filesystem::path& document, const std::vector<std::string>& frames, bool json,
                  std::ostream& out);

}  // namespace enlacor
