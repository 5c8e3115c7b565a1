// The period times of the day grid, and the check that finds the ones that
// would stop ExportDayGrid.
#pragma once

#include <vector>

#include "exchange/exchange_document.h"
#include "export/preflight_check.h"

namespace enlacor {

// Appends to `found` every INTERVALOS start or end time that would fail its
// conversion on any of the seven days (the day-by-day zero fill included).
void FindBlockingPeriodTimes(const ExchangeDocument& document, std::vector<BlockingValue>& found);

}  // namespace enlacor
