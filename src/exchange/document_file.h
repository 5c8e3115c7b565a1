// Reading and replacing the files of the document service.
//
// WriteFileAtomically never leaves a half-written file under the target's
// name: the bytes go to a new temporary file in the target's directory
// (created exclusively under a unique name), which is flushed to disk and
// then renamed over the target. When any step fails the temporary file is
// removed, the target is left as it was, and DocumentError names the target.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace enlacor {

// The whole content of `file`. Raises DocumentError naming the file when it
// cannot be read.
std::string ReadDocumentFile(const std::filesystem::path& file);

// Replaces (or creates) `target` with `bytes`, atomically.
void WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes);

}  // namespace enlacor
