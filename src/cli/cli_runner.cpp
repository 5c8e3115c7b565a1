#include "cli/cli_runner.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/core/run_frame.h"
#include "app/core/shared_state.h"
#include "cli/check_command.h"
#include "cli/console_host.h"
#include "cli/frame_answer.h"
#include "exchange/exchange_document.h"
#include "exchange/timetable_tables.h"
#include "export/export_run.h"
#include "import/import_run.h"

namespace enlacor {

namespace {

namespace fs = std::filesystem;

struct Options {
  std::string document;
  std::string workspace;
  std::vector<std::string> frames;
  bool json = false;
};

// A stop before the run, with its exit status and message for `err`.
struct Stop {
  int status;
  std::string message;
};

fs::path DocumentPath(const Options& options) {
  const fs::path document = fs::absolute(options.document);
  std::error_code ec;
  if (!fs::is_regular_file(document, ec)) {
    throw Stop{kExitNoDocument, std::string(kNoExisteArchivo) + ": " + document.string()};
  }
  return document;
}

Workspace ChosenWorkspace(const Options& options) {
  Workspace workspace =
      options.workspace.empty() ? Workspace::Default() : Workspace(fs::absolute(options.workspace));
  std::error_code ec;
  if (!fs::is_directory(workspace.Directory(), ec)) {
    throw Stop{kExitFailure, "No existe el directorio de trabajo " + workspace.Directory().string()};
  }
  return workspace;
}

// Loads the document and settles the frame dialog's answer, all before the
// workspace is looked at.
std::optional<FrameDialogResult> FramesFor(const fs::path& document, const Options& options,
                                           std::ostream& out) {
  FrameAnswer answer;
  try {
    answer = AnswerFrameDialog(ExchangeDocument::Load(document), options.frames);
  } catch (const FrameUsageError& e) {
    throw Stop{kExitUsage, e.what()};
  }
  if (answer.frame_count == 0) {
    out << "Aviso: el documento no tiene marcos horarios (JORNADAS); la rejilla de días y horas "
           "se escribe con un código de marco vacío.\n";
  }
  return answer.dialog;
}

// A run that returns without RunStatus 1 stopped at the existence test: the
// document went away after the runner had found it.
int Outcome(const SharedState& state) { return state.RunStatus == 1 ? kExitFinished : kExitNoDocument; }

int Export(const Options& options, std::ostream& out) {
  const fs::path document = DocumentPath(options);
  auto frames = FramesFor(document, options, out);
  const Workspace workspace = ChosenWorkspace(options);

  ConsoleHost host(document, std::move(frames), out);
  SharedState state;
  ExportRun run(host, state, workspace);
  run.BExportarClick();
  if (Outcome(state) != kExitFinished) return Outcome(state);
  out << "Tablas escritas en: " << workspace.Directory().string() << '\n';
  return kExitFinished;
}

void PrintSummary(const ImportSummary& summary, std::ostream& out) {
  out << "Profesores: " << summary.teachers << '\n'
      << "Sesiones escritas: " << summary.sessions << '\n'
      << "Sesiones con X_MATERIAOMC vacío: " << summary.empty_subject << '\n'
      << "Sesiones con X_UNIDAD vacío: " << summary.empty_group << '\n'
      << "Sesiones con N_DIASEMANA o X_TRAMO vacío: " << summary.empty_period << '\n'
      << "Sesiones con X_DEPCENTRO vacío: " << summary.empty_room << '\n'
      << "Documento resultado: " << summary.result_file.string() << '\n';
}

int Import(const Options& options, std::ostream& out) {
  const fs::path document = DocumentPath(options);
  const Workspace workspace = ChosenWorkspace(options);

  ConsoleHost host(document, std::nullopt, out);
  SharedState state;
  ImportRun run(host, state, workspace);
  run.BImportarClick();
  if (Outcome(state) != kExitFinished) return Outcome(state);
  PrintSummary(run.Summary(), out);
  return kExitFinished;
}

// Touches no file: the document is only read, and the workspace is never
// looked at.
int Check(const Options& options, std::ostream& out) {
  const fs::path document = DocumentPath(options);
  try {
    return CheckDocument(document, options.frames, options.json, out);
  } catch (const FrameUsageError& e) {
    throw Stop{kExitUsage, e.what()};
  }
}

}  // namespace

int RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  CLI::App app("Enlacor: intercambio de datos de horario entre Escolia y Horvana", "enlacor-cli");
  app.require_subcommand(1);
  Options options;

  const auto add_document = [&options](CLI::App* command) {
    command->add_option("DOCUMENT", options.document, "Documento de intercambio de Escolia (XML)")->required();
  };
  const auto add_workspace = [&options](CLI::App* command) {
    command->add_option("--workspace", options.workspace, "Directorio de las tablas (por omisión, el de Horvana)");
  };
  const auto add_frames = [&options](CLI::App* command, const char* description) {
    command->add_option("--frames", options.frames, description)->delimiter(',')->type_name("CODE[,CODE]");
  };

  CLI::App* export_command = app.add_subcommand("export", "Transformar datos desde Escolia hacia Horvana");
  add_document(export_command);
  add_workspace(export_command);
  add_frames(export_command, "Marcos horarios (JORNADAS) que se aplican: uno o dos códigos");

  CLI::App* import_command = app.add_subcommand("import", "Transformar datos desde Horvana hacia Escolia");
  add_document(import_command);
  add_workspace(import_command);

  CLI::App* check_command = app.add_subcommand(
      "check", "Revisar qué cambiaría o perdería la exportación de un documento, sin escribir nada");
  add_document(check_command);
  add_frames(check_command, "Marcos horarios (JORNADAS) que se aplicarían: uno o dos códigos");
  check_command->add_flag("--json", options.json, "Hallazgos en JSON, para scripts");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int status = app.exit(e, out, err);
    return status == static_cast<int>(CLI::ExitCodes::Success) ? kExitFinished : kExitUsage;
  }

  try {
    if (check_command->parsed()) return Check(options, out);
    return export_command->parsed() ? Export(options, out) : Import(options, out);
  } catch (const Stop& stop) {
    out << std::flush;
    err << stop.message << '\n';
    return stop.status;
  } catch (const std::exception& e) {
    out << std::flush;
    err << StandardErrorText(e.what()) << '\n';
    return kExitFailure;
  }
}

}  // namespace enlacor
