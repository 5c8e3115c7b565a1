#include "app/core/status_file.h"

// The status file is plain bytes to us: no wide-character conversion is
// needed. Debian's SimpleIni.h keeps its template bodies behind
// SI_IMPLEMENTATION; this is the one file that instantiates them.
#ifndef _WIN32
#define SI_NO_CONVERSION
#endif
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace enlacor {

namespace {

constexpr char kSection[] = "Transformadores";
constexpr char kKey[] = "Transformado";
constexpr char kUtf8Signature[] = "\xEF\xBB\xBF";

std::filesystem::path ExecutableDirectory() {
#ifdef _WIN32
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      break;
    }
    buffer.resize(buffer.size() * 2);
  }
  return std::filesystem::path(buffer).parent_path();
#else
  std::error_code ec;
  const auto executable = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : executable.parent_path();
#endif
}

// Reads the whole file into `text`; a missing file reads as empty.
bool ReadExisting(const std::filesystem::path& file, std::string& text) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return !ec;
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

bool WriteAll(const std::filesystem::path& file, const std::string& text) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  return !out.fail();
}

// Writes through a temporary file renamed over the target, so a failed write
// never leaves the other sections half-written. Where the directory refuses
// new files but the file itself is writable, writes in place.
bool Replace(const std::filesystem::path& file, const std::string& text) {
  std::filesystem::path temporary = file;
  temporary += ".tmp";
  std::error_code ec;
  if (WriteAll(temporary, text)) {
    std::filesystem::rename(temporary, file, ec);
    if (!ec) return true;
  }
  std::filesystem::remove(temporary, ec);
  return WriteAll(file, text);
}

std::string CannotWrite(const std::filesystem::path& file) {
  return "No se pudo escribir el estado de la ejecución en " + file.string();
}

}  // namespace

std::filesystem::path StatusFilePath() { return StatusFilePath(ExecutableDirectory()); }

std::filesystem::path StatusFilePath(const std::filesystem::path& executable_dir) {
  return executable_dir / kStatusFileName;
}

bool WriteRunStatus(const std::filesystem::path& file, int run_status, std::string& error) {
  try {
    std::string existing;
    if (!ReadExisting(file, existing)) {
      error = "No se pudo leer el archivo de estado " + file.string();
      return false;
    }
    const bool had_signature = existing.rfind(kUtf8Signature, 0) == 0;

    CSimpleIniA ini;
    ini.SetSpaces(false);
    if (ini.LoadData(existing) < 0) {
      error = "No se pudo interpretar el archivo de estado " + file.string();
      return false;
    }
    ini.SetLongValue(kSection, kKey, run_status);

    std::string updated;
    if (ini.Save(updated, had_signature) < 0 || !Replace(file, updated)) {
      error = CannotWrite(file);
      return false;
    }
    return true;
  } catch (const std::exception&) {
    error = CannotWrite(file);
    return false;
  }
}

}  // namespace enlacor
