#include "exchange/dbf_table.h"

// Placeholder until the engine is written.
namespace enlacor {
struct DbfTable::Impl { std::string name; };
void DbfTable::Create(const std::filesystem::path&, std::span<const ColumnDef>) {}
DbfTable DbfTable::Open(const std::filesystem::path& file, OpenMode) { throw TableError("No se puede abrir la tabla " + file.filename().string()); }
DbfTable::DbfTable(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
DbfTable::DbfTable(DbfTable&&) noexcept = default;
DbfTable& DbfTable::operator=(DbfTable&&) noexcept = default;
DbfTable::~DbfTable() = default;
void DbfTable::Close() {}
bool DbfTable::IsOpen() const { return false; }
const std::string& DbfTable::Name() const { return impl_->name; }
void DbfTable::Append() {}
void DbfTable::Post() {}
void DbfTable::Edit() {}
void DbfTable::First() {}
void DbfTable::Next() {}
bool DbfTable::Eof() const { return true; }
int DbfTable::RecordCount() const { return 0; }
bool DbfTable::HasColumn(std::string_view) const { return false; }
std::string DbfTable::GetText(std::string_view) const { return {}; }
std::optional<std::int64_t> DbfTable::GetInteger(std::string_view) const { return std::nullopt; }
std::optional<double> DbfTable::GetFloat(std::string_view) const { return std::nullopt; }
void DbfTable::SetText(std::string_view, std::string_view) {}
void DbfTable::SetInteger(std::string_view, std::int64_t) {}
void DbfTable::SetFloat(std::string_view, double) {}
void DbfTable::SetBoolean(std::string_view, bool) {}
bool DbfTable::Locate(std::string_view, const std::vector<std::string>&) { return false; }
void DbfTable::SetFilter(std::string_view) {}
void DbfTable::SetFiltered(bool) {}
std::string DbfTable::FilterExpression(std::string_view column, std::string_view value) { return std::string(column) + "= '" + std::string(value) + "'"; }
}  // namespace enlacor
