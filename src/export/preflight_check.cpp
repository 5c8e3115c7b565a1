#include "export/preflight_check.h"

#include "exchange/text_codec.h"
#include "export/day_grid_times.h"
#include "export/weekly_hours.h"

namespace enlacor {
namespace {

constexpr std::size_t kWeeklyMinutesField = 4;

// ExportAssignments converts field 4 of every MATERIAS entry that it uses
// (two fields or more) to whole minutes when it is not empty.
void FindBadWeeklyMinutes(const ExchangeDocument& document, std::vector<BlockingValue>& found) {
  const std::vector<Entry> entries = document.SelectEntries("MATERIAS");
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].FieldCount() < 2) continue;
    const auto field = entries[i].FieldAt(kWeeklyMinutesField);
    if (!field) continue;
    const std::string text = field->Text();
    if (!IsValidWeeklyMinutes(Trim(text)))
      found.push_back({"MATERIAS", i + 1, std::to_string(kWeeklyMinutesField), text,
                       BadWeeklyMinutesMessage(i + 1, text)});
  }
}

}  // namespace

std::string BadWeeklyMinutesMessage(std::size_t entry, const std::string& value) {
  return "En la lista MATERIAS, entrada " + std::to_string(entry) + ", el campo " +
         std::to_string(kWeeklyMinutesField) + " vale \"" + value +
         "\", que no es un número entero de minutos.";
}

std::vector<BlockingValue> FindBlockingValues(const ExchangeDocument& document) {
  std::vector<BlockingValue> found;
  FindBadWeeklyMinutes(document, found);
  FindBlockingPeriodTimes(document, found);
  return found;
}

void CheckDocumentForExport(const ExchangeDocument& document) {
  const auto found = FindBlockingValues(document);
  if (!found.empty()) {
    throw ExportCheckError("No se puede exportar el documento. " + found.front().message +
                           " No se ha modificado ninguna tabla.");
  }
}

}  // namespace enlacor
