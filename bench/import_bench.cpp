// Import benchmark: generates a large school's tables and timetable at
// sizes N and 2N, runs the import on each, and prints
//   - the import's time for N and 2N and their ratio (at most 2.3: the run
//     must grow about linearly with the school);
//   - the import's time against the time of merely reading the nine tables
//     once and saving the result document once (at most 3);
//   - the peak memory of the process.
// Times are the fastest of five runs in a warm process (after one untimed
// run of 2N, whose time is shown apart). Exits with status 1 when a bound is
// exceeded.
//
// Usage: import_bench [SCALE]   (SCALE 1, the default, is N: 1,000 teachers,
// 20,000 ASIGT rows, 30,000 sessions)
#include <sys/resource.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>

#include <pugixml.hpp>

#include "bench_support.h"
#include "app/core/shared_state.h"
#include "exchange/dbf_table.h"
#include "exchange/exchange_document.h"
#include "exchange/timetable_tables.h"
#include "import/import_run.h"

namespace enlacor {
namespace {

using bench::Clock;
using bench::SecondsSince;
using bench::SilentHost;

struct SchoolSize {
  int teachers, rooms, courses, groups_per_course, subjects_per_course, tasks, sessions;
  int Groups() const { return courses * groups_per_course; }
  int Assignments() const { return Groups() * subjects_per_course; }
};

SchoolSize SizeFor(int scale) {
  // 100 courses x 4 groups x 50 subjects = 20,000 assignments per scale.
  return {1000 * scale, 300 * scale, 100 * scale, 4, 50, 40, 30000 * scale};
}

constexpr int kDays = 5, kPeriods = 8;

std::string Code(const char* prefix, int n) { return prefix + std::to_string(n); }

void Fill(const Workspace& workspace, TableId id, int rows, const std::function<void(DbfTable&, int)>& set) {
  if (id == TableId::kSoluc) {
    DbfTable::Create(workspace.Directory() / "SOLUC.DBF", SchemaOf(id).columns);
  } else {
    workspace.RecreateTable(id);
  }
  DbfTable table = workspace.Open(id, OpenMode::kExclusive);
  for (int i = 0; i < rows; ++i) {
    table.Append();
    set(table, i);
    table.Post();
  }
  table.Close();
}

// Subject s of course c is known to Horvana as "S<c>_<s>"; group g of course
// c as "G<c>_<g>".
std::string Subject(int course, int subject) { return "S" + std::to_string(course) + "_" + std::to_string(subject); }
std::string Group(int course, int group) { return "G" + std::to_string(course) + "_" + std::to_string(group); }

void GenerateSchool(const Workspace& workspace, const SchoolSize& size) {
  Fill(workspace, TableId::kProft, size.teachers, [](DbfTable& t, int i) {
    t.SetText("ABREV", Code("P", i));
    t.SetText("NOMBRE", "Profesor " + std::to_string(i));
    t.SetText("X_EMPLEADO", Code("E", i));
    t.SetText("F_TOMAPOS", "01/09/2020");
  });
  Fill(workspace, TableId::kAulat, size.rooms, [](DbfTable& t, int i) {
    t.SetText("ABREV", Code("A", i));
    t.SetText("DEPCENTRO", Code("D", i));
  });
  Fill(workspace, TableId::kCursost, size.courses, [](DbfTable& t, int i) { t.SetText("CLAVE", Code("C", i)); });
  Fill(workspace, TableId::kGrupost, size.Groups(), [&](DbfTable& t, int i) {
    const int course = i / size.groups_per_course;
    t.SetText("ABREV", Group(course, i % size.groups_per_course));
    t.SetText("CLAVE", Code("U", i));
    t.SetText("CLAVECURSO", Code("C", course));
  });
  const int subjects = size.courses * size.subjects_per_course;
  Fill(workspace, TableId::kAsignomt, subjects + size.tasks, [&](DbfTable& t, int i) {
    if (i < subjects) {
      t.SetText("COD", Subject(i / size.subjects_per_course, i % size.subjects_per_course));
    } else {
      t.SetText("COD", Code("T", i - subjects));
      t.SetText("CODTAREA", Code("TAREA", i - subjects));
      t.SetBoolean("ESTAREA", true);
    }
  });
  Fill(workspace, TableId::kAsignomt2, subjects + size.tasks, [&](DbfTable& t, int i) {
    if (i < subjects) {
      t.SetText("COD", Subject(i / size.subjects_per_course, i % size.subjects_per_course));
      t.SetText("MATERIA", Code("M", i));
      t.SetText("CLAVECURSO", Code("C", i / size.subjects_per_course));
    } else {
      t.SetText("COD", Code("T", i - subjects));
      t.SetText("ALECTIVA", "S");
    }
  });
  Fill(workspace, TableId::kAsigt, size.Assignments(), [&](DbfTable& t, int i) {
    const int group = i / size.subjects_per_course;
    const int course = group / size.groups_per_course;
    t.SetText("CASIG", Subject(course, i % size.subjects_per_course));
    t.SetText("CGRUP", Group(course, group % size.groups_per_course));
    t.SetText("CLAVE", Code("K", i));
    t.SetFloat("HORAS", 3);
    t.SetText("CTAREA", Code("T", i % size.tasks));
  });
  // Seven rows per period and two frames, as the day grid writes them.
  Fill(workspace, TableId::kDiashorast, 2 * 7 * kPeriods, [](DbfTable& t, int i) {
    const int frame = i / (7 * kPeriods), day = i % 7 + 1, period = i / 7 % kPeriods + 1;
    t.SetText("DIHO", std::to_string(day) + std::to_string(period));
    t.SetText("CODDIHO", Code("H", frame * 100 + period));
    t.SetText("DIA", std::to_string(day));
    t.SetText("HORA", std::to_string(period));
    t.SetText("MARCO", std::to_string(frame));
  });
  std::mt19937 random(42);
  // One record in 51 has DIA 0, on top of the sessions.
  Fill(workspace, TableId::kSoluc, size.sessions + size.sessions / 50, [&](DbfTable& t, int i) {
    const int assignment = static_cast<int>(random() % size.Assignments());
    const int group = assignment / size.subjects_per_course;
    const int course = group / size.groups_per_course;
    const bool unknown_pair = i % 10 == 0;  // falls back to ASIGNOMT2
    t.SetText("ASIG", Subject(course, assignment % size.subjects_per_course));
    t.SetText("CODGRUPO", Group(course, (group + unknown_pair) % size.groups_per_course));
    t.SetText("PROF", Code("P", static_cast<int>(random() % size.teachers)));
    t.SetText("TAREA", Code("T", assignment % size.tasks));
    t.SetText("AULA", Code("A", static_cast<int>(random() % size.rooms)));
    t.SetFloat("DIA", i % 51 == 50 ? 0 : 1 + i % kDays);
    t.SetFloat("HORA", 1 + i / kDays % kPeriods);
    t.SetText("MARCO", std::to_string(i % 2));
  });
}

// Reading every column of every record of the nine tables once, as text.
double TimeReadingTables(const Workspace& workspace) {
  const auto start = Clock::now();
  std::size_t bytes = 0;
  for (int id = 0; id < 9; ++id) {
    const TableSchema& schema = SchemaOf(static_cast<TableId>(id));
    DbfTable table = workspace.Open(schema.id, OpenMode::kExclusive);
    for (table.First(); !table.Eof(); table.Next()) {
      for (const ColumnDef& column : schema.columns) bytes += table.GetText(column.name).size();
    }
  }
  if (bytes == 0) std::puts("(tablas vacías)");
  return SecondsSince(start);
}

// Saving the result document once: the carrier with the result's output
// section built in memory (untimed), then saved.
double TimeSavingResult(const std::filesystem::path& carrier, const std::filesystem::path& result,
                        const std::filesystem::path& copy) {
  pugi::xml_document built;
  built.load_file(result.c_str());
  ExchangeDocument document = ExchangeDocument::Load(carrier);
  pugi::xml_node output = document.ReplaceOutputSection();
  for (pugi::xml_node child : built.document_element().child("SALIDAS").children()) output.append_copy(child);
  const auto start = Clock::now();
  document.Save(copy);
  return SecondsSince(start);
}

struct School {
  Workspace workspace;
  std::filesystem::path document;
};

School MakeSchool(const std::filesystem::path& root, int scale) {
  School school{Workspace(root / ("escala" + std::to_string(scale))), {}};
  std::filesystem::create_directories(school.workspace.Directory());
  GenerateSchool(school.workspace, SizeFor(scale));
  school.document = school.workspace.Directory() / "centro.xml";
  std::ofstream(school.document) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                    "<SERVICIO><CABECERA/><SALIDAS><listasal seq=\"MATERIAS\"/></SALIDAS></SERVICIO>\n";
  return school;
}

struct Measure {
  double import_seconds = 1e9;
  double baseline_seconds = 1e9;
  std::size_t sessions = 0;
};

double TimeImport(const School& school, ImportSummary& summary) {
  SilentHost host;
  SharedState state;
  ImportRun run(host, state, school.workspace);
  const auto start = Clock::now();
  run.Import(school.document);
  const double seconds = SecondsSince(start);
  summary = run.Summary();
  return seconds;
}

// One run of the import and one of the baseline; `best` keeps the fastest
// of each over the calls.
void MeasureOnce(const School& school, Measure& best) {
  ImportSummary summary;
  best.import_seconds = std::min(best.import_seconds, TimeImport(school, summary));
  best.sessions = summary.sessions;
  const double baseline =
      TimeReadingTables(school.workspace) +
      TimeSavingResult(school.document, summary.result_file, school.workspace.Directory() / "copia.xml");
  best.baseline_seconds = std::min(best.baseline_seconds, baseline);
}

bool Report(const char* what, double value, double bound) {
  const bool ok = value <= bound;
  std::printf("%-44s %6.2f (máximo %.1f) %s\n", what, value, bound, ok ? "correcto" : "EXCEDIDO");
  return ok;
}

int Main(int scale) {
  // Freed memory stays with the process, so that after the warm-up run the
  // measured runs pay for the work and not for the system handing out fresh
  // pages (which costs more than the import itself on some virtual machines).
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);

  const std::filesystem::path root =
      std::filesystem::temp_directory_path() / ("enlacor-import-bench-" + std::to_string(::getpid()));
  const School n_school = MakeSchool(root, scale);
  const School n2_school = MakeSchool(root, 2 * scale);

  ImportSummary ignored;
  const double cold = TimeImport(n2_school, ignored);
  // N and 2N take turns, so that both see the same load of the machine;
  // each keeps its fastest run.
  constexpr int kRuns = 5;
  Measure n, n2;
  for (int run = 0; run < kRuns; ++run) {
    MeasureOnce(n_school, n);
    MeasureOnce(n2_school, n2);
  }
  std::filesystem::remove_all(root);

  std::printf("importación 2N en frío (primera, no cuenta): %.3f s\n", cold);
  std::printf("importación N   (%zu sesiones): %.3f s; leer tablas y guardar: %.3f s\n", n.sessions,
              n.import_seconds, n.baseline_seconds);
  std::printf("importación 2N  (%zu sesiones): %.3f s; leer tablas y guardar: %.3f s\n", n2.sessions,
              n2.import_seconds, n2.baseline_seconds);
  bool ok = Report("tiempo 2N / tiempo N", n2.import_seconds / n.import_seconds, 2.3);
  ok &= Report("importación / (leer tablas + guardar), N", n.import_seconds / n.baseline_seconds, 3.0);
  ok &= Report("importación / (leer tablas + guardar), 2N", n2.import_seconds / n2.baseline_seconds, 3.0);

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("memoria máxima: %.1f MiB\n", usage.ru_maxrss / 1024.0);
  return ok ? 0 : 1;
}

}  // namespace
}  // namespace enlacor

int main(int argc, char** argv) {
  const int scale = argc > 1 ? std::atoi(argv[1]) : 1;
  if (scale < 1) {
    std::fputs("Uso: import_bench [ESCALA]   (ESCALA entera, 1 o más)\n", stderr);
    return 2;
  }
  return enlacor::Main(scale);
}
