// Steps 1 to 7 on the sample school: what the import run relies on holds
// for a realistic document.
#include <set>

#include "export/catalogue_reader.h"
#include "export_fixture.h"

namespace enlacor::testing {
namespace {

class SampleSchoolTest : public ExportStepTest {
 protected:
  void SetUp() override {
    run_.UseDocument(ExchangeDocument::Load(std::filesystem::path(ENLACOR_SOURCE_DIR) / "samples/escuela-ejemplo.xml"));
    ExportThroughAssignments();
  }
};

std::string Folded(std::string text) {
  for (char& c : text) c = FoldCase(c);
  return text;
}

TEST_F(SampleSchoolTest, ShortCodesAreUniqueWithinEachTable) {
  for (const auto& [table, column] : std::vector<std::pair<TableId, const char*>>{
           {TableId::kAsignomt, "COD"}, {TableId::kProft, "ABREV"}, {TableId::kAulat, "ABREV"},
           {TableId::kGrupost, "ABREV"}}) {
    std::set<std::string> seen;
    for (const std::string& code : Column(table, column)) {
      EXPECT_LE(code.size(), 10u);
      EXPECT_TRUE(seen.insert(Folded(code)).second) << SchemaOf(table).name << " repeats " << code;
    }
    EXPECT_FALSE(seen.empty()) << SchemaOf(table).name;
  }
}

TEST_F(SampleSchoolTest, EverySubjectReachesEveryGroupOfItsCourse) {
  std::size_t expected_rows = 0;
  const auto groups = ReadCatalogue(run_.Document(), "GRUPOS", {2});
  for (const CatalogueEntry& subject : ReadCatalogue(run_.Document(), "MATERIAS", {3})) {
    for (const CatalogueEntry& group : groups) expected_rows += group.values[0] == subject.values[0] ? 1 : 0;
  }
  const std::vector<Fields> rows = Rows(TableId::kAsigt, {"CGRUP", "CTAREA"});
  EXPECT_EQ(rows.size(), expected_rows);

  const auto group_codes = Column(TableId::kGrupost, "ABREV");
  const auto catalogue_codes = Column(TableId::kAsignomt, "COD");
  const std::set<std::string> groups_known(group_codes.begin(), group_codes.end());
  const std::set<std::string> codes_known(catalogue_codes.begin(), catalogue_codes.end());
  for (const Fields& row : rows) {
    EXPECT_TRUE(groups_known.count(row[0])) << row[0];
    EXPECT_TRUE(row[1].empty() || codes_known.count(row[1])) << row[1];
  }
}

}  // namespace
}  // namespace enlacor::testing
