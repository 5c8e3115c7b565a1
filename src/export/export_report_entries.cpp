// The pre-run report on the shape of entries and on their characters:
// entries the catalogue readers skip, positions a used entry lacks (read as
// empty text), INTERVALOS fields the day grid cannot place, and values
// holding characters that windows-1252 cannot hold.
#include <array>

#include "exchange/text_codec.h"
#include "export/export_report_parts.h"

namespace enlacor::report {
namespace {

// The positions that the export steps read from each catalogue list.
struct CatalogueReading {
  const char* list;
  std::vector<std::size_t> positions;
};

const std::array<CatalogueReading, 6> kCatalogueReadings = {{
    {"MATERIAS", {0, 1, 2, 3, 4}},
    {"TAREAS", {0, 1, 2, 3}},
    {"PROFESORES", {0, 1, 2, 3}},
    {"AULAS", {0, 1, 2}},
    {"CURSOS", {0, 1, 3, 4}},
    {"GRUPOS", {0, 1, 2}},
}};

constexpr std::array<const char*, 6> kPeriodNames = {"CODIGO_ESCOLIA", "NOMBRE", "INICIO",
                                                      "FIN",            "ORDEN",  "CLAVE_JORNADA"};

// The characters of `utf8` that windows-1252 cannot hold, each once, in
// order of appearance.
std::string UnrepresentableCharacters(std::string_view utf8) {
  std::string found;
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t start = pos;
    const auto c = NextUtf8Char(utf8, pos);
    if (c && Windows1252ByteOf(*c)) continue;
    const std::string character = c ? std::string(utf8.substr(start, pos - start)) : std::string("\xEF\xBF\xBD");
    if (found.find(character) == std::string::npos) found += character;
  }
  return found;
}

void CheckCharacters(Findings& findings, const std::string& list, std::size_t entry, const std::string& field,
                     const std::string& raw) {
  const std::string value = Trim(raw);
  if (ToTableText(value).replaced == 0) return;
  const std::string characters = UnrepresentableCharacters(value);
  findings.Add(FindingKind::kUnrepresentableCharacters, list, entry,
               {{"campo", field}, {"valor", value}, {"caracteres", characters},
                {"se_guarda", FromTableText(ToTableText(value).text)}},
               "campo " + field + " \"" + value + "\": los caracteres \"" + characters +
                   "\" no caben en windows-1252 y se guardan como \"?\"");
}

// "falta el campo 3" / "faltan los campos 3, 4"
std::string Missing(const std::string& names, bool several) {
  return (several ? "faltan los campos " : "falta el campo ") + names +
         (several ? ", que se toman como texto vacío" : ", que se toma como texto vacío");
}

std::string PositionList(const std::vector<std::size_t>& positions) {
  std::string text;
  for (std::size_t p : positions) text += (text.empty() ? "" : ", ") + std::to_string(p);
  return text;
}

void CheckCatalogueEntry(Findings& findings, const CatalogueReading& reading, const Entry& entry,
                         std::size_t number) {
  const std::size_t count = entry.FieldCount();
  if (count < 2) {
    findings.Add(FindingKind::kSkippedEntry, reading.list, number, {{"campos", std::to_string(count)}},
                 "tiene " + std::to_string(count) + (count == 1 ? " campo" : " campos") +
                     "; hacen falta al menos 2: la entrada no pasa a ninguna tabla");
    return;
  }
  std::vector<std::size_t> missing;
  for (std::size_t position : reading.positions) {
    const auto field = entry.FieldAt(position);
    if (!field) {
      missing.push_back(position);
      continue;
    }
    CheckCharacters(findings, reading.list, number, std::to_string(position), field->Text());
  }
  if (!missing.empty()) {
    findings.Add(FindingKind::kMissingField, reading.list, number,
                 {{"campos", PositionList(missing)}, {"tiene", std::to_string(count)}},
                 "tiene " + std::to_string(count) + " campos; " + Missing(PositionList(missing), missing.size() > 1));
  }
}

void CheckFrameEntry(Findings& findings, const Entry& entry, std::size_t number) {
  const auto code = entry.FieldAt(0);
  if (!code) {
    findings.Add(FindingKind::kMissingField, "JORNADAS", number, {{"campos", "0"}, {"tiene", "0"}},
                 "no tiene campos; su código de marco se toma como texto vacío");
    return;
  }
  CheckCharacters(findings, "JORNADAS", number, "0", code->Text());
}

void CheckPeriodEntry(Findings& findings, const Entry& entry, std::size_t number) {
  std::array<bool, kPeriodNames.size()> present{};
  std::vector<std::size_t> without_name;
  for (std::size_t k = 0; k < entry.FieldCount(); ++k) {
    const Field& field = entry.Fields()[k];
    const auto dato = field.Dato();
    if (!dato) {
      without_name.push_back(k);
      continue;
    }
    for (std::size_t n = 0; n < kPeriodNames.size(); ++n) {
      if (*dato != kPeriodNames[n]) continue;
      present[n] = true;
      CheckCharacters(findings, "INTERVALOS", number, *dato, field.Text());
    }
  }
  std::string missing;
  std::size_t missing_count = 0;
  for (std::size_t n = 0; n < kPeriodNames.size(); ++n) {
    if (present[n]) continue;
    missing += (missing.empty() ? "" : ", ") + std::string(kPeriodNames[n]);
    ++missing_count;
  }
  if (missing.empty() && without_name.empty()) return;
  std::string text;
  if (!missing.empty()) text = Missing(missing, missing_count > 1);
  if (!without_name.empty()) {
    text += (text.empty() ? "" : "; ") + std::string("los campos ") + PositionList(without_name) +
            " no tienen atributo dato y se ignoran";
  }
  findings.Add(FindingKind::kMissingField, "INTERVALOS", number,
               {{"campos", missing}, {"sin_dato", PositionList(without_name)}}, text);
}

}  // namespace

void FindEntryShapes(const ExchangeDocument& document, Findings& findings) {
  for (const CatalogueReading& reading : kCatalogueReadings) {
    const std::vector<Entry> entries = document.SelectEntries(reading.list);
    for (std::size_t i = 0; i < entries.size(); ++i) CheckCatalogueEntry(findings, reading, entries[i], i + 1);
  }
  const std::vector<Entry> frames = document.SelectEntries("JORNADAS");
  for (std::size_t i = 0; i < frames.size(); ++i) CheckFrameEntry(findings, frames[i], i + 1);
  const std::vector<Entry> periods = document.SelectEntries("INTERVALOS");
  for (std::size_t i = 0; i < periods.size(); ++i) CheckPeriodEntry(findings, periods[i], i + 1);
}

}  // namespace enlacor::report
