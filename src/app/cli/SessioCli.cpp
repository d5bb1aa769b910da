#include "SessioCli.h"

#include "SubstitucioFitxer.h"
#include "TextsIdioma.h"
#include "UnitWave.h"

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

} // namespace

SessioCli::SessioCli(const OpcionsCli& o, EstatAnalisi& estat, BufferSo& buffer, ControlCaptura& captura,
                     std::ostream& sortida, std::ostream& errors, std::unique_ptr<GravacioWav> desada,
                     bool buidarCadaLinia, std::string campFitxer)
    : opcions_(o), estat_(estat), bucle_(estat, buffer, captura), sortida_(sortida),
      campFitxer_(std::move(campFitxer)), buidarCadaLinia_(buidarCadaLinia), errors_(errors),
      desada_(std::move(desada)) {
    controls_.ReconeixementContinu = o.Continu;
    controls_.TextLletra = o.Lletra;
    controls_.Analisi.VeuAguda = o.VeuAguda;
    controls_.Analisi.Castella = o.Llengua == "es";
    controls_.Analisi.TextOrdreLPC = o.Ordre;
    controls_.Analisi.TextFrequenciaMinima = o.FrequenciaMinima;
    controls_.Analisi.Preemfasis = !o.SensePreemfasi && !o.Oida;
    controls_.Analisi.EscalaAdaptadaOida = o.Oida;
}

std::int32_t SessioCli::Engegar() {
    const std::int32_t codi = bucle_.SpeedButtonEngegarPararClick();
    if (codi != 0 || !opcions_.Csv || !campFitxer_.empty()) return codi;
    sortida_ << kCapcaleraCsv << std::flush;
    if (!sortida_) errorSortida_ = errno != 0 ? errno : EIO;
    return codi;
}

EfecteBloc SessioCli::Bloc() {
    EfecteBloc efecte = bucle_.RebreBlocDeSo(controls_);
    if (!efecte.Escoltat) return efecte;
    if (desada_ && !desada_->Afegir({estat_.MostresCrues.data(), static_cast<std::size_t>(kMidaBloc)})) {
        const Idioma idioma = opcions_.IdiomaTexts();
        InformarFitxer(errors_, idioma, IdText::CapturaAturada, opcions_.DesaCaptura,
                       desada_->AlLimit() ? Text(idioma, IdText::LimitWav)
                                          : DescripcioError(desada_->Error()));
        desadaTallada_ = true;
        Parar();
        efecte.Analisi.reset();
        return efecte;
    }
    const std::size_t bloc = blocs_++;
    if (!efecte.Analisi) return efecte;

    const ResultatReconeixement& r = *efecte.Analisi;
    if (r.Completa) liniaDades_ = r.LiniaDades;
    if (opcions_.Csv) {
        sortida_ << campFitxer_ << bloc << ',' << Segons(bloc) << ',' << r.Vocal << ','
                 << estat_.FrequenciaFonamental << ',' << FormatFix(estat_.FrequenciaF1, 0) << ','
                 << estat_.MigLPC << ',' << estat_.SeparacioF2F1 << ',' << estat_.AmpladaF1 << ','
                 << FormatFix(estat_.YF1YF2, 2) << '\n';
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

bool SessioCli::AcabarCaptura() {
    if (!desada_) return true;
    const bool posada = desada_->Acabar() == kWavCorrecte;
    if (!posada)
        InformarFitxer(errors_, opcions_.IdiomaTexts(), IdText::TextNoEsPotCrear, opcions_.DesaCaptura,
                       DescripcioError(desada_->Error()));
    desada_.reset();
    return posada && !desadaTallada_;
}

void InformarFitxer(std::ostream& errors, Idioma idioma, IdText id, const std::string& fitxer,
                    std::string_view motiu) {
    errors << kNomPrograma << ": " << Text(idioma, id) << fitxer << ": " << motiu << '\n';
}

bool ObrirCaptura(const OpcionsCli& o, std::unique_ptr<GravacioWav>& desada, std::ostream& errors) {
    if (o.DesaCaptura.empty()) return true;
    desada = std::make_unique<GravacioWav>(o.DesaCaptura);
    if (desada->Oberta()) return true;
    InformarFitxer(errors, o.IdiomaTexts(), IdText::TextNoEsPotCrear, o.DesaCaptura,
                   DescripcioError(desada->Error()));
    desada.reset();
    return false;
}

std::string SegonsDeSo(std::uint64_t blocs) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", static_cast<double>(blocs) * kMidaBloc / kFrequenciaMostreig);
    return text;
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
    bool correcte = true;
    int error = 0;
    if (!o.Desa.empty() && EscriureWav(o.Desa, 0, buffer.Ranura(0), &error) != kWavCorrecte) {
        InformarFitxer(errors, o.IdiomaTexts(), IdText::TextNoEsPotCrear, o.Desa, DescripcioError(error));
        correcte = false;
    }
    return sessio.AcabarCaptura() && correcte ? 0 : 1;
}

} // namespace tessora
