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

// The whole results text, in Windows-1252 bytes, from the grids as they stand.
std::string TextResultats(const Experiment& experiment, const CapcaleraResultats& capcalera);

struct NomsExportacio {
    std::string Wav;    // the chosen name, with ".wav" appended unless one of its last four characters is "."
    std::string Text;   // the WAV name followed by ".txt"
    std::string Imatge; // the chart of the trials: the WAV name followed by ".png"
};

// From the name chosen in the save dialog (UTF-8): "prova" gives prova.wav, prova.wav.txt and
// prova.wav.png; "dades.xy" gives dades.xy, dades.xy.txt and dades.xy.png.
NomsExportacio NomsFitxersExportacio(std::string_view nomTriat);

struct ResultatExportacio {
    static constexpr std::int32_t kWavNoEscrit = -1;
    bool TextDesat = false;              // false: the text file cannot be created; nothing followed
    bool ImatgeDesada = false;           // false: the chart's picture cannot be created; the rest went on
    std::int32_t CodiWav = kWavNoEscrit; // EscriureWav's result: 0, or a code for MissatgeEscriureWav
};

// The export once a name was chosen: slot 0 of BufferSo is silenced; the results text replaces or creates
// noms.Text as a whole, or nothing changes there and the export ends; the chart's picture (`imatge`, the
// bytes of a PNG file) replaces or creates noms.Imatge likewise; then `avisNom` runs (the caller shows
// "Nombre del fichero: " with the WAV name and waits); then noms.Wav gets slot 0 followed by the
// `ranuresDesades` stored error slots, 8-bit mono at 11025 Hz.
ResultatExportacio ExportarResultats(const NomsExportacio& noms, std::string_view textResultats,
                                     std::string_view imatge, BufferSo& buffer, std::int32_t ranuresDesades,
                                     const std::function<void()>& avisNom);

} // namespace tessora
