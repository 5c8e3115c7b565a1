#include "import/import_tables.h"

#include "import/solution_sessions.h"

namespace enlacor {
namespace {

DbfTable OpenExclusive(const Workspace& workspace, TableId id) {
  return workspace.Open(id, OpenMode::kExclusive);
}

DbfTable OpenSolution(const Workspace& workspace) {
  DbfTable soluc = OpenExclusive(workspace, TableId::kSoluc);
  RequireSolutionColumns(soluc);
  return soluc;
}

}  // namespace

ImportTables::ImportTables(const Workspace& workspace)
    : soluc(OpenSolution(workspace)),
      grupost(OpenExclusive(workspace, TableId::kGrupost)),
      cursost(OpenExclusive(workspace, TableId::kCursost)),
      proft(OpenExclusive(workspace, TableId::kProft)),
      aulat(OpenExclusive(workspace, TableId::kAulat)),
      asignomt(OpenExclusive(workspace, TableId::kAsignomt)),
      asignomt2(OpenExclusive(workspace, TableId::kAsignomt2)),
      diashorast(OpenExclusive(workspace, TableId::kDiashorast)),
      asigt(OpenExclusive(workspace, TableId::kAsigt)) {}

void ImportTables::Close() {
  for (DbfTable* table : {&soluc, &grupost, &cursost, &proft, &aulat, &asignomt, &asignomt2, &diashorast, &asigt}) {
    table->Close();
  }
}

}  // namespace enlacor
