// SOLUC, Horvana's computed timetable, as the import run reads it.
//
// SOLUC is written by Horvana, not by this program: beyond the eight columns
// read here (PROF, DIA, HORA, ASIG, CODGRUPO, TAREA, AULA, MARCO) its layout,
// widths and numeric types are Horvana's. DIA and HORA may be stored as any
// numeric type; MARCO may be of any width.
//
// SolutionSessions reads the table once and hands out, per teacher
// abbreviation, the teacher's sessions: the records whose PROF equals the
// abbreviation exactly (case and inner quotes included), in stored order,
// without the records whose DIA, as a whole number, is 0. A blank DIA counts
// as 0: a record without a day is not a session.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "exchange/dbf_table.h"

namespace enlacor {

// One timetabled session: the SOLUC values the resolution reads, as the
// table returns them (windows-1252 text).
struct SolucSession {
  std::string subject;  // ASIG
  std::string group;    // CODGRUPO
  std::string task;     // TAREA
  std::string room;     // AULA
  std::string frame;    // MARCO, whole
  double day = 0;       // DIA
  std::optional<std::int64_t> period;  // HORA rounded to the nearest; none when blank
};

// Raises TableError naming the first of the eight columns that `soluc`
// lacks, and the table.
void RequireSolutionColumns(const DbfTable& soluc);

class SolutionSessions {
 public:
  // Scans `soluc` once from its first record; RequireSolutionColumns has
  // passed on it.
  static SolutionSessions Read(DbfTable& soluc);

  // The sessions of the teacher whose PROF is `abbreviation`; empty when
  // there are none.
  const std::vector<SolucSession>& Of(const std::string& abbreviation) const;

 private:
  std::unordered_map<std::string, std::vector<SolucSession>> by_teacher_;
};

}  // namespace enlacor
