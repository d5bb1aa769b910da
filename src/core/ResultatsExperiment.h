// The results of an experiment as they leave the program: the results text, the names of the exported
// pair of files, and the export itself.
//
// The results text is Windows-1252; its lines end with a lone carriage return and, in the grid lines,
// every field (the last one too) is followed by a tab. It holds the date and time, the language and the
// voice, an empty line, the confusion table (rows 0..N+2 of GridErrors, columns 0..N+3) and, only when
// there were errors, an empty line, "ERRORS", a header line and one line of nine fields per error.
#pragma once

#include "BufferSo.h"
#include "Experiment.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tessora {

struct CapcaleraResultats {
    std::string Data; // UTF-8, already in the user's short date format
    std::string Hora; // UTF-8, already in the user's long time format
    bool Castella = false;
    bool VeuAguda = false;
    bool ModeExperimentador = false; // the error header names every column
};

// The whole results text, in Windows-1252 bytes, from the experiment's grid as it stands.
std::string TextResultats(const Experiment& experiment, const CapcaleraResultats& capcalera);

struct NomsExportacio {
    std::string Wav;    // the chosen name, with ".wav" appended unless one of its last four characters is "."
    std::string Text;   // the WAV name followed by ".txt"
    std::string Imatge; // the chart of the trials: the WAV name followed by ".png"
};

// From the name chosen in the save dialog (UTF-8): "prova" gives prova.wav, prova.wav.txt and
// prova.wav.png; "dades.xy" gives dades.xy, dades.xy.txt and dades.xy.png.
NomsExportacio NomsFitxersExportacio(std::string_view nomTriat);

// What an export did: all three files written, or the first that failed and why.
struct ResultatExportacio {
    std::string FitxerFallit; // UTF-8; empty when the text, the picture and the WAV were all written
    int Error = 0;            // the system's error number of that failure (for DescripcioError)
    bool Correcte() const { return FitxerFallit.empty(); }
};

// The export once a name was chosen. Slot 0 of BufferSo is silenced; then three files are written, each
// as a whole: the results text to noms.Text, the chart's picture (`imatge`, the bytes of a PNG file) to
// noms.Imatge, and slot 0 followed by the `ranuresDesades` stored error slots, 8-bit mono at 11025 Hz, to
// noms.Wav. All three are written beside their targets before any target is replaced, so a target that
// is refused (a folder at its name, a file the user may not write) or a write that fails (a full disk)
// leaves every file as it was. Then the text and the picture take their names, `avisNom` runs (the
// caller shows "Nombre del fichero: " with the WAV name and waits), and the WAV takes its name. The
// failure reported is the first one, in the order text, picture, WAV.
ResultatExportacio ExportarResultats(const NomsExportacio& noms, std::string_view textResultats,
                                     std::string_view imatge, BufferSo& buffer, std::int32_t ranuresDesades,
                                     const std::function<void()>& avisNom);

} // namespace tessora
