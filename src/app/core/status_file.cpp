#include "app/core/status_file.h"

// Placeholder until the status file is written.
namespace enlacor {
std::filesystem::path StatusFilePath() { return kStatusFileName; }
std::filesystem::path StatusFilePath(const std::filesystem::path& dir) { return dir / kStatusFileName; }
bool WriteRunStatus(const std::filesystem::path&, int, std::string& error) { error = "sin escribir"; return false; }
}  // namespace enlacor
