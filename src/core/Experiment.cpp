#include "Experiment.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace tessora {

namespace {

const std::string kBuit;

// The first `n` characters of a UTF-8 text ("È" is one character of two bytes).
std::string PrimersCaracters(const std::string& text, int n) {
    std::size_t fi = 0;
    for (int comptats = 0; fi < text.size(); ++fi) {
        const bool inici = (static_cast<unsigned char>(text[fi]) & 0xC0) != 0x80;
        if (inici && comptats++ == n) break;
    }
    return text.substr(0, fi);
}

// The value as a 48-bit real holds it: 40 significant bits, nearest-even.
long double ComReal48(long double valor) {
    if (valor == 0) return valor;
    int exponent = 0;
    const long double mantissa = std::frexp(valor, &exponent);
    return std::ldexp(std::nearbyint(std::ldexp(mantissa, 40)), exponent - 40);
}

} // namespace

TaulaText::TaulaText(int columnes, int files) : columnes_(columnes) {
    Buidar(files);
}

const std::string& TaulaText::Cella(int c, int r) const {
    if (c < 0 || c >= columnes_ || r < 0 || r >= Files()) return kBuit;
    return textos_[static_cast<std::size_t>(r) * static_cast<std::size_t>(columnes_) +
                   static_cast<std::size_t>(c)];
}

void TaulaText::PosarCella(int c, int r, std::string text) {
    if (r >= Files()) textos_.resize(static_cast<std::size_t>(r + 1) * static_cast<std::size_t>(columnes_));
    textos_[static_cast<std::size_t>(r) * static_cast<std::size_t>(columnes_) + static_cast<std::size_t>(c)] =
        std::move(text);
}

void TaulaText::Buidar(int files) {
    textos_.assign(static_cast<std::size_t>(files) * static_cast<std::size_t>(columnes_), std::string());
}

void FontAleatoriaRellotge::Sembrar() {
    generador_.seed(
        static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count()));
}

std::int32_t FontAleatoriaRellotge::Enter(std::int32_t n) {
    return std::uniform_int_distribution<std::int32_t>(0, n - 1)(generador_);
}

std::string TextPercentatgeEncerts(std::int32_t encerts, std::int32_t proves, char separadorDecimal) {
    // Stored as a 48-bit real, then shown with one decimal: Round(x * 10) * 0.1.
    const long double percentatge =
        proves == 0 ? 0.0L : ComReal48(static_cast<long double>(encerts) / proves * 100.0L);
    const long double decimes = std::nearbyint(percentatge * 10.0L);
    char text[64];
    std::snprintf(text, sizeof text, "%.15Lg", decimes * 0.1L);
    if (char* punt = std::strchr(text, '.')) *punt = separadorDecimal;
    return text;
}

void Experiment::PosarNombre(int c, int r, std::int64_t valor) {
    gridErrors_.PosarCella(c, r, std::to_string(valor));
}

void Experiment::PrepararTaules(Idioma idioma, bool modeExperimentador, char separadorDecimal) {
    static constexpr std::array<const char*, 5> kCastella = {"A", "E", "I", "O", "U"};
    static constexpr std::array<const char*, 7> kCatala = {"A", "AE", "È", "É", "I", "O", "U"};
    vocals_ = {};
    if (idioma == Idioma::Castella) {
        n_ = 5;
        for (int i = 0; i < n_; ++i)
            vocals_[static_cast<std::size_t>(i + 1)] = kCastella[static_cast<std::size_t>(i)];
    } else {
        n_ = 7;
        for (int i = 0; i < n_; ++i)
            vocals_[static_cast<std::size_t>(i + 1)] = kCatala[static_cast<std::size_t>(i)];
    }
    separadorDecimal_ = separadorDecimal;
    const int n = n_;
    auto text = [idioma](IdText id) { return Text(idioma, id); };

    gridErrors_.Buidar(100);
    // A smaller set must not leave the labels of a larger one behind.
    gridDiferencies_.Buidar(200);
    proves_ = encerts_ = errors_ = 0;
    blocActual_.reset();
    provesCarta_.clear();

    gridErrors_.PosarCella(0, 1, text(IdText::GridSurt));
    gridErrors_.PosarCella(n + 1, 0, text(IdText::GridTotal));
    gridErrors_.PosarCella(n + 2, 0, text(IdText::GridEncerts));
    gridErrors_.PosarCella(0, n + 2, text(IdText::GridPercentEncerts));
    gridErrors_.PosarCella(n + 3, 0, text(IdText::GridPercentEncerts));
    PosarNombre(n + 1, 1, 0);
    PosarNombre(n + 2, 1, 0);
    PosarNombre(n + 3, 1, 0);

    const int capcaleres = modeExperimentador ? 8 : 2;
    for (int c = 1; c <= capcaleres; ++c)
        gridErrors_.PosarCella(c, n + 5,
                               text(static_cast<IdText>(static_cast<int>(IdText::GridError) + c - 1)));

    for (int i = 1; i <= n; ++i) {
        const std::string& nom = vocals_[static_cast<std::size_t>(i)];
        gridErrors_.PosarCella(i, 0, nom);
        gridErrors_.PosarCella(0, i + 1, nom);
        gridDiferencies_.PosarCella(i, 0, nom);
        gridDiferencies_.PosarCella(0, i, nom);
        for (int j = 0; j <= n + 1; ++j) {
            matriu_[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = 0;
            PosarNombre(i, j + 1, 0);
        }
    }
}

EfecteExperiment Experiment::Indicar(bool triarDeNou) {
    if (triarDeNou) {
        std::int32_t i = font_.Enter(n_) + 1;
        if (i < 1) i = 1;
        if (i > n_) i = n_;
        demanada_ = i;
    }
    EfecteExperiment efecte;
    efecte.MostrarIndicacio = vocals_[static_cast<std::size_t>(demanada_)];
    return efecte;
}

EfecteExperiment Experiment::Experimentar(const std::function<bool()>& engegarEscolta) {
    if (enMarxa_ || n_ == 0) return {};
    // A run waits for answers only while something listens for them.
    if (!engegarEscolta()) return {};
    enMarxa_ = true;
    ++tanda_;
    font_.Sembrar();
    EfecteExperiment efecte = Indicar(true);
    efecte.EnMarxa = true;
    return efecte;
}

EfecteExperiment Experiment::Parar() {
    if (!enMarxa_) return {};
    enMarxa_ = false;
    EfecteExperiment efecte;
    efecte.EnMarxa = false;
    efecte.Escolta = AccioEscolta::Parar;
    efecte.AmagarIndicacio = true;
    return efecte;
}

EfecteExperiment Experiment::ProcessarBlocExperiment(std::string_view vocal) {
    if (!enMarxa_ || !disponible_) return {};
    EfecteExperiment efecte;
    disponible_ = false;
    efecte.AmagarIndicacio = true;
    efecte.ProgramarPausa = true;
    enPausa_ = true;
    tandaPausa_ = tanda_;
    pausaPuntuada_ = false;

    const int n = n_;
    int r = 0;
    for (int i = 1; i <= n && r == 0; ++i)
        if (vocals_[static_cast<std::size_t>(i)] == vocal) r = i;
    // No vowel of the set was recognised: nothing to score, the same vowel comes again after the pause.
    if (r == 0) return efecte;
    reconeguda_ = r;
    pausaPuntuada_ = true;

    const int p = demanada_;
    auto& fila = matriu_[static_cast<std::size_t>(p)];
    ++fila[0];
    ++fila[static_cast<std::size_t>(r)];
    ++proves_;
    if (r == p) ++encerts_;
    fila[static_cast<std::size_t>(n + 1)] = static_cast<std::int32_t>(
        std::nearbyint(static_cast<long double>(fila[static_cast<std::size_t>(p)]) / fila[0] * 100.0L));

    const std::string& nomP = vocals_[static_cast<std::size_t>(p)];
    const std::string& nomR = vocals_[static_cast<std::size_t>(r)];
    gridErrors_.PosarCella(1, n + 3, nomP);
    gridErrors_.PosarCella(2, n + 3, nomR);
    for (int i = 1; i <= n; ++i)
        for (int j = 0; j <= n + 1; ++j)
            PosarNombre(i, j + 1, matriu_[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]);
    PosarNombre(n + 1, 1, proves_);
    PosarNombre(n + 2, 1, encerts_);
    gridErrors_.PosarCella(n + 3, 1, TextPercentatgeEncerts(encerts_, proves_, separadorDecimal_));
    gridErrors_.PosarCella(0, n + 4, PrimersCaracters(nomP, 2) + "-" + PrimersCaracters(nomR, 2));
    efecte.CellesCanviades = true;
    if (blocActual_) provesCarta_.push_back(ProvaCarta{blocActual_->F1, blocActual_->F2, p, r});

    if (r != p) {
        const std::int32_t e = ++errors_;
        const int filaError = n + 5 + e;
        for (int c = 0; c <= 7; ++c) {
            std::string copia = gridErrors_.Cella(c, n + 4); // the table may grow under a reference
            gridErrors_.PosarCella(c, filaError, std::move(copia));
        }
        PosarNombre(1, filaError, e);
        PosarNombre(8, filaError, (3 * static_cast<std::int64_t>(e) + 1) * kMidaBloc);
        // Kept now: during the pause the live loop may already write the next utterance into slot 0.
        if (e <= kRanuresError) {
            const auto origen = buffer_.Ranura(0);
            std::memcpy(buffer_.Ranura(static_cast<std::size_t>(e)).data(), origen.data(), origen.size());
        }
    }
    return efecte;
}

EfecteExperiment Experiment::AcabarPausa() {
    if (!enPausa_) return {};
    enPausa_ = false;
    disponible_ = true;
    // A stop during the pause ended that run (a new run started since has shown its own prompt).
    if (!enMarxa_ || tandaPausa_ != tanda_) return {};
    if (pausaPuntuada_ && proves_ % kProvesPerTanda == 0) return Parar();
    return Indicar(pausaPuntuada_);
}

void Experiment::EscriureBlocActual(const FilaGridErrors& fila) {
    const int r = n_ + 4;
    PosarNombre(2, r, static_cast<std::int64_t>(proves_) + 1);
    gridErrors_.PosarCella(3, r, fila.Frequencia);
    gridErrors_.PosarCella(4, r, fila.F1);
    gridErrors_.PosarCella(5, r, fila.MigLPC);
    gridErrors_.PosarCella(6, r, fila.S2F);
    gridErrors_.PosarCella(7, r, fila.AF1);
    blocActual_ = ProvaCarta{fila.HzF1, fila.HzF2, 0, 0};
}

} // namespace tessora
