// A scratch directory for one fuzzing process: files that an entry writes
// for each input (a table, a document) live here and are replaced by the
// next input. It lies in /dev/shm when that exists, so the many small writes
// of a run stay off the disk, and is removed when the process ends.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>

namespace enlacor::fuzz {

class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::error_code ec;
    const std::filesystem::path shm("/dev/shm");
    const std::filesystem::path base =
        std::filesystem::is_directory(shm, ec) ? shm : std::filesystem::temp_directory_path();
    path_ = base / ("enlacor-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDirectory() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// Replaces `file` with `bytes`. A failure here is the harness's, not the
// program's, and stops the run loudly.
inline void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write scratch file " + file.string());
}

}  // namespace enlacor::fuzz
