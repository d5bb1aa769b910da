#include "Experiment.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace tessora {

namespace {

constexpr int kFilesGridErrors = 100;
constexpr int kFilesGridDiferencies = 200;

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

// Where the analysed piece of error `e`'s sound (1..) lies in the exported WAV's samples.
std::int64_t SituacioError(std::int32_t e) {
    return (3 * static_cast<std::int64_t>(e) + 1) * kMidaBloc;
}

} // namespace

void FontAleatoriaRellotge::Sembrar() {
    generador_.seed(
        static_cast<std::mt19937::result_type>(std::chrono::system_clock::now().time_since_epoch().count()));
}

std::int32_t FontAleatoriaRellotge::Enter(std::int32_t n) {
    return std::uniform_int_distribution<std::int32_t>(0, n - 1)(generador_);
}

std::string TextPercentatgeEncerts(std::int64_t encerts, std::int64_t proves, char separadorDecimal) {
    // Stored as a 48-bit real, then shown with one decimal: Round(x * 10) * 0.1.
    const long double percentatge =
        proves == 0 ? 0.0L : ComReal48(static_cast<long double>(encerts) / proves * 100.0L);
    const long double decimes = std::nearbyint(percentatge * 10.0L);
    char text[64];
    std::snprintf(text, sizeof text, "%.15Lg", decimes * 0.1L);
    if (char* punt = std::strchr(text, '.')) *punt = separadorDecimal;
    return text;
}

std::int64_t PercentatgeVocal(std::int64_t encerts, std::int64_t vegades) {
    if (vegades == 0) return 0;
    return static_cast<std::int64_t>(std::nearbyint(static_cast<long double>(encerts) / vegades * 100.0L));
}

std::span<const std::string_view> VocalsIdioma(Idioma idioma) {
    static constexpr std::array<std::string_view, 5> kCastella = {"A", "E", "I", "O", "U"};
    static constexpr std::array<std::string_view, 7> kCatala = {"A", "AE", "È", "É", "I", "O", "U"};
    if (idioma == Idioma::Castella) return kCastella;
    return kCatala;
}

void Experiment::PrepararTaules(Idioma idioma, bool modeExperimentador, char separadorDecimal) {
    const auto vocals = VocalsIdioma(idioma);
    vocals_ = {};
    n_ = static_cast<std::int32_t>(vocals.size());
    for (int i = 0; i < n_; ++i)
        vocals_[static_cast<std::size_t>(i + 1)] = vocals[static_cast<std::size_t>(i)];
    idioma_ = idioma;
    modeExperimentador_ = modeExperimentador;
    separadorDecimal_ = separadorDecimal;
    proves_ = encerts_ = 0;
    for (int i = 1; i <= n_; ++i)
        std::fill_n(matriu_[static_cast<std::size_t>(i)].begin(), n_ + 2, 0);
    ultimaProva_.reset();
    blocActual_.reset();
    llistaErrors_.clear();
    provesCarta_.clear();
    provesFetes_.clear();
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
    efecte.PararEscolta = true;
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
    fila[static_cast<std::size_t>(n + 1)] =
        static_cast<std::int32_t>(PercentatgeVocal(fila[static_cast<std::size_t>(p)], fila[0]));

    ultimaProva_ = {p, r};
    efecte.CellesCanviades = true;
    if (blocActual_) provesCarta_.push_back(ProvaCarta{blocActual_->Trets.F1, blocActual_->Trets.F2, p, r});
    ProvaExperiment& feta = provesFetes_.emplace_back(ProvaExperiment{p, r, std::nullopt, std::nullopt});
    if (blocActual_) feta.Trets = blocActual_->Trets;

    if (r != p) {
        llistaErrors_.push_back(Error{p, r, blocActual_});
        const std::int32_t e = NombreErrors();
        // Kept now: during the pause the live loop may already write the next utterance into slot 0.
        if (e <= kRanuresError) {
            const auto origen = buffer_.Ranura(0);
            std::memcpy(buffer_.Ranura(static_cast<std::size_t>(e)).data(), origen.data(), origen.size());
            feta.Situacio = SituacioError(e);
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

void Experiment::EscriureBlocActual(const TretsDecisio& trets) {
    blocActual_ = BlocActual{proves_ + 1, trets};
}

std::string Experiment::Etiqueta(std::int32_t demanada, std::int32_t reconeguda) const {
    return PrimersCaracters(vocals_[static_cast<std::size_t>(demanada)], 2) + "-" +
           PrimersCaracters(vocals_[static_cast<std::size_t>(reconeguda)], 2);
}

int Experiment::Files(GridExperiment grid) const {
    if (grid == GridExperiment::Diferencies) return kFilesGridDiferencies;
    return std::max(kFilesGridErrors, n_ + 6 + NombreErrors());
}

std::string Experiment::Cella(GridExperiment grid, int c, int r) const {
    if (grid == GridExperiment::Errors) return CellaErrors(c, r);
    // The vowels' names along the first row and down the first column.
    if (c >= 1 && c <= n_ && r == 0) return vocals_[static_cast<std::size_t>(c)];
    if (r >= 1 && r <= n_ && c == 0) return vocals_[static_cast<std::size_t>(r)];
    return {};
}

std::string Experiment::CellaErrors(int c, int r) const {
    const int n = n_;
    if (n == 0 || c < 0 || c >= kColumnesGrid || r < 0) return {};
    const auto vocal = [this](int i) { return vocals_[static_cast<std::size_t>(i)]; };
    const auto text = [this](IdText id) { return Text(idioma_, id); };
    const auto confusio = [this](int i, int j) {
        return std::to_string(matriu_[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)]);
    };
    // Columns 2..7 of the current-block row and of an error's row.
    const auto bloc = [c](const std::optional<BlocActual>& b) -> std::string {
        if (!b) return {};
        switch (c) {
        case 2:
            return std::to_string(b->Prova);
        case 3:
            return std::to_string(b->Trets.Frequencia);
        case 4:
            return FormatFix(b->Trets.F1, 0);
        case 5:
            return std::to_string(b->Trets.MigLPC);
        case 6:
            return std::to_string(b->Trets.S2F);
        case 7:
            return std::to_string(b->Trets.AF1);
        default:
            return {};
        }
    };

    if (r == 0) { // a column per prompted vowel, then the totals' headers
        if (c >= 1 && c <= n) return vocal(c);
        if (c == n + 1) return text(IdText::GridTotal);
        if (c == n + 2) return text(IdText::GridEncerts);
        if (c == n + 3) return text(IdText::GridPercentEncerts);
        return {};
    }
    if (r <= n + 2) { // "Surt", a row per recognised vowel, "% enc."
        if (c >= 1 && c <= n) return confusio(c, r - 1);
        if (c == 0)
            return r == 1       ? text(IdText::GridSurt)
                   : r == n + 2 ? text(IdText::GridPercentEncerts)
                                : vocal(r - 1);
        if (r != 1) return {};
        if (c == n + 1) return std::to_string(proves_);
        if (c == n + 2) return std::to_string(encerts_);
        if (c == n + 3) return TextPercentatgeEncerts(encerts_, proves_, separadorDecimal_);
        return {};
    }
    if (r == n + 3) { // the last trial's vowels
        if (!ultimaProva_ || (c != 1 && c != 2)) return {};
        return vocal(c == 1 ? ultimaProva_->first : ultimaProva_->second);
    }
    if (r == n + 4) {
        if (c != 0) return bloc(blocActual_);
        return ultimaProva_ ? Etiqueta(ultimaProva_->first, ultimaProva_->second) : "";
    }
    if (r == n + 5) { // the error list's headers, every one in the experimenter mode
        if (c < 1 || c > (modeExperimentador_ ? 8 : 2)) return {};
        return text(static_cast<IdText>(static_cast<int>(IdText::GridError) + c - 1));
    }
    const int e = r - n - 5;
    if (e > NombreErrors()) return {};
    const Error& error = llistaErrors_[static_cast<std::size_t>(e - 1)];
    if (c == 0) return Etiqueta(error.Demanada, error.Reconeguda);
    if (c == 1) return std::to_string(e);
    // Where the analysed piece of this error's sound lies in the exported WAV's samples.
    if (c == 8) return std::to_string(SituacioError(e));
    return bloc(error.Bloc);
}

} // namespace tessora
