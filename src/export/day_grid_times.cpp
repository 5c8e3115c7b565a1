#include "export/day_grid_times.h"

namespace enlacor {

void FindBlockingPeriodTimes(const ExchangeDocument&, std::vector<BlockingValue>&) {}

}  // namespace enlacor
