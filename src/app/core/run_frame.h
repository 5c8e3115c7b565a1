// The frame both runs share: how a run begins (file dialog, existence test)
// and how a finished run ends (status, closing message, buttons, close).
// A failure between the two is an exception the host reports with
// StandardErrorText; the frame itself never catches.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "app/core/run_host.h"
#include "app/core/shared_state.h"

namespace enlacor {

inline constexpr char kNoExisteArchivo[] = "No existe archivo";
inline constexpr char kProcesoFinalizado[] = "Proceso finalizado";

// Shows the file dialog; a confirmed path becomes XmlFileName, a cancel
// keeps the last one. When no file exists at XmlFileName (an empty path and
// a directory count as none) it shows "No existe archivo" and, in automation
// mode, sets RunStatus to -1 and closes the window; then returns nullopt.
// Otherwise returns the document's path.
std::optional<std::filesystem::path> BeginRun(RunHost& host, SharedState& state);

// RunStatus 1, "Proceso finalizado", both run buttons disabled, and in
// automation mode the window closed.
void FinishRun(RunHost& host, SharedState& state);

// The standard error box text: the message, plus a full stop when its last
// character sorts after "." (a letter or a digit, for instance).
std::string StandardErrorText(std::string_view message);

}  // namespace enlacor
