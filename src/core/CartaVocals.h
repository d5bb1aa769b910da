// The vowel chart, without widgets: where the voice was for each recognised utterance.
//
// Each analysis that decided a vowel gives a point: F1 and F2 = F1 + S2F, the recogniser's own estimate
// of the second formant (where the envelope merges two formants the point shows that too), with the
// decided vowel, the pitch and the time. The chart keeps the last points (the trail) and, per vowel,
// running sums over every point since the last clear, from which it gives the mean and the spread (the
// covariance ellipse at one standard deviation once a vowel has kMinimPuntsElipse points).
//
// Axes follow the phonetics textbooks: F2 from right (low) to left (high), F1 from top (low) to bottom
// (high). Both run on the Bark scale (Traunmüller 1990, z = 26.81 f / (1960 + f) - 0.53), so equal
// distances are about equal steps for the ear: spreads of front and back vowels compare at a glance,
// where a linear F2 axis would stretch the front vowels' spread fourfold.
#pragma once

#include "UnitCalculsReconeixement.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace tessora {

struct PuntCarta {
    float F1 = 0.0f;             // Hz
    float F2 = 0.0f;             // Hz, F1 + S2F
    std::string Vocal;           // the decided vowel, UTF-8 ("A", "AE", "È", ..., or "E" in Spanish)
    std::int32_t Frequencia = 0; // pitch, Hz
    double Temps = 0.0;          // seconds from the start of the run
};

// Mean and spread of one vowel's points since the last clear. The ellipse is that of the covariance at
// one standard deviation: semi-axes Semieix1 >= Semieix2 in Hz, the first along the direction at Angle
// radians from the F2 axis towards F1.
struct EstadisticaVocal {
    std::string Vocal;
    std::size_t Punts = 0;
    double MitjanaF1 = 0.0, MitjanaF2 = 0.0;
    double DesviacioF1 = 0.0, DesviacioF2 = 0.0; // sample standard deviations (n - 1); 0 below 2 points
    double Covariancia = 0.0;                    // F1-F2 sample covariance
    bool TeElipse = false;                       // kMinimPuntsElipse points or more
    double Semieix1 = 0.0, Semieix2 = 0.0, Angle = 0.0;
};

inline constexpr std::size_t kPuntsCartaPerDefecte = 50;
inline constexpr std::size_t kMinimPuntsElipse = 3;

// The Hz ranges of the two axes.
struct EixosCarta {
    float F1Min, F1Max; // drawn top to bottom
    float F2Min, F2Max; // drawn right to left
};
// Ordinary voices: F1 200-1000, F2 500-2800; high voices (women, children): F1 200-1200, F2 500-3400.
EixosCarta EixosPerVeu(bool veuAguda);

double Bark(double hz);

// Where (F1, F2) falls on a plot of `amplada` x `alcada`: x from 0 (F2Max) to amplada (F2Min), y from 0
// (F1Min) to alcada (F1Max), on the Bark scale. Values beyond the ranges fall beyond the plot.
struct PosicioCarta {
    double X, Y;
};
PosicioCarta MaparCarta(const EixosCarta& eixos, double f1, double f2, double amplada, double alcada);

class CartaVocals {
public:
    explicit CartaVocals(std::size_t capacitat = kPuntsCartaPerDefecte) : capacitat_(capacitat) {}

    // The point of one analysis when it decided a vowel; returns whether it took one. An abandoned
    // analysis, or one with no vowel, adds nothing.
    bool Afegir(const ResultatReconeixement& r, double temps);
    void Afegir(PuntCarta punt);

    // Forgets the points and the sums.
    void Buidar();

    // The trail, oldest first, at most `capacitat` points (the newest).
    const std::deque<PuntCarta>& Punts() const { return punts_; }
    // Every vowel seen since the last clear, in the order first seen.
    std::vector<EstadisticaVocal> Estadistiques() const;

private:
    // Running means and sums of squared and crossed deviations (Welford's update).
    struct Sumes {
        std::string Vocal;
        std::size_t N = 0;
        double MitjanaF1 = 0, MitjanaF2 = 0, M2F1 = 0, M2F2 = 0, CF1F2 = 0;
    };
    std::size_t capacitat_;
    std::deque<PuntCarta> punts_;
    std::vector<Sumes> sumes_;
};

} // namespace tessora
