// tessora-cli on sound files: the run on one recording, and the run on several, analysed at once by
// worker threads and written out in the order given; their TextGrids, and their score against
// annotations (--avalua) or the pooled score of per-interval CSVs (--agrega).
#pragma once

#include "Avaluacio.h"
#include "GraellaTessora.h"
#include "SessioCli.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tessora {

// What the run on one recording gave.
struct ResultatFitxer {
    int Codi = 0;         // its exit status, as for a run on that file alone
    int ErrorSortida = 0; // the error number of the first write of its lines that failed; 0 while none has
    // With --textgrid or --avalua (else empty): the analyses in the order made (blocks from 0 in the
    // recording) and the utterances, runs of loud blocks, in order.
    std::vector<AnalisiBloc> Analisis;
    std::vector<EmissioGravacio> Emissions;
    std::uint64_t Mostres = 0;            // samples read, at 11025 Hz, the dropped partial block included
    std::vector<FilaAvaluacio> Avaluacio; // with --avalua: its rows
    // Its lines and its messages, held for their turn (a run on several files, or --avalua; else empty,
    // since they went straight out).
    std::string Sortida;
    std::string Errors;
};

// The run on the recording `fitxer`: lines to `sortida`, messages to `errors`. `aturar` is asked before
// each block; true ends the reading there, as the end of the recording would. With `variosFitxers`, as
// one of several files: a line "# FILE" comes before the lines (with --csv, every row starts with the
// file's field instead), a message about an interruption names the file and --textgrid names a folder.
// With --avalua the annotations are read first (a file whose annotations cannot be used is not
// analysed: status 2, the file and line on `errors`) and `sortida` gets, instead of the lines, the
// score: the confusion table (after "# FILE" with `variosFitxers`), or with --csv its per-interval rows.
ResultatFitxer AnalitzarFitxer(const OpcionsCli& opcions, const std::string& fitxer, std::ostream& sortida,
                               std::ostream& errors, const std::function<bool()>& aturar, bool variosFitxers);

// The run on every file of `opcions`: one without --avalua straight to `sortida` and `errors`; otherwise
// on up to opcions.Treballs worker threads, each file's result written out by this thread in the order
// given, as soon as it and every file before it are done (with --csv, after one header). With --avalua
// and several files, the pooled table follows under "# total". A signal ends the files under way between
// two blocks and starts no other; what is done is written out. With `progres`, a bar of the files done
// is drawn on standard error (a terminal) meanwhile. Returns the highest of the files' statuses;
// `errorSortida` receives the error number of a failed write to `sortida`, which ends the run.
int AnalitzarFitxers(const OpcionsCli& opcions, std::ostream& sortida, std::ostream& errors,
                     int& errorSortida, bool progres = false);

// --agrega: the rows of the per-interval CSVs of opcions.Agrega, pooled and written out as --avalua on the
// same recordings writes them (a table per recording after "# FILE" and the pooled one under "# total"
// when they name several; with --csv, the rows under one header). A CSV that cannot be used gives its
// file and line on `errors` and status 2, and nothing is written: a pool missing a part would pass for
// the whole.
int AgregarCsv(const OpcionsCli& opcions, std::ostream& sortida, std::ostream& errors);

// The processors this process may run on, at least 1: the default of --jobs.
unsigned ProcessadorsDisponibles();

} // namespace tessora
