#include "import/session_resolver.h"

#include <charconv>
#include <cmath>
#include <functional>

#include "exchange/text_codec.h"

namespace enlacor {
namespace {

bool IsBlank(std::string_view text) { return Trim(text).empty(); }

// Calls `visit` for every record of `table` from the first, in stored order.
template <typename Visit>
void ForEachRecord(DbfTable& table, Visit visit) {
  for (table.First(); !table.Eof(); table.Next()) visit(table);
}

// Whole numbers as their digits, others as their shortest decimal text;
// the largest double has 309 digits.
std::string DayText(double day) {
  char buffer[400];
  const auto result = std::isfinite(day)
                          ? std::to_chars(buffer, buffer + sizeof buffer, day, std::chars_format::fixed)
                          : std::to_chars(buffer, buffer + sizeof buffer, day);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::optional<std::string> DayPeriodKey(const SolucSession& session) {
  if (!session.period) return std::nullopt;
  return DayText(session.day) + std::to_string(*session.period);
}

std::string FrameMark(std::string_view frame) { return std::string(frame.substr(0, 1)); }

std::size_t SessionResolver::KeyHash::operator()(const Key& key) const {
  const std::hash<std::string> hash;
  return hash(key.first) * 1000003u ^ hash(key.second);
}

SessionResolver::SessionResolver(const Tables& tables) {
  ReadAssignments(tables.asigt);
  ReadTasks(tables.asignomt);
  ReadGroups(tables.grupost);
  ReadCourseSubjects(tables.asignomt2);
  ReadPeriods(tables.diashorast);
  ReadRooms(tables.aulat);
}

// Every map keeps the first record of a key: try_emplace leaves an existing
// entry alone, so later duplicates never replace it.

void SessionResolver::ReadAssignments(DbfTable& asigt) {
  ForEachRecord(asigt, [&](const DbfTable& t) {
    subject_by_assignment_.try_emplace(Key(t.GetText("CASIG"), t.GetText("CGRUP")), t.GetText("CLAVE"));
  });
}

void SessionResolver::ReadTasks(DbfTable& asignomt) {
  ForEachRecord(asignomt, [&](const DbfTable& t) {
    activity_by_task_.try_emplace(t.GetText("COD"), FromTableText(t.GetText("CODTAREA")));
  });
}

void SessionResolver::ReadGroups(DbfTable& grupost) {
  ForEachRecord(grupost, [&](const DbfTable& t) {
    group_by_abbreviation_.try_emplace(t.GetText("ABREV"),
                                       Group{FromTableText(t.GetText("CLAVE")), t.GetText("CLAVECURSO")});
  });
}

void SessionResolver::ReadCourseSubjects(DbfTable& asignomt2) {
  // The record a session falls back to is the first with COD equal to ASIG
  // and CLAVECURSO equal to the course key; a blank ALECTIVA there gives an
  // empty subject key whatever MATERIA holds.
  ForEachRecord(asignomt2, [&](const DbfTable& t) {
    subject_by_course_.try_emplace(Key(t.GetText("COD"), t.GetText("CLAVECURSO")),
                                   IsBlank(t.GetText("ALECTIVA")) ? std::string() : t.GetText("MATERIA"));
  });
}

void SessionResolver::ReadPeriods(DbfTable& diashorast) {
  ForEachRecord(diashorast, [&](const DbfTable& t) {
    period_by_day_period_.try_emplace(Key(t.GetText("DIHO"), t.GetText("MARCO")),
                                      Period{FromTableText(t.GetText("DIA")), FromTableText(t.GetText("CODDIHO"))});
  });
}

void SessionResolver::ReadRooms(DbfTable& aulat) {
  ForEachRecord(aulat, [&](const DbfTable& t) {
    dependency_by_room_.try_emplace(t.GetText("ABREV"), FromTableText(t.GetText("DEPCENTRO")));
  });
}

std::string SessionResolver::SubjectKey(const SolucSession& session, const std::string& course_key) const {
  std::string subject;
  if (const auto found = subject_by_assignment_.find(Key(session.subject, session.group));
      found != subject_by_assignment_.end()) {
    subject = found->second;
  }
  if (!IsBlank(subject)) return subject;
  if (const auto found = subject_by_course_.find(Key(session.subject, course_key));
      found != subject_by_course_.end()) {
    return found->second;
  }
  return subject;
}

ResolvedSession SessionResolver::Resolve(const SolucSession& session) const {
  ResolvedSession resolved;

  const auto task = activity_by_task_.find(session.task);
  resolved.activity = task != activity_by_task_.end() ? task->second : FromTableText(session.task);

  std::string course_key;
  if (const auto group = group_by_abbreviation_.find(session.group); group != group_by_abbreviation_.end()) {
    resolved.group = group->second.key;
    course_key = group->second.course_key;
  }
  resolved.subject = FromTableText(SubjectKey(session, course_key));

  if (const auto key = DayPeriodKey(session)) {
    const auto period = period_by_day_period_.find(Key(*key, FrameMark(session.frame)));
    if (period != period_by_day_period_.end()) {
      resolved.weekday = period->second.weekday;
      resolved.period = period->second.code;
    }
  }

  if (const auto room = dependency_by_room_.find(session.room); room != dependency_by_room_.end()) {
    resolved.room_dependency = room->second;
  }
  return resolved;
}

}  // namespace enlacor
