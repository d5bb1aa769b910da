// The journal's runs counted as the experiment counts them: one confusion table per vowel set, in the
// layout of the experiment's grid (TaulaAvaluacio, printed by TextTaulaAvaluacio), so the table of many runs
// is the sum of theirs.
#pragma once

#include "Avaluacio.h"
#include "Diari.h"
#include "TextsIdioma.h"

#include <span>

namespace tessora {

// The table of the runs of `idioma`'s vowel set (runs of the other set are left out): every trial is a
// scored row labelled with its prompted vowel and answered with its recognised one (a trial recognised as no
// vowel of the set has no answer). A trial whose prompted vowel is not of the set is left out.
TaulaAvaluacio TaulaCurses(std::span<const CursaDiari> curses, Idioma idioma);

} // namespace tessora
