// A results text, as the experiment's export writes it and speakers mail it, read back into a run of the
// journal, so that the results of many speakers can be pooled.
//
// What is taken: Windows-1252 bytes; lines ended by a lone carriage return as the export writes them, or by
// CR LF or LF (files that went through another system on the way); fields separated by tabs, every field
// of the table's and the errors' lines followed by one. The lines, in order: the date, a tab and the time;
// "Català" or "Castellà" (the vowel set: 7 or 5 vowels); "Veu Aguda" or "Veu Greu"; an empty line; the
// confusion table, N + 3 lines of N + 4 fields (the header, "Surt" with the totals, a line per recognised
// vowel, "% enc."); then, exactly when the table counts errors, an empty line, "ERRORS", the header of the
// list (2 captions, or 8 in the experimenter mode) and one line of nine fields per error, numbered from 1.
// Empty lines may follow. Every line ends with its line end: a file that stops within a line was cut short.
//
// The date is the sender's short date: yyyy-MM-dd, or day, month and year as numbers separated by "/", "."
// or "-" (a two-digit year is 20yy), read day first; month first only when the day-first reading is no date
// and the month-first one is (12/31/26, as an American desktop writes it). The time is H:mm or H:mm:ss,
// optionally followed by AM or PM (a.m., p. m.); what follows (the zone's name) is not read. Both are taken
// as this machine's local time, since the text does not say its zone.
//
// The table is the truth and must add up: each prompted vowel's column to its "Surt" count, "total" to their
// sum, "encerts" to the hits, the percentages to what the experiment writes for them. The error list must
// list exactly the errors the table counts, vowel by vowel, each error's sound where the export puts it
// ((3e + 1) x 512). Anything else refuses the whole file, with the
// line and the reason: nothing of it is half-read.
#pragma once

#include "Diari.h"
#include "TextGrid.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

namespace tessora {

// The run of a results text's `bytes` (see above); `fitxer` names the file in the error and becomes the
// run's Origen. The run's trials: one per error line, in order, with the answer's pitch, F1 and S2F (none
// when the line has no features) and its place in the exported WAV (when its sound was kept there, errors
// 1..kRanuresError), then each vowel's hits in the set's order, without features. Inici and Fi are both the
// text's date and time; ModeExperimentador is whether the error list's header names every column. The
// speaker (Parlant) and the analysis settings (Parametres) are not in the text and are left empty.
std::variant<CursaDiari, ErrorFitxer> InterpretarResultats(std::string_view bytes, const std::string& fitxer);

// The speaker a mailed results text stands for: its file's name without ".txt" and then without ".wav"
// (either in any case), since the export names it NAME.wav.txt.
std::string ParlantFitxer(const std::filesystem::path& fitxer);

} // namespace tessora
