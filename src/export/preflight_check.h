// The export run's pre-flight check: before any table is deleted or created,
// the whole document is checked for every value that would stop a step by
// failing its conversion. The first such value raises ExportCheckError
// naming the list, the entry number, the field and the value, so that the
// workspace stays untouched.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "exchange/exchange_document.h"

namespace enlacor {

class ExportCheckError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One value that would stop the export run.
struct BlockingValue {
  std::string list;       // "MATERIAS"
  std::size_t entry;      // from 1
  std::string field;      // "4", or a dato name such as "INICIO"
  std::string value;      // UTF-8, untrimmed as found
  std::string message;    // the full message for the person
};

// Every value that would stop the run, in document order.
std::vector<BlockingValue> FindBlockingValues(const ExchangeDocument& document);

// The message for weekly minutes (MATERIAS field 4) that are not a whole
// number; ExportAssignments gives the same one.
std::string BadWeeklyMinutesMessage(std::size_t entry, const std::string& value);

// Raises ExportCheckError with the first blocking value's message and the
// assurance that no table was touched.
void CheckDocumentForExport(const ExchangeDocument& document);

}  // namespace enlacor
