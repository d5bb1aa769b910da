#include "UnitCalculsReconeixement.h"

#include "Numeric.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace tessora {

namespace {

// ---------------------------------------------------------------------------------------------------
// Pitch

struct Vall {
    std::int32_t Retard; // lag m
    std::int32_t Valor;  // D[m]
};

std::int32_t ArrodonirQuocient(std::int32_t fs, std::int32_t m) {
    // Round(fs / m), halves to even, in exact integer form (m > 0, fs >= 0).
    const std::int64_t q = fs / m;
    const std::int64_t r2 = 2 * static_cast<std::int64_t>(fs % m);
    if (r2 > m || (r2 == m && (q % 2) != 0)) return static_cast<std::int32_t>(q + 1);
    return static_cast<std::int32_t>(q);
}

// ---------------------------------------------------------------------------------------------------
// Spectrum

constexpr float kCoeficientPreemfasi = 0.95f;
constexpr float kPasFinestra = 0.012271875f; // 3.1416 / 256
constexpr Estesa kExponentOida = -0.800147L;
constexpr Estesa kFactorOida = 79.1874212L;

// Hamming weights 0.46 cos((i - 256) x 0.012271875) + 0.54, i = 1..512, kept in long double: the
// product with the sample is evaluated against exactly this value.
const std::array<Estesa, kMidaFFT + 1>& PesosFinestra() {
    static const std::array<Estesa, kMidaFFT + 1> pesos = [] {
        std::array<Estesa, kMidaFFT + 1> p{};
        for (int i = 1; i <= kMidaFFT; ++i)
            p[i] = 0.46L * std::cos(static_cast<Estesa>(i - 256) * static_cast<Estesa>(kPasFinestra)) + 0.54L;
        return p;
    }();
    return pesos;
}

// Ear weighting divisors for bins 1..255 of the current frequency axis. False when a bin lies at 0 Hz
// (a rate of 0), whose logarithm does not exist.
bool PrepararDivisorsOida(EstatAnalisi& e) {
    if (e.FrequenciaDivisorsOida == e.FrequenciaMostreig) return true;
    if (!(e.FrequenciesEspectre[1] > 0.0f)) return false;
    for (int k = 1; k < kPuntsAnalisi; ++k)
        e.DivisorsOida[k] =
            std::exp(std::log(static_cast<Estesa>(e.FrequenciesEspectre[k])) * kExponentOida) * kFactorOida;
    e.FrequenciaDivisorsOida = e.FrequenciaMostreig;
    return true;
}

void TransformadaFourier(std::array<float, kMidaFFT + 1>& x, std::array<float, kMidaFFT + 1>& y) {
    // Bit reversal, 1-based.
    int j = 1;
    for (int i = 1; i <= kMidaFFT - 1; ++i) {
        if (i < j) {
            std::swap(x[i], x[j]);
            std::swap(y[i], y[j]);
        }
        int m = kMidaFFT / 2;
        while (m < j) {
            j -= m;
            m /= 2;
        }
        j += m;
    }
    // Butterflies, 9 stages, positive twiddle exponent; every intermediate is a stored float.
    for (int l = 1; l <= 9; ++l) {
        const int le = 1 << l;
        const int le2 = le / 2;
        const Estesa angle = std::numbers::pi_v<Estesa> / le2;
        const float wr = Desa(std::cos(angle));
        const float wi = Desa(std::sin(angle));
        float ur = 1.0f;
        float ui = 0.0f;
        for (int m = 1; m <= le2; ++m) {
            for (int i = m; i <= kMidaFFT; i += le) {
                const int ip = i + le2;
                const float tr = Desa(static_cast<Estesa>(x[ip]) * ur - static_cast<Estesa>(y[ip]) * ui);
                const float ti = Desa(static_cast<Estesa>(y[ip]) * ur + static_cast<Estesa>(x[ip]) * ui);
                x[ip] = Desa(static_cast<Estesa>(x[i]) - tr);
                y[ip] = Desa(static_cast<Estesa>(y[i]) - ti);
                x[i] = Desa(static_cast<Estesa>(x[i]) + tr);
                y[i] = Desa(static_cast<Estesa>(y[i]) + ti);
            }
            const float nouUr = Desa(static_cast<Estesa>(ur) * wr - static_cast<Estesa>(ui) * wi);
            ui = Desa(static_cast<Estesa>(ui) * wr + static_cast<Estesa>(ur) * wi);
            ur = nouUr;
        }
    }
}

// ---------------------------------------------------------------------------------------------------
// Features

// Hz(p) = FrequenciesEspectre[p - 1] for p >= 1; 0 for p = 0.
float Hz(const EstatAnalisi& e, int p) {
    return p >= 1 ? e.FrequenciesEspectre[p - 1] : 0.0f;
}

bool EsMaxim(const float* E, int p) {
    return E[p - 1] > E[p - 2] && E[p - 1] > E[p];
}

// The lowest E[q] for q = lo..hi and its position; the lowest index wins among equal values.
PuntEnvolupant Minim(const float* E, int lo, int hi) {
    PuntEnvolupant t{static_cast<float>(lo), E[lo]};
    for (int q = lo + 1; q <= hi; ++q)
        if (E[q] < t.Valor) t = {static_cast<float>(q), E[q]};
    return t;
}

int Pos(float p) {
    return static_cast<int>(p);
}

} // namespace

// ---------------------------------------------------------------------------------------------------

std::optional<std::string> CalcularFrequenciaFonamental(EstatAnalisi& estat,
                                                        const std::string& textFrequenciaMinima) {
    CorbaDiferencies D{};
    CalcularCorba(estat.Mostres.data(), D);
    const ResultatFrequencia r = FrequenciaDesDeCorba(D, estat.FrequenciaMostreig, textFrequenciaMinima);
    if (r.FrequenciaFonamental) estat.FrequenciaFonamental = *r.FrequenciaFonamental;
    return r.NouTextFrequenciaMinima;
}

ResultatFrequencia FrequenciaDesDeCorba(const CorbaDiferencies& D, std::int32_t frequenciaMostreig,
                                        const std::string& textFrequenciaMinima) {
    constexpr int N = kPuntsAnalisi;
    ResultatFrequencia r;
    // Valleys: a flat run entered by a strict fall and left by a strict rise, 2 <= s, e <= 255.
    std::array<Vall, 128> valls{};
    int nValls = 0;
    for (int s = 2; s <= N - 1;) {
        if (!(D[s - 1] > D[s])) {
            ++s;
            continue;
        }
        int e = s;
        while (e < N && D[e + 1] == D[s])
            ++e;
        if (e <= N - 1 && D[e] < D[e + 1]) {
            const int m = (s + e) / 2;
            valls[nValls++] = {m, D[m]};
        }
        s = e + 1;
    }
    if (nValls == 0) return r;

    std::int32_t minF = kFrequenciaMinimaPerDefecte;
    if (!LlegirEnter(textFrequenciaMinima.c_str(), minF)) {
        minF = kFrequenciaMinimaPerDefecte;
        r.NouTextFrequenciaMinima = std::to_string(kFrequenciaMinimaPerDefecte);
    }

    // Quotients fs / m are compared in their exact integer forms.
    const std::int64_t fs = frequenciaMostreig;
    const Vall* candidat = nullptr;
    for (int v = 0; v < nValls && candidat == nullptr; ++v)
        if (fs < kFrequenciaMaximaPitch * static_cast<std::int64_t>(valls[v].Retard)) candidat = &valls[v];
    if (candidat == nullptr) return r; // every valley lies at 400 Hz or above: the pitch stays

    for (int v = 0; v < nValls; ++v) {
        const std::int64_t m = valls[v].Retard;
        if (valls[v].Valor < candidat->Valor && minF * m < fs && fs < kFrequenciaMaximaPitch * m)
            candidat = &valls[v];
    }
    Vall c = *candidat;
    std::int32_t frequencia = ArrodonirQuocient(frequenciaMostreig, c.Retard);

    // A valley at half (then a third) of the chosen period that is almost as deep (below 1.1 times)
    // means the chosen one was a multiple of the true period.
    auto gairebeTanProfunda = [&](const Vall& v) {
        return 10 * static_cast<std::int64_t>(v.Valor) < 11 * static_cast<std::int64_t>(c.Valor);
    };
    if (frequencia <= 200) {
        for (int v = 0; v < nValls; ++v) {
            if (std::abs(2 * valls[v].Retard - c.Retard) < 2 && gairebeTanProfunda(valls[v])) {
                c = valls[v];
                frequencia = ArrodonirQuocient(frequenciaMostreig, c.Retard);
                break;
            }
        }
    }
    if (frequencia <= 133) {
        for (int v = 0; v < nValls; ++v) {
            if (std::abs(3 * valls[v].Retard - c.Retard) < 3 && gairebeTanProfunda(valls[v])) {
                frequencia = ArrodonirQuocient(frequenciaMostreig, valls[v].Retard);
                break;
            }
        }
    }
    r.FrequenciaFonamental = frequencia;
    return r;
}

bool CalcularEspectre(EstatAnalisi& estat, const ConfiguracioAnalisi& config) {
    auto& x = estat.EspectreReal;
    auto& y = estat.EspectreImaginari;
    for (int i = 1; i <= kMidaFFT; ++i) {
        x[i] = static_cast<float>(estat.Mostres[i - 1]);
        y[i] = 0.0f;
    }
    if (config.Preemfasis) {
        float anterior = 0.0f; // the unfiltered previous sample
        for (int i = 1; i <= kMidaFFT; ++i) {
            const float actual = x[i];
            x[i] = Desa(static_cast<Estesa>(actual) - static_cast<Estesa>(kCoeficientPreemfasi) * anterior);
            anterior = actual;
        }
    }
    const auto& pesos = PesosFinestra();
    for (int i = 1; i <= kMidaFFT; ++i)
        x[i] = Desa(static_cast<Estesa>(x[i]) * pesos[i]);

    const bool obert = std::any_of(x.begin() + 1, x.end(), [](float v) { return v > 2.0f || v < -2.0f; });
    for (int i = 1; i <= kMidaFFT; ++i)
        estat.SenyalLPC[i - 1] = obert ? x[i] : 0.0f;

    const float pas = Desa(static_cast<Estesa>(estat.FrequenciaMostreig) * 0.001953125L);
    for (int k = 0; k < kMidaFFT; ++k)
        estat.FrequenciesEspectre[k] = Desa(static_cast<Estesa>(k) * pas);

    if (!config.GraficsVisibles || !config.VeureFFT) return true;

    TransformadaFourier(x, y);
    for (int k = 1; k <= kMidaFFT; ++k) {
        const Estesa modul = std::sqrt(static_cast<Estesa>(x[k]) * x[k] + static_cast<Estesa>(y[k]) * y[k]);
        estat.ModulEspectre[k - 1] = Desa(modul * (1.0L / 256.0L));
    }
    if (config.EscalaAdaptadaOida) {
        if (!PrepararDivisorsOida(estat)) return false;
        estat.ModulEspectre[0] = 0.0f;
        for (int k = 1; k <= 255; ++k)
            if (estat.ModulEspectre[k] > 0.0f)
                estat.ModulEspectre[k] = Desa(estat.ModulEspectre[k] / estat.DivisorsOida[k]);
    }
    return true;
}

// ---------------------------------------------------------------------------------------------------
// The feature step, stage by stage

bool PonderarINormalitzar(EstatAnalisi& estat, const ConfiguracioAnalisi& config) {
    constexpr int N = kPuntsAnalisi;
    if (config.EscalaAdaptadaOida) {
        // Hz(k) is bin k - 1: the envelope is weighted one bin below the spectrum.
        if (!PrepararDivisorsOida(estat)) return false;
        float* E = estat.EnvolupantLPC.data();
        E[0] = 0.0f;
        E[1] = 0.0f;
        for (int k = 2; k < N; ++k)
            if (E[k] > 0.0f) E[k] = Desa(E[k] / estat.DivisorsOida[k - 1]);
    }
    if (config.NormalitzarFFT) {
        float suma = 0.0f;
        for (int k = 0; k < N; ++k)
            suma = Desa(static_cast<Estesa>(suma) + estat.ModulEspectre[k]);
        if (suma > 0.0f && EsFinit(suma)) {
            const Estesa factor = 100.0L / suma;
            for (int k = 0; k < N; ++k)
                estat.ModulEspectre[k] = Desa(estat.ModulEspectre[k] * factor);
        }
    }
    return true;
}

bool EscalarEnvolupant(EstatAnalisi& estat) {
    constexpr int N = kPuntsAnalisi;
    float* E = estat.EnvolupantLPC.data();
    float total = 0.0f;
    for (int k = 0; k < N; ++k)
        total = Desa(static_cast<Estesa>(total) + E[k]);
    if (!EsFinit(total)) return false;
    const float meitat = Desa(total * 0.5L);

    float acumulat = 0.0f;
    for (int k = 0; k < N; ++k) {
        acumulat = Desa(static_cast<Estesa>(acumulat) + E[k]);
        if (acumulat > meitat) {
            estat.MigLPC = Arrodonir(Hz(estat, k));
            break;
        }
    }
    if (meitat > 0.0f) {
        const Estesa factor = 1600.0L / (static_cast<Estesa>(meitat) * 2.0L);
        for (int k = 0; k < N; ++k)
            E[k] = Desa(E[k] * factor);
    }
    return true;
}

int CercarPics(EstatAnalisi& estat) {
    const float* E = estat.EnvolupantLPC.data();
    auto& posicio = estat.PicsLPC[1];
    auto& alcada = estat.PicsLPC[2];
    std::fill(std::begin(posicio), std::end(posicio), 0.0f);
    std::fill(std::begin(alcada), std::end(alcada), 0.0f);
    auto omplir = [&](int s, int p) {
        posicio[s] = static_cast<float>(p);
        alcada[s] = E[p];
    };

    // Slots 1 and 2: the first two peaks above 80 Hz, in order.
    int seguent = 2;
    int primerPic = 0;
    for (int s = 1; s <= 2; ++s) {
        for (int p = seguent; p <= 254; ++p) {
            if (Hz(estat, p) > 80.0f && EsMaxim(E, p)) {
                omplir(s, p);
                seguent = p + 1;
                break;
            }
        }
        if (s == 1) primerPic = Pos(posicio[1]);
    }

    // Slots 3 and 4: the two highest of the later peaks, the higher in slot 3.
    for (int p = seguent; p <= 254; ++p) {
        if (!EsMaxim(E, p)) continue;
        if (alcada[3] < E[p]) {
            posicio[4] = posicio[3];
            alcada[4] = alcada[3];
            omplir(3, p);
        } else if (alcada[4] < E[p]) {
            omplir(4, p);
        }
    }

    for (int s = 1; s <= 3; ++s) {
        for (int t = s + 1; t <= 4; ++t) {
            if (posicio[t] != 0.0f && posicio[t] < posicio[s]) {
                std::swap(posicio[s], posicio[t]);
                std::swap(alcada[s], alcada[t]);
            }
        }
    }
    return primerPic;
}

void LimitarBandaF1(EstatAnalisi& estat, int primerPic) {
    const float* E = estat.EnvolupantLPC.data();
    estat.LimitInferiorF1 = 1;
    if (primerPic == 0) return;
    for (int q = primerPic; q >= 1; --q) {
        if (E[q] < 8.0f) {
            estat.LimitInferiorF1 = q + 1;
            break;
        }
    }
    for (int q = primerPic; q <= 255; ++q) {
        if (E[q] < 8.0f) {
            estat.LimitSuperiorF1 = q - 1;
            break;
        }
    }
}

TaulaValls FusionarPicsFebles(EstatAnalisi& estat) {
    const float* E = estat.EnvolupantLPC.data();
    auto& posicio = estat.PicsLPC[1];
    auto& alcada = estat.PicsLPC[2];
    TaulaValls T{};
    for (bool eliminat = true; eliminat;) {
        eliminat = false;
        T.fill(PuntEnvolupant{});
        for (int s = 1; s <= kPicsUsats && posicio[s] != 0.0f; ++s)
            T[s] = Minim(E, s == 1 ? 1 : Pos(posicio[s - 1]), Pos(posicio[s]));
        for (int s = 1; s <= 3; ++s) {
            if (posicio[s] == 0.0f || !(alcada[s] > 0.0f)) continue;
            const Estesa h = alcada[s];
            const Estesa r1 = (h - T[s].Valor) / h * 100.0L;
            const Estesa r2 = (h - T[s + 1].Valor) / h * 100.0L;
            if (r1 < 25.0L && r2 < 25.0L) {
                for (int t = s; t < kPicsUsats; ++t) {
                    posicio[t] = posicio[t + 1];
                    alcada[t] = alcada[t + 1];
                }
                posicio[kPicsUsats] = 0.0f;
                alcada[kPicsUsats] = 0.0f;
                eliminat = true;
                break;
            }
        }
    }
    // The valley above the last peak.
    for (int s = 1; s <= kPicsUsats; ++s) {
        if (posicio[s] == 0.0f) {
            T[s] = Minim(E, s == 1 ? 0 : Pos(posicio[s - 1]), 255);
            break;
        }
    }
    return T;
}

VoresPic VoresPrimerPic(const EstatAnalisi& estat, const TaulaValls& T) {
    const float* E = estat.EnvolupantLPC.data();
    const int pic = Pos(estat.PicsLPC[1][1]);
    const Estesa alcada = estat.PicsLPC[2][1];
    VoresPic vores;
    if (const int b = Pos(T[1].Posicio); b <= pic) {
        const Estesa llindar = T[1].Valor + 0.25L * (alcada - T[1].Valor);
        for (int q = pic; q >= b; --q) {
            if (E[q] < llindar) {
                vores.Esquerra = q + 1;
                break;
            }
        }
    }
    if (const int b = Pos(T[2].Posicio); b >= pic) {
        const Estesa llindar = T[2].Valor + 0.25L * (alcada - T[2].Valor);
        for (int q = pic; q <= b; ++q) {
            if (E[q] < llindar) {
                vores.Dreta = q;
                break;
            }
        }
    }
    return vores;
}

bool CalcularValorsTrets(EstatAnalisi& estat, const VoresPic& vores) {
    auto& posicio = estat.PicsLPC[1];
    const auto& alcada = estat.PicsLPC[2];
    for (int s = 1; s <= kPicsUsats; ++s)
        if (posicio[s] != 0.0f) posicio[s] = static_cast<float>(Arrodonir(Hz(estat, Pos(posicio[s]))));

    if (!(alcada[2] > 0.0f)) return false;
    estat.FrequenciaF1 = posicio[1];
    estat.SeparacioF2F1 = Arrodonir(static_cast<Estesa>(posicio[2]) - posicio[1]);
    estat.AmpladaF1 = Arrodonir(static_cast<Estesa>(Hz(estat, vores.Dreta)) - Hz(estat, vores.Esquerra));
    estat.YF1YF2 = static_cast<double>(static_cast<Estesa>(alcada[1]) / alcada[2]);
    return true;
}

ResultatTrets CalcularTrets(EstatAnalisi& estat, const ConfiguracioAnalisi& config) {
    if (!PonderarINormalitzar(estat, config) || !EscalarEnvolupant(estat)) return ResultatTrets::Abandonat;
    const int primerPic = CercarPics(estat);
    LimitarBandaF1(estat, primerPic);
    const TaulaValls T = FusionarPicsFebles(estat);
    const VoresPic vores = VoresPrimerPic(estat, T);
    return CalcularValorsTrets(estat, vores) ? ResultatTrets::DosPics : ResultatTrets::MenysDeDosPics;
}

// ---------------------------------------------------------------------------------------------------
// Decision and data line

std::string DecidirVocal(const TretsVocal& t, bool veuAguda) {
    if (!veuAguda) {
        if (t.S2F < 500) {
            if (t.F1 < 390) return "U";
            if (t.F1 > 720) return "A";
            return "O";
        }
        if (t.F1 < 540 && t.MigLPC < 2200) return "U";
        if (t.F1 < 330) return "I";
        if (t.F1 < 480 && t.AF1 < 500) return "É";
        if (t.F1 > 734) return "A";
        if (700 < t.S2F && t.S2F < 1300) return "AE";
        if (t.AF1 > 415) return "O";
        if (t.AF1 < 350) return "È";
        if (t.Y > 2.5) return "O";
        return "È";
    }
    if (t.F1 < 600 && t.MigLPC < 1200) return (t.F1 > 500 && 310 < t.S2F && t.S2F < 700) ? "O" : "U";
    if (t.F1 < 430) return "I";
    if (t.F1 < 500) {
        if (t.S2F > 2340) return "I";
        if (700 < t.S2F && t.S2F < 1300) return "AE";
        return "É";
    }
    if (t.F1 > 1000) return "A";
    if (700 < t.S2F && t.S2F < 1300) return "AE";
    if (t.S2F < 700) return t.F1 > 915 ? "A" : "O";
    if (t.AF1 > 400 && t.MigLPC < 2000) return "O";
    if (t.MigLPC < 1275) return "O";
    if (t.F1 < 610) return "É";
    return "È";
}

std::string PlegarCastella(const std::string& vocal) {
    if (vocal == "AE") return "A";
    if (vocal == "È" || vocal == "É") return "E";
    return vocal;
}

std::string FormatFix(double valor, int decimals, char separador) {
    if (!std::isfinite(valor)) return valor != valor ? "NAN" : (valor > 0 ? "INF" : "-INF");
    if (std::fabs(valor) >= 1e7) {
        char text[32];
        std::snprintf(text, sizeof text, "%.6E", valor);
        return text;
    }
    // Digits before the point, to find the 7th significant digit.
    const double absolut = std::fabs(valor);
    int enters = 1;
    for (double llindar = 10.0; absolut >= llindar && enters < 7; llindar *= 10.0)
        ++enters;
    const int efectius = std::min(decimals, std::max(0, 7 - enters));
    // |valor| x 10^efectius is exact in long double (53 + 7 bits), so one roundl rounds the exact value.
    Estesa escala = 1.0L;
    for (int i = 0; i < efectius; ++i)
        escala *= 10.0L;
    const auto arrodonit = static_cast<long long>(std::round(static_cast<Estesa>(absolut) * escala));
    const auto divisor = static_cast<long long>(escala);
    std::string text = (valor < 0 && arrodonit != 0) ? "-" : "";
    text += std::to_string(arrodonit / divisor);
    if (decimals > 0) {
        std::string fraccio = std::to_string(arrodonit % divisor);
        fraccio.insert(
            0, static_cast<std::size_t>(efectius) - std::min<std::size_t>(fraccio.size(), efectius), '0');
        if (efectius == 0) fraccio.clear();
        fraccio.append(static_cast<std::size_t>(decimals - efectius), '0');
        text += separador;
        text += fraccio;
    }
    return text;
}

std::string ComposarLiniaDades(const EstatAnalisi& estat, char separadorDecimal) {
    return "Freq: " + std::to_string(estat.FrequenciaFonamental) +
           " - F1:" + FormatFix(estat.FrequenciaF1, 0, separadorDecimal) +
           " - MigLPC:" + std::to_string(estat.MigLPC) + " - S2F:" + std::to_string(estat.SeparacioF2F1) +
           " - AF1:" + std::to_string(estat.AmpladaF1) +
           " - YF1/YF2:" + FormatFix(estat.YF1YF2, 2, separadorDecimal) + " - " + estat.VocalReconeguda;
}

ResultatReconeixement CalcularReconeixement(EstatAnalisi& estat, const ConfiguracioAnalisi& config) {
    ResultatReconeixement r;
    estat.VocalReconeguda.clear();

    r.NouTextFrequenciaMinima = CalcularFrequenciaFonamental(estat, config.TextFrequenciaMinima);
    if (!CalcularEspectre(estat, config)) return r;
    std::int32_t ordre = 0;
    if (!LlegirEnter(config.TextOrdreLPC.c_str(), ordre)) return r;
    const ResultatLPC lpc =
        estat.LPC.CalcularLPC(estat.SenyalLPC.data(), estat.EnvolupantLPC.data(), kMidaBloc, ordre, kMidaFFT);
    if (lpc == ResultatLPC::ErrorNumeric || lpc == ResultatLPC::ForaDeCapacitat) return r;

    const ResultatTrets trets = CalcularTrets(estat, config);
    if (trets == ResultatTrets::Abandonat) return r;
    r.Completa = true;

    if (trets == ResultatTrets::DosPics && estat.FrequenciaFonamental > 0) {
        const TretsVocal valors{estat.FrequenciaF1, estat.SeparacioF2F1, estat.MigLPC, estat.AmpladaF1,
                                estat.YF1YF2};
        estat.VocalReconeguda = DecidirVocal(valors, config.VeuAguda);
        r.Trets = TretsDecisio{estat.FrequenciaFonamental,
                               estat.FrequenciaF1,
                               estat.MigLPC,
                               estat.SeparacioF2F1,
                               estat.AmpladaF1,
                               estat.FrequenciaF1 + static_cast<float>(estat.SeparacioF2F1)};
    }
    if (config.Castella) estat.VocalReconeguda = PlegarCastella(estat.VocalReconeguda);
    r.Vocal = estat.VocalReconeguda;

    r.LiniaDades = ComposarLiniaDades(estat, config.SeparadorDecimal);
    return r;
}

std::optional<int> PuntMeitatEnvolupant(const EstatAnalisi& estat) {
    const auto& E = estat.EnvolupantLPC;
    float total = 0.0f;
    for (int i = 1; i <= kPuntsAnalisi; ++i)
        total = Desa(static_cast<Estesa>(total) + E[i]);
    const float meitat = Desa(static_cast<Estesa>(total) * 0.5L);
    float suma = 0.0f;
    for (int j = 0; j < kPuntsAnalisi; ++j) {
        suma = Desa(static_cast<Estesa>(suma) + E[j + 1]);
        if (suma > meitat) return j;
    }
    return std::nullopt;
}

} // namespace tessora
