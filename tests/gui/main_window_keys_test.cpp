// The main window's keys and help: Alt+S, Enter, Escape, F1 and "F1 Ayuda".
#include <gtest/gtest.h>

#include <fstream>

#include "main_window_fixture.h"

namespace enlacor {
namespace {

using testing::ModalScript;
using testing::PressKey;
using testing::PressOk;

class MainWindowKeys : public testing::MainWindowTest {
 protected:
  void WriteHelpFile() { std::ofstream(HelpFile()) << "ayuda"; }
};

TEST_F(MainWindowKeys, AltSClosesLikeSalir) {
  TMForm window(MakeSetup());
  bool closed = false;
  QObject::connect(&window, &TMForm::WindowClosed, [&closed] { closed = true; });
  testing::ShowActive(window);
  PressKey(window, Qt::Key_S, Qt::AltModifier, "s");
  testing::ProcessEventsUntil([&closed] { return closed; });  // a mnemonic clicks after a moment
  EXPECT_TRUE(closed);
  EXPECT_FALSE(window.isVisible());
  EXPECT_FALSE(std::filesystem::exists(StatusFile()));
}

TEST_F(MainWindowKeys, EscapeDoesNotClose) {
  TMForm window(MakeSetup());
  testing::ShowActive(window);
  PressKey(window, Qt::Key_Escape);
  EXPECT_TRUE(window.isVisible());
}

// Enter clicks the focused button: on "F1 Ayuda" it asks for the contents.
TEST_F(MainWindowKeys, EnterClicksTheFocusedButton) {
  WriteHelpFile();
  TMForm window(MakeSetup());
  testing::ShowActive(window);
  Find(window, "Button1")->setFocus();
  PressKey(window, Qt::Key_Return, Qt::NoModifier, "\r");
  EXPECT_EQ(help_log_->requests, std::vector<std::string>{"contents ESCOLIA.chm"});
}

TEST_F(MainWindowKeys, HelpButtonShowsContentsAndF1ShowsTopic3) {
  WriteHelpFile();
  TMForm window(MakeSetup());
  testing::ShowActive(window);
  Find<QPushButton>(window, "Button1")->click();
  Find(window, "BImportar")->setFocus();
  PressKey(window, Qt::Key_F1);
  EXPECT_EQ(help_log_->requests,
            (std::vector<std::string>{"contents ESCOLIA.chm", "topic 3 ESCOLIA.chm"}));
}

TEST_F(MainWindowKeys, MissingHelpFileOrViewerIsReported) {
  TMForm window(MakeSetup());
  testing::ShowActive(window);
  {
    ModalScript script({PressOk()});
    PressKey(window, Qt::Key_F1);
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_NE(script.messages[0].find("ESCOLIA.chm"), std::string::npos) << script.messages[0];
    EXPECT_TRUE(help_log_->requests.empty());
  }
  WriteHelpFile();
  help_log_->error = "No hay visor de ayuda.";
  ModalScript script({PressOk()});
  Find<QPushButton>(window, "Button1")->click();
  EXPECT_EQ(script.messages, std::vector<std::string>{"No hay visor de ayuda."});
  EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace enlacor
