#include "exchange/dbf_layout.h"

#include <cstdint>

#include "exchange/dbf_names.h"
#include "exchange/table_error.h"

namespace enlacor {
namespace {

constexpr std::size_t kFileHeaderSize = 32;
constexpr std::size_t kDescriptorSize = 32;
constexpr unsigned char kDescriptorTerminator = 0x0D;
constexpr std::size_t kNameBytes = 11;

std::uint32_t ReadLittleEndian(std::string_view bytes, std::size_t at, int size) {
  std::uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

[[noreturn]] void Damaged(std::string_view table, const std::string& reason) {
  throw TableError("La tabla " + std::string(table) + " está dañada o no es una tabla dBase: " + reason);
}

bool IsNumericType(char type) { return type == 'N' || type == 'F'; }

std::string DescriptorName(std::string_view descriptor) {
  std::string_view name = descriptor.substr(0, kNameBytes);
  name = name.substr(0, name.find('\0'));
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return std::string(name);
}

// Checks the descriptor of column `number` (from 1) and returns the column,
// placed at `offset` in the record.
DbfColumn ReadColumn(std::string_view descriptor, int offset, std::size_t number,
                     std::string_view table) {
  DbfColumn column{DescriptorName(descriptor), descriptor[11], offset,
                   static_cast<unsigned char>(descriptor[16]), 0};
  const std::string which = "columna " + std::to_string(number) + " (" + column.name + ")";
  if (column.name.empty()) Damaged(table, "la columna " + std::to_string(number) + " no tiene nombre");
  if (std::string_view("CNFLDM").find(column.type) == std::string_view::npos || column.type == '\0')
    Damaged(table, "tipo de " + which + " no admitido");
  if (column.width < 1) Damaged(table, "anchura nula en la " + which);
  if (IsNumericType(column.type)) {
    column.decimals = static_cast<unsigned char>(descriptor[17]);
    if (column.decimals >= column.width) Damaged(table, "decimales imposibles en la " + which);
  }
  if (column.type == 'L' && column.width != 1) Damaged(table, "anchura de la " + which + " no válida");
  return column;
}

}  // namespace

std::optional<std::size_t> DbfLayout::FindColumn(std::string_view name) const {
  for (std::size_t i = 0; i < columns.size(); ++i)
    if (EqualIgnoringAsciiCase(columns[i].name, name)) return i;
  return std::nullopt;
}

DbfLayout ReadDbfLayout(std::string_view file_bytes, std::string_view table) {
  if (file_bytes.size() < kFileHeaderSize) Damaged(table, "el archivo es más corto que su cabecera");

  DbfLayout layout;
  layout.record_count = ReadLittleEndian(file_bytes, 4, 4);
  layout.header_length = ReadLittleEndian(file_bytes, 8, 2);
  layout.record_length = ReadLittleEndian(file_bytes, 10, 2);
  if (layout.header_length < kFileHeaderSize + 1)
    Damaged(table, "longitud de cabecera " + std::to_string(layout.header_length) + " imposible");
  if (layout.header_length > file_bytes.size())
    Damaged(table, "el archivo es más corto que su cabecera");

  // The field descriptors follow the file header, 32 bytes each, up to the
  // terminator; all of it must lie inside the declared header.
  std::size_t pos = kFileHeaderSize;
  int offset = 1;
  while (true) {
    if (pos >= layout.header_length) Damaged(table, "falta el terminador de la lista de columnas");
    if (static_cast<unsigned char>(file_bytes[pos]) == kDescriptorTerminator) break;
    if (pos + kDescriptorSize > layout.header_length)
      Damaged(table, "falta el terminador de la lista de columnas");
    layout.columns.push_back(ReadColumn(file_bytes.substr(pos, kDescriptorSize), offset,
                                        layout.columns.size() + 1, table));
    offset += layout.columns.back().width;
    pos += kDescriptorSize;
  }
  if (layout.columns.empty()) Damaged(table, "no tiene columnas");

  if (static_cast<std::size_t>(offset) != layout.record_length)
    Damaged(table, "la longitud de registro " + std::to_string(layout.record_length) +
                       " no corresponde a sus columnas (" + std::to_string(offset) + ")");

  const std::size_t room = file_bytes.size() - layout.header_length;
  if (layout.record_count > room / layout.record_length)
    Damaged(table, "la cabecera indica " + std::to_string(layout.record_count) +
                       " registros y el archivo solo contiene " +
                       std::to_string(room / layout.record_length));
  return layout;
}

}  // namespace enlacor
