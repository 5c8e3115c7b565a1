// The catalogue reader shared by export steps 1 to 7.
//
// It selects a list of the document, skips the entries with fewer than two
// fields, and hands over the values of the positions a step reads, in the
// order the step names them, each trimmed and converted to table text
// (windows-1252). A position that a used entry lacks reads as empty text
// (a MATERIAS entry with three fields read up to field 4, for instance).
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "exchange/exchange_document.h"

namespace enlacor {

struct CatalogueEntry {
  std::size_t number;               // the entry's position in its list, from 1
  std::vector<std::string> values;  // one per requested position, in request order
};

std::vector<CatalogueEntry> ReadCatalogue(const ExchangeDocument& document, std::string_view list,
                                          std::initializer_list<std::size_t> positions);

}  // namespace enlacor
