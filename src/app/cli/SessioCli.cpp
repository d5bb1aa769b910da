#include "SessioCli.h"

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
                     std::ostream& sortida)
    : opcions_(o), estat_(estat), bucle_(estat, buffer, captura), sortida_(sortida) {
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
    if (!opcions_.DesaCaptura.empty())
        so_.insert(so_.end(), estat_.MostresCrues.begin(), estat_.MostresCrues.begin() + kMidaBloc);
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
    if (!sortida_.flush()) {
        if (errorSortida_ == 0) errorSortida_ = errno != 0 ? errno : EIO;
        Parar(); // nobody gets the lines any more
    }
    return efecte;
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

int DesarFitxers(const OpcionsCli& o, const BufferSo& buffer, const SessioCli& sessio, std::ostream& errors) {
    auto desar = [&](const std::string& fitxer, std::span<const std::uint8_t> bytes) {
        const std::int32_t codi = EscriureWav(fitxer, 0, bytes);
        if (codi != kWavCorrecte)
            errors << kNomPrograma << ": " << fitxer << ": " << MissatgeEscriureWav(codi) << '\n';
        return codi == kWavCorrecte;
    };
    bool correcte = true;
    if (!o.Desa.empty()) correcte = desar(o.Desa, buffer.Ranura(0)) && correcte;
    if (!o.DesaCaptura.empty()) correcte = desar(o.DesaCaptura, sessio.SoEscoltat()) && correcte;
    return correcte ? 0 : 1;
}

} // namespace tessora
