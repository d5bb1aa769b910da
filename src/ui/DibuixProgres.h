// The picture of one speaker's progress across the runs kept in the journal, on any QPainter (the window,
// an image).
//
// Above, the hit rate of each run: the runs' dates along the bottom (a run stands at its start time, the
// first at the left, the latest at the right, one alone in the middle), 0 to 100 % up the left; for each
// vowel a point per run that asked it, joined in the vowel's colour, and the overall rate of every run in
// a thicker dark grey line; the legend of the lines drawn at the right. Below, side by side, the vowel charts
// of the first and the latest run, drawn as the experiment draws its own (DibuixarCartaProves). A trial kept
// without its formants (a hit of an imported results text) has no place on a chart: it is left out and the
// number said under the chart's title.
//
// Only the runs of the language's vowel set are drawn (as TaulaCurses counts them); without one, a line
// says so.
#pragma once

#include "Diari.h"
#include "TextsIdioma.h"

#include <QPainter>
#include <QRectF>
#include <QSize>

#include <cstdint>
#include <span>

namespace tessora {

// Where the parts lie in a picture of size `mida`.
struct DisposicioProgres {
    QRectF Encerts;      // the plot of the hit rates, inside its axes
    QRectF CartaPrimera; // the first run's chart with its legend (below its title)
    QRectF CartaDarrera; // the latest run's
};
DisposicioProgres DisposarProgres(QSize mida);

// Where a run that started at `inici` with `percentatge` % hits (0..100) is drawn on the plot `area` whose
// runs start from `primer` to `darrer` (seconds since the epoch).
QPointF PuntEncerts(const QRectF& area, std::int64_t primer, std::int64_t darrer, std::int64_t inici,
                    double percentatge);

// Draws the whole picture, background included, for `curses` (one speaker's, by start time) in the texts
// and the vowel set of `llengua`.
void DibuixarProgres(QPainter& pintor, QSize mida, std::span<const CursaDiari> curses, Idioma llengua);

} // namespace tessora
