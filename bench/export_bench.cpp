// Export benchmark: generates a large school's exchange document at sizes N
// and 2N, runs export steps 1 to 7 on each into a temporary workspace, and
// prints the time of each step, the total, and the ratio of 2N to N, which
// must stay at most 2.3 (the export grows about linearly with the school).
// Times are the fastest of three runs. Exits with status 1 when the bound is
// exceeded.
//
// The generated school is built to catch quadratic work: many long codes on
// one 10-character stem (subjects, tasks, teachers, rooms and groups), many
// groups per course, and a school-wide MATERIAS list.
//
// Usage: export_bench [SCALE]   (SCALE 1, the default, is N: 10,000 MATERIAS
// entries, 1,000 groups in 100 courses, 100,000 ASIGT rows)
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
#include <vector>

#include "bench_support.h"
#include "app/core/run_host.h"
#include "app/core/shared_state.h"
#include "exchange/timetable_tables.h"
#include "export/export_run.h"

namespace enlacor {
namespace {

using bench::Clock;
using bench::SecondsSince;
using bench::SilentHost;

// ---------------------------------------------------------------------------
// The school generator. Every list grows with the scale; one entry in
// `crowded_every` of each catalogue takes its code from one shared 10-character
// stem, so the short-code search meets long runs of taken codes.

struct SchoolShape {
  int courses, groups_per_course, subjects_per_course, tasks, teachers, rooms;
  int crowded_every = 3;
  int Subjects() const { return courses * subjects_per_course; }
  int Groups() const { return courses * groups_per_course; }
  int Assignments() const { return Subjects() * groups_per_course; }
};

SchoolShape ShapeFor(int scale) { return {100 * scale, 10, 100, 50 * scale, 800 * scale, 200 * scale}; }

class DocumentWriter {
 public:
  DocumentWriter() { xml_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SERVICIO><SALIDAS>\n"; }
  void List(const char* name, int entries, const std::function<std::vector<std::string>(int)>& fields) {
    xml_ += "<listasal seq=\"" + std::string(name) + "\">\n";
    for (int i = 0; i < entries; ++i) {
      xml_ += "<listasal>";
      for (const std::string& value : fields(i)) xml_ += "<salida>" + value + "</salida>";
      xml_ += "</listasal>\n";
    }
    xml_ += "</listasal>\n";
  }
  std::string Finish() { return xml_ + "</SALIDAS></SERVICIO>\n"; }

 private:
  std::string xml_;
};

std::string N(int n) { return std::to_string(n); }

// A code on the crowded stem for one entry in `every`, a code of its own
// otherwise.
std::string CodeFor(const char* crowded_stem, const char* own_prefix, int i, int every) {
  return (i % every == 0 ? crowded_stem : own_prefix) + N(i);
}

std::string GenerateSchool(const SchoolShape& shape) {
  std::mt19937 random(42);
  DocumentWriter document;
  document.List("CURSOS", shape.courses, [](int c) {
    return std::vector<std::string>{"CUR" + N(c), "Curso " + N(c), "", c % 7 ? "ESO" : "", N(c % 4 + 1)};
  });
  document.List("GRUPOS", shape.Groups(), [&](int g) {
    return std::vector<std::string>{"GRU" + N(g), CodeFor("GRUPOLARGO-", "G", g, shape.crowded_every),
                                    "CUR" + N(g / shape.groups_per_course)};
  });
  document.List("PROFESORES", shape.teachers, [&](int t) {
    return std::vector<std::string>{"EMP" + N(t), "01/09/2020", "Profesor " + N(t),
                                    CodeFor("PROFESORADO", "P", t, shape.crowded_every)};
  });
  document.List("AULAS", shape.rooms, [&](int r) {
    return std::vector<std::string>{"DEP" + N(r), "Aula " + N(r), CodeFor("SALA USOS MULTIPLES ", "A", r, shape.crowded_every)};
  });
  document.List("TAREAS", shape.tasks, [&](int t) {
    static const char* kTaskCodes[] = {"156", "281", "286"};
    return std::vector<std::string>{t < 3 ? kTaskCodes[t] : "T" + N(t), "Tarea " + N(t),
                                    CodeFor("MATEMATICAS-TAREA-", "TAR", t, shape.crowded_every), t % 2 ? "SI" : ""};
  });
  // Subjects in a shuffled course order, so that no look-up can rely on the
  // document following the tables.
  std::vector<int> order(static_cast<std::size_t>(shape.Subjects()));
  for (int i = 0; i < shape.Subjects(); ++i) order[static_cast<std::size_t>(i)] = i;
  std::shuffle(order.begin(), order.end(), random);
  static const char* kNames[] = {"Matemáticas", "Guardia de recreo", "Guardia en biblioteca", "Lengua"};
  document.List("MATERIAS", shape.Subjects(), [&](int i) {
    const int s = order[static_cast<std::size_t>(i)];
    return std::vector<std::string>{"MAT" + N(s), std::string(kNames[s % 4]) + " " + N(s),
                                    CodeFor("MATEMATICAS-", "M", s, shape.crowded_every),
                                    "CUR" + N(s / shape.subjects_per_course), N(30 * (s % 40))};
  });
  return document.Finish();
}

// ---------------------------------------------------------------------------

struct StepTimes {
  std::vector<double> seconds;  // load, then the seven steps
  double Total() const {
    double total = 0;
    for (double s : seconds) total += s;
    return total;
  }
};

const char* kStepNames[] = {"carga y comprobación", "ExportSubjects",         "ExportTasks",
                            "ExportCourseSubjects", "ExportTeachers",         "ExportRooms",
                            "ExportCoursesAndGroups", "ExportAssignments"};

StepTimes ExportOnce(const std::filesystem::path& document, const std::filesystem::path& directory) {
  std::filesystem::remove_all(directory);
  std::filesystem::create_directories(directory);
  SilentHost host;
  SharedState state;
  ExportRun run(host, state, Workspace(directory));
  const std::vector<std::function<void()>> steps = {
      [&] { run.LoadDocument(document); }, [&] { run.ExportSubjects(); },
      [&] { run.ExportTasks(); },          [&] { run.ExportCourseSubjects(); },
      [&] { run.ExportTeachers(); },       [&] { run.ExportRooms(); },
      [&] { run.ExportCoursesAndGroups(); }, [&] { run.ExportAssignments(); }};
  StepTimes times;
  for (const auto& step : steps) {
    const auto start = Clock::now();
    step();
    times.seconds.push_back(SecondsSince(start));
  }
  return times;
}

StepTimes FastestOf(int runs, const std::filesystem::path& document, const std::filesystem::path& directory) {
  StepTimes best;
  for (int i = 0; i < runs; ++i) {
    StepTimes times = ExportOnce(document, directory);
    if (best.seconds.empty() || times.Total() < best.Total()) best = times;
  }
  return best;
}

StepTimes Measure(int scale, const std::filesystem::path& root) {
  const SchoolShape shape = ShapeFor(scale);
  const std::filesystem::path document = root / ("escuela-" + N(scale) + ".xml");
  std::ofstream(document, std::ios::binary) << GenerateSchool(shape);
  std::printf("Escala %d: %d MATERIAS, %d grupos (%d por curso), %d profesores, %d aulas, %d tareas, %d filas de ASIGT\n",
              scale, shape.Subjects(), shape.Groups(), shape.groups_per_course, shape.teachers, shape.rooms,
              shape.tasks, shape.Assignments());
  const StepTimes times = FastestOf(3, document, root / ("htemp-" + N(scale)));
  for (std::size_t i = 0; i < times.seconds.size(); ++i) {
    std::printf("  %-24s %8.3f s\n", kStepNames[i], times.seconds[i]);
  }
  std::printf("  %-24s %8.3f s\n", "total", times.Total());
  return times;
}

}  // namespace
}  // namespace enlacor

int main(int argc, char** argv) {
  using namespace enlacor;
  const int scale = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1;
  const std::filesystem::path root =
      std::filesystem::temp_directory_path() / ("enlacor-export-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(root);

  const StepTimes single = Measure(scale, root);
  const StepTimes twice = Measure(2 * scale, root);
  std::filesystem::remove_all(root);

  constexpr double kBound = 2.3;
  const double ratio = twice.Total() / single.Total();
  std::printf("Cociente 2N/N: %.2f (límite %.1f)\n", ratio, kBound);
  for (std::size_t i = 0; i < single.seconds.size(); ++i) {
    std::printf("  %-24s %5.2f\n", kStepNames[i], twice.seconds[i] / std::max(single.seconds[i], 1e-6));
  }
  if (ratio > kBound) {
    std::printf("El tiempo de exportación no crece de forma lineal.\n");
    return 1;
  }
  return 0;
}
