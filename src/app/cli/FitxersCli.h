// tessora-cli on sound files: the run on one recording, and the run on several, analysed at once by
// worker threads and written out in the order given.
#pragma once

#include "SessioCli.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace tessora {

// One analysis the loop made, with the values its line shows.
struct AnalisiFitxer {
    std::size_t Bloc = 0;        // 0-based block index: the block starts Bloc x 512 / 11025 s in
    std::string Vocal;           // the recognised vowel (UTF-8), possibly empty
    std::int32_t Frequencia = 0; // pitch, Hz
    float F1 = 0.0f;             // Hz
    std::int32_t S2F = 0;        // Hz
};

// An utterance: a run of loud blocks the loop counted, first and last (0-based block indices). With
// --continu, where the loop takes no utterances, the runs of loud blocks all the same.
struct EmissioFitxer {
    std::size_t PrimerBloc = 0;
    std::size_t DarrerBloc = 0;
};

// What the run on one recording gave.
struct ResultatFitxer {
    int Codi = 0;         // its exit status, as for a run on that file alone
    int ErrorSortida = 0; // the error number of the first write of its lines that failed; 0 while none has
    std::vector<AnalisiFitxer> Analisis;  // in the order made
    std::vector<EmissioFitxer> Emissions; // in order
    // Its lines and its messages, held for their turn (a run on several files; else empty, since they
    // went straight out).
    std::string Sortida;
    std::string Errors;
};

// The run on the recording `fitxer`: lines to `sortida`, messages to `errors`. `aturar` is asked before
// each block; true ends the reading there, as the end of the recording would. With `variosFitxers`, as
// one of several files: a line "# FILE" comes before the lines (with --csv, every row starts with the
// file's field instead) and a message about an interruption names the file.
ResultatFitxer AnalitzarFitxer(const OpcionsCli& opcions, const std::string& fitxer, std::ostream& sortida,
                               std::ostream& errors, const std::function<bool()>& aturar, bool variosFitxers);

// The run on every file of `opcions`: one straight to `sortida` and `errors`; several on up to
// opcions.Treballs worker threads, each file's result written out by this thread in the order given,
// as soon as it and every file before it are done (with --csv, after the header "file,block,..."). A
// signal ends the files under way between two blocks and starts no other; what is done is written out.
// Returns the highest of the files' statuses; `errorSortida` receives the error number of a failed
// write to `sortida`, which ends the run.
int AnalitzarFitxers(const OpcionsCli& opcions, std::ostream& sortida, std::ostream& errors,
                     int& errorSortida);

// The processors this process may run on, at least 1: the default of --jobs.
unsigned ProcessadorsDisponibles();

} // namespace tessora
