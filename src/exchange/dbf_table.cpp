#include "exchange/dbf_table.h"

#include <cmath>
#include <utility>

#include "exchange/dbf_field_codec.h"
#include "exchange/dbf_file_lock.h"
#include "exchange/dbf_filter.h"
#include "exchange/dbf_layout.h"
#include "exchange/dbf_names.h"
#include "exchange/dbf_writer.h"

namespace enlacor {
namespace {

constexpr char kDeletedFlag = '*';

std::string TableNameOf(const std::filesystem::path& file) { return ToAsciiUpper(file.stem().string()); }

std::string_view TrimSpaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// "DIHO;MARCOXML" as its column names.
std::vector<std::string_view> SplitColumnList(std::string_view list) {
  std::vector<std::string_view> names;
  while (true) {
    const std::size_t separator = list.find(';');
    names.push_back(TrimSpaces(list.substr(0, separator)));
    if (separator == std::string_view::npos) return names;
    list.remove_prefix(separator + 1);
  }
}

bool FieldEquals(const DbfColumn& column, std::string_view field, std::string_view value) {
  if (column.type == 'C') return StoredText(field) == value;
  return ReadFieldText(column, field) == value;
}

}  // namespace

struct DbfTable::Impl {
  enum class State { kBrowse, kEdit, kInsert };
  struct ActiveFilter {
    std::size_t column;
    std::string value;
  };

  std::filesystem::path file;
  std::string name;
  DbfFileLock lock;
  DbfLayout layout;
  // The file as read: header, then the stored records, layout.record_length
  // bytes each; appended records follow.
  std::string content;
  std::size_t live_count = 0;
  std::size_t current = 0;  // record index; layout.record_count is past the end
  State state = State::kBrowse;
  std::string pending;  // the record being edited or appended
  std::optional<ActiveFilter> filter;
  bool filtered = false;
  std::optional<DbfWriter> writer;  // opened by the first change
  bool open = true;

  [[noreturn]] void Fail(const std::string& what) const { throw TableError(what); }

  void RequireOpen() const {
    if (!open) Fail("La tabla " + name + " está cerrada");
  }

  std::size_t Count() const { return layout.record_count; }

  std::size_t RecordStart(std::size_t index) const { return layout.header_length + index * layout.record_length; }

  std::string_view Record(std::size_t index) const {
    return std::string_view(content).substr(RecordStart(index), layout.record_length);
  }

  static std::string_view Field(std::string_view record, const DbfColumn& column) {
    return record.substr(static_cast<std::size_t>(column.offset), static_cast<std::size_t>(column.width));
  }

  std::size_t ColumnIndex(std::string_view column) const {
    RequireOpen();
    if (auto index = layout.FindColumn(column)) return *index;
    Fail("La tabla " + name + " no tiene la columna " + std::string(column));
  }

  const DbfColumn& Column(std::string_view column) const { return layout.columns[ColumnIndex(column)]; }

  bool IsPastEnd() const { return state == State::kBrowse && current >= Count(); }

  // The current record's bytes (with its pending change); nullopt past the end.
  std::optional<std::string_view> CurrentRecord() const {
    if (state != State::kBrowse) return pending;
    if (current >= Count()) return std::nullopt;
    return Record(current);
  }

  // The current record's field, or nullopt past the end.
  std::optional<std::string_view> CurrentField(const DbfColumn& column) const {
    auto record = CurrentRecord();
    if (!record) return std::nullopt;
    return Field(*record, column);
  }

  bool Passes(std::size_t index) const {
    const std::string_view record = Record(index);
    if (record.front() == kDeletedFlag) return false;
    if (!filtered || !filter) return true;
    const DbfColumn& column = layout.columns[filter->column];
    return FieldEquals(column, Field(record, column), filter->value);
  }

  std::size_t FirstPassingFrom(std::size_t index) const {
    while (index < Count() && !Passes(index)) ++index;
    return index;
  }

  DbfWriter& Writer() {
    if (!writer) writer = DbfWriter::Open(file, layout, name);
    return *writer;
  }

  // Stores the pending change, if any; the cursor stays on its record.
  void Commit() {
    if (state == State::kBrowse) return;
    if (state == State::kInsert) {
      Writer().WriteRecord(Count(), pending);
      content += pending;
      current = layout.record_count++;
      ++live_count;
    } else {
      Writer().WriteRecord(current, pending);
      content.replace(RecordStart(current), layout.record_length, pending);
    }
    state = State::kBrowse;
  }

  void BeginEdit() {
    if (state != State::kBrowse) return;
    if (current >= Count()) Fail("La tabla " + name + " no tiene registro actual que modificar");
    pending = std::string(Record(current));
    state = State::kEdit;
  }

  // Sets a field of the current record from `encode(column)`, the field's
  // new bytes; the record enters editing unless it is being appended.
  template <typename Encode>
  void SetField(std::string_view column, Encode encode) {
    const DbfColumn& def = Column(column);
    const std::string bytes = encode(def);
    BeginEdit();
    pending.replace(static_cast<std::size_t>(def.offset), bytes.size(), bytes);
  }

  void MoveToFirst() {
    Commit();
    current = FirstPassingFrom(0);
  }
};

DbfTable::DbfTable(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
DbfTable::DbfTable(DbfTable&&) noexcept = default;
DbfTable& DbfTable::operator=(DbfTable&& other) noexcept {
  if (this != &other) {
    if (impl_ && impl_->open) {
      try {
        Close();
      } catch (const TableError&) {
      }
    }
    impl_ = std::move(other.impl_);
  }
  return *this;
}

DbfTable::~DbfTable() {
  if (!impl_ || !impl_->open) return;
  try {
    Close();
  } catch (const TableError&) {
  }
}

void DbfTable::Create(const std::filesystem::path& file, std::span<const ColumnDef> columns) {
  const std::string name = TableNameOf(file);
  // An existing file is replaced only when nobody holds it open.
  std::error_code ignored;
  DbfFileLock old_file;
  if (std::filesystem::exists(file, ignored)) old_file = DbfFileLock::Acquire(file, /*exclusive=*/true, name);
  DbfWriter::CreateEmpty(file, columns, name);
}

DbfTable DbfTable::Open(const std::filesystem::path& file, OpenMode mode) {
  auto impl = std::make_unique<Impl>();
  impl->file = file;
  impl->name = TableNameOf(file);
  impl->lock = DbfFileLock::Acquire(file, mode == OpenMode::kExclusive, impl->name);
  impl->content = impl->lock.ReadAll(impl->name);
  impl->layout = ReadDbfLayout(impl->content, impl->name);
  impl->content.resize(impl->RecordStart(impl->layout.record_count));  // drops the end-of-file mark
  for (std::size_t i = 0; i < impl->Count(); ++i)
    if (impl->Record(i).front() != kDeletedFlag) ++impl->live_count;
  impl->current = impl->FirstPassingFrom(0);
  return DbfTable(std::move(impl));
}

void DbfTable::Close() {
  if (!impl_ || !impl_->open) return;
  Impl& t = *impl_;
  t.open = false;
  // Release the file whatever happens to the last writes.
  struct ReleaseOnExit {
    Impl& t;
    ~ReleaseOnExit() {
      t.writer.reset();
      t.lock.Release();
    }
  } release{t};
  try {
    t.Commit();
  } catch (const TableError&) {
    t.state = Impl::State::kBrowse;
    throw;
  }
  if (t.writer) t.writer->Close();
}

bool DbfTable::IsOpen() const { return impl_ && impl_->open; }

DbfTable::Impl& DbfTable::Self() const {
  if (!impl_) throw TableError("La tabla está cerrada");
  impl_->RequireOpen();
  return *impl_;
}

const std::string& DbfTable::Name() const {
  static const std::string kNone;
  return impl_ ? impl_->name : kNone;
}

void DbfTable::Append() {
  Impl& t = Self();
  t.Commit();
  t.pending.assign(t.layout.record_length, ' ');
  t.state = Impl::State::kInsert;
}

void DbfTable::Post() { Self().Commit(); }

void DbfTable::Edit() { Self().BeginEdit(); }

void DbfTable::First() { Self().MoveToFirst(); }

void DbfTable::Next() {
  Impl& t = Self();
  t.Commit();
  if (t.current < t.Count()) t.current = t.FirstPassingFrom(t.current + 1);
}

bool DbfTable::Eof() const { return Self().IsPastEnd(); }

int DbfTable::RecordCount() const { return static_cast<int>(Self().live_count); }

bool DbfTable::HasColumn(std::string_view column) const { return Self().layout.FindColumn(column).has_value(); }

std::string DbfTable::GetText(std::string_view column) const {
  const Impl& t = Self();
  const DbfColumn& def = t.Column(column);
  auto field = t.CurrentField(def);
  return field ? ReadFieldText(def, *field) : std::string();
}

std::optional<std::int64_t> DbfTable::GetInteger(std::string_view column) const {
  const std::optional<double> value = GetFloat(column);
  // Beyond ±2^63 a number has no whole-number reading.
  if (!value || std::fabs(*value) >= 9.2e18) return std::nullopt;
  return static_cast<std::int64_t>(std::nearbyint(*value));
}

std::optional<double> DbfTable::GetFloat(std::string_view column) const {
  const Impl& t = Self();
  auto field = t.CurrentField(t.Column(column));
  return field ? ReadFieldNumber(*field) : std::nullopt;
}

std::optional<bool> DbfTable::GetBoolean(std::string_view column) const {
  const Impl& t = Self();
  auto field = t.CurrentField(t.Column(column));
  return field ? ReadFieldBoolean(*field) : std::nullopt;
}

void DbfTable::SetText(std::string_view column, std::string_view value) {
  Impl& t = Self();
  t.SetField(column, [&](const DbfColumn& def) { return EncodeText(def, value, t.name); });
}

void DbfTable::SetInteger(std::string_view column, std::int64_t value) {
  Impl& t = Self();
  t.SetField(column, [&](const DbfColumn& def) { return EncodeInteger(def, value, t.name); });
}

void DbfTable::SetFloat(std::string_view column, double value) {
  Impl& t = Self();
  t.SetField(column, [&](const DbfColumn& def) { return EncodeFloat(def, value, t.name); });
}

void DbfTable::SetBoolean(std::string_view column, bool value) {
  Impl& t = Self();
  t.SetField(column, [&](const DbfColumn& def) { return EncodeBoolean(def, value, t.name); });
}

bool DbfTable::Locate(std::string_view columns, const std::vector<std::string>& values) {
  Impl& t = Self();
  std::vector<std::size_t> wanted;
  for (std::string_view name : SplitColumnList(columns)) wanted.push_back(t.ColumnIndex(name));
  if (wanted.size() != values.size())
    t.Fail("La búsqueda en la tabla " + t.name + " nombra " + std::to_string(wanted.size()) +
           " columnas y da " + std::to_string(values.size()) + " valores");
  t.Commit();
  for (std::size_t i = t.FirstPassingFrom(0); i < t.Count(); i = t.FirstPassingFrom(i + 1)) {
    const std::string_view record = t.Record(i);
    bool all_equal = true;
    for (std::size_t k = 0; k < wanted.size() && all_equal; ++k) {
      const DbfColumn& column = t.layout.columns[wanted[k]];
      all_equal = FieldEquals(column, Impl::Field(record, column), values[k]);
    }
    if (all_equal) {
      t.current = i;
      return true;
    }
  }
  return false;
}

void DbfTable::SetFilter(std::string_view expression) {
  Impl& t = Self();
  std::optional<DbfFilter> parsed = ParseFilterExpression(expression);
  if (!parsed)
    t.Fail("Expresión de filtro no válida para la tabla " + t.name + ": " + std::string(expression));
  t.filter = Impl::ActiveFilter{t.ColumnIndex(parsed->column), std::move(parsed->value)};
  if (t.filtered) t.MoveToFirst();
}

void DbfTable::SetFiltered(bool on) {
  Impl& t = Self();
  t.Commit();
  t.filtered = on;
  if (on) t.MoveToFirst();
}

std::string DbfTable::FilterExpression(std::string_view column, std::string_view value) {
  return BuildFilterExpression(column, value);
}

}  // namespace enlacor
