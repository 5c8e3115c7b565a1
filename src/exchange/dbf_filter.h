// The filter expressions the table engine understands: one column equal to
// one text, written `<COLUMN>= '<value>'` with each single quote inside the
// value doubled ("PROF= 'O''NEIL'"). A record passes when the column, read
// as text, equals the value exactly, case included.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace enlacor {

struct DbfFilter {
  std::string column;
  std::string value;
};

// The expression for `column` equal to `value`.
std::string BuildFilterExpression(std::string_view column, std::string_view value);

// Reads an expression built as above; blanks around the column and around
// "=" are allowed. nullopt for any other form.
std::optional<DbfFilter> ParseFilterExpression(std::string_view expression);

}  // namespace enlacor
