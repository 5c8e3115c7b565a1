#include "app/core/run_frame.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/recording_host.h"
#include "support/temp_dir.h"

namespace enlacor {
namespace {

using testing::RecordingHost;
using testing::TempDir;

class RunFrameTest : public ::testing::Test {
 protected:
  RunFrameTest() { std::ofstream(document_) << "<SERVICIO/>"; }

  TempDir dir_;
  std::filesystem::path document_ = dir_ / "centro.xml";
  RecordingHost host_;
  SharedState state_;
};

TEST_F(RunFrameTest, ConfirmedExistingDocumentBeginsTheRun) {
  host_.documents.push_back(document_);
  const auto path = BeginRun(host_, state_);
  ASSERT_TRUE(path);
  EXPECT_EQ(*path, document_);
  EXPECT_EQ(state_.XmlFileName, document_.string());
  EXPECT_TRUE(host_.messages.empty());
  EXPECT_FALSE(host_.closed);
}

struct MissingCase {
  const char* name;
  bool automation;
  int run_status;
  bool closed;
};

class MissingDocumentTest : public RunFrameTest, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(MissingDocumentTest, CancelANonexistentPathOrADirectory) {
  const auto& c = GetParam();
  host_.automation = c.automation;
  for (const auto& answer : {std::optional<std::filesystem::path>(),
                             std::optional(dir_ / "falta.xml"), std::optional(dir_.path())}) {
    host_ = RecordingHost();
    host_.automation = c.automation;
    state_ = SharedState();
    host_.documents.push_back(answer);
    EXPECT_FALSE(BeginRun(host_, state_));
    EXPECT_EQ(host_.messages, std::vector<std::string>{"No existe archivo"});
    EXPECT_EQ(state_.RunStatus, c.run_status);
    EXPECT_EQ(host_.closed, c.closed);
    EXPECT_FALSE(host_.buttons_disabled);
  }
}

INSTANTIATE_TEST_SUITE_P(Modes, MissingDocumentTest,
                         ::testing::Values(MissingCase{"interactive", false, 0, false},
                                           MissingCase{"automation", true, -1, true}),
                         [](const auto& info) { return info.param.name; });

TEST_F(RunFrameTest, CancelReusesTheLastConfirmedPath) {
  host_.documents.push_back(document_);
  ASSERT_TRUE(BeginRun(host_, state_));
  host_.documents.push_back(std::nullopt);
  const auto again = BeginRun(host_, state_);
  ASSERT_TRUE(again);
  EXPECT_EQ(*again, document_);

  // A confirmed path that names no file replaces it, and a cancel then
  // tests that path again.
  host_.documents.push_back(dir_ / "falta.xml");
  host_.documents.push_back(std::nullopt);
  EXPECT_FALSE(BeginRun(host_, state_));
  EXPECT_FALSE(BeginRun(host_, state_));
  EXPECT_EQ(host_.messages, (std::vector<std::string>{"No existe archivo", "No existe archivo"}));
  EXPECT_EQ(state_.XmlFileName, (dir_ / "falta.xml").string());
}

TEST_F(RunFrameTest, NonAsciiPathSurvivesTheSharedState) {
  const auto document = dir_ / std::filesystem::path(u8"centro año.xml");
  std::ofstream(document) << "<SERVICIO/>";
  host_.documents.push_back(document);
  ASSERT_TRUE(BeginRun(host_, state_));
  host_.documents.push_back(std::nullopt);
  const auto again = BeginRun(host_, state_);
  ASSERT_TRUE(again);
  EXPECT_EQ(*again, document);
}

TEST_F(RunFrameTest, FinishedRunInBothModes) {
  for (bool automation : {false, true}) {
    host_ = RecordingHost();
    host_.automation = automation;
    state_ = SharedState();
    FinishRun(host_, state_);
    EXPECT_EQ(state_.RunStatus, 1);
    EXPECT_EQ(host_.messages, std::vector<std::string>{"Proceso finalizado"});
    EXPECT_TRUE(host_.buttons_disabled);
    EXPECT_EQ(host_.closed, automation);
  }
}

struct ErrorTextCase {
  std::string message;
  std::string text;
};

class StandardErrorTextTest : public ::testing::TestWithParam<ErrorTextCase> {};

TEST_P(StandardErrorTextTest, FullStopAfterCharactersSortingAfterIt) {
  EXPECT_EQ(StandardErrorText(GetParam().message), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, StandardErrorTextTest,
    ::testing::Values(ErrorTextCase{"No existe la tabla PROFT", "No existe la tabla PROFT."},
                      ErrorTextCase{"'$g1' is not a valid integer value",
                                    "'$g1' is not a valid integer value."},
                      ErrorTextCase{"Valor 12", "Valor 12."}, ErrorTextCase{"Fin.", "Fin."},
                      ErrorTextCase{"Tabla (ASIGT)", "Tabla (ASIGT)"},
                      ErrorTextCase{"Error en '8h'", "Error en '8h'"},
                      ErrorTextCase{"Ruta C:/", "Ruta C:/."}, ErrorTextCase{"Termina en -", "Termina en -"},
                      ErrorTextCase{"Conversión", "Conversión."}, ErrorTextCase{"", ""}));

}  // namespace
}  // namespace enlacor
