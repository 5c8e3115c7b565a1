// The import run (BImportarClick): from Horvana's computed timetable SOLUC,
// through the tables the export run left, to a result document for Escolia.
//
// The run begins with the shared frame, opens the nine tables exclusively in
// a fixed order, loads the chosen document, replaces its output section with
// an ERROR block and one teacher list per PROFT record holding one session
// entry per SOLUC session, closes the tables and saves the result beside the
// input as "ResultadoHorvana" + the input's file name. Any failure raises an
// exception before anything is saved; the input file is never written.
#pragma once

#include <cstddef>
#include <filesystem>

#include "app/core/run_host.h"
#include "app/core/shared_state.h"
#include "exchange/timetable_tables.h"

namespace enlacor {

// What a finished import wrote, for the headless runner's summary, so that
// a school sees unresolved sessions before the result goes to Escolia. A
// value counts as empty when it holds nothing but blanks.
struct ImportSummary {
  std::size_t teachers = 0;        // teacher lists written
  std::size_t sessions = 0;        // session entries written
  std::size_t empty_subject = 0;   // X_MATERIAOMC empty
  std::size_t empty_group = 0;     // X_UNIDAD empty
  std::size_t empty_period = 0;    // N_DIASEMANA or X_TRAMO empty
  std::size_t empty_room = 0;      // X_DEPCENTRO empty
  std::filesystem::path result_file;
};

class ImportRun {
 public:
  ImportRun(RunHost& host, SharedState& state, Workspace workspace);

  // The whole run, frame included.
  void BImportarClick();

  // The part between the frame's beginning and end: tables, document,
  // result. Public for tests. Raises TableError or DocumentError, naming
  // the table or the file, before anything is saved.
  void Import(const std::filesystem::path& document);

  // What the last finished import wrote; all zero until one has finished.
  const ImportSummary& Summary() const { return summary_; }

 private:
  RunHost& host_;
  SharedState& state_;
  Workspace workspace_;
  ImportSummary summary_;
};

}  // namespace enlacor
