#include "exchange/document_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <random>

#include "exchange/exchange_document.h"
#include "exchange/system_reason.h"

namespace enlacor {
namespace {

std::string Quoted(const std::filesystem::path& file) { return "\"" + file.string() + "\""; }

// The reason of a failed file operation, in the user's language where it is
// a common one.
DocumentError ReadFailure(const std::filesystem::path& file, int error) {
  return DocumentError("No se puede leer el documento " + Quoted(file) + ": " + SystemErrorReason(error) +
                       ".");
}

DocumentError WriteFailure(const std::filesystem::path& target, const char* step, int error) {
  return DocumentError("No se puede guardar el documento " + Quoted(target) + " (" + step +
                       "): " + SystemErrorReason(error) + ".");
}

// Closes a file descriptor when it goes out of scope, unless released.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now; false (with errno set) when closing reports an error.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

// Writes all of `bytes`, retrying interrupted and partial writes.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

std::string RandomSuffix() {
  static std::random_device device;
  static std::mt19937_64 generator(device());
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string suffix;
  for (std::uint64_t value = generator(), i = 0; i < 12; ++i, value >>= 4) {
    suffix += kDigits[value & 0xF];
  }
  return suffix;
}

// Creates a new temporary file beside `target`; sets `temporary` to its name.
int CreateTemporaryFile(const std::filesystem::path& target, std::filesystem::path& temporary) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = target;
    temporary += "." + RandomSuffix() + ".tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Gives the new file the permissions of the file it replaces.
void KeepPermissionsOf(const std::filesystem::path& target, int fd) {
  struct stat existing;
  if (::stat(target.c_str(), &existing) == 0) ::fchmod(fd, existing.st_mode & 07777);
}

// Makes the rename durable; a directory that cannot be synced is no failure
// of the save, whose data is already on disk.
void SyncDirectoryOf(const std::filesystem::path& target) {
  std::filesystem::path directory = target.parent_path();
  if (directory.empty()) directory = ".";
  const int fd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Writes, flushes and closes the temporary file; gives the failed step, or
// nullptr on success.
const char* FillTemporaryFile(FileDescriptor& file, const std::filesystem::path& target,
                              std::string_view bytes) {
  KeepPermissionsOf(target, file.get());
  if (!WriteAll(file.get(), bytes)) return "escritura";
  if (::fsync(file.get()) != 0) return "volcado a disco";
  if (!file.Close()) return "cierre";
  return nullptr;
}

}  // namespace

std::string ReadDocumentFile(const std::filesystem::path& file) {
  FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) throw ReadFailure(file, errno);
  std::string bytes;
  char buffer[65536];
  while (true) {
    const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw ReadFailure(file, errno);
    if (got == 0) return bytes;
    bytes.append(buffer, static_cast<std::size_t>(got));
  }
}

void WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes) {
  std::filesystem::path temporary;
  FileDescriptor file(CreateTemporaryFile(target, temporary));
  if (file.get() < 0) throw WriteFailure(target, "creación del archivo temporal", errno);

  const char* failed_step = FillTemporaryFile(file, target, bytes);
  if (!failed_step && ::rename(temporary.c_str(), target.c_str()) != 0) failed_step = "sustitución";
  if (failed_step) {
    const int error = errno;
    ::unlink(temporary.c_str());
    throw WriteFailure(target, failed_step, error);
  }
  SyncDirectoryOf(target);
}

}  // namespace enlacor
