// Fuzz entry: the document loader and every reader of its lists, on
// arbitrary bytes.
//
// The bytes are parsed as an exchange document; the lists are read with the
// positions each export step reads, INTERVALOS by `dato`, and the document
// is checked for values that would stop the export. Then the output section
// is replaced as the import run does, and the result document must parse
// again: a document that loads yields a result that loads. DocumentError on
// loading (and ExportCheckError from the check) is fine; anything else
// escaping is a fault. The fuzzer and the regression test both call
// ReadDocumentBytes.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "exchange/exchange_document.h"
#include "export/catalogue_reader.h"
#include "export/day_grid_times.h"
#include "export/preflight_check.h"

namespace enlacor::fuzz {

struct CatalogueRead {
  const char* list;
  std::initializer_list<std::size_t> positions;
};

// Every list with the positions the export steps read, in the steps' order.
inline constexpr CatalogueRead kCatalogueReads[] = {
    {"MATERIAS", {1, 2}},        {"TAREAS", {0, 1, 2}},        {"MATERIAS", {0, 1, 3, 2}},
    {"TAREAS", {0, 1, 3, 2}},    {"PROFESORES", {0, 1, 2, 3}}, {"AULAS", {0, 1, 2}},
    {"CURSOS", {0, 1, 3, 4}},    {"GRUPOS", {0, 1, 2}},        {"MATERIAS", {0, 1, 2, 3, 4}},
    {"JORNADAS", {0}},
};

inline void ReadEveryList(const ExchangeDocument& document) {
  for (const CatalogueRead& read : kCatalogueReads) {
    for (const CatalogueEntry& entry : ReadCatalogue(document, read.list, read.positions)) {
      if (entry.values.size() != read.positions.size()) throw std::logic_error("a position was not read");
    }
  }
  (void)ReadGridPeriods(document);
  (void)FindBlockingValues(document);
  try {
    CheckDocumentForExport(document);
  } catch (const ExportCheckError&) {
    // A value that would stop the export is reported before any table is touched.
  }
}

// The import run's change to the document, then the result read back.
inline void ReplaceAndReload(ExchangeDocument& document) {
  pugi::xml_node output;
  try {
    output = document.ReplaceOutputSection();
  } catch (const DocumentError&) {
    return;  // no output section to replace: the import stops there
  }
  pugi::xml_node block = output.append_child("ERROR");
  ExchangeDocument::AppendElement(block, "salida", "dato", "TE_ERROR", "Servicio finalizado Correctamente");
  pugi::xml_node teacher = ExchangeDocument::AppendElement(output, "listasal", "seq", "EMP_1");
  ExchangeDocument::AppendElement(teacher, "salida", "dato", "X_EMPLEADO", "Ñú€<&>\"'");

  const std::string saved = document.Serialize();
  try {
    ExchangeDocument::Parse(saved, "resultado");
  } catch (const DocumentError& e) {
    throw std::logic_error(std::string("the result document does not load again: ") + e.what());
  }
}

inline void ReadDocumentBytes(std::string_view bytes) {
  std::optional<ExchangeDocument> document;
  try {
    document.emplace(ExchangeDocument::Parse(bytes, "fuzz.xml"));
  } catch (const DocumentError&) {
    return;  // refused with a message naming the document: that is fine
  }
  ReadEveryList(*document);
  ReplaceAndReload(*document);
}

}  // namespace enlacor::fuzz
