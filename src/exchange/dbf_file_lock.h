// DbfFileLock: an open descriptor on a table file holding the operating
// system's whole-file lock (flock) for as long as the object lives.
//
// A shared lock lets other shared holders in; an exclusive lock keeps every
// other holder out. Two objects in one process conflict like two processes,
// since each opens its own descriptor. The lock is advisory: it keeps out
// every program that asks for it, this one included.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace enlacor {

class DbfFileLock {
 public:
  DbfFileLock() = default;
  // Opens `file` and takes the lock without waiting. Raises TableError naming
  // `table` when the file is missing, cannot be opened, or another holder's
  // lock conflicts.
  static DbfFileLock Acquire(const std::filesystem::path& file, bool exclusive, std::string_view table);

  DbfFileLock(DbfFileLock&& other) noexcept;
  DbfFileLock& operator=(DbfFileLock&& other) noexcept;
  DbfFileLock(const DbfFileLock&) = delete;
  DbfFileLock& operator=(const DbfFileLock&) = delete;
  ~DbfFileLock();

  // The whole content of the locked file.
  std::string ReadAll(std::string_view table) const;
  void Release();

 private:
  explicit DbfFileLock(int fd) : fd_(fd) {}
  int fd_ = -1;
};

}  // namespace enlacor
