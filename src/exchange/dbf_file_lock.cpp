#include "exchange/dbf_file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "exchange/system_reason.h"
#include "exchange/table_error.h"

namespace enlacor {
namespace {

int OpenDescriptor(const std::filesystem::path& file) {
  int fd = ::open(file.c_str(), O_RDWR | O_CLOEXEC);
  // A table we may not write can still be read; a write then fails by itself.
  if (fd < 0 && (errno == EACCES || errno == EROFS)) fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  return fd;
}

}  // namespace

DbfFileLock DbfFileLock::Acquire(const std::filesystem::path& file, bool exclusive, std::string_view table) {
  const int fd = OpenDescriptor(file);
  if (fd < 0) {
    const int error = errno;
    if (error == ENOENT)
      throw TableError("No existe la tabla " + std::string(table) + " (" + file.string() + ")");
    throw TableError("No se puede abrir la tabla " + std::string(table) + ": " + SystemErrorReason(error));
  }
  DbfFileLock lock(fd);
  int result;
  do {
    result = ::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    const int error = errno;
    if (error == EWOULDBLOCK)
      throw TableError("La tabla " + std::string(table) + " está en uso por otro programa");
    throw TableError("No se puede bloquear la tabla " + std::string(table) + ": " + SystemErrorReason(error));
  }
  return lock;
}

DbfFileLock::DbfFileLock(DbfFileLock&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

DbfFileLock& DbfFileLock::operator=(DbfFileLock&& other) noexcept {
  if (this != &other) {
    Release();
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

DbfFileLock::~DbfFileLock() { Release(); }

void DbfFileLock::Release() {
  // Closing the descriptor drops the lock.
  if (fd_ >= 0) ::close(std::exchange(fd_, -1));
}

std::string DbfFileLock::ReadAll(std::string_view table) const {
  struct stat info {};
  const std::size_t expected = ::fstat(fd_, &info) == 0 ? static_cast<std::size_t>(info.st_size) : 0;
  std::string content(expected + 1, '\0');  // one more byte sees a file that grew
  std::size_t have = 0;
  while (true) {
    if (have == content.size()) content.resize(content.size() * 2);
    const ssize_t got = ::pread(fd_, content.data() + have, content.size() - have, static_cast<off_t>(have));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw TableError("No se puede leer la tabla " + std::string(table) + ": " + SystemErrorReason(errno));
    if (got == 0) break;
    have += static_cast<std::size_t>(got);
  }
  content.resize(have);
  return content;
}

}  // namespace enlacor
