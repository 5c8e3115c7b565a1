// OpenDialogXML: the file dialog in which both runs choose the exchange
// document.
//
// Qt's own dialog (never the platform's), so that it looks and behaves alike
// everywhere and tests can answer it: title "Archivo XML", one filter
// "*.xml", default extension "xml" added to a typed name without one, first
// opened in the workspace's "escolia" folder, resizable. Any name is
// accepted, existing or not: the run tests existence itself.
#pragma once

#include <filesystem>
#include <optional>

class QFileDialog;
class QWidget;

namespace enlacor {

inline constexpr char kOpenDialogTitle[] = "Archivo XML";
inline constexpr char kOpenDialogFilter[] = "*.xml (*.xml)";

// A dialog with those settings, owned by `parent`.
QFileDialog* CreateOpenDialogXML(QWidget* parent, const std::filesystem::path& initial_folder);

// Runs the dialog modally: the chosen file's full path, or nullopt when the
// person cancelled.
std::optional<std::filesystem::path> RunOpenDialogXML(QFileDialog& dialog);

}  // namespace enlacor
