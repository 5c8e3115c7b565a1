#include "exchange/dbf_writer.h"

#include <shapefil.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <system_error>
#include <utility>

#include "exchange/system_reason.h"
#include "exchange/table_error.h"

namespace enlacor {
namespace {

constexpr const char* kWindows1252Driver = "LDID/3";
constexpr int kIntegerWidth = 11;
constexpr int kFloatWidth = 19;
constexpr int kFloatDecimals = 6;
constexpr std::size_t kMaxColumnName = 10;
constexpr int kMaxTextWidth = 254;

// Shapelib names its files itself (always with a lower-case ".dbf"); the
// hooks below send it to the exact file the engine means, and collect the
// failures it reports. One table operation runs at a time per thread.
thread_local const char* t_target = nullptr;
thread_local std::string t_failure;

void NoteFailure(const std::string& reason) {
  if (t_failure.empty()) t_failure = reason;
}

FILE* AsFile(SAFile file) { return reinterpret_cast<FILE*>(file); }

SAFile HookOpen(const char* name, const char* access) {
  const std::string_view requested(name);
  const bool is_table = requested.size() >= 4 && (requested.ends_with(".dbf") || requested.ends_with(".DBF"));
  FILE* file = std::fopen(is_table && t_target ? t_target : name, access);
  if (!file && is_table) NoteFailure(SystemErrorReason(errno));
  return reinterpret_cast<SAFile>(file);
}

SAOffset HookRead(void* data, SAOffset size, SAOffset count, SAFile file) {
  return std::fread(data, size, count, AsFile(file));
}

SAOffset HookWrite(void* data, SAOffset size, SAOffset count, SAFile file) {
  const SAOffset written = std::fwrite(data, size, count, AsFile(file));
  if (written != count) NoteFailure(SystemErrorReason(errno));
  return written;
}

SAOffset HookSeek(SAFile file, SAOffset offset, int whence) {
  // A seek writes out what the stream still buffers: a full disk shows here.
  const int result = std::fseek(AsFile(file), static_cast<long>(offset), whence);
  if (result != 0) NoteFailure(SystemErrorReason(errno));
  return static_cast<SAOffset>(result);
}

SAOffset HookTell(SAFile file) { return static_cast<SAOffset>(std::ftell(AsFile(file))); }

int HookFlush(SAFile file) {
  const int result = std::fflush(AsFile(file));
  if (result != 0) NoteFailure(SystemErrorReason(errno));
  return result;
}

int HookClose(SAFile file) {
  const int result = std::fclose(AsFile(file));
  if (result != 0) NoteFailure(SystemErrorReason(errno));
  return result;
}

int HookRemove(const char* name) { return std::remove(name); }

// shapelib's own messages are English and name no cause ("Failure writing
// DBF record 7."); the cause, when the system gave one, was noted already.
void HookError(const char*) { NoteFailure("no se pudo escribir el archivo"); }

double HookAtof(const char* text) {
  double value = 0;
  while (*text == ' ') ++text;
  std::from_chars(text, text + std::strlen(text), value);
  return value;
}

SAHooks EngineHooks() {
  SAHooks hooks{};
  hooks.FOpen = HookOpen;
  hooks.FRead = HookRead;
  hooks.FWrite = HookWrite;
  hooks.FSeek = HookSeek;
  hooks.FTell = HookTell;
  hooks.FFlush = HookFlush;
  hooks.FClose = HookClose;
  hooks.Remove = HookRemove;
  hooks.Error = HookError;
  hooks.Atof = HookAtof;
  return hooks;
}

// Points shapelib's file opening at `file` and clears the failure record
// for the duration of one call sequence.
class ShapelibCall {
 public:
  explicit ShapelibCall(const std::filesystem::path& file) : target_(file.string()) {
    t_target = target_.c_str();
    t_failure.clear();
  }
  ShapelibCall() { t_failure.clear(); }
  ~ShapelibCall() { t_target = nullptr; }
  ShapelibCall(const ShapelibCall&) = delete;
  ShapelibCall& operator=(const ShapelibCall&) = delete;

  std::optional<std::string> Failure() const {
    if (t_failure.empty()) return std::nullopt;
    return t_failure;
  }

 private:
  std::string target_;
};

void StampToday(DBFHandle handle) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  DBFSetLastModifiedDate(handle, local.tm_year, local.tm_mon + 1, local.tm_mday);
}

void CheckColumn(const ColumnDef& column, std::string_view table) {
  const std::string_view name(column.name ? column.name : "");
  const bool name_ok = !name.empty() && name.size() <= kMaxColumnName &&
                       name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") == std::string_view::npos;
  if (!name_ok)
    throw TableError("No se puede crear la tabla " + std::string(table) + ": nombre de columna no válido '" +
                     std::string(name) + "'");
  if (column.type == ColumnType::kText && (column.width < 1 || column.width > kMaxTextWidth))
    throw TableError("No se puede crear la tabla " + std::string(table) + ": anchura no válida en la columna " +
                     std::string(name));
}

bool AddField(DBFHandle handle, const ColumnDef& column) {
  switch (column.type) {
    case ColumnType::kText: return DBFAddField(handle, column.name, FTString, column.width, 0) >= 0;
    case ColumnType::kInteger: return DBFAddField(handle, column.name, FTInteger, kIntegerWidth, 0) >= 0;
    case ColumnType::kFloat:
      return DBFAddField(handle, column.name, FTDouble, kFloatWidth, kFloatDecimals) >= 0;
    case ColumnType::kBoolean: return DBFAddField(handle, column.name, FTLogical, 1, 0) >= 0;
  }
  return false;
}

std::filesystem::path TemporaryBeside(const std::filesystem::path& file) {
  return file.parent_path() / ("~" + file.filename().string() + "." + std::to_string(::getpid()) + ".tmp");
}

// Writes the empty table to `file`; returns the failure, if any.
std::optional<std::string> WriteEmptyTable(const std::filesystem::path& file, std::span<const ColumnDef> columns) {
  SAHooks hooks = EngineHooks();
  ShapelibCall call(file);
  DBFHandle handle = DBFCreateLL(file.c_str(), kWindows1252Driver, &hooks);
  if (!handle) return call.Failure().value_or("no se puede crear el archivo");
  bool added = true;
  for (const ColumnDef& column : columns) added = added && AddField(handle, column);
  StampToday(handle);
  DBFClose(handle);
  if (auto failure = call.Failure()) return failure;
  if (!added) return std::string("no se pueden definir sus columnas");
  return std::nullopt;
}

}  // namespace

void DbfWriter::CreateEmpty(const std::filesystem::path& file, std::span<const ColumnDef> columns,
                            std::string_view table) {
  if (columns.empty()) throw TableError("No se puede crear la tabla " + std::string(table) + " sin columnas");
  for (std::size_t i = 0; i < columns.size(); ++i) {
    CheckColumn(columns[i], table);
    for (std::size_t k = 0; k < i; ++k)
      if (std::string_view(columns[k].name) == columns[i].name)
        throw TableError("No se puede crear la tabla " + std::string(table) + ": la columna " +
                         columns[i].name + " está repetida");
  }
  const std::filesystem::path temporary = TemporaryBeside(file);
  std::optional<std::string> failure = WriteEmptyTable(temporary, columns);
  std::error_code error;
  if (!failure) {
    std::filesystem::rename(temporary, file, error);
    if (error) failure = SystemErrorReason(error.value());
  }
  if (failure) {
    std::filesystem::remove(temporary, error);
    throw TableError("No se puede crear la tabla " + std::string(table) + " en " +
                     file.parent_path().string() + ": " + *failure);
  }
}

DbfWriter::DbfWriter(void* handle, std::string_view table) : handle_(handle), table_(table) {}

DbfWriter DbfWriter::Open(const std::filesystem::path& file, const DbfLayout& expected, std::string_view table) {
  SAHooks hooks = EngineHooks();
  ShapelibCall call(file);
  DBFHandle handle = DBFOpenLL(file.c_str(), "rb+", &hooks);
  const std::string cannot_write = "No se puede escribir en la tabla " + std::string(table) + ": ";
  if (!handle) throw TableError(cannot_write + call.Failure().value_or("no se puede abrir el archivo"));
  DbfWriter writer(handle, table);
  const bool same_layout = DBFGetFieldCount(handle) == static_cast<int>(expected.columns.size()) &&
                           DBFGetRecordCount(handle) == static_cast<int>(expected.record_count) &&
                           handle->nRecordLength == static_cast<int>(expected.record_length);
  if (!same_layout) throw TableError(cannot_write + "el archivo ha cambiado desde que se abrió");
  StampToday(handle);
  return writer;
}

DbfWriter::DbfWriter(DbfWriter&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), table_(std::move(other.table_)) {}

DbfWriter& DbfWriter::operator=(DbfWriter&& other) noexcept {
  if (this != &other) {
    try {
      Close();
    } catch (const TableError&) {
    }
    handle_ = std::exchange(other.handle_, nullptr);
    table_ = std::move(other.table_);
  }
  return *this;
}

DbfWriter::~DbfWriter() {
  try {
    Close();
  } catch (const TableError&) {
  }
}

void DbfWriter::WriteRecord(std::size_t index, std::string_view record) {
  auto handle = static_cast<DBFHandle>(handle_);
  ShapelibCall call;
  const bool written = handle && record.size() == static_cast<std::size_t>(handle->nRecordLength) &&
                       DBFWriteTuple(handle, static_cast<int>(index), const_cast<char*>(record.data()));
  if (!written || call.Failure())
    throw TableError("No se puede escribir en la tabla " + table_ + ": " +
                     call.Failure().value_or("registro no válido"));
}

void DbfWriter::Close() {
  auto handle = static_cast<DBFHandle>(std::exchange(handle_, nullptr));
  if (!handle) return;
  ShapelibCall call;
  DBFClose(handle);
  if (auto failure = call.Failure())
    throw TableError("No se puede escribir en la tabla " + table_ + ": " + *failure);
}

}  // namespace enlacor
