// tessora-cli and the journal: --importa pools the results texts that speakers mailed into it, --diari
// prints what it holds, pooled.
#pragma once

#include "SessioCli.h"

#include <filesystem>
#include <iosfwd>

namespace tessora {

// --importa: each file of opcions.Importa read (see InterpretarResultats) and stored in the journal at
// `diari` as one run, whose speaker is --parlant or else the file's name (ParlantFitxer). One line per
// file: on `sortida` "FILE: imported as run N" or "FILE: already imported as run N, skipped" (a text of the
// same bytes is there); on `errors` "tessora-cli: FILE:LINE: refused: REASON", and nothing of that file is
// stored. Returns 0; 2 when a file was refused (the others are stored all the same); 1 when the journal
// could not be opened or could not store a file (said on `errors`; the files after it are not tried). A
// journal that was not one or was damaged is set aside, said so, and a new one begun. With `progres`, a
// bar of the files done is drawn on standard error (a terminal) meanwhile.
int ImportarFitxers(const OpcionsCli& opcions, const std::filesystem::path& diari, std::ostream& sortida,
                    std::ostream& errors, bool progres = false);

// --diari: for each vowel set that the journal at `diari` holds runs of (or the one of --llengua when it
// is given), the runs of that set (of --parlant's speaker alone when it is given) pooled: the confusion
// table as TextTaulaAvaluacio lays it out, an empty line, and a table of the speakers ("(anònim)" first,
// then by name): runs, trials, hits and the percentage of hits. With several sets each comes after a line
// "# Català" or "# Castellà", and an empty line ends each. With --csv both tables are CSV rows of the same
// cells. Returns 0 (with a line on `errors` and nothing printed when there is no journal or no run in it
// yet), or 1 when the journal cannot be read.
int EscriureDiari(const OpcionsCli& opcions, const std::filesystem::path& diari, std::ostream& sortida,
                  std::ostream& errors);

} // namespace tessora
