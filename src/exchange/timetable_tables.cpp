#include "exchange/timetable_tables.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "exchange/dbf_names.h"
#include "exchange/table_error.h"

namespace enlacor {
namespace {

constexpr ColumnType T = ColumnType::kText;
constexpr ColumnType I = ColumnType::kInteger;
constexpr ColumnType F = ColumnType::kFloat;
constexpr ColumnType B = ColumnType::kBoolean;

constexpr ColumnDef kAsignomt[] = {
    {"COD", T, 10}, {"CODLARGO", T, 10}, {"NOMBRE", T, 80},
    {"MATERIA", T, 8}, {"CODTAREA", T, 10}, {"ESTAREA", B}};
constexpr ColumnDef kAsignomt2[] = {
    {"COD", T, 10}, {"CODLARGO", T, 10}, {"NOMBRE", T, 40},
    {"MATERIA", T, 8}, {"CLAVECURSO", T, 12}, {"ALECTIVA", T, 1}};
constexpr ColumnDef kProft[] = {
    {"ABREV", T, 10}, {"NOMBRE", T, 80}, {"DEPART", T, 40}, {"DNI", I},
    {"X_EMPLEADO", T, 10}, {"F_TOMAPOS", T, 10}, {"EMAIL", T, 100}};
constexpr ColumnDef kAulat[] = {
    {"ABREV", T, 10}, {"NOMBRE", T, 80}, {"EDIFICIO", T, 1}, {"MAXALUM", I}, {"DEPCENTRO", T, 10}};
constexpr ColumnDef kCursost[] = {
    {"ABREV", T, 3}, {"TURNO", T, 1}, {"NIVEL", T, 5}, {"CURSO", T, 3},
    {"CLAVE", T, 12}, {"DESCRICUR", T, 80}};
constexpr ColumnDef kGrupost[] = {
    {"ABREV", T, 10}, {"TURNO", T, 1}, {"NIVEL", T, 5}, {"CURSO", T, 3}, {"GRUPO", T, 2},
    {"DESCRIP", T, 80}, {"MARCO", T, 1}, {"CLAVE", T, 10}, {"CLAVECURSO", T, 12}};
constexpr ColumnDef kAsigt[] = {
    {"CASIG", T, 10}, {"CPROF", T, 10}, {"CGRUP", T, 10}, {"CAULA", T, 10}, {"TURNO", T, 1},
    {"NIVEL", T, 5}, {"CURSO", T, 3}, {"GRUPO", T, 2}, {"HORAS", F}, {"SESIONES", T, 20},
    {"NCONEX", T, 4}, {"CLAVE", T, 10}, {"CLAVECURSO", T, 12}, {"CTAREA", T, 10}};
constexpr ColumnDef kDiashorast[] = {
    {"DIHO", T, 10}, {"CODDIHO", T, 10}, {"DIA", T, 20}, {"TEXTODIA", T, 20},
    {"HORA", T, 8}, {"TEXTOHOR", T, 15}, {"HORADESDE", T, 8}, {"HORAHASTA", T, 8},
    {"MINUTOS", T, 8}, {"MARCO", T, 1}, {"MARCOXML", T, 10}};
// Horvana's declared layout, with the MARCO column it also writes.
constexpr ColumnDef kSoluc[] = {
    {"ASIG", T, 4}, {"PROF", T, 4}, {"CODGRUPO", T, 4}, {"TURNO", T, 1}, {"NIVEL", T, 5},
    {"CURSO", T, 3}, {"GRUPO", T, 1}, {"AULA", T, 4}, {"TAREA", T, 4}, {"DIA", F},
    {"HORA", F}, {"SESIONES", F}, {"MARCO", T, 1}};

constexpr std::array<TableSchema, 9> kSchemas = {{
    {TableId::kAsignomt, "ASIGNOMT", kAsignomt},
    {TableId::kAsignomt2, "ASIGNOMT2", kAsignomt2},
    {TableId::kProft, "PROFT", kProft},
    {TableId::kAulat, "AULAT", kAulat},
    {TableId::kCursost, "CURSOST", kCursost},
    {TableId::kGrupost, "GRUPOST", kGrupost},
    {TableId::kAsigt, "ASIGT", kAsigt},
    {TableId::kDiashorast, "DIASHORAST", kDiashorast},
    {TableId::kSoluc, "SOLUC", kSoluc},
}};

constexpr TableId kExportTables[] = {TableId::kAsignomt, TableId::kAsignomt2, TableId::kProft,
                                     TableId::kAulat,    TableId::kCursost,   TableId::kGrupost,
                                     TableId::kAsigt,    TableId::kDiashorast};

// Every file of `directory` named `file_name` whatever its case.
std::vector<std::filesystem::path> FilesNamed(const std::filesystem::path& directory, std::string_view file_name) {
  std::vector<std::filesystem::path> found;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec))
    if (EqualIgnoringAsciiCase(it->path().filename().string(), file_name)) found.push_back(it->path());
  return found;
}

// Whether another program holds `file` open through its lock.
bool HeldByAnother(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  const bool held = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
  if (fd >= 0) ::close(fd);
  return held;
}

TableError InUse(std::string_view table) {
  return TableError("La tabla " + std::string(table) + " está en uso por otro programa");
}

void RemoveAllNamed(const std::filesystem::path& directory, std::string_view file_name, std::string_view table) {
  // A deletion that fails is not reported by itself: creating the table
  // afterwards replaces the file or fails with an error naming it. A file
  // that another program holds open is not deleted under it (the system
  // would allow it, leaving that program on a lost file).
  for (const std::filesystem::path& file : FilesNamed(directory, file_name)) {
    if (HeldByAnother(file)) throw InUse(table);
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
  }
}

// SOLUC is Horvana's computed timetable: losing it loses Horvana's work.
void RefuseHorvanaTable(TableId id) {
  if (id == TableId::kSoluc)
    throw TableError("La tabla SOLUC pertenece a Horvana: este programa no la crea ni la borra");
}

}  // namespace

const TableSchema& SchemaOf(TableId id) { return kSchemas[static_cast<std::size_t>(id)]; }

std::span<const TableId> ExportTables() { return kExportTables; }

Workspace::Workspace(std::filesystem::path directory) : directory_(std::move(directory)) {}

Workspace Workspace::Default() {
  if (const char* env = std::getenv("ENLACOR_WORKSPACE"); env && *env) return Workspace(env);
#ifdef _WIN32
  return Workspace("C:\\HTEMP");
#else
  std::filesystem::path prefix;
  if (const char* wine = std::getenv("WINEPREFIX"); wine && *wine) {
    prefix = wine;
  } else {
    const char* home = std::getenv("HOME");
    prefix = std::filesystem::path(home ? home : ".") / ".wine";
  }
  return Workspace(prefix / "drive_c" / "HTEMP");
#endif
}

std::filesystem::path Workspace::EscoliaFolder() const { return directory_ / "escolia"; }

std::filesystem::path Workspace::Find(std::string_view file_name) const {
  const std::filesystem::path exact = directory_ / std::string(file_name);
  std::error_code ec;
  if (std::filesystem::exists(exact, ec)) return exact;
  const std::vector<std::filesystem::path> found = FilesNamed(directory_, file_name);
  return found.empty() ? exact : found.front();
}

std::filesystem::path Workspace::TableFile(std::string_view name) const {
  return Find(std::string(name) + ".DBF");
}

std::filesystem::path Workspace::IndexFile(std::string_view name) const {
  return Find(std::string(name) + ".MDX");
}

void Workspace::DeleteTableFiles(TableId id) const {
  RefuseHorvanaTable(id);
  const std::string name = SchemaOf(id).name;
  RemoveAllNamed(directory_, name + ".DBF", name);
  RemoveAllNamed(directory_, name + ".MDX", name);
}

void Workspace::CreateTable(TableId id) const {
  RefuseHorvanaTable(id);
  const TableSchema& schema = SchemaOf(id);
  DbfTable::Create(directory_ / (std::string(schema.name) + ".DBF"), schema.columns);
}

void Workspace::CheckNoneHeld(std::span<const TableId> ids) const {
  for (TableId id : ids) {
    const std::string name = SchemaOf(id).name;
    for (const std::filesystem::path& file : FilesNamed(directory_, name + ".DBF"))
      if (HeldByAnother(file)) throw InUse(name);
  }
}

void Workspace::RecreateTable(TableId id) const {
  DeleteTableFiles(id);
  CreateTable(id);
}

DbfTable Workspace::Open(TableId id, OpenMode mode) const {
  return DbfTable::Open(TableFile(SchemaOf(id).name), mode);
}

}  // namespace enlacor
