// The run status file Horvana.ini beside the executable, written at close in
// automation mode: section "Transformadores", key "Transformado", the run
// status as signed decimal text. Only that key changes; other sections,
// keys and comments stay as they are.
#pragma once

#include <filesystem>
#include <string>

namespace enlacor {

inline constexpr char kStatusFileName[] = "Horvana.ini";

// The directory of the running executable followed by "Horvana.ini".
std::filesystem::path StatusFilePath();
// `executable_dir` followed by "Horvana.ini".
std::filesystem::path StatusFilePath(const std::filesystem::path& executable_dir);

// Writes `run_status`. Returns false, with a message for the person in
// `error`, when the file cannot be read or written; never throws.
bool WriteRunStatus(const std::filesystem::path& file, int run_status, std::string& error);

}  // namespace enlacor
