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
    std::int32_t m;     // lag
    std::int32_t valor; // D[m]
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
            const float nou_ur = Desa(static_cast<Estesa>(ur) * wr - static_cast<Estesa>(ui) * wi);
            ui = Desa(static_cast<Estesa>(ui) * wr + static_cast<Estesa>(ur) * wi);
            ur = nou_ur;
        }
    }
}

// ---------------------------------------------------------------------------------------------------
// Features

struct Punt {
    float posicio = 0.0f;
    float valor = 0.0f;
};

// Hz(p) = FrequenciesEspectre[p - 1] for p >= 1; 0 for p = 0.
float Hz(const EstatAnalisi& e, int p) {
    return p >= 1 ? e.FrequenciesEspectre[p - 1] : 0.0f;
}

bool EsMaxim(const float* E, int p) {
    return E[p - 1] > E[p - 2] && E[p - 1] > E[p];
}

// The lowest E[q] for q = lo..hi and its position; the lowest index wins among equal values.
Punt Minim(const float* E, int lo, int hi) {
    Punt t{static_cast<float>(lo), E[lo]};
    for (int q = lo + 1; q <= hi; ++q)
        if (E[q] < t.valor) t = {static_cast<float>(q), E[q]};
    return t;
}

int Pos(float p) {
    return static_cast<int>(p);
}

} // namespace

// ---------------------------------------------------------------------------------------------------

std::optional<std::string> CalcularFrequenciaFonamental(EstatAnalisi& estat,
                                                        const std::string& textFrequenciaMinima) {
    constexpr int N = kPuntsAnalisi;
    const std::int32_t* x = estat.Mostres.data();
    CorbaDiferencies D{};
    for (int t = 1; t <= N; ++t) {
        std::int32_t s = 0;
        for (int i = 1; i <= N; ++i)
            s += std::abs(x[i + t] - x[i]);
        D[t] = s / 64;
    }
    return FrequenciaDesDeCorba(D, estat.FrequenciaMostreig, textFrequenciaMinima,
                                estat.FrequenciaFonamental);
}

std::optional<std::string> FrequenciaDesDeCorba(const CorbaDiferencies& D, std::int32_t frequenciaMostreig,
                                                const std::string& textFrequenciaMinima,
                                                std::int32_t& FrequenciaFonamental) {
    constexpr int N = kPuntsAnalisi;
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
    if (nValls == 0) return std::nullopt;

    std::optional<std::string> nouText;
    std::int32_t minF = kFrequenciaMinimaPerDefecte;
    if (!LlegirEnter(textFrequenciaMinima.c_str(), minF)) {
        minF = kFrequenciaMinimaPerDefecte;
        nouText = std::to_string(kFrequenciaMinimaPerDefecte);
    }

    // Quotients fs / m are compared in their exact integer forms.
    const std::int64_t fs = frequenciaMostreig;
    const Vall* candidat = nullptr;
    for (int v = 0; v < nValls && candidat == nullptr; ++v)
        if (fs < kFrequenciaMaximaPitch * static_cast<std::int64_t>(valls[v].m)) candidat = &valls[v];
    if (candidat == nullptr) return nouText; // every valley lies at 400 Hz or above: the pitch stays

    for (int v = 0; v < nValls; ++v) {
        const std::int64_t m = valls[v].m;
        if (valls[v].valor < candidat->valor && minF * m < fs && fs < kFrequenciaMaximaPitch * m)
            candidat = &valls[v];
    }
    Vall c = *candidat;
    FrequenciaFonamental = ArrodonirQuocient(frequenciaMostreig, c.m);

    // A valley at half (then a third) of the chosen period that is almost as deep (below 1.1 times)
    // means the chosen one was a multiple of the true period.
    auto gairebeTanProfunda = [&](const Vall& v) {
        return 10 * static_cast<std::int64_t>(v.valor) < 11 * static_cast<std::int64_t>(c.valor);
    };
    if (FrequenciaFonamental <= 200) {
        for (int v = 0; v < nValls; ++v) {
            if (std::abs(2 * valls[v].m - c.m) < 2 && gairebeTanProfunda(valls[v])) {
                c = valls[v];
                FrequenciaFonamental = ArrodonirQuocient(frequenciaMostreig, c.m);
                break;
            }
        }
    }
    if (FrequenciaFonamental <= 133) {
        for (int v = 0; v < nValls; ++v) {
            if (std::abs(3 * valls[v].m - c.m) < 3 && gairebeTanProfunda(valls[v])) {
                FrequenciaFonamental = ArrodonirQuocient(frequenciaMostreig, valls[v].m);
                break;
            }
        }
    }
    return nouText;
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

bool CalcularTrets(EstatAnalisi& estat, const ConfiguracioAnalisi& config, bool& dosPics) {
    float* E = estat.EnvolupantLPC.data();
    constexpr int N = kPuntsAnalisi;
    dosPics = false;

    if (config.EscalaAdaptadaOida) {
        // Hz(k) is bin k - 1: the envelope is weighted one bin below the spectrum.
        if (!PrepararDivisorsOida(estat)) return false;
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

    // Peaks. A peak stored at position p is a maximum of the envelope at p - 1; its height is E[p].
    auto& posicio = estat.PicsLPC[1];
    auto& alcada = estat.PicsLPC[2];
    std::fill(std::begin(posicio), std::end(posicio), 0.0f);
    std::fill(std::begin(alcada), std::end(alcada), 0.0f);
    auto omplir = [&](int s, int p) {
        posicio[s] = static_cast<float>(p);
        alcada[s] = E[p];
    };

    int seguent = 2;
    for (int p = 2; p <= 254; ++p) {
        if (Hz(estat, p) > 80.0f && EsMaxim(E, p)) {
            omplir(1, p);
            seguent = p + 1;
            break;
        }
    }

    estat.LimitInferiorF1 = 1;
    if (posicio[1] != 0.0f) {
        const int c = Pos(posicio[1]);
        for (int q = c; q >= 1; --q) {
            if (E[q] < 8.0f) {
                estat.LimitInferiorF1 = q + 1;
                break;
            }
        }
        for (int q = c; q <= 255; ++q) {
            if (E[q] < 8.0f) {
                estat.LimitSuperiorF1 = q - 1;
                break;
            }
        }
    }

    for (int p = seguent; p <= 254; ++p) {
        if (Hz(estat, p) > 80.0f && EsMaxim(E, p)) {
            omplir(2, p);
            seguent = p + 1;
            break;
        }
    }

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

    // Merge weak peaks: a peak that stands less than 25 % of its height above both neighbouring valleys
    // goes, and the valleys are searched again.
    std::array<Punt, kMaximPics + 1> T{};
    for (bool eliminat = true; eliminat;) {
        eliminat = false;
        T.fill(Punt{});
        for (int s = 1; s <= kPicsUsats && posicio[s] != 0.0f; ++s)
            T[s] = Minim(E, s == 1 ? 1 : Pos(posicio[s - 1]), Pos(posicio[s]));
        for (int s = 1; s <= 3; ++s) {
            if (posicio[s] == 0.0f || !(alcada[s] > 0.0f)) continue;
            const Estesa h = alcada[s];
            const Estesa r1 = (h - T[s].valor) / h * 100.0L;
            const Estesa r2 = (h - T[s + 1].valor) / h * 100.0L;
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
    for (int s = 1; s <= kPicsUsats; ++s) {
        if (posicio[s] == 0.0f) {
            T[s] = Minim(E, s == 1 ? 0 : Pos(posicio[s - 1]), 255);
            break;
        }
    }

    // Edges of the first peak at a quarter of its height above each valley.
    int esquerra = 0;
    int dreta = 0;
    {
        const int a = Pos(posicio[1]);
        const int b = Pos(T[1].posicio);
        if (b <= a) {
            const Estesa llindar = T[1].valor + 0.25L * (static_cast<Estesa>(alcada[1]) - T[1].valor);
            for (int q = a; q >= b; --q) {
                if (E[q] < llindar) {
                    esquerra = q + 1;
                    break;
                }
            }
        }
    }
    {
        const int a = Pos(posicio[1]);
        const int b = Pos(T[2].posicio);
        if (b >= a) {
            const Estesa llindar = T[2].valor + 0.25L * (static_cast<Estesa>(alcada[1]) - T[2].valor);
            for (int q = a; q <= b; ++q) {
                if (E[q] < llindar) {
                    dreta = q;
                    break;
                }
            }
        }
    }

    for (int s = 1; s <= kPicsUsats; ++s)
        if (posicio[s] != 0.0f) posicio[s] = static_cast<float>(Arrodonir(Hz(estat, Pos(posicio[s]))));

    if (!(alcada[2] > 0.0f)) return true;
    dosPics = true;
    estat.FrequenciaF1 = posicio[1];
    estat.SeparacioF2F1 = Arrodonir(static_cast<Estesa>(posicio[2]) - posicio[1]);
    estat.AmpladaF1 = Arrodonir(static_cast<Estesa>(Hz(estat, dreta)) - Hz(estat, esquerra));
    estat.YF1YF2 = static_cast<double>(static_cast<Estesa>(alcada[1]) / alcada[2]);
    return true;
}

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

    bool dosPics = false;
    if (!CalcularTrets(estat, config, dosPics)) return r;
    r.Completa = true;

    if (dosPics && estat.FrequenciaFonamental > 0) {
        const TretsVocal trets{estat.FrequenciaF1, estat.SeparacioF2F1, estat.MigLPC, estat.AmpladaF1,
                               estat.YF1YF2};
        estat.VocalReconeguda = DecidirVocal(trets, config.VeuAguda);
        r.Fila = FilaGridErrors{std::to_string(estat.FrequenciaFonamental), FormatFix(estat.FrequenciaF1, 0),
                                std::to_string(estat.MigLPC), std::to_string(estat.SeparacioF2F1),
                                std::to_string(estat.AmpladaF1)};
    }
    if (config.Castella) estat.VocalReconeguda = PlegarCastella(estat.VocalReconeguda);
    r.Vocal = estat.VocalReconeguda;

    r.LiniaDades = ComposarLiniaDades(estat, config.SeparadorDecimal);
    if (config.GraficsVisibles)
        r.Refresc = config.NoRepintar ? RefrescGrafics::DibuixarDirecte : RefrescGrafics::Repintar;
    return r;
}

} // namespace tessora
