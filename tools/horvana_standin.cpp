// horvana-standin: a TEST TOOL that stands in for Horvana, the timetabling
// application, so that the round trip export -> timetable -> import can run
// without it. It is not part of Enlacor and never runs in a school.
//
// Given a workspace directory holding the tables of an export run, it writes
// a plausible, deterministic SOLUC.DBF there:
//   - every ASIGT row gets HORAS sessions (rounded to the nearest whole
//     number), placed on the periods of DIASHORAST for weekdays 1 to 5 whose
//     MARCO is "0" or "1", taken in turn across all rows;
//   - each ASIGT row is given a teacher from PROFT and a room from AULAT,
//     both taken in turn;
//   - ASIG is the row's CASIG, CODGRUPO its CGRUP, TAREA its CTAREA, DIA and
//     HORA the period's day and period number, MARCO the period's mark;
//   - the first few teachers also get one record with DIA 0 (a session
//     Horvana could not place).
// It reads PROFT, AULAT, ASIGT and DIASHORAST and writes SOLUC only.
//
// SOLUC gets Horvana's column names, order and types; its code columns are
// 10 characters wide, as the export's codes are, so no code is cut.
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/dbf_table.h"
#include "exchange/timetable_tables.h"

namespace enlacor {

constexpr char kUsage[] =
    "Uso: horvana-standin DIRECTORIO_DE_TRABAJO\n"
    "\n"
    "Herramienta de prueba: hace las veces de Horvana. Lee las tablas que dejó\n"
    "la exportación (PROFT, AULAT, ASIGT, DIASHORAST) en DIRECTORIO_DE_TRABAJO\n"
    "y escribe allí un SOLUC.DBF verosímil y siempre igual para las mismas\n"
    "tablas. No forma parte de Enlacor ni sustituye a Horvana.\n";

namespace {

constexpr int kCodeWidth = 10;
constexpr int kTeachersWithUnplacedSession = 3;

struct Slot {
  double day;
  double period;
  std::string mark;
};

struct Assignment {
  std::string subject, group, task, level, course, group_letter;
  long sessions;
};

std::vector<std::string> ReadColumn(const Workspace& workspace, TableId id, const char* column) {
  std::vector<std::string> values;
  DbfTable table = workspace.Open(id, OpenMode::kShared);
  for (table.First(); !table.Eof(); table.Next()) values.push_back(table.GetText(column));
  return values;
}

// The periods of weekdays 1 to 5 of the chosen frames, in stored order.
// A row whose DIHO is not its day followed by its period is left out: the
// import could never find it again.
std::vector<Slot> ReadSlots(const Workspace& workspace) {
  std::vector<Slot> slots;
  DbfTable grid = workspace.Open(TableId::kDiashorast, OpenMode::kShared);
  for (grid.First(); !grid.Eof(); grid.Next()) {
    const std::string mark = grid.GetText("MARCO");
    const std::string day = grid.GetText("DIA");
    const std::string period = grid.GetText("HORA");
    if (mark != "0" && mark != "1") continue;
    if (day.size() != 1 || day[0] < '1' || day[0] > '5') continue;
    if (period.empty() || period.find_first_not_of("0123456789") != std::string::npos) continue;
    if (grid.GetText("DIHO") != day + std::to_string(std::stol(period))) continue;
    slots.push_back({std::stod(day), std::stod(period), mark});
  }
  return slots;
}

std::vector<Assignment> ReadAssignments(const Workspace& workspace) {
  std::vector<Assignment> assignments;
  DbfTable asigt = workspace.Open(TableId::kAsigt, OpenMode::kShared);
  for (asigt.First(); !asigt.Eof(); asigt.Next()) {
    const double hours = asigt.GetFloat("HORAS").value_or(0);
    assignments.push_back({asigt.GetText("CASIG"), asigt.GetText("CGRUP"), asigt.GetText("CTAREA"),
                           asigt.GetText("NIVEL"), asigt.GetText("CURSO"), asigt.GetText("GRUPO"),
                           std::lround(hours)});
  }
  return assignments;
}

std::vector<ColumnDef> SolutionColumns() {
  std::vector<ColumnDef> columns;
  for (ColumnDef column : SchemaOf(TableId::kSoluc).columns) {
    const std::string_view name = column.name;
    if (name == "ASIG" || name == "PROF" || name == "CODGRUPO" || name == "AULA" || name == "TAREA") {
      column.width = kCodeWidth;
    }
    columns.push_back(column);
  }
  return columns;
}

void AppendSession(DbfTable& soluc, const Assignment& a, const std::string& teacher, const std::string& room,
                   const Slot& slot) {
  soluc.Append();
  soluc.SetText("ASIG", a.subject);
  soluc.SetText("PROF", teacher);
  soluc.SetText("CODGRUPO", a.group);
  soluc.SetText("NIVEL", a.level);
  soluc.SetText("CURSO", a.course);
  soluc.SetText("GRUPO", a.group_letter);
  soluc.SetText("AULA", room);
  soluc.SetText("TAREA", a.task);
  soluc.SetFloat("DIA", slot.day);
  soluc.SetFloat("HORA", slot.period);
  soluc.SetFloat("SESIONES", 1);
  soluc.SetText("MARCO", slot.mark);
  soluc.Post();
}

int WriteSolution(const std::filesystem::path& directory) {
  const Workspace workspace(directory);
  const std::vector<std::string> teachers = ReadColumn(workspace, TableId::kProft, "ABREV");
  const std::vector<std::string> rooms = ReadColumn(workspace, TableId::kAulat, "ABREV");
  const std::vector<Slot> slots = ReadSlots(workspace);
  const std::vector<Assignment> assignments = ReadAssignments(workspace);
  if (teachers.empty()) throw std::runtime_error("PROFT no tiene profesores");
  if (slots.empty()) throw std::runtime_error("DIASHORAST no tiene tramos de lunes a viernes marcados con 0 o 1");

  const std::filesystem::path file = workspace.TableFile("SOLUC");
  const std::vector<ColumnDef> columns = SolutionColumns();
  DbfTable::Create(file, columns);
  DbfTable soluc = DbfTable::Open(file, OpenMode::kExclusive);

  std::size_t next_slot = 0, sessions = 0;
  for (std::size_t row = 0; row < assignments.size(); ++row) {
    const std::string& teacher = teachers[row % teachers.size()];
    const std::string room = rooms.empty() ? std::string() : rooms[row % rooms.size()];
    for (long s = 0; s < assignments[row].sessions; ++s, ++sessions) {
      AppendSession(soluc, assignments[row], teacher, room, slots[next_slot++ % slots.size()]);
    }
  }
  std::size_t unplaced = 0;
  for (; unplaced < teachers.size() && unplaced < kTeachersWithUnplacedSession && !assignments.empty(); ++unplaced) {
    AppendSession(soluc, assignments[unplaced % assignments.size()], teachers[unplaced], std::string(),
                  Slot{0, 0, std::string()});
  }
  soluc.Close();
  std::printf("%s: %zu sesiones y %zu registros con DIA 0\n", file.string().c_str(), sessions, unplaced);
  return 0;
}

}  // namespace
}  // namespace enlacor

int main(int argc, char** argv) {
  const std::string first = argc > 1 ? argv[1] : "";
  if (first == "--help" || first == "-h") {
    std::fputs(enlacor::kUsage, stdout);
    return 0;
  }
  if (argc != 2) {
    std::fputs(enlacor::kUsage, stderr);
    return 2;
  }
  try {
    return enlacor::WriteSolution(argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "horvana-standin: %s\n", error.what());
    return 1;
  }
}
