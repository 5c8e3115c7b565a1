// The session resolution: translates one SOLUC session from Horvana's codes
// back into Escolia's keys through the tables the export run wrote.
//
// Six values come out, in the order the session entry holds them:
//   X_ACTIVIDAD   ASIGNOMT CODTAREA of the first record whose COD is TAREA;
//                 TAREA itself when none is.
//   N_DIASEMANA,  DIASHORAST DIA and CODDIHO of the first record whose DIHO
//   X_TRAMO       is the day-period key and whose MARCO is the session's
//                 frame mark (the first character of MARCO).
//   X_DEPCENTRO   AULAT DEPCENTRO of the first record whose ABREV is AULA.
//   X_MATERIAOMC  ASIGT CLAVE of the first record whose CASIG is ASIG and
//                 whose CGRUP is CODGRUPO. When that is blank, the course-
//                 subject fallback: the first ASIGNOMT2 record whose COD is
//                 ASIG and whose CLAVECURSO is the group's course key gives
//                 its MATERIA when its ALECTIVA is not blank, and an empty
//                 key when it is.
//   X_UNIDAD      GRUPOST CLAVE of the first record whose ABREV is CODGRUPO
//                 (that record's CLAVECURSO is the course key).
// A value that no record gives is empty. Comparisons are exact (case
// included, no trimming) on the texts as the tables return them.
//
// The resolver reads each table once when it is built and answers every
// session from maps that keep, for each key, the first record in stored
// order: the same record a scan from the first record would stop at. No
// state passes from one session to the next.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "exchange/dbf_table.h"
#include "import/solution_sessions.h"

namespace enlacor {

// The six values of a session entry, UTF-8, in the entry's order.
struct ResolvedSession {
  std::string activity;          // X_ACTIVIDAD
  std::string weekday;           // N_DIASEMANA
  std::string period;            // X_TRAMO
  std::string room_dependency;   // X_DEPCENTRO
  std::string subject;           // X_MATERIAOMC
  std::string group;             // X_UNIDAD
};

// The day-period key of a session: DIA as text (a whole number as its
// decimal digits, any other value as its shortest decimal text, 2.5 giving
// "2.5"), then HORA in decimal. None when HORA is blank: such a session
// matches no period.
std::optional<std::string> DayPeriodKey(const SolucSession& session);

// The frame mark: the first character of MARCO; empty when MARCO is.
std::string FrameMark(std::string_view frame);

class SessionResolver {
 public:
  // The six lookup tables, open and unfiltered.
  struct Tables {
    DbfTable& asigt;
    DbfTable& asignomt;
    DbfTable& grupost;
    DbfTable& asignomt2;
    DbfTable& diashorast;
    DbfTable& aulat;
  };
  // Reads each table once from its first record; the cursors are left at
  // the tables' ends. A missing column raises TableError naming the table.
  explicit SessionResolver(const Tables& tables);

  // The six values of one session. Nothing of an earlier session is kept.

  ResolvedSession Resolve(const SolucSession& session) const;

 private:
  using Key = std::pair<std::string, std::string>;
  struct KeyHash {
    std::size_t operator()(const Key& key) const;
  };
  template <typename Value>
  using PairMap = std::unordered_map<Key, Value, KeyHash>;
  template <typename Value>
  using TextMap = std::unordered_map<std::string, Value>;

  struct Group {
    std::string key;         // CLAVE, UTF-8
    std::string course_key;  // CLAVECURSO, as stored
  };
  struct Period {
    std::string weekday;  // DIA, UTF-8
    std::string code;     // CODDIHO, UTF-8
  };

  void ReadAssignments(DbfTable& asigt);
  void ReadTasks(DbfTable& asignomt);
  void ReadGroups(DbfTable& grupost);
  void ReadCourseSubjects(DbfTable& asignomt2);
  void ReadPeriods(DbfTable& diashorast);
  void ReadRooms(DbfTable& aulat);

  std::string SubjectKey(const SolucSession& session, const std::string& course_key) const;

  PairMap<std::string> subject_by_assignment_;   // (CASIG, CGRUP) -> CLAVE, as stored
  TextMap<std::string> activity_by_task_;        // COD -> CODTAREA, UTF-8
  TextMap<Group> group_by_abbreviation_;         // ABREV -> group
  PairMap<std::string> subject_by_course_;       // (COD, CLAVECURSO) -> MATERIA or empty, as stored
  PairMap<Period> period_by_day_period_;         // (DIHO, MARCO) -> period
  TextMap<std::string> dependency_by_room_;      // ABREV -> DEPCENTRO, UTF-8
};

}  // namespace enlacor
