#include "CartaVocals.h"

#include <algorithm>
#include <cmath>

namespace tessora {

EixosCarta EixosPerVeu(bool veuAguda) {
    if (veuAguda) return {200.0f, 1200.0f, 500.0f, 3400.0f};
    return {200.0f, 1000.0f, 500.0f, 2800.0f};
}

double Bark(double hz) {
    return 26.81 * hz / (1960.0 + hz) - 0.53;
}

PosicioCarta MaparCarta(const EixosCarta& eixos, double f1, double f2, double amplada, double alcada) {
    // Below 0 Hz the scale has no meaning (and a pole at -1960 Hz).
    f1 = std::max(f1, 0.0);
    f2 = std::max(f2, 0.0);
    const double x = (Bark(eixos.F2Max) - Bark(f2)) / (Bark(eixos.F2Max) - Bark(eixos.F2Min));
    const double y = (Bark(f1) - Bark(eixos.F1Min)) / (Bark(eixos.F1Max) - Bark(eixos.F1Min));
    return {x * amplada, y * alcada};
}

bool CartaVocals::Afegir(const ResultatReconeixement& r, double temps) {
    if (!r.Trets) return false;
    Afegir(PuntCarta{r.Trets->F1, r.Trets->F2, r.Vocal, r.Trets->Frequencia, temps});
    return true;
}

void CartaVocals::Afegir(PuntCarta punt) {
    auto s =
        std::find_if(sumes_.begin(), sumes_.end(), [&](const Sumes& x) { return x.Vocal == punt.Vocal; });
    if (s == sumes_.end()) s = sumes_.insert(sumes_.end(), Sumes{punt.Vocal});
    ++s->N;
    const double d1 = punt.F1 - s->MitjanaF1, d2 = punt.F2 - s->MitjanaF2;
    s->MitjanaF1 += d1 / static_cast<double>(s->N);
    s->MitjanaF2 += d2 / static_cast<double>(s->N);
    s->M2F1 += d1 * (punt.F1 - s->MitjanaF1);
    s->M2F2 += d2 * (punt.F2 - s->MitjanaF2);
    s->CF1F2 += d1 * (punt.F2 - s->MitjanaF2);

    if (capacitat_ == 0) return;
    if (punts_.size() == capacitat_) punts_.pop_front();
    punts_.push_back(std::move(punt));
}

void CartaVocals::Buidar() {
    punts_.clear();
    sumes_.clear();
}

std::vector<EstadisticaVocal> CartaVocals::Estadistiques() const {
    std::vector<EstadisticaVocal> resultat;
    for (const Sumes& s : sumes_) {
        EstadisticaVocal e;
        e.Vocal = s.Vocal;
        e.Punts = s.N;
        e.MitjanaF1 = s.MitjanaF1;
        e.MitjanaF2 = s.MitjanaF2;
        if (s.N >= 2) {
            const double n1 = static_cast<double>(s.N - 1);
            const double v1 = s.M2F1 / n1, v2 = s.M2F2 / n1, c = s.CF1F2 / n1;
            e.DesviacioF1 = std::sqrt(v1);
            e.DesviacioF2 = std::sqrt(v2);
            e.Covariancia = c;
            if (s.N >= kMinimPuntsElipse) {
                // Eigenvalues of [[v2, c], [c, v1]] in (F2, F1) order.
                const double mig = (v1 + v2) / 2, radi = std::hypot((v2 - v1) / 2, c);
                e.TeElipse = true;
                e.Semieix1 = std::sqrt(mig + radi);
                e.Semieix2 = std::sqrt(std::max(mig - radi, 0.0));
                e.Angle = 0.5 * std::atan2(2 * c, v2 - v1);
            }
        }
        resultat.push_back(std::move(e));
    }
    return resultat;
}

} // namespace tessora
