// The bytes of one dBase field and the values they stand for.
//
// Reading never fails: a field that does not hold what its reader asks for
// reads as no value. Text fields (C, D, M) read as their bytes without
// trailing blanks; leading blanks stay. Numeric fields (N, F) read as text in
// their plain decimal form ("3", "2.5"), whatever their padding and decimals.
//
// Encoding turns a value into exactly `width` bytes for a column, or raises
// TableError naming the table and the column when the column cannot hold it:
// text is cut to the width without error, but a number never is.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "exchange/dbf_layout.h"

namespace enlacor {

// The field's bytes without trailing blanks (spaces and NULs).
std::string_view StoredText(std::string_view field);

std::string ReadFieldText(const DbfColumn& column, std::string_view field);
// The number a field holds, whatever the column type; nullopt when blank or
// not entirely a decimal number.
std::optional<double> ReadFieldNumber(std::string_view field);
// T, t, Y, y are true; F, f, N, n are false; anything else is no value.
std::optional<bool> ReadFieldBoolean(std::string_view field);

// A number as the tables show it: whole numbers without decimal part,
// others in their shortest exact form.
std::string FormatNumber(double value);

std::string EncodeText(const DbfColumn& column, std::string_view value, std::string_view table);
std::string EncodeInteger(const DbfColumn& column, std::int64_t value, std::string_view table);
std::string EncodeFloat(const DbfColumn& column, double value, std::string_view table);
std::string EncodeBoolean(const DbfColumn& column, bool value, std::string_view table);

}  // namespace enlacor
