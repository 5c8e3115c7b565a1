#include "export/frame_selection.h"

namespace enlacor {

std::string BuildSelection(const std::vector<std::string>& items, const std::vector<bool>& selected) {
  std::string selection;
  for (std::size_t i = 0; i < items.size() && i < selected.size(); ++i) {
    if (!selected[i]) continue;
    std::string code = items[i].substr(0, 10);
    code.resize(10, ' ');
    selection += code;
  }
  return selection;
}

}  // namespace enlacor
