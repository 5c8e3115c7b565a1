// Runs started from the main window, driven through the real dialogs: the
// file dialog, the frame dialog and the message boxes.
#include <gtest/gtest.h>

#include <fstream>

#include "exchange/dbf_table.h"
#include "main_window_fixture.h"

namespace enlacor {
namespace {

using testing::CancelFile;
using testing::ChooseFile;
using testing::ChooseFrameRows;
using testing::ModalScript;
using testing::PressOk;

constexpr char kSample[] = ENLACOR_SOURCE_DIR "/samples/escuela-ejemplo.xml";

class MainWindowRun : public testing::MainWindowTest {
 protected:
  // The sample school (two time frames) in the workspace's escolia folder.
  std::filesystem::path CopySample() {
    const auto document = WorkspaceDir() / "escolia" / "escuela.xml";
    std::filesystem::copy_file(kSample, document);
    return document;
  }

  static void ExpectRunButtons(const TMForm& window, bool enabled) {
    EXPECT_EQ(Find(window, "BExportar")->isEnabled(), enabled);
    EXPECT_EQ(Find(window, "BImportar")->isEnabled(), enabled);
    EXPECT_TRUE(Find(window, "BClose")->isEnabled());
    EXPECT_TRUE(Find(window, "Button1")->isEnabled());
  }

  static void Click(const TMForm& window, const char* button) {
    Find<QPushButton>(window, button)->click();
  }
};

TEST_F(MainWindowRun, ExportThenImportThroughTheDialogs) {
  const auto document = CopySample();
  {
    TMForm window(MakeSetup());
    testing::ShowActive(window);
    ModalScript script({ChooseFile(document), ChooseFrameRows({0, 1}), PressOk()});
    Click(window, "BExportar");

    EXPECT_TRUE(script.AllAnswered());
    EXPECT_TRUE(script.unexpected.empty());
    EXPECT_EQ(script.messages, std::vector<std::string>{"Proceso finalizado"});
    EXPECT_EQ(script.captions, std::vector<std::string>{"Enlacor"});
    for (const char* table : {"ASIGNOMT", "ASIGNOMT2", "PROFT", "AULAT", "CURSOST", "GRUPOST",
                              "ASIGT", "DIASHORAST"})
      EXPECT_TRUE(std::filesystem::exists(WorkspaceDir() / (std::string(table) + ".DBF"))) << table;
    EXPECT_EQ(window.State().XmlFileName, document.string());
    EXPECT_EQ(window.State().SelectedFrames, "MANANA    TARDE     ");
    EXPECT_EQ(window.State().RunStatus, 1);
    ExpectRunButtons(window, false);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  }

  // Horvana's solution, empty: every teacher still gets a list.
  DbfTable::Create(WorkspaceDir() / "SOLUC.DBF", SchemaOf(TableId::kSoluc).columns);
  TMForm window(MakeSetup());
  testing::ShowActive(window);
  ModalScript script({ChooseFile(document), PressOk()});
  Click(window, "BImportar");

  EXPECT_TRUE(script.AllAnswered());
  EXPECT_EQ(script.messages, std::vector<std::string>{"Proceso finalizado"});
  EXPECT_TRUE(std::filesystem::exists(document.parent_path() / "ResultadoHorvanaescuela.xml"));
  ExpectRunButtons(window, false);
  window.close();
  EXPECT_FALSE(std::filesystem::exists(StatusFile())) << "interactive mode writes no status";
}

struct MissingDocumentCase {
  const char* button;
  bool cancel;  // else a name that does not exist is typed
};

class MainWindowMissingDocument : public MainWindowRun,
                                  public ::testing::WithParamInterface<MissingDocumentCase> {};

TEST_P(MainWindowMissingDocument, SaysSoAndLeavesTheButtonsEnabled) {
  TMForm window(MakeSetup());
  testing::ShowActive(window);
  const auto typed = WorkspaceDir() / "escolia" / "nada";
  ModalScript script({GetParam().cancel ? CancelFile() : ChooseFile(typed), PressOk()});
  Click(window, GetParam().button);

  EXPECT_TRUE(script.AllAnswered());
  EXPECT_EQ(script.messages, std::vector<std::string>{"No existe archivo"});
  EXPECT_EQ(script.captions, std::vector<std::string>{"Enlacor"});
  EXPECT_EQ(window.State().XmlFileName, GetParam().cancel ? "" : typed.string() + ".xml");
  EXPECT_EQ(window.State().RunStatus, 0);
  ExpectRunButtons(window, true);
  EXPECT_TRUE(window.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Runs, MainWindowMissingDocument,
                         ::testing::Values(MissingDocumentCase{"BExportar", true},
                                           MissingDocumentCase{"BExportar", false},
                                           MissingDocumentCase{"BImportar", true},
                                           MissingDocumentCase{"BImportar", false}));

struct FailingRunCase {
  const char* button;
  const char* content;  // of the chosen document
};

class MainWindowFailingRun : public MainWindowRun,
                             public ::testing::WithParamInterface<FailingRunCase> {};

// Not XML for the export; a sound document but no tables for the import.
TEST_P(MainWindowFailingRun, ShowsTheErrorBoxAndStaysOpen) {
  const auto document = WorkspaceDir() / "escolia" / "roto.xml";
  std::ofstream(document) << GetParam().content;
  TMForm window(MakeSetup());
  testing::ShowActive(window);
  ModalScript script({ChooseFile(document), PressOk()});
  Click(window, GetParam().button);

  EXPECT_TRUE(script.AllAnswered());
  ASSERT_EQ(script.messages.size(), 1u);
  EXPECT_EQ(script.icons[0], QMessageBox::Critical);
  EXPECT_EQ(script.captions[0], "Enlacor");
  EXPECT_FALSE(script.messages[0].empty());
  // The full-stop rule: the text never ends in a letter or a digit.
  EXPECT_LE(static_cast<unsigned char>(script.messages[0].back()), '.') << script.messages[0];
  EXPECT_EQ(window.State().RunStatus, 0);
  ExpectRunButtons(window, true);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy cursor must not outlive the run";
}

INSTANTIATE_TEST_SUITE_P(
    Runs, MainWindowFailingRun,
    ::testing::Values(FailingRunCase{"BExportar", "esto no es XML"},
                      FailingRunCase{"BImportar", "<SERVICIO><SALIDAS/></SERVICIO>"}));

// An unreadable handle is reported; the window stays a normal window, the
// keyword's run still starts, and no status file is written.
TEST_F(MainWindowRun, UnreadableHandleLeavesTheWindowUnembedded) {
  ModalScript script({PressOk(), CancelFile(), PressOk()});
  TMForm window(MakeSetup({"exportar", "zz"}));
  EXPECT_FALSE(window.IsEmbedded());
  EXPECT_EQ(window.State().StartParamCount, 0);
  EXPECT_FALSE(window.windowFlags() & Qt::FramelessWindowHint);

  testing::ShowActive(window);
  EXPECT_TRUE(script.AllAnswered());
  EXPECT_EQ(script.messages,
            (std::vector<std::string>{"'$zz' is not a valid integer value.", "No existe archivo"}));
  EXPECT_EQ(script.icons[0], QMessageBox::Critical);
  EXPECT_TRUE(window.isVisible());
  window.close();
  EXPECT_FALSE(std::filesystem::exists(StatusFile()));
}

}  // namespace
}  // namespace enlacor
