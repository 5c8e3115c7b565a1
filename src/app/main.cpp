// enlacor: the desktop program. Without parameters (or with any number but
// two) a person works in the main window; Horvana starts it with the
// direction keyword and the handle of one of its windows.
#include <string>
#include <vector>

#include <QApplication>

#include "app/main_window.h"
#include "app/message_boxes.h"
#include "app/screenshot_hook.h"

int main(int argc, char* argv[]) {
  // The parameters as given, before Qt takes out any of its own options.
  std::vector<std::string> params(argv + 1, argv + argc);
  QApplication application(argc, argv);
  QApplication::setApplicationName(enlacor::kApplicationTitle);
  // The window closes the program itself: an embedded window is no
  // top-level window, so its closing would not end the loop on its own.
  QApplication::setQuitOnLastWindowClosed(false);

  enlacor::TMForm::Setup setup;
  setup.params = std::move(params);
  enlacor::TMForm MForm(std::move(setup));
  QObject::connect(&MForm, &enlacor::TMForm::WindowClosed, &application, &QApplication::quit,
                   Qt::QueuedConnection);
  enlacor::InstallScreenshotHook(MForm);
  MForm.show();
  return QApplication::exec();
}
