#include "export/preflight_check.h"

#include "export/day_grid_times.h"

namespace enlacor {

std::vector<BlockingValue> FindBlockingValues(const ExchangeDocument& document) {
  std::vector<BlockingValue> found;
  FindBlockingPeriodTimes(document, found);
  return found;
}

void CheckDocumentForExport(const ExchangeDocument& document) {
  const auto found = FindBlockingValues(document);
  if (!found.empty()) throw ExportCheckError(found.front().message);
}

}  // namespace enlacor
