#include "import/solution_sessions.h"

namespace enlacor {
namespace {

constexpr const char* kSolutionColumns[] = {"PROF", "DIA",  "HORA", "ASIG",
                                            "CODGRUPO", "TAREA", "AULA", "MARCO"};

bool IsSession(const DbfTable& soluc) {
  const std::optional<std::int64_t> day = soluc.GetInteger("DIA");
  return day.value_or(0) != 0;
}

SolucSession ReadSession(const DbfTable& soluc) {
  SolucSession session;
  session.subject = soluc.GetText("ASIG");
  session.group = soluc.GetText("CODGRUPO");
  session.task = soluc.GetText("TAREA");
  session.room = soluc.GetText("AULA");
  session.frame = soluc.GetText("MARCO");
  session.day = soluc.GetFloat("DIA").value_or(0);
  session.period = soluc.GetInteger("HORA");
  return session;
}

}  // namespace

void RequireSolutionColumns(const DbfTable& soluc) {
  for (const char* column : kSolutionColumns) {
    if (!soluc.HasColumn(column)) {
      throw TableError("La tabla " + soluc.Name() + " no tiene el campo " + column +
                       ", que la importación necesita");
    }
  }
}

SolutionSessions SolutionSessions::Read(DbfTable& soluc) {
  SolutionSessions sessions;
  for (soluc.First(); !soluc.Eof(); soluc.Next()) {
    if (!IsSession(soluc)) continue;
    sessions.by_teacher_[soluc.GetText("PROF")].push_back(ReadSession(soluc));
  }
  return sessions;
}

const std::vector<SolucSession>& SolutionSessions::Of(const std::string& abbreviation) const {
  static const std::vector<SolucSession> kNone;
  const auto found = by_teacher_.find(abbreviation);
  return found == by_teacher_.end() ? kNone : found->second;
}

}  // namespace enlacor
