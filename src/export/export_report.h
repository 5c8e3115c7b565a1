// The pre-run report: every place where an export of a document would drop,
// cut, rename or refuse something, found without writing a single file.
//
// BuildExportReport reads the document as the export run reads it (the same
// catalogue reader, duplicate filter, short-code allocator, pre-flight check
// and day-grid reading) and lists its findings, grouped by list in the order
// the steps read them (MATERIAS, TAREAS, PROFESORES, AULAS, CURSOS, GRUPOS,
// JORNADAS, INTERVALOS) and by entry number within a list. A finding's
// values and text are UTF-8; its text is one line for a person, in Spanish.
//
// A value that would stop the run is an error; everything else is a warning:
// the run goes on, but some data does not reach the tables as written.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/exchange_document.h"

namespace enlacor {

enum class FindingKind {
  kSkippedEntry,                // fewer than two fields: no row at all
  kMissingField,                // a position (or dato name) a reader reads is absent: read as empty
  kDuplicateLongCode,           // left out of ASIGNOMT by the duplicate filter
  kChangedShortCode,            // the short code differs from its base (cut or suffixed)
  kCutValue,                    // a value longer than its column
  kLongCourseKey,               // a course key longer than CLAVECURSO holds: it matches nothing
  kSubjectWithoutGroups,        // a MATERIAS entry whose course has no group: no ASIGT rows
  kGroupWithoutCourse,          // a GRUPOS entry whose course does not exist
  kPeriodNotRenumbered,         // an INTERVALOS period of a chosen frame that keeps its order number
  kFrameCodeChanged,            // a JORNADAS code cut to 10 characters or split in two
  kUnrepresentableCharacters,   // characters windows-1252 cannot hold, stored as "?"
  kBlockingValue,               // a value that stops the run
};

enum class Severity { kWarning, kError };

Severity SeverityOf(FindingKind kind);
// A stable identifier for scripts: "valor_recortado".
std::string_view KindId(FindingKind kind);
// A short heading for a person: "Valor recortado".
std::string_view KindHeading(FindingKind kind);

// One named value of a finding: {"base", "MATEMATICAS_1ESO"}.
struct FindingValue {
  std::string name;
  std::string value;
};

struct Finding {
  FindingKind kind;
  std::string list;                  // "MATERIAS"
  std::size_t entry = 0;             // the entry's number in its list, from 1
  std::vector<FindingValue> values;  // the values concerned
  std::string text;                  // the finding for a person, one line
};

struct ExportReport {
  std::vector<Finding> findings;
  // The frame codes whose periods were checked for the renumbering.
  std::vector<std::string> checked_frames;
  // True when the document offers two or more frames and no choice was
  // given: every frame was checked as if it were chosen.
  bool every_frame = false;

  std::size_t Count(Severity severity) const;
};

// The report for `document`. `frame_selection` is the frame dialog's
// Selection (10 characters per chosen frame) for a document that offers two
// or more frames; nullopt checks every frame. A document with fewer than two
// frames uses its only frame, as the run does, and ignores the selection.
ExportReport BuildExportReport(const ExchangeDocument& document,
                               const std::optional<std::string>& frame_selection);

}  // namespace enlacor
