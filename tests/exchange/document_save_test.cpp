#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "exchange/exchange_document.h"
#include "support/temp_dir.h"

namespace enlacor {
namespace {

using ::testing::HasSubstr;

std::vector<std::string> ChildNames(pugi::xml_node node) {
  std::vector<std::string> names;
  for (pugi::xml_node child : node.children()) {
    if (child.type() == pugi::node_element) names.push_back(child.name());
  }
  return names;
}

TEST(ResultDocumentTest, SingleSectionIsReplacedByANewLastOne) {
  ExchangeDocument document = ExchangeDocument::Parse(
      "<SERVICIO a=\"1\"><X/><SALIDAS><listasal seq=\"MATERIAS\"/></SALIDAS><Y/></SERVICIO>");
  const pugi::xml_node section = document.ReplaceOutputSection();
  const pugi::xml_node root = section.parent();
  EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"X", "Y", "SALIDAS"}));
  EXPECT_EQ(section, root.last_child());
  EXPECT_FALSE(section.first_child());
  EXPECT_STREQ(root.attribute("a").value(), "1");
  EXPECT_EQ(document.Serialize(), "<SERVICIO a=\"1\"><X/><Y/><SALIDAS/></SERVICIO>");
}

TEST(ResultDocumentTest, WithTwoSectionsTheSecondReceivesTheOutput) {
  ExchangeDocument document = ExchangeDocument::Parse(
      "<SERVICIO><SALIDAS n=\"1\"/><SALIDAS n=\"2\"><viejo/></SALIDAS></SERVICIO>");
  const pugi::xml_node section = document.ReplaceOutputSection();
  EXPECT_STREQ(section.attribute("n").value(), "2");
  ExchangeDocument::AppendElement(section, "salida", "dato", "CN_ERROR", "0");
  EXPECT_EQ(document.Serialize(),
            "<SERVICIO><SALIDAS n=\"2\"><viejo/><salida dato=\"CN_ERROR\">0</salida></SALIDAS>"
            "<SALIDAS/></SERVICIO>");
}

TEST(ResultDocumentTest, NoSectionToReplaceIsAnError) {
  ExchangeDocument document = ExchangeDocument::Parse("<SERVICIO><OTRO/></SERVICIO>", "centro.xml");
  try {
    document.ReplaceOutputSection();
    FAIL() << "no error";
  } catch (const DocumentError& e) {
    EXPECT_THAT(e.what(), HasSubstr("centro.xml"));
    EXPECT_THAT(e.what(), HasSubstr("SALIDAS"));
  }
}

TEST(ResultDocumentTest, AppendedElementsCarryOneAttributeAndTheirText) {
  ExchangeDocument document = ExchangeDocument::Parse("<SERVICIO><SALIDAS/></SERVICIO>");
  const pugi::xml_node section = document.ReplaceOutputSection();
  const pugi::xml_node filled =
      ExchangeDocument::AppendElement(section, "salida", "dato", "A", "x y");
  const pugi::xml_node empty = ExchangeDocument::AppendElement(section, "salida", "dato", "B", "");
  for (const pugi::xml_node& element : {filled, empty}) {
    EXPECT_EQ(std::distance(element.attributes_begin(), element.attributes_end()), 1);
    EXPECT_STREQ(element.first_attribute().name(), "dato");
  }
  EXPECT_STREQ(filled.text().get(), "x y");
  EXPECT_FALSE(empty.first_child());
  EXPECT_THROW(ExchangeDocument::AppendElement(pugi::xml_node(), "salida", "dato", "C"),
               DocumentError);
}

TEST(ResultDocumentTest, ResultFileNameJoinsPrefixAndFileName) {
  EXPECT_EQ(ExchangeDocument::ResultFileName("/datos/centro.xml"),
            std::filesystem::path("/datos/ResultadoHorvanacentro.xml"));
  EXPECT_EQ(ExchangeDocument::ResultFileName("centro.xml"),
            std::filesystem::path("ResultadoHorvanacentro.xml"));
}

std::string Contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> FileNames(const std::filesystem::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A result document larger than the file size limit of the tests below.
ExchangeDocument LargeResult() {
  ExchangeDocument document =
      ExchangeDocument::Parse("<SERVICIO><SALIDAS/>" + std::string(100000, 'x') + "</SERVICIO>");
  document.ReplaceOutputSection();
  return document;
}

class DocumentSaveTest : public ::testing::Test {
 protected:
  DocumentSaveTest() : document_(LargeResult()) {}
  testing::TempDir dir_;
  ExchangeDocument document_;
};

TEST_F(DocumentSaveTest, ReplacesAnEarlierResultAndLeavesNoTemporaryFile) {
  const auto target = dir_ / "ResultadoHorvanacentro.xml";
  std::ofstream(target) << "anterior";
  document_.Save(target);
  EXPECT_EQ(Contents(target), document_.Serialize());
  EXPECT_EQ(FileNames(dir_.path()), std::vector<std::string>{"ResultadoHorvanacentro.xml"});
}

TEST_F(DocumentSaveTest, NeverWritesTheLoadedFile) {
  const auto input = dir_ / "centro.xml";
  std::ofstream(input) << "<SERVICIO><SALIDAS/></SERVICIO>";
  ExchangeDocument loaded = ExchangeDocument::Load(input);
  loaded.ReplaceOutputSection();
  EXPECT_THROW(loaded.Save(input), DocumentError);
  EXPECT_EQ(Contents(input), "<SERVICIO><SALIDAS/></SERVICIO>");
}

// Restores a resource limit and a signal disposition when it goes away.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
    saved_handler_ = std::signal(SIGXFSZ, SIG_IGN);  // a failed write instead of a signal
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, saved_handler_);
  }

 private:
  rlimit saved_;
  void (*saved_handler_)(int);
};

TEST_F(DocumentSaveTest, FailedSaveKeepsTheEarlierFileAndRemovesTheTemporary) {
  const struct {
    const char* label;
    std::filesystem::path target;
    std::function<std::unique_ptr<FileSizeLimit>(const std::filesystem::path&)> prepare;
  } cases[] = {
      {"missing directory", dir_ / "falta" / "ResultadoHorvanacentro.xml", nullptr},
      {"target is a directory", dir_ / "carpeta",
       [](const std::filesystem::path& target) {
         std::filesystem::create_directories(target / "dentro");
         return nullptr;
       }},
      {"write fails", dir_ / "ResultadoHorvanacentro.xml",
       [](const std::filesystem::path& target) {
         std::ofstream(target) << "anterior";
         return std::make_unique<FileSizeLimit>(1000);
       }},
      {"read-only directory", dir_ / "solo-lectura" / "ResultadoHorvanacentro.xml",
       [](const std::filesystem::path& target) {
         std::filesystem::create_directories(target.parent_path());
         std::ofstream(target) << "anterior";
         std::filesystem::permissions(target.parent_path(), std::filesystem::perms::owner_read |
                                                                std::filesystem::perms::owner_exec);
         return nullptr;
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    if (std::string(c.label) == "read-only directory" && geteuid() == 0) {
      std::cout << "[ SKIPPED  ] read-only directory: permissions do not bind the superuser\n";
      continue;
    }
    std::unique_ptr<FileSizeLimit> limit = c.prepare ? c.prepare(c.target) : nullptr;
    const std::string before = std::filesystem::is_regular_file(c.target) ? Contents(c.target) : "";
    const auto names_before = std::filesystem::exists(c.target.parent_path())
                                  ? FileNames(c.target.parent_path())
                                  : std::vector<std::string>{};
    try {
      document_.Save(c.target);
      ADD_FAILURE() << "saved";
    } catch (const DocumentError& e) {
      EXPECT_THAT(e.what(), HasSubstr(c.target.string()));
    }
    limit.reset();
    if (std::filesystem::is_regular_file(c.target)) {
      EXPECT_EQ(Contents(c.target), before);
    }
    if (std::filesystem::exists(c.target.parent_path())) {
      EXPECT_EQ(FileNames(c.target.parent_path()), names_before);
    }
  }
}

}  // namespace
}  // namespace enlacor
