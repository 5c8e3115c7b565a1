// Fault injection through the real enlacor-cli: a workspace that is missing,
// read-only or blocked, tables held by another process, a disk that fills up,
// a process killed while it saves, a damaged SOLUC, and hostile exchange
// documents. Every case must end with exit status 1 and a message that names
// the file or table, never report "Proceso finalizado", and lose nothing: the
// input document, SOLUC and an earlier result stay as they were.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "exchange/dbf_table.h"
#include "exchange/timetable_tables.h"
#include "support/temp_dir.h"

namespace enlacor {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

const fs::path kSample = fs::path(ENLACOR_SOURCE_DIR) / "samples" / "escuela-ejemplo.xml";
const fs::path kCli = fs::path(ENLACOR_BIN_DIR) / "enlacor-cli";
const fs::path kStandin = fs::path(ENLACOR_BIN_DIR) / "horvana-standin";
constexpr char kFinished[] = "Proceso finalizado";
constexpr uid_t kNobody = 65534;

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// Every regular file of `dir` with its bytes.
std::map<std::string, std::string> Snapshot(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& item : fs::directory_iterator(dir)) {
    if (item.is_regular_file()) files[item.path().filename().string()] = ReadFile(item.path());
  }
  return files;
}

// Limits the child runs under; each is off unless set.
struct ChildLimits {
  std::optional<rlim_t> file_size{};    // bytes; SIGXFSZ is ignored so writes fail with EFBIG
  std::optional<rlim_t> address_space{};  // bytes
  bool as_nobody = false;               // drop root, so that permissions apply
};

struct Outcome {
  int status = -1;  // exit status; -1 when ended by a signal
  int signal = 0;
  std::string out;
  std::string err;
};

// Starts enlacor-cli with `args`, stdout and stderr going to files in
// `scratch`, under `limits`.
pid_t Start(const std::vector<std::string>& args, const fs::path& scratch, const ChildLimits& limits) {
  const std::string out = (scratch / "out").string(), err = (scratch / "err").string();
  std::vector<std::string> argv_text{kCli.string()};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argv_text) argv.push_back(arg.data());
  argv.push_back(nullptr);

  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  // The child: only async-signal-safe calls from here to exec.
  const int out_fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  const int err_fd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (out_fd < 0 || err_fd < 0 || ::dup2(out_fd, 1) < 0 || ::dup2(err_fd, 2) < 0) ::_exit(120);
  if (limits.file_size) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{*limits.file_size, *limits.file_size};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(121);
  }
  if (limits.address_space) {
    const rlimit limit{*limits.address_space, *limits.address_space};
    if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(122);
  }
  if (limits.as_nobody && ::geteuid() == 0 && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ::_exit(123);
  ::execv(argv[0], argv.data());
  ::_exit(124);
}

Outcome Wait(pid_t pid, const fs::path& scratch) {
  int raw = 0;
  while (::waitpid(pid, &raw, 0) < 0 && errno == EINTR) {
  }
  Outcome outcome;
  if (WIFEXITED(raw)) outcome.status = WEXITSTATUS(raw);
  if (WIFSIGNALED(raw)) outcome.signal = WTERMSIG(raw);
  outcome.out = ReadFile(scratch / "out");
  outcome.err = ReadFile(scratch / "err");
  return outcome;
}

ino_t InodeOf(const fs::path& file) {
  struct stat info {};
  return ::stat(file.c_str(), &info) == 0 ? info.st_ino : 0;
}

std::string Describe(const Outcome& o) {
  return "status " + std::to_string(o.status) + ", signal " + std::to_string(o.signal) + "\nout: " + o.out +
         "\nerr: " + o.err;
}

// A failed run: exit status 1, a message naming `name`, never reported as
// finished.
void ExpectFailureNaming(const Outcome& o, const std::string& name) {
  EXPECT_EQ(o.status, 1) << Describe(o);
  EXPECT_NE(o.err.find(name), std::string::npos) << "the message does not name " << name << "\n" << Describe(o);
  EXPECT_EQ(o.out.find(kFinished), std::string::npos) << Describe(o);
}

// A school exported into its workspace, Horvana's SOLUC beside the tables,
// the document in its own folder, and an earlier import's result.
class FaultInjectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(kCli)) << kCli;
    fs::create_directories(workspace());
    fs::create_directories(documents());
    fs::copy_file(kSample, document());
    ASSERT_EQ(Run(ExportArgs()).status, 0);
    ASSERT_EQ(std::system(("'" + kStandin.string() + "' '" + workspace().string() + "' >/dev/null").c_str()), 0);
    ASSERT_EQ(Run(ImportArgs()).status, 0);
    earlier_result_ = ReadFile(Result());
  }

  fs::path workspace() const { return dir_ / "htemp"; }
  fs::path documents() const { return dir_ / "escolia"; }
  fs::path document() const { return documents() / "centro.xml"; }
  fs::path Result() const { return documents() / "ResultadoHorvanacentro.xml"; }
  fs::path Table(const std::string& name) const { return workspace() / (name + ".DBF"); }

  std::vector<std::string> ExportArgs(const fs::path& doc = {}) const {
    return {"export", (doc.empty() ? document() : doc).string(), "--workspace", workspace().string(), "--frames",
            "MANANA,TARDE"};
  }
  std::vector<std::string> ImportArgs(const fs::path& doc = {}) const {
    return {"import", (doc.empty() ? document() : doc).string(), "--workspace", workspace().string()};
  }

  Outcome Run(const std::vector<std::string>& args, const ChildLimits& limits = {}) {
    return Wait(Start(args, scratch_.path(), limits), scratch_.path());
  }

  // The workspace, the document and the earlier result as they stood before
  // the fault.
  void ExpectNothingLost(const std::map<std::string, std::string>& tables_before) {
    EXPECT_EQ(Snapshot(workspace()), tables_before) << "a table changed";
    EXPECT_EQ(ReadFile(document()), ReadFile(kSample));
    EXPECT_EQ(ReadFile(Result()), earlier_result_) << "the earlier result changed";
    ExpectNoTemporaryFiles();
  }

  void ExpectNoTemporaryFiles() {
    for (const auto& item : fs::directory_iterator(documents()))
      EXPECT_NE(item.path().extension(), ".tmp") << "left behind: " << item.path();
  }

  // Whether a child can run without root's privileges (as root, permissions
  // would not stop it); true when the test does not run as root.
  static bool CanDropRoot() {
    if (::geteuid() != 0) return true;
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(::setgid(kNobody) == 0 && ::setuid(kNobody) == 0 ? 0 : 1);
    int raw = 0;
    ::waitpid(pid, &raw, 0);
    return WIFEXITED(raw) && WEXITSTATUS(raw) == 0;
  }

  // Lets the unprivileged child write where the run normally writes.
  void OpenUpForNobody() {
    for (const fs::path& p : {dir_.path(), workspace(), documents(), scratch_.path()})
      fs::permissions(p, fs::perms::all);
    for (const fs::path& folder : {workspace(), documents(), scratch_.path()})
      for (const auto& item : fs::directory_iterator(folder)) fs::permissions(item.path(), fs::perms::all);
  }

  TempDir dir_;
  TempDir scratch_;
  std::string earlier_result_;
};

TEST_F(FaultInjectionTest, MissingWorkspaceStopsBothRuns) {
  const fs::path missing = dir_ / "no-existe";
  for (std::vector<std::string> args : {ExportArgs(), ImportArgs()}) {
    args[3] = missing.string();
    ExpectFailureNaming(Run(args), missing.string());
  }
  EXPECT_FALSE(fs::exists(missing));
  EXPECT_EQ(ReadFile(Result()), earlier_result_);
}

// A table file that cannot be deleted or replaced: a folder of its name, or
// a read-only workspace (the child then runs without root's privileges,
// which ignore permissions).
TEST_F(FaultInjectionTest, TableThatCannotBeReplacedStopsTheExport) {
  fs::remove(Table("AULAT"));
  fs::create_directories(Table("AULAT") / "dentro");
  const Outcome blocked = Run(ExportArgs());
  ExpectFailureNaming(blocked, "AULAT");

  fs::remove_all(Table("AULAT"));
  ASSERT_EQ(Run(ExportArgs()).status, 0);
  if (!CanDropRoot()) GTEST_SKIP() << "running as root without the right to drop it: a read-only workspace cannot be made";
  OpenUpForNobody();
  fs::permissions(workspace(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
  const auto before = Snapshot(workspace());
  const Outcome read_only = Run(ExportArgs(), {.as_nobody = true});
  ExpectFailureNaming(read_only, "ASIGNOMT");
  EXPECT_EQ(Snapshot(workspace()), before) << "a table of a read-only workspace changed";
}

TEST_F(FaultInjectionTest, ResultFolderThatCannotBeWrittenStopsTheImport) {
  if (!CanDropRoot()) GTEST_SKIP() << "running as root without the right to drop it: a read-only folder cannot be made";
  OpenUpForNobody();
  fs::permissions(documents(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                   fs::perms::others_exec);
  const auto before = Snapshot(workspace());
  ExpectFailureNaming(Run(ImportArgs(), {.as_nobody = true}), Result().string());
  ExpectNothingLost(before);
}

// Another program (here, this test process) holds one table open for
// exclusive use while the run starts.
TEST_F(FaultInjectionTest, TableHeldByAnotherProgramStopsTheRun) {
  struct Case {
    const char* command;
    const char* table;
  };
  for (const Case c : {Case{"import", "SOLUC"}, Case{"import", "PROFT"}, Case{"import", "ASIGT"},
                       Case{"export", "ASIGNOMT"}, Case{"export", "DIASHORAST"}}) {
    SCOPED_TRACE(std::string(c.command) + " with " + c.table + " held");
    const auto before = Snapshot(workspace());
    const ino_t held_inode = InodeOf(Table(c.table));
    DbfTable holder = DbfTable::Open(Table(c.table), OpenMode::kExclusive);
    const bool is_import = std::string(c.command) == "import";
    const Outcome o = Run(is_import ? ImportArgs() : ExportArgs());
    ExpectFailureNaming(o, c.table);
    EXPECT_NE(o.err.find("en uso"), std::string::npos) << o.err;
    ASSERT_TRUE(fs::exists(Table(c.table))) << "the held table was deleted under its holder";
    EXPECT_EQ(InodeOf(Table(c.table)), held_inode) << "the held table was replaced under its holder";
    EXPECT_EQ(ReadFile(Table(c.table)), before.at(c.table + std::string(".DBF")));
    holder.Close();
    // Neither run touches any table: the export checks every table before
    // it deletes the first, so a held DIASHORAST leaves ASIGNOMT as it was.
    ExpectNothingLost(before);
  }
}

// The disk fills up: every write beyond the limit fails with EFBIG.
TEST_F(FaultInjectionTest, DiskFullWhileWritingATableStopsTheExport) {
  const std::string soluc = ReadFile(Table("SOLUC"));
  // ASIGNOMT, the first table written, outgrows the limit first.
  ExpectFailureNaming(Run(ExportArgs(), {.file_size = 1024}), "ASIGNOMT");
  EXPECT_EQ(ReadFile(Table("SOLUC")), soluc);
}

TEST_F(FaultInjectionTest, DiskFullWhileSavingTheResultKeepsTheEarlierOne) {
  ASSERT_GT(earlier_result_.size(), 4096u);
  const auto before = Snapshot(workspace());
  ExpectFailureNaming(Run(ImportArgs(), {.file_size = 4096}), Result().string());
  ExpectNothingLost(before);
}

// The import is killed while the result is being saved: the result file is
// either the earlier one or the whole new one, never a part.
class KilledImportTest : public FaultInjectionTest {
 protected:
  // A carrier document large enough for its save to take a while.
  void SetUp() override {
    FaultInjectionTest::SetUp();
    std::string text = ReadFile(kSample);
    const std::size_t at = text.find("</CABECERA>");
    ASSERT_NE(at, std::string::npos);
    text.insert(at, "<RELLENO>" + std::string(8 << 20, 'x') + "</RELLENO>");
    WriteFile(document(), text);
    ASSERT_EQ(Run(ImportArgs()).status, 0);
    complete_result_ = ReadFile(Result());
    WriteFile(Result(), earlier_result_);
  }

  bool TemporaryFileExists() {
    for (const auto& item : fs::directory_iterator(documents()))
      if (item.path().extension() == ".tmp") return true;
    return false;
  }

  void ExpectWholeResult() {
    const std::string now = ReadFile(Result());
    EXPECT_TRUE(now == earlier_result_ || now == complete_result_)
        << "the result file holds " << now.size() << " bytes, neither the earlier nor the whole new result";
  }

  void RemoveTemporaryFiles() {
    for (const auto& item : fs::directory_iterator(documents()))
      if (item.path().extension() == ".tmp") fs::remove(item.path());
  }

  std::string complete_result_;
};

TEST_F(KilledImportTest, KilledOnceTheTemporaryFileAppears) {
  const pid_t pid = Start(ImportArgs(), scratch_.path(), {});
  bool seen = false;
  for (int i = 0; i < 200000 && !seen; ++i) {
    seen = TemporaryFileExists();
    if (!seen) {
      int raw;
      if (::waitpid(pid, &raw, WNOHANG) == pid) break;
      std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
  }
  ::kill(pid, SIGKILL);
  Wait(pid, scratch_.path());
  if (!seen) GTEST_SKIP() << "the save ended before its temporary file could be seen";
  ExpectWholeResult();
}

TEST_F(KilledImportTest, KilledAtRandomPointsOfTheRun) {
  const auto start = std::chrono::steady_clock::now();
  ASSERT_EQ(Run(ImportArgs()).status, 0);
  const auto whole_run = std::chrono::steady_clock::now() - start;
  WriteFile(Result(), earlier_result_);

  std::mt19937 random(12345);
  const auto before = Snapshot(workspace());
  for (int round = 0; round < 6; ++round) {
    WriteFile(Result(), earlier_result_);
    const auto delay = whole_run * std::uniform_real_distribution<double>(0.3, 1.0)(random);
    const pid_t pid = Start(ImportArgs(), scratch_.path(), {});
    std::this_thread::sleep_for(delay);
    ::kill(pid, SIGKILL);
    Wait(pid, scratch_.path());
    ExpectWholeResult();
    RemoveTemporaryFiles();
  }
  EXPECT_EQ(Snapshot(workspace()), before);
}

// SOLUC as Horvana might leave it after a failure of its own.
TEST_F(FaultInjectionTest, BadSolucStopsTheImport) {
  const std::string good = ReadFile(Table("SOLUC"));
  struct Case {
    const char* what;
    std::function<void()> make;
  };
  const std::vector<Case> cases{
      {"missing", [&] { fs::remove(Table("SOLUC")); }},
      {"empty", [&] { WriteFile(Table("SOLUC"), ""); }},
      {"cut inside its header", [&] { WriteFile(Table("SOLUC"), good.substr(0, 40)); }},
      {"cut inside its records", [&] { WriteFile(Table("SOLUC"), good.substr(0, good.size() - 100)); }},
      {"not a table", [&] { WriteFile(Table("SOLUC"), std::string(600, '\x7f')); }},
      {"without MARCO",
       [&] {
         fs::remove(Table("SOLUC"));
         const ColumnDef columns[] = {{"ASIG", ColumnType::kText, 4},   {"PROF", ColumnType::kText, 4},
                                      {"CODGRUPO", ColumnType::kText, 4}, {"AULA", ColumnType::kText, 4},
                                      {"TAREA", ColumnType::kText, 4},  {"DIA", ColumnType::kFloat},
                                      {"HORA", ColumnType::kFloat}};
         DbfTable::Create(Table("SOLUC"), columns);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(Table("SOLUC"), good);
    c.make();
    const auto before = Snapshot(workspace());
    const Outcome o = Run(ImportArgs());
    ExpectFailureNaming(o, "SOLUC");
    ExpectNothingLost(before);
  }
}

// Hostile exchange documents, each run under a 2 GB address-space limit.
class HostileDocumentTest : public FaultInjectionTest {
 protected:
  static constexpr rlim_t kMemory = rlim_t{2} << 30;

  fs::path Write(const std::string& name, const std::string& bytes) {
    const fs::path file = documents() / name;
    WriteFile(file, bytes);
    return file;
  }
};

// The sample school with a DOCTYPE whose entity e10 would expand to 10^10
// characters, used as the first room's name.
std::string EntityBomb() {
  std::string doctype = "<!DOCTYPE SERVICIO [<!ENTITY e0 \"ja\">";
  for (int i = 1; i <= 10; ++i) {
    doctype += "<!ENTITY e" + std::to_string(i) + " \"";
    for (int k = 0; k < 10; ++k) doctype += "&e" + std::to_string(i - 1) + ";";
    doctype += "\">";
  }
  doctype += "]>\n";
  std::string text = ReadFile(kSample);
  text.insert(text.find("<SERVICIO"), doctype);
  text.replace(text.find("Aula 1.01"), 9, "&e10;");
  return text;
}

TEST_F(HostileDocumentTest, BadDocumentsEndInAnErrorNamingTheFile) {
  const std::string sample = ReadFile(kSample);
  std::string open, close;
  for (int i = 0; i < 1000000; ++i) open += "<a>", close += "</a>";
  const std::vector<std::pair<std::string, std::string>> cases{
      {"vacio.xml", ""},
      {"cortado.xml", sample.substr(0, sample.size() / 2)},
      {"texto.xml", "Esto no es un documento XML.\n"},
      {"binario.xml", std::string("\x00\x01\x02\xff\xfe", 5)},
      {"codificacion.xml", "<?xml version=\"1.0\" encoding=\"KLINGON-8\"?><SERVICIO><SALIDAS/></SERVICIO>"},
      {"anidado-abierto.xml", "<SERVICIO>" + open},
      {"anidado.xml", "<SERVICIO><SALIDAS>" + open + close + "</SALIDAS></SERVICIO>"},
  };
  const auto before = Snapshot(workspace());
  for (const auto& [name, bytes] : cases) {
    SCOPED_TRACE(name);
    const fs::path file = Write(name, bytes);
    for (const auto& args : {ExportArgs(file), ImportArgs(file)}) {
      const Outcome o = Run(args, {.address_space = kMemory});
      ExpectFailureNaming(o, name);
    }
    EXPECT_FALSE(fs::exists(documents() / ("ResultadoHorvana" + name)));
    fs::remove(file);
  }
  ExpectNothingLost(before);
}

TEST_F(HostileDocumentTest, EntityBombIsNotExpanded) {
  const fs::path file = Write("bomba.xml", EntityBomb());
  const Outcome o = Run(ExportArgs(file), {.address_space = kMemory});
  EXPECT_EQ(o.status, 0) << Describe(o);
  DbfTable rooms = DbfTable::Open(Table("AULAT"), OpenMode::kShared);
  EXPECT_EQ(rooms.GetText("NOMBRE"), "&e10;");
}

TEST_F(HostileDocumentTest, HundredMegabyteDocumentExports) {
  std::string text = ReadFile(kSample);
  const std::size_t at = text.find("</CABECERA>");
  text.insert(at, "<RELLENO>" + std::string(100 << 20, 'x') + "</RELLENO>");
  const fs::path file = Write("grande.xml", text);
  text.clear();
  text.shrink_to_fit();
  const Outcome o = Run(ExportArgs(file), {.address_space = kMemory});
  fs::remove(file);
  EXPECT_EQ(o.status, 0) << Describe(o);
  EXPECT_NE(o.out.find(kFinished), std::string::npos) << Describe(o);
}

}  // namespace
}  // namespace enlacor
