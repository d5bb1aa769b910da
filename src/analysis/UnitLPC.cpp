#include "UnitLPC.h"

#include "Numeric.h"

#include <algorithm>
#include <cmath>

namespace tessora {

namespace {
constexpr Estesa kPiAproximat = 3.1416L; // the envelope's last point lies at 3.1416 rad, just above pi
} // namespace

void UnitLPC::PrepararTaula(std::int32_t L, float pas, std::int32_t ordre) {
    if (L != taulaL_) {
        taulaL_ = L;
        taulaOrdre_ = 0;
        cosinus_.clear();
        sinus_.clear();
    }
    if (ordre <= taulaOrdre_) return;
    const std::size_t punts = static_cast<std::size_t>(L) + 1;
    cosinus_.resize(static_cast<std::size_t>(ordre) * punts);
    sinus_.resize(static_cast<std::size_t>(ordre) * punts);
    for (std::int32_t k = taulaOrdre_ + 1; k <= ordre; ++k) {
        long double* filaCos = &cosinus_[static_cast<std::size_t>(k - 1) * punts];
        long double* filaSin = &sinus_[static_cast<std::size_t>(k - 1) * punts];
        for (std::int32_t i = 0; i <= L; ++i) {
            const float w = Desa(static_cast<Estesa>(i) * pas);
            const Estesa angle = static_cast<Estesa>(k) * w;
            filaCos[i] = std::cos(angle);
            filaSin[i] = std::sin(angle);
        }
    }
    taulaOrdre_ = ordre;
}

ResultatLPC UnitLPC::CalcularLPC(const float* SenyalLPC, float* EnvolupantLPC, std::int32_t NombreMostres,
                                 std::int32_t Ordre, std::int32_t NombrePunts) {
    if (Ordre > kOrdreLPCMaxim) return ResultatLPC::ForaDeCapacitat;
    // Envelope points must fit the output array; the bound is checked before anything is touched.
    const std::int64_t L64 = (static_cast<std::int64_t>(NombrePunts) + 1) / 2 - 1;
    if (L64 >= kCapacitatMostres) return ResultatLPC::ForaDeCapacitat;
    const std::int32_t mostres = std::min(NombreMostres, static_cast<std::int32_t>(kCapacitatMostres));

    auto& x = SenyalTreballLPC;
    auto& R = Autocorrelacio;
    auto& E = ErrorPrediccio;
    auto& K = CoeficientsReflexio;
    auto& a = MatriuPrediccio; // a[j][i]: coefficient j of the order-i predictor

    x.fill(0.0f);
    R.fill(0.0f);
    if (mostres > 0) std::copy_n(SenyalLPC, mostres, x.begin());

    // R[k] over the first 8192 samples of the zero-extended copy. Products with the zeros past the
    // copied samples add an exact zero, so the sum stops at the last copied sample. Each R[k] is its
    // own running sum in ascending j; the lags are advanced side by side so that their rounding chains
    // overlap in time, which leaves every sum exactly as a lag-by-lag loop would leave it.
    const std::int32_t finestra = std::min(std::max(mostres, 0), kCapacitatMostres - 1);
    const std::int32_t ordreCorrelat = std::min(Ordre, finestra - 1);
    for (std::int32_t j = 0; j < finestra; ++j) {
        const Estesa xj = x[j];
        const std::int32_t kMax = std::min(ordreCorrelat, finestra - 1 - j);
        for (std::int32_t k = 0; k <= kMax; ++k)
            R[k] = Desa(static_cast<Estesa>(R[k]) + xj * x[j + k]);
    }

    if (R[0] == 0.0f) {
        if (mostres > 0) std::fill_n(EnvolupantLPC, mostres, 0.0f);
        return ResultatLPC::Silenci;
    }

    // Levinson-Durbin. The first step runs for every order, also 0 and 1.
    E[0] = R[0];
    K[1] = Desa(static_cast<Estesa>(R[1]) / E[0]);
    a[1][1] = K[1];
    E[1] = Desa((1.0L - static_cast<Estesa>(K[1]) * K[1]) * E[0]);
    if (!EsFinit(K[1]) || !EsFinit(E[1])) return ResultatLPC::ErrorNumeric;

    for (std::int32_t i = 2; i <= Ordre; ++i) {
        float s = 0.0f;
        for (std::int32_t j = 1; j <= i - 1; ++j)
            s = Desa(static_cast<Estesa>(s) + static_cast<Estesa>(a[j][i - 1]) * R[i - j]);
        if (!EsFinit(s) || E[i - 1] == 0.0f) return ResultatLPC::ErrorNumeric;
        K[i] = Desa((static_cast<Estesa>(R[i]) - s) / E[i - 1]);
        if (!EsFinit(K[i])) return ResultatLPC::ErrorNumeric;
        a[i][i] = K[i];
        for (std::int32_t j = 1; j <= i - 1; ++j) {
            a[j][i] = Desa(static_cast<Estesa>(a[j][i - 1]) - static_cast<Estesa>(K[i]) * a[i - j][i - 1]);
            if (!EsFinit(a[j][i])) return ResultatLPC::ErrorNumeric;
        }
        E[i] = Desa((1.0L - static_cast<Estesa>(K[i]) * K[i]) * E[i - 1]);
        if (!EsFinit(E[i])) return ResultatLPC::ErrorNumeric;
    }

    for (std::int32_t j = 1; j <= Ordre; ++j)
        CoeficientsLPC[j] = a[j][Ordre];

    // Envelope at w_i = i x (3.1416 / L), i = 0..L.
    const auto L = static_cast<std::int32_t>(L64);
    if (L == 0) return ResultatLPC::ErrorNumeric; // 3.1416 / 0
    const float pas = Desa(kPiAproximat / L);
    if (L < 0) return ResultatLPC::Correcte;

    const std::int32_t ordre = std::max(Ordre, 0);
    PrepararTaula(L, pas, ordre);
    // Each point's sums run over k in ascending order; the points are advanced side by side (k outer)
    // so that their rounding chains overlap, with the same result as one point at a time.
    const std::size_t punts = static_cast<std::size_t>(L) + 1;
    re_.assign(punts, 1.0f);
    im_.assign(punts, 0.0f);
    for (std::int32_t k = 1; k <= ordre; ++k) {
        const long double* filaCos = &cosinus_[static_cast<std::size_t>(k - 1) * punts];
        const long double* filaSin = &sinus_[static_cast<std::size_t>(k - 1) * punts];
        const Estesa coeficient = CoeficientsLPC[k];
        for (std::size_t i = 0; i < punts; ++i) {
            re_[i] = Desa(static_cast<Estesa>(re_[i]) - filaCos[i] * coeficient);
            im_[i] = Desa(filaSin[i] * coeficient + im_[i]);
        }
    }
    for (std::size_t i = 0; i < punts; ++i) {
        const float re = re_[i];
        const float im = im_[i];
        if (!EsFinit(re) || !EsFinit(im)) return ResultatLPC::ErrorNumeric;
        const Estesa modul2 = static_cast<Estesa>(re) * re + static_cast<Estesa>(im) * im;
        if (modul2 == 0.0L) return ResultatLPC::ErrorNumeric; // 1 / 0
        const float H = Desa(1.0L / std::sqrt(modul2));
        const float valor = Desa(4.0L * H);
        if (!EsFinit(H) || !EsFinit(valor)) return ResultatLPC::ErrorNumeric;
        EnvolupantLPC[i] = valor;
    }
    return ResultatLPC::Correcte;
}

} // namespace tessora
