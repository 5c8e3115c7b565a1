// Automation mode end to end, under a private Xvfb server: the real
// program embeds itself in a window of the test's own (an xev window),
// runs, answers to the keyboard and mouse (xdotool) and leaves its status
// in Horvana.ini beside a private copy of the executable.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "support/temp_dir.h"

namespace enlacor {
namespace {

using namespace std::chrono_literals;
using testing::TempDir;

constexpr char kSample[] = ENLACOR_SOURCE_DIR "/samples/escuela-ejemplo.xml";
constexpr char kCaption[] = "Exportar e importar datos entre Horvana y Escolia ";
constexpr auto kPatience = 15s;

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool OnPath(const std::string& tool) {
  return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// A child process with its own environment additions and output file.
class Child {
 public:
  Child(std::vector<std::string> argv, const std::map<std::string, std::string>& env,
        const std::filesystem::path& output) {
    pid_ = fork();
    if (pid_ != 0) return;
    for (const auto& [name, value] : env) setenv(name.c_str(), value.c_str(), 1);
    const int fd = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, 1);
    dup2(fd, 2);
    std::vector<char*> args;
    for (auto& arg : argv) args.push_back(arg.data());
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  ~Child() {
    if (running()) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  bool running() {
    if (exited_) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) exited_ = true;
    return !exited_;
  }
  // Whether the process ended by itself within `patience`.
  bool WaitForExit(std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (running() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(50ms);
    return !running();
  }

 private:
  pid_t pid_ = -1;
  bool exited_ = false;
};

class AutomationUnderXvfb : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!OnPath("Xvfb")) GTEST_SKIP() << "Xvfb is not installed: the end-to-end test cannot run";
    for (const char* tool : {"xdotool", "xev", "xwininfo"}) ASSERT_TRUE(OnPath(tool)) << tool;
    StartDisplay();
    StartHostWindow();
    std::filesystem::create_directories(bin_dir_);
    std::filesystem::create_directories(workspace_ / "escolia");
    std::filesystem::copy_file(ENLACOR_BIN_DIR "/enlacor", bin_dir_ / "enlacor");
    std::filesystem::copy_file(kSample, Document());
  }

  std::filesystem::path Document() const { return workspace_ / "escolia" / "escuela.xml"; }
  std::filesystem::path StatusFile() const { return bin_dir_ / "Horvana.ini"; }

  std::unique_ptr<Child> StartProgram(const std::string& keyword, const std::string& handle) {
    return std::make_unique<Child>(
        std::vector<std::string>{(bin_dir_ / "enlacor").string(), keyword, handle},
        std::map<std::string, std::string>{{"DISPLAY", display_},
                                           {"QT_QPA_PLATFORM", "xcb"},
                                           {"ENLACOR_WORKSPACE", workspace_.string()}},
        temp_ / "enlacor.log");
  }

  // Runs an X client on the test's display; its standard output.
  std::string X(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(("DISPLAY=" + display_ + " " + command + " 2>/dev/null").c_str(), "r")) {
      char buffer[4096];
      while (std::size_t n = fread(buffer, 1, sizeof buffer, pipe)) output.append(buffer, n);
      pclose(pipe);
    }
    return output;
  }

  // The id of the window with this exact name, once it shows.
  std::string WaitForWindow(const std::string& name) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
      std::istringstream ids(X("xdotool search --onlyvisible --name '^" + name + "$'"));
      std::string id;
      if (ids >> id) return id;
      std::this_thread::sleep_for(100ms);
    }
    ADD_FAILURE() << "no window \"" << name << "\" appeared\n" << ReadFile(temp_ / "enlacor.log");
    return "";
  }

  // Focuses the window and sends it keys or text, as a person would.
  void Keys(const std::string& window, const std::string& keys) {
    X("xdotool windowfocus --sync " + window);
    std::this_thread::sleep_for(200ms);
    X("xdotool " + keys);
  }

  void AnswerFileDialog(const std::string& typed_path) {
    const std::string dialog = WaitForWindow("Archivo XML");
    Keys(dialog, "type --delay 5 '" + typed_path + "'");
    X("xdotool key Return");
  }

  void AnswerMessage() { Keys(WaitForWindow("Enlacor"), "key Return"); }

  std::string host_;  // the test's own window, in hexadecimal without prefix

 private:
  void StartDisplay() {
    int number = 90 + getpid() % 100;
    while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number))) ++number;
    display_ = ":" + std::to_string(number);
    xvfb_ = std::make_unique<Child>(
        std::vector<std::string>{"Xvfb", display_, "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
        std::map<std::string, std::string>{}, temp_ / "xvfb.log");
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (X("xwininfo -root").empty() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(100ms);
    ASSERT_FALSE(X("xwininfo -root").empty()) << "Xvfb did not start: " << ReadFile(temp_ / "xvfb.log");
  }

  void StartHostWindow() {
    const auto log = temp_ / "xev.log";
    host_window_ = std::make_unique<Child>(
        std::vector<std::string>{"xev", "-geometry", "700x320+10+10", "-name", "horvana-host"},
        std::map<std::string, std::string>{{"DISPLAY", display_}}, log);
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
      const std::string text = ReadFile(log);
      if (const auto at = text.find("Outer window is 0x"); at != std::string::npos) {
        std::istringstream(text.substr(at + 18)) >> host_;
        if (!host_.empty() && host_.back() == ',') host_.pop_back();
        return;
      }
      std::this_thread::sleep_for(50ms);
    }
    FAIL() << "the host window did not open";
  }

 protected:
  TempDir temp_;
  std::filesystem::path bin_dir_ = temp_.path() / "bin";
  std::filesystem::path workspace_ = temp_.path() / "htemp";
  std::string display_;
  std::unique_ptr<Child> xvfb_;
  std::unique_ptr<Child> host_window_;
};

TEST_F(AutomationUnderXvfb, ExportEmbeddedRunsAndLeavesStatus1) {
  std::ofstream(StatusFile()) << "[Horvana]\nVersion=7\n\n[Transformadores]\nOtra=5\nTransformado=0\n";
  auto program = StartProgram("exportar", host_);

  AnswerFileDialog(Document().string());
  const std::string children = X("xwininfo -children -id 0x" + host_);
  EXPECT_NE(children.find(kCaption), std::string::npos) << "not embedded:\n" << children;

  // Two time frames: pick the first in the frame list, then "Continuar".
  const std::string frames = WaitForWindow("Planillas, Marcos o Jornadas Horarias");
  X("xdotool mousemove --window " + frames + " 40 110 click 1");
  Keys(frames, "key Return");
  AnswerMessage();

  ASSERT_TRUE(program->WaitForExit(kPatience)) << "the program did not end by itself";
  for (const char* table : {"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT", "DIASHORAST"})
    EXPECT_TRUE(std::filesystem::exists(workspace_ / (std::string(table) + ".DBF"))) << table;
  const std::string status = ReadFile(StatusFile());
  EXPECT_NE(status.find("Transformado=1"), std::string::npos) << status;
  EXPECT_EQ(status.find("Transformado=0"), std::string::npos) << status;
  for (const char* kept : {"[Horvana]", "Version=7", "Otra=5"})
    EXPECT_NE(status.find(kept), std::string::npos) << kept << " lost:\n" << status;
}

TEST_F(AutomationUnderXvfb, CancelledDialogLeavesStatusMinus1) {
  auto program = StartProgram("EXPORTAR", host_);
  Keys(WaitForWindow("Archivo XML"), "key Escape");
  AnswerMessage();  // "No existe archivo"
  ASSERT_TRUE(program->WaitForExit(kPatience)) << "the program did not end by itself";
  EXPECT_NE(ReadFile(StatusFile()).find("Transformado=-1"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(workspace_ / "PROFT.DBF"));
}

TEST_F(AutomationUnderXvfb, UnreadableHandleStaysUnembeddedWithoutStatus) {
  auto program = StartProgram("exportar", "zz");
  AnswerMessage();  // '$zz' is not a valid integer value.
  Keys(WaitForWindow("Archivo XML"), "key Escape");
  AnswerMessage();  // "No existe archivo"; the window stays open

  const std::string window = WaitForWindow(kCaption);
  EXPECT_EQ(X("xwininfo -children -id 0x" + host_).find(kCaption), std::string::npos);
  EXPECT_NE(X("xwininfo -root -children").find(kCaption), std::string::npos);
  Keys(window, "key alt+s");
  ASSERT_TRUE(program->WaitForExit(kPatience)) << "Alt+S did not end the program";
  EXPECT_FALSE(std::filesystem::exists(StatusFile()));
}

}  // namespace
}  // namespace enlacor
