#include "export/catalogue_reader.h"

#include "exchange/text_codec.h"

namespace enlacor {

std::vector<CatalogueEntry> ReadCatalogue(const ExchangeDocument& document, std::string_view list,
                                          std::initializer_list<std::size_t> positions) {
  std::vector<CatalogueEntry> result;
  const std::vector<Entry> entries = document.SelectEntries(list);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Entry& entry = entries[i];
    if (entry.FieldCount() < 2) continue;
    CatalogueEntry read{i + 1, {}};
    read.values.reserve(positions.size());
    for (std::size_t position : positions) {
      const auto field = entry.FieldAt(position);
      read.values.push_back(field ? ToTableText(Trim(field->Text())).text : std::string());
    }
    result.push_back(std::move(read));
  }
  return result;
}

}  // namespace enlacor
