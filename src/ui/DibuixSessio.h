// The picture of the session's timeline, on any QPainter (the window, an image).
//
// Time runs left to right along the bottom axis, in seconds since the timeline began. Three bands share
// that axis: on top the pitch of every analysed block, a dot per block joined along each utterance, on a
// logarithmic axis of kFrequenciaMinimaSessio to kFrequenciaMaximaSessio Hz with grid lines at the C's
// and A's, labelled with their note names (A4 = 440 Hz); in the middle a bar per utterance in its vowel's
// colour (as on the vowel chart) with its letter above it, outlined in red when it clipped; below, the
// level envelope of every block heard (the highest level of the blocks under each pixel column), with
// the silence threshold dotted. The selected utterance stands on a pale column across the bands, its
// bar outlined in black.
//
// Only the blocks in view are visited: the cost of a picture grows with its span, not with the session.
#pragma once

#include "LiniaTemps.h"
#include "TextsIdioma.h"

#include <QPainter>
#include <QRectF>
#include <QSize>

#include <cstdint>
#include <optional>

namespace tessora {

inline constexpr double kFrequenciaMinimaSessio = 60.0;   // Hz, bottom of the pitch axis
inline constexpr double kFrequenciaMaximaSessio = 1000.0; // Hz, top of the pitch axis

// Blocks in `segons` seconds, rounded up: 10 s are 216 blocks.
std::int64_t BlocsEnSegons(double segons);

// What the picture shows: blocks [Final - Blocs, Final) and the selection.
struct VistaSessio {
    std::int64_t Final = 0;               // the block after the last one shown
    std::int64_t Blocs = 1;               // the span, >= 1
    std::optional<std::int64_t> Seleccio; // the selected utterance's first block
    Idioma Llengua = Idioma::Catala;      // of the note names
    std::int64_t Inici() const { return Final - Blocs; }
};

// The bands inside a picture of size `mida`.
struct Arees {
    QRectF Pitch;     // the pitch trace
    QRectF Emissions; // the bars and their letters
    QRectF Nivell;    // the level envelope
};
Arees AreesSessio(QSize mida);

// The x of the start of block `bloc` (of its end: bloc + 1) in a picture of size `mida`.
double XBloc(QSize mida, const VistaSessio& vista, std::int64_t bloc);
// The block under `x`, which may lie outside the view.
std::int64_t BlocEnX(QSize mida, const VistaSessio& vista, double x);
// The y of `hz` on the pitch axis (clamped to the axis).
double YFrequencia(QSize mida, double hz);

// Draws the whole picture, background included, on a picture of size `mida`.
void DibuixarSessio(QPainter& pintor, QSize mida, const LiniaTemps& linia, const VistaSessio& vista);

} // namespace tessora
