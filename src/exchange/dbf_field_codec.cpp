#include "exchange/dbf_field_codec.h"

#include <charconv>
#include <cmath>

#include "exchange/table_error.h"

namespace enlacor {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\0'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  return StoredText(text);
}

bool IsNumeric(const DbfColumn& column) { return column.type == 'N' || column.type == 'F'; }
bool IsText(const DbfColumn& column) { return column.type == 'C' || column.type == 'D'; }

std::string ColumnOf(const DbfColumn& column, std::string_view table) {
  return "la columna " + column.name + " de la tabla " + std::string(table);
}

[[noreturn]] void Rejected(const DbfColumn& column, std::string_view value, std::string_view table) {
  throw TableError("El valor '" + std::string(value) + "' no es válido para " + ColumnOf(column, table));
}

// Left-aligned text padded with blanks, cut to the width.
std::string PadText(const DbfColumn& column, std::string_view value) {
  std::string field(value.substr(0, static_cast<std::size_t>(column.width)));
  field.resize(static_cast<std::size_t>(column.width), ' ');
  return field;
}

// Right-aligned digits; a number is never cut.
std::string PadNumber(const DbfColumn& column, const std::string& digits, std::string_view table) {
  const auto width = static_cast<std::size_t>(column.width);
  if (digits.size() > width)
    throw TableError("El número " + digits + " no cabe en " + ColumnOf(column, table) + " (" +
                     std::to_string(column.width) + " caracteres)");
  return std::string(width - digits.size(), ' ') + digits;
}

std::string FixedDecimals(double value, int decimals) {
  char buffer[512];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  if (error != std::errc()) return std::string(sizeof buffer, '9');  // never fits any column
  std::string text(buffer, end);
  // "-0.00" is zero.
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

}  // namespace

std::string_view StoredText(std::string_view field) {
  while (!field.empty() && IsBlank(field.back())) field.remove_suffix(1);
  return field;
}

std::string ReadFieldText(const DbfColumn& column, std::string_view field) {
  if (IsNumeric(column)) {
    if (auto number = ReadFieldNumber(field)) return FormatNumber(*number);
    return std::string(TrimBlanks(field));
  }
  if (column.type == 'L') {
    if (auto flag = ReadFieldBoolean(field)) return *flag ? "T" : "F";
    return {};
  }
  return std::string(StoredText(field));
}

std::optional<double> ReadFieldNumber(std::string_view field) {
  std::string_view text = TrimBlanks(field);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<bool> ReadFieldBoolean(std::string_view field) {
  const std::string_view text = TrimBlanks(field);
  if (text.size() != 1) return std::nullopt;
  switch (text.front()) {
    case 'T': case 't': case 'Y': case 'y': return true;
    case 'F': case 'f': case 'N': case 'n': return false;
    default: return std::nullopt;
  }
}

std::string FormatNumber(double value) {
  if (value == std::trunc(value) && std::fabs(value) < 1e15) return FixedDecimals(value, 0);
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general).ptr;
  return std::string(buffer, end);
}

std::string EncodeText(const DbfColumn& column, std::string_view value, std::string_view table) {
  if (IsText(column)) return PadText(column, value);
  if (TrimBlanks(value).empty() && column.type != 'M') return std::string(static_cast<std::size_t>(column.width), ' ');
  if (IsNumeric(column)) {
    if (auto number = ReadFieldNumber(value)) return EncodeFloat(column, *number, table);
  }
  if (column.type == 'L') {
    if (auto flag = ReadFieldBoolean(value)) return EncodeBoolean(column, *flag, table);
  }
  Rejected(column, value, table);
}

std::string EncodeInteger(const DbfColumn& column, std::int64_t value, std::string_view table) {
  std::string digits = std::to_string(value);
  if (IsText(column)) return PadText(column, digits);
  if (!IsNumeric(column)) Rejected(column, digits, table);
  if (column.decimals > 0) digits += "." + std::string(static_cast<std::size_t>(column.decimals), '0');
  return PadNumber(column, digits, table);
}

std::string EncodeFloat(const DbfColumn& column, double value, std::string_view table) {
  if (!std::isfinite(value)) Rejected(column, FormatNumber(value), table);
  if (IsText(column)) return PadText(column, FormatNumber(value));
  if (!IsNumeric(column)) Rejected(column, FormatNumber(value), table);
  return PadNumber(column, FixedDecimals(value, column.decimals), table);
}

std::string EncodeBoolean(const DbfColumn& column, bool value, std::string_view table) {
  const char* text = value ? "T" : "F";
  if (column.type == 'L' || IsText(column)) return PadText(column, text);
  Rejected(column, text, table);
}

}  // namespace enlacor
