#include "import/import_run.h"

#include <string>

#include "app/core/run_frame.h"
#include "exchange/exchange_document.h"
#include "exchange/text_codec.h"
#include "import/import_tables.h"
#include "import/session_resolver.h"
#include "import/solution_sessions.h"

namespace enlacor {
namespace {

constexpr char kStatusCode[] = "0";
constexpr char kStatusText[] = "Servicio finalizado Correctamente";

pugi::xml_node AppendList(pugi::xml_node parent, const char* prefix, int number) {
  return ExchangeDocument::AppendElement(parent, "listasal", "seq", prefix + std::to_string(number));
}

void AppendField(pugi::xml_node parent, const char* dato, std::string_view text) {
  ExchangeDocument::AppendElement(parent, "salida", "dato", dato, text);
}

void WriteErrorBlock(pugi::xml_node output, int teacher_records) {
  pugi::xml_node block = output.append_child("ERROR");
  AppendField(block, "CN_ERROR", kStatusCode);
  AppendField(block, "TE_ERROR", kStatusText);
  AppendField(block, "REGISTROS RECUPERADOS", std::to_string(teacher_records));
}

void WriteSessionFields(pugi::xml_node entry, const ResolvedSession& session) {
  AppendField(entry, "X_ACTIVIDAD", session.activity);
  AppendField(entry, "N_DIASEMANA", session.weekday);
  AppendField(entry, "X_TRAMO", session.period);
  AppendField(entry, "X_DEPCENTRO", session.room_dependency);
  AppendField(entry, "X_MATERIAOMC", session.subject);
  AppendField(entry, "X_UNIDAD", session.group);
}

bool IsEmptyValue(const std::string& text) { return Trim(text).empty(); }

void Count(const ResolvedSession& session, ImportSummary& summary) {
  ++summary.sessions;
  if (IsEmptyValue(session.subject)) ++summary.empty_subject;
  if (IsEmptyValue(session.group)) ++summary.empty_group;
  if (IsEmptyValue(session.weekday) || IsEmptyValue(session.period)) ++summary.empty_period;
  if (IsEmptyValue(session.room_dependency)) ++summary.empty_room;
}

// One teacher list per PROFT record, in stored order, each holding the
// teacher's sessions numbered from TRAMO_1.
void WriteTeacherLists(pugi::xml_node output, DbfTable& proft, const SolutionSessions& sessions,
                       const SessionResolver& resolver, ImportSummary& summary) {
  int teacher_number = 1;
  for (proft.First(); !proft.Eof(); proft.Next()) {
    pugi::xml_node teacher = AppendList(output, "EMP_", teacher_number++);
    AppendField(teacher, "X_EMPLEADO", FromTableText(proft.GetText("X_EMPLEADO")));
    AppendField(teacher, "F_TOMAPOS", FromTableText(proft.GetText("F_TOMAPOS")));
    ++summary.teachers;

    int session_number = 1;
    for (const SolucSession& session : sessions.Of(proft.GetText("ABREV"))) {
      pugi::xml_node entry = AppendList(teacher, "TRAMO_", session_number++);
      const ResolvedSession resolved = resolver.Resolve(session);
      WriteSessionFields(entry, resolved);
      Count(resolved, summary);
    }
  }
}

}  // namespace

ImportRun::ImportRun(RunHost& host, SharedState& state, Workspace workspace)
    : host_(host), state_(state), workspace_(std::move(workspace)) {}

void ImportRun::BImportarClick() {
  const auto path = BeginRun(host_, state_);
  if (!path) return;
  host_.SetBusyCursor();
  Import(*path);
  host_.RestoreCursor();
  FinishRun(host_, state_);
}

void ImportRun::Import(const std::filesystem::path& document_path) {
  summary_ = ImportSummary{};
  ImportSummary summary;

  ImportTables tables(workspace_);
  ExchangeDocument document = ExchangeDocument::Load(document_path);
  const pugi::xml_node output = document.ReplaceOutputSection();
  WriteErrorBlock(output, tables.proft.RecordCount());

  const SolutionSessions sessions = SolutionSessions::Read(tables.soluc);
  const SessionResolver resolver({tables.asigt, tables.asignomt, tables.grupost, tables.asignomt2,
                                  tables.diashorast, tables.aulat});
  WriteTeacherLists(output, tables.proft, sessions, resolver, summary);
  tables.Close();

  summary.result_file = ExchangeDocument::ResultFileName(document_path);
  document.Save(summary.result_file);
  summary_ = std::move(summary);
}

}  // namespace enlacor
