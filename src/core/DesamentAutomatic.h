// What the program keeps by itself when it ends with an experiment the person has not exported (a
// signal, the end of the desktop session): the export under a name of its own in the program's data
// folder, and a notice of it that the next start shows once.
#pragma once

#include "ResultatsExperiment.h"

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tessora {

// The program's data folder: $XDG_DATA_HOME/tessora, or ~/.local/share/tessora when XDG_DATA_HOME is
// unset or not absolute. Empty when there is no home folder.
std::filesystem::path CarpetaDades();

// Names for an export kept in `carpeta` (created when missing) at the local time `moment`:
// experiment-2026-12-06-183012.wav, .wav.txt and .wav.png, or experiment-2026-12-06-183012-2.wav and so
// on when any of those three exists, so that nothing is overwritten. The WAV's name is reserved by
// creating it empty (the export replaces it). nullopt when the folder cannot be created or no name can
// be reserved; `error` (if given) then receives the system's error number.
std::optional<NomsExportacio> ReservarNomsAutomatics(const std::filesystem::path& carpeta,
                                                     const std::tm& moment, int* error = nullptr);

// The notice for the next start: a file in `carpeta` with the names of the files kept, one a line
// (UTF-8). AfegirAvisDesament adds the three of `noms` (true when written); LlegirAvisDesament gives
// every name it holds (none without a notice); EsborrarAvisDesament removes it.
bool AfegirAvisDesament(const std::filesystem::path& carpeta, const NomsExportacio& noms);
std::vector<std::string> LlegirAvisDesament(const std::filesystem::path& carpeta);
void EsborrarAvisDesament(const std::filesystem::path& carpeta);

} // namespace tessora
