#include "app/core/status_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "support/temp_dir.h"

namespace enlacor {
namespace {

using testing::TempDir;

std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

TEST(StatusFileTest, PathIsBesideTheExecutable) {
  EXPECT_EQ(StatusFilePath("/opt/enlacor"), std::filesystem::path("/opt/enlacor/Horvana.ini"));
  const auto path = StatusFilePath();
  EXPECT_EQ(path.filename(), "Horvana.ini");
  EXPECT_TRUE(std::filesystem::exists(path.parent_path() / "test_app") ||
              std::filesystem::exists(path.parent_path() / "test_app.exe"))
      << path;
}

TEST(StatusFileTest, CreatesAMissingFile) {
  TempDir dir;
  const auto file = dir / "Horvana.ini";
  for (int status : {1, -1, 0}) {
    std::filesystem::remove(file);
    std::string error;
    ASSERT_TRUE(WriteRunStatus(file, status, error)) << error;
    EXPECT_EQ(ReadFile(file), "[Transformadores]\nTransformado=" + std::to_string(status) + "\n");
  }
}

TEST(StatusFileTest, ChangesOnlyTheRunStatus) {
  TempDir dir;
  const auto file = dir / "Horvana.ini";
  WriteFile(file,
            "; Configuración de Horvana\n"
            "\n"
            "[General]\n"
            "; carpeta de datos\n"
            "Datos=C:\\HTEMP\n"
            "Idioma=es\n"
            "\n"
            "[Transformadores]\n"
            "; último resultado\n"
            "Transformado=0\n"
            "Ruta=C:\\Horvana\\enlacor.exe\n");
  std::string error;
  ASSERT_TRUE(WriteRunStatus(file, -1, error)) << error;
  const std::string text = ReadFile(file);
  for (const char* kept : {"; Configuración de Horvana", "[General]", "; carpeta de datos",
                           "Datos=C:\\HTEMP", "Idioma=es", "; último resultado",
                           "Ruta=C:\\Horvana\\enlacor.exe", "Transformado=-1"}) {
    EXPECT_NE(text.find(kept), std::string::npos) << kept << "\n" << text;
  }
  EXPECT_EQ(text.find("Transformado=0"), std::string::npos) << text;
  EXPECT_LT(text.find("[General]"), text.find("[Transformadores]"));
  EXPECT_FALSE(std::filesystem::exists(dir / "Horvana.ini.tmp"));
}

TEST(StatusFileTest, AddsTheSectionToAFileWithout) {
  TempDir dir;
  const auto file = dir / "Horvana.ini";
  WriteFile(file, "[General]\nDatos=C:\\HTEMP\n");
  std::string error;
  ASSERT_TRUE(WriteRunStatus(file, 1, error)) << error;
  const std::string text = ReadFile(file);
  EXPECT_EQ(text.rfind("[General]\nDatos=C:\\HTEMP\n", 0), 0u) << text;
  EXPECT_TRUE(text.ends_with("\n[Transformadores]\nTransformado=1\n")) << text;
}

TEST(StatusFileTest, UnwritableFileIsReportedNotThrown) {
  TempDir dir;
  WriteFile(dir / "archivo", "x");
  std::filesystem::create_directory(dir / "Horvana.ini");
  for (const auto& file : {dir / "archivo" / "Horvana.ini", dir / "falta" / "Horvana.ini",
                           dir / "Horvana.ini"}) {
    std::string error;
    EXPECT_FALSE(WriteRunStatus(file, 1, error)) << file;
    EXPECT_NE(error.find(file.string()), std::string::npos) << error;
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir / "Horvana.ini"));
}

}  // namespace
}  // namespace enlacor
