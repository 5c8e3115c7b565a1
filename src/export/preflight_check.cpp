#include "export/preflight_check.h"

#include "exchange/text_codec.h"
#include "export/day_grid_times.h"
#include "export/weekly_hours.h"

namespace enlacor {
namespace {

constexpr std::size_t kWeeklyMinutesField = 4;

BlockingValue BadWeeklyMinutes(std::size_t entry, const std::string& value) {
  BlockingValue found{"MATERIAS", entry, std::to_string(kWeeklyMinutesField), value, {}};
  found.message = "No se puede exportar el documento: en la lista MATERIAS, entrada " +
                  std::to_string(entry) + ", el campo " + found.field + " vale \"" + value +
                  "\", que no es un número entero de minutos. No se ha modificado ninguna tabla.";
  return found;
}

// ExportAssignments converts field 4 of every MATERIAS entry that it uses
// (two fields or more) to whole minutes when it is not empty.
void FindBadWeeklyMinutes(const ExchangeDocument& document, std::vector<BlockingValue>& found) {
  const std::vector<Entry> entries = document.SelectEntries("MATERIAS");
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].FieldCount() < 2) continue;
    const auto field = entries[i].FieldAt(kWeeklyMinutesField);
    if (!field) continue;
    const std::string text = field->Text();
    if (!IsValidWeeklyMinutes(Trim(text))) found.push_back(BadWeeklyMinutes(i + 1, text));
  }
}

}  // namespace

std::vector<BlockingValue> FindBlockingValues(const ExchangeDocument& document) {
  std::vector<BlockingValue> found;
  FindBadWeeklyMinutes(document, found);
  FindBlockingPeriodTimes(document, found);
  return found;
}

void CheckDocumentForExport(const ExchangeDocument& document) {
  const auto found = FindBlockingValues(document);
  if (!found.empty()) throw ExportCheckError(found.front().message);
}

}  // namespace enlacor
