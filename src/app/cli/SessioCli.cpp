#include "SessioCli.h"

#include "SubstitucioFitxer.h"
#include "TextsIdioma.h"
#include "UnitWave.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ostream>

namespace tessora {

namespace {

std::string Segons(std::size_t bloc) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f",
                  static_cast<double>(bloc) * kMidaBloc / static_cast<double>(kFrequenciaMostreig));
    return text;
}

void PosarLE32(std::uint8_t* desti, std::uint64_t valor) {
    for (int i = 0; i < 4; ++i)
        desti[i] = static_cast<std::uint8_t>(valor >> (8 * i));
}

} // namespace

// The --desa-captura file written as the blocks come: the writer lays out an empty file (notice, format,
// an empty "data" chunk), the blocks follow it, and at the end the sizes of "data" and "RIFF" are set,
// as the writer does, before the file takes its name. Memory stays the same however long the listening.
class CapturaDesada {
public:
    explicit CapturaDesada(const std::string& nom) : fitxer_(nom) {
        if (!fitxer_.Oberta()) {
            codi_ = kWavNoEsPotCrear;
            return;
        }
        SortidaWavSubstitucio sortida(fitxer_);
        codi_ = EscriureWav(sortida, 0, {});
        iniciDades_ = fitxer_.Posicio() - 8;
    }

    void Afegir(std::span<const std::uint8_t> bloc) {
        if (codi_ != kWavCorrecte) return;
        if (fitxer_.Posicio() - iniciDades_ - 8 + bloc.size() > kDadesMaximes || !fitxer_.Escriure(bloc))
            codi_ = kWavErrorDades;
    }

    std::int32_t Acabar() {
        if (codi_ != kWavCorrecte) return codi_;
        const std::uint64_t mida = fitxer_.Posicio() - iniciDades_ - 8;
        const std::uint8_t zero = 0;
        std::array<std::uint8_t, 4> camp{};
        PosarLE32(camp.data(), mida);
        if ((mida % 2 != 0 && !fitxer_.Escriure({&zero, 1})) || !fitxer_.EscriureA(iniciDades_ + 4, camp))
            return kWavErrorDades;
        PosarLE32(camp.data(), fitxer_.Posicio() - 8);
        return fitxer_.EscriureA(4, camp) ? ConfirmarWav(fitxer_) : kWavErrorDades;
    }

private:
    // What a 32-bit RIFF size can count, less the headers inside it and a pad byte.
    static constexpr std::uint64_t kDadesMaximes = 0xFFFFFFFFull - 112 - 1;
    SubstitucioFitxer fitxer_;
    std::int32_t codi_ = kWavCorrecte;
    std::uint64_t iniciDades_ = 0; // offset of the "data" chunk's id
};

SessioCli::SessioCli(const OpcionsCli& o, EstatAnalisi& estat, BufferSo& buffer, ControlCaptura& captura,
                     std::ostream& sortida, bool buidarCadaLinia)
    : opcions_(o), estat_(estat), bucle_(estat, buffer, captura), sortida_(sortida),
      buidarCadaLinia_(buidarCadaLinia) {
    if (!o.DesaCaptura.empty()) captura_ = std::make_unique<CapturaDesada>(o.DesaCaptura);
    controls_.ReconeixementContinu = o.Continu;
    controls_.TextLletra = o.Lletra;
    controls_.Analisi.VeuAguda = o.VeuAguda;
    controls_.Analisi.Castella = o.Llengua == "es";
    controls_.Analisi.TextOrdreLPC = o.Ordre;
    controls_.Analisi.TextFrequenciaMinima = o.FrequenciaMinima;
    controls_.Analisi.Preemfasis = !o.SensePreemfasi && !o.Oida;
    controls_.Analisi.EscalaAdaptadaOida = o.Oida;
    if (o.Csv) sortida_ << "block,time,vowel,pitch,F1,MigLPC,S2F,AF1,Y\n" << std::flush;
    if (!sortida_) errorSortida_ = errno != 0 ? errno : EIO;
}

EfecteBloc SessioCli::Bloc() {
    EfecteBloc efecte = bucle_.RebreBlocDeSo(controls_);
    if (!efecte.Escoltat) return efecte;
    const std::size_t bloc = blocs_++;
    if (captura_) captura_->Afegir({estat_.MostresCrues.data(), static_cast<std::size_t>(kMidaBloc)});
    if (!efecte.Analisi) return efecte;

    const ResultatReconeixement& r = *efecte.Analisi;
    if (r.Completa) liniaDades_ = r.LiniaDades;
    if (opcions_.Csv) {
        sortida_ << bloc << ',' << Segons(bloc) << ',' << r.Vocal << ',' << estat_.FrequenciaFonamental << ','
                 << FormatFix(estat_.FrequenciaF1, 0) << ',' << estat_.MigLPC << ',' << estat_.SeparacioF2F1
                 << ',' << estat_.AmpladaF1 << ',' << FormatFix(estat_.YF1YF2, 2) << '\n';
    } else {
        sortida_ << bloc << '\t' << r.Vocal << '\t' << liniaDades_ << '\n';
    }
    if (buidarCadaLinia_) sortida_.flush();
    if (!sortida_) {
        if (errorSortida_ == 0) errorSortida_ = errno != 0 ? errno : EIO;
        Parar(); // nobody gets the lines any more
    }
    return efecte;
}

SessioCli::~SessioCli() = default;

std::int32_t SessioCli::AcabarCaptura() {
    if (!captura_) return kWavCorrecte;
    const std::int32_t codi = captura_->Acabar();
    captura_.reset();
    return codi;
}

void SessioCli::Abandonar() {
    captura_.reset();
}

int ComprovarSortida(std::ostream& sortida, std::ostream& errors, int codi, int error) {
    errno = 0;
    if (sortida.flush() && error == 0) return codi;
    if (error == 0) error = errno != 0 ? errno : EIO;
    if (error != EPIPE) errors << kNomPrograma << ": standard output: " << std::strerror(error) << '\n';
    return codi == 0 ? 1 : codi;
}

std::unique_ptr<BufferSo> CrearBufferSo(std::ostream& errors) {
    std::unique_ptr<BufferSo> buffer = BufferSo::Crear();
    if (!buffer) errors << kNomPrograma << ": Memoria insuficiente\n";
    return buffer;
}

int DesarFitxers(const OpcionsCli& o, const BufferSo& buffer, SessioCli& sessio, std::ostream& errors) {
    auto informar = [&](const std::string& fitxer, std::int32_t codi) {
        if (codi != kWavCorrecte)
            errors << kNomPrograma << ": " << fitxer << ": " << MissatgeEscriureWav(codi) << '\n';
        return codi == kWavCorrecte;
    };
    bool correcte = true;
    if (!o.Desa.empty()) correcte = informar(o.Desa, EscriureWav(o.Desa, 0, buffer.Ranura(0))) && correcte;
    if (!o.DesaCaptura.empty()) correcte = informar(o.DesaCaptura, sessio.AcabarCaptura()) && correcte;
    return correcte ? 0 : 1;
}

} // namespace tessora
