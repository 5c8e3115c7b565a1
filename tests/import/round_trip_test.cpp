// The whole round trip on the sample school: export, the Horvana stand-in,
// import. Every session the stand-in placed must come back fully resolved.
#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "export/export_run.h"
#include "export/frame_selection.h"
#include "import_fixture.h"

namespace enlacor::testing {
namespace {

TEST(RoundTrip, EverySessionOfTheSampleSchoolResolves) {
  TempDir dir;
  const Workspace workspace(dir / "htemp");
  std::filesystem::create_directories(workspace.Directory());
  const std::filesystem::path document = dir / "escuela-ejemplo.xml";
  std::filesystem::copy_file(std::filesystem::path(ENLACOR_SOURCE_DIR) / "samples" / "escuela-ejemplo.xml", document);

  RecordingHost export_host;
  export_host.documents.push_back(document);
  export_host.frame_answers.push_back({true, BuildSelection({"MANANA", "TARDE"}, {true, true})});
  SharedState export_state;
  ExportRun(export_host, export_state, workspace).BExportarClick();
  ASSERT_EQ(export_state.RunStatus, 1);

  const std::filesystem::path tool = std::filesystem::path(ENLACOR_BIN_DIR) / "horvana-standin";
  ASSERT_TRUE(std::filesystem::exists(tool)) << "build the horvana-standin target first";
  const std::string standin = tool.string() + " '" + workspace.Directory().string() + "' >/dev/null";
  ASSERT_EQ(std::system(standin.c_str()), 0) << standin;

  RecordingHost host;
  host.documents.push_back(document);
  SharedState state;
  ImportRun run(host, state, workspace);
  run.BImportarClick();
  ASSERT_EQ(state.RunStatus, 1);

  const ImportSummary& summary = run.Summary();
  EXPECT_EQ(summary.teachers, 20u);
  EXPECT_GT(summary.sessions, 100u);
  EXPECT_EQ(summary.empty_subject, 0u);
  EXPECT_EQ(summary.empty_group, 0u);
  EXPECT_EQ(summary.empty_period, 0u);
  EXPECT_EQ(summary.empty_room, 0u);

  pugi::xml_document result;
  ASSERT_TRUE(result.load_file(summary.result_file.c_str()));
  std::size_t sessions = 0;
  for (pugi::xml_node teacher : result.document_element().child("SALIDAS").children("listasal")) {
    for (pugi::xml_node entry : teacher.children("listasal")) {
      ++sessions;
      for (const auto& [dato, text] : FieldsOf(entry)) {
        EXPECT_FALSE(text.empty()) << teacher.attribute("seq").value() << " " << entry.attribute("seq").value() << " "
                                   << dato;
      }
    }
  }
  EXPECT_EQ(sessions, summary.sessions);
}

}  // namespace
}  // namespace enlacor::testing
