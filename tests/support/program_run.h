// Running a built program from a test through the shell, with its output
// captured in files: for the tests that exercise enlacor-cli end to end.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace enlacor::testing {

// `text` quoted for the POSIX shell.
inline std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += (c == '\'') ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct ProgramResult {
  int status;  // the exit status; -1 when the program did not exit normally
  std::string out;
  std::string err;
};

// Runs `command` followed by the quoted `args`, with standard output and
// error sent to files in `scratch`.
inline ProgramResult RunProgram(const std::string& command, const std::vector<std::string>& args,
                                const std::filesystem::path& scratch) {
  std::string line = command;
  for (const auto& arg : args) line += " " + ShellQuote(arg);
  line += " >" + ShellQuote((scratch / "out").string()) + " 2>" + ShellQuote((scratch / "err").string());
  const int raw = std::system(line.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(scratch / "out"), ReadFile(scratch / "err")};
}

// The built enlacor-cli, quoted for the shell.
inline std::string EnlacorCli() {
  return ShellQuote((std::filesystem::path(ENLACOR_BIN_DIR) / "enlacor-cli").string());
}

}  // namespace enlacor::testing
