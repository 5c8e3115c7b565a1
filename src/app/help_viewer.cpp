#include "app/help_viewer.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace enlacor {
namespace {

QString NativePath(const std::filesystem::path& path) {
  return QString::fromStdU16String(path.u16string());
}

#ifdef _WIN32

// HTML Help: "hh.exe FILE" shows the contents, "hh.exe -mapid N FILE" a topic.
class HtmlHelpViewer : public HelpViewer {
 public:
  bool ShowContents(const std::filesystem::path& help_file, std::string& error) override {
    return Start({NativePath(help_file)}, error);
  }
  bool ShowTopic(const std::filesystem::path& help_file, int context, std::string& error) override {
    return Start({"-mapid", QString::number(context), NativePath(help_file)}, error);
  }

 private:
  static bool Start(const QStringList& arguments, std::string& error) {
    if (QProcess::startDetached("hh.exe", arguments)) return true;
    error = "No se pudo iniciar el visor de ayuda de Windows (hh.exe).";
    return false;
  }
};

using PlatformViewer = HtmlHelpViewer;

#else

// The desktop's handler for the file type. It cannot open a topic by
// number, so a topic request shows the whole file.
class DesktopHelpViewer : public HelpViewer {
 public:
  bool ShowContents(const std::filesystem::path& help_file, std::string& error) override {
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(NativePath(help_file)))) return true;
    error = "No hay ningún programa instalado que pueda mostrar el archivo de ayuda " +
            help_file.string() + ".";
    return false;
  }
  bool ShowTopic(const std::filesystem::path& help_file, int, std::string& error) override {
    return ShowContents(help_file, error);
  }
};

using PlatformViewer = DesktopHelpViewer;

#endif

}  // namespace

std::unique_ptr<HelpViewer> MakePlatformHelpViewer() { return std::make_unique<PlatformViewer>(); }

std::filesystem::path HelpFileBesideExecutable() {
  return std::filesystem::path(QCoreApplication::applicationDirPath().toStdString()) / kHelpFileName;
}

}  // namespace enlacor
