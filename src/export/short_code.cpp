#include "export/short_code.h"

// Placeholder until the allocator is written.
namespace enlacor {
bool UsedCodeList::Contains(std::string_view) const { return false; }
void UsedCodeList::Add(std::string text) { texts_.push_back(std::move(text)); }
std::string AllocateShortCode(std::string_view base, UsedCodeList&, AllocationSettings) { return std::string(base.substr(0, 10)); }
bool TakeLongCode(std::string_view, UsedCodeList&) { return true; }
}  // namespace enlacor
