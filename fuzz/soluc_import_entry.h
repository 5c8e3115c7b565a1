// Fuzz entry: the import run's resolution on an arbitrary SOLUC.
//
// A small school is exported once into a scratch workspace; for each input
// the bytes become SOLUC.DBF there and the import run reads the nine tables
// and writes the result document. A damaged SOLUC, or one lacking a column
// the run reads, may stop the run with TableError; anything else escaping
// is a fault, and so is a finished run whose result does not load. The
// fuzzer and the regression test both drive SolucImportBench.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "../tests/support/recording_host.h"
#include "app/core/shared_state.h"
#include "exchange/exchange_document.h"
#include "exchange/table_error.h"
#include "exchange/timetable_tables.h"
#include "export/export_run.h"
#include "fuzz_scratch.h"
#include "import/import_run.h"

namespace enlacor::fuzz {

// Three subjects and a task for one course of two groups, two teachers, two
// rooms, one time frame of three periods.
inline constexpr char kSmallSchool[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<SERVICIO><SALIDAS>
<listasal seq="MATERIAS">
<listasal><salida>101</salida><salida>Matemáticas</salida><salida>MATEMATICAS_1ESO</salida><salida>301</salida><salida>240</salida></listasal>
<listasal><salida>102</salida><salida>Lengua</salida><salida>LENGUA_1ESO</salida><salida>301</salida><salida>180</salida></listasal>
<listasal><salida>103</salida><salida>Música</salida><salida>MUSICA_1ESO</salida><salida>301</salida><salida>60</salida></listasal>
</listasal>
<listasal seq="TAREAS"><listasal><salida>156</salida><salida>Guardia</salida><salida>GUARDIA</salida><salida>S</salida></listasal></listasal>
<listasal seq="PROFESORES">
<listasal><salida>7001</salida><salida>01/09/2010</salida><salida>García, María</salida><salida>GARC</salida></listasal>
<listasal><salida>7002</salida><salida>01/09/2015</salida><salida>O'Neil, Ana</salida><salida>O'NE</salida></listasal>
</listasal>
<listasal seq="AULAS">
<listasal><salida>8001</salida><salida>Aula 1</salida><salida>A101</salida></listasal>
<listasal><salida>8002</salida><salida>Aula 2</salida><salida>A102</salida></listasal>
</listasal>
<listasal seq="CURSOS"><listasal><salida>301</salida><salida>1º ESO</salida><salida>E.S.O.</salida><salida>ESO</salida><salida>1</salida></listasal></listasal>
<listasal seq="GRUPOS">
<listasal><salida>501</salida><salida>1ESOA</salida><salida>301</salida></listasal>
<listasal><salida>502</salida><salida>1ESOB</salida><salida>301</salida></listasal>
</listasal>
<listasal seq="JORNADAS"><listasal><salida>MANANA</salida><salida>Mañana</salida><salida>01/09/2024</salida></listasal></listasal>
<listasal seq="INTERVALOS">
<listasal><salida dato="CODIGO_ESCOLIA">2001</salida><salida dato="NOMBRE">1ª</salida><salida dato="INICIO">08:00</salida><salida dato="FIN">08:55</salida><salida dato="ORDEN">1</salida><salida dato="CLAVE_JORNADA">MANANA</salida></listasal>
<listasal><salida dato="CODIGO_ESCOLIA">2002</salida><salida dato="NOMBRE">2ª</salida><salida dato="INICIO">08:55</salida><salida dato="FIN">09:50</salida><salida dato="ORDEN">2</salida><salida dato="CLAVE_JORNADA">MANANA</salida></listasal>
<listasal><salida dato="CODIGO_ESCOLIA">2003</salida><salida dato="NOMBRE">3ª</salida><salida dato="INICIO">09:50</salida><salida dato="FIN">10:45</salida><salida dato="ORDEN">3</salida><salida dato="CLAVE_JORNADA">MANANA</salida></listasal>
</listasal>
</SALIDAS></SERVICIO>
)";

class SolucImportBench {
 public:
  // Exports the small school into `scratch`/htemp and leaves its document
  // in `scratch`.
  explicit SolucImportBench(const std::filesystem::path& scratch)
      : workspace_(scratch / "htemp"), document_(scratch / "centro.xml") {
    std::filesystem::create_directories(workspace_.Directory());
    WriteBytes(document_, kSmallSchool);
    testing::RecordingHost host;
    SharedState state;
    ExportRun run(host, state, workspace_);
    run.LoadDocument(document_);
    run.ExportAll();
  }

  const Workspace& workspace() const { return workspace_; }

  // One import with `soluc_bytes` as SOLUC.DBF.
  void Run(std::string_view soluc_bytes) const {
    WriteBytes(workspace_.Directory() / "SOLUC.DBF", soluc_bytes);
    testing::RecordingHost host;
    SharedState state;
    ImportRun run(host, state, workspace_);
    try {
      run.Import(document_);
    } catch (const TableError&) {
      return;  // refused with a message naming the table: that is fine
    }
    const ImportSummary& summary = run.Summary();
    if (summary.teachers != 2) throw std::logic_error("a teacher list is missing");
    (void)ExchangeDocument::Load(summary.result_file);
  }

 private:
  Workspace workspace_;
  std::filesystem::path document_;
};

}  // namespace enlacor::fuzz
