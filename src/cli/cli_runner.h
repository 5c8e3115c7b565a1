// The headless runner enlacor-cli: the export and import runs of the main
// window, performed through the same code for scripts, for schools with
// many documents, and for tests.
//
//   enlacor-cli export DOCUMENT [--workspace DIR] [--frames CODE[,CODE]]
//   enlacor-cli import DOCUMENT [--workspace DIR]
//   enlacor-cli check DOCUMENT [--frames CODE[,CODE]] [--json]   (cli/check_command.h)
//
// The run's messages go to `out`; a failure goes to `err` with the standard
// error text. Nothing in the workspace is touched before the document has
// been found, read and (for export) the time frames settled.
#pragma once

#include <ostream>

namespace enlacor {

// Exit statuses of enlacor-cli.
inline constexpr int kExitFinished = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNoDocument = 3;
// check only: the export would run, but cut, drop or rename data.
inline constexpr int kExitWarnings = 4;

// Parses the command line (program name first) and performs the run.
int RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace enlacor
