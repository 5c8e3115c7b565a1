// The nine tables of an import run, held open for exclusive use.
//
// They open in a fixed order (SOLUC, GRUPOST, CURSOST, PROFT, AULAT,
// ASIGNOMT, ASIGNOMT2, DIASHORAST, ASIGT) and close in the same order. A
// table that is missing, held by another program or damaged stops the
// opening with a TableError naming it; the tables opened before it are
// closed again. SOLUC is checked for the columns the run reads right after
// it opens.
#pragma once

#include "exchange/dbf_table.h"
#include "exchange/timetable_tables.h"

namespace enlacor {

struct ImportTables {
  explicit ImportTables(const Workspace& workspace);

  // Closes the nine tables in the order they were opened.
  void Close();

  // Declaration order is the order of opening.
  DbfTable soluc;
  DbfTable grupost;
  DbfTable cursost;  // opened and closed, never read
  DbfTable proft;
  DbfTable aulat;
  DbfTable asignomt;
  DbfTable asignomt2;
  DbfTable diashorast;
  DbfTable asigt;
};

}  // namespace enlacor
