// A workspace and an exchange document in a temporary directory, an import
// run over them, and readers for the result document.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "app/core/shared_state.h"
#include "import/import_run.h"
#include "school_tables.h"
#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace enlacor::testing {

inline constexpr char kCarrierDocument[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<SERVICIO version=\"2\"><CABECERA><centro>IES Prueba</centro></CABECERA>"
    "<SALIDAS><listasal seq=\"MATERIAS\"><listasal><salida>M1</salida><salida>Mates</salida></listasal></listasal>"
    "</SALIDAS><PIE>fin</PIE></SERVICIO>\n";

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteFile(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

// The (dato, text) pairs of the `salida` children of `node`, in order.
using Fields = std::vector<std::pair<std::string, std::string>>;
inline Fields FieldsOf(pugi::xml_node node) {
  Fields fields;
  for (pugi::xml_node salida : node.children("salida")) {
    fields.emplace_back(salida.attribute("dato").value(), salida.text().get());
  }
  return fields;
}

class ImportFixture : public ::testing::Test {
 public:
  ImportFixture() : workspace(dir.path() / "htemp"), document(dir / "centro.xml") {
    std::filesystem::create_directories(workspace.Directory());
    WriteFile(document, kCarrierDocument);
    WriteEmptyTables(workspace);
  }

  std::filesystem::path ResultFile() const { return dir / "ResultadoHorvanacentro.xml"; }

  // Runs the import on `document` and loads the result.
  pugi::xml_node Import() {
    ImportRun run(host, state, workspace);
    run.Import(document);
    summary = run.Summary();
    const pugi::xml_parse_result parsed = result.load_file(ResultFile().c_str());
    EXPECT_TRUE(parsed) << parsed.description();
    return result.document_element().child("SALIDAS");
  }

  TempDir dir;
  Workspace workspace;
  std::filesystem::path document;
  RecordingHost host;
  SharedState state;
  ImportSummary summary;
  pugi::xml_document result;
};

}  // namespace enlacor::testing
