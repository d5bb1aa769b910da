// The picture of the vowel chart, on any QPainter (the window, an image, an SVG file).
//
// A white plot framed by the axes: F2 labelled along the top, decreasing to the right; F1 along the
// right-hand side, increasing downwards; a grid every 500 Hz of F2 and every 100 Hz of F1, on the Bark
// scale of CartaVocals. Over it, per vowel, the one-standard-deviation ellipse (filled faintly) and the
// mean of two or more points (a cross with the letter); then the trail, oldest first: a dot and the letter in
// the vowel's colour, fading with age down to half strength, and the newest point large with a black ring.
// With models to aim at, each is a ring in its vowel's colour, each point of the trail whose vowel has one
// a thin line to it, and the newest such point the distance to it in Bark beside it. The selected
// utterance's point, wherever it is, is a dot ringed in black and dashed.
// Every letter is outlined in dark grey, so that the light colours read on white. A point beyond the
// ranges is drawn hollow on the edge it crossed.
//
// The experiment's chart (and that of a stored run's trials) has the same plot: per prompted vowel the
// ellipse and mean of every answer to it, the mean shown by the vowel's letter; each hit a dot in the
// prompted vowel's colour, each error a cross in that colour with the letter recognised beside it in its own;
// and a legend with the two counts below the plot. The models and the selected point are drawn as on the
// session's chart (no lines). Where the ellipses of two vowels overlap and crosses gather, this speaker's
// vowels are confused.
#pragma once

#include "CartaVocals.h"
#include "Experiment.h"
#include "ModelsVocals.h"
#include "Sessio.h"
#include "TextsIdioma.h"

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QSize>

#include <functional>
#include <optional>
#include <span>
#include <string>

namespace tessora {

struct OpcionsDibuixCarta {
    bool VeuAguda = false; // the ranges of EixosPerVeu
    Idioma Llengua = Idioma::Catala;
    const ModelsVocals* Models = nullptr; // models to aim at; nullptr or empty: none drawn
    std::optional<PuntCarta> Seleccionat =
        std::nullopt; // the selected utterance's point (F1, F2, vowel), ringed
};

// The options of the session's charts as it stands: its ranges, language, models and selection (the
// point of the selected utterance's principal analysis, when it has one).
OpcionsDibuixCarta OpcionsCartaSessio(const Sessio& sessio);

// The plot inside a picture of size `mida`.
QRectF AreaCarta(QSize mida);

// The colour of a vowel (Okabe-Ito's palette, safe for the common colour blindnesses); grey for a text
// that is no vowel.
QColor ColorVocal(const std::string& vocal);

// The pictures' font (the charts, and the timeline and progress pictures beside them): DejaVu Sans of
// `pixels`, bold or not, the same on every machine that has the font the program installs with.
QFont LletraDibuix(int pixels, bool negreta = false);

// Where (F1, F2) is drawn in a picture of size `mida`, before any clamping to the plot.
QPointF PuntDibuix(QSize mida, const EixosCarta& eixos, double f1, double f2);

// Draws the whole picture, background included, on a picture of size `mida`.
void DibuixarCarta(QPainter& pintor, QSize mida, const CartaVocals& carta, const OpcionsDibuixCarta& opcions);
// The chart of the experiment's scored trials (Experiment::ProvesCarta), likewise.
void DibuixarCartaExperiment(QPainter& pintor, QSize mida, const Experiment& experiment,
                             const OpcionsDibuixCarta& opcions);

// A scored trial on the experiment's chart: F1 and F2 = F1 + S2F of the answer (Hz), the prompted vowel
// and the recognised one (UTF-8; empty when no vowel was recognised).
struct ProvaDibuix {
    float F1 = 0.0f;
    float F2 = 0.0f;
    std::string Demanada;
    std::string Reconeguda;
};
// The experiment's chart of any scored trials (a run kept in the journal), likewise.
void DibuixarCartaProves(QPainter& pintor, QSize mida, std::span<const ProvaDibuix> proves,
                         const OpcionsDibuixCarta& opcions);

// The size of the chart saved as a picture file.
inline constexpr QSize kMidaImatgeCarta(640, 520);

// What `dibuix` draws on a picture of size `mida`, as the bytes of a PNG file.
QByteArray ImatgePng(QSize mida, const std::function<void(QPainter&)>& dibuix);

} // namespace tessora
