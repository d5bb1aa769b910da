#include "ResultatsExperiment.h"

#include "Cp1252.h"
#include "SubstitucioFitxer.h"
#include "UnitWave.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <span>

namespace tessora {

namespace {

constexpr char kFiLinia = '\r';
constexpr char kTab = '\t';

std::span<const std::uint8_t> Bytes(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

void AfegirFila(std::string& text, const Experiment& experiment, int r, int ultimaColumna) {
    for (int c = 0; c <= ultimaColumna; ++c) {
        text += experiment.Cella(GridExperiment::Errors, c, r);
        text += kTab;
    }
    text += kFiLinia;
}

} // namespace

std::string TextResultats(const Experiment& experiment, const CapcaleraResultats& capcalera) {
    const int n = experiment.NombreVocalsExperiment();
    std::string text = capcalera.Data + kTab + capcalera.Hora + kFiLinia;
    text += capcalera.Castella ? "Castellà" : "Català";
    text += kFiLinia;
    text += capcalera.VeuAguda ? "Veu Aguda" : "Veu Greu";
    text += kFiLinia;
    text += kFiLinia;
    for (int r = 0; r <= n + 2; ++r)
        AfegirFila(text, experiment, r, n + 3);
    if (experiment.NombreErrors() > 0) {
        text += "\rERRORS\r";
        text += capcalera.ModeExperimentador ? "\tError\tNúm.\tFreq.\tF1\tMLPC\tS2F\tAF1\tSituació\r"
                                             : "\tError\tNúm.\r";
        for (int e = 1; e <= experiment.NombreErrors(); ++e)
            AfegirFila(text, experiment, n + 5 + e, 8);
    }
    return ACp1252(text);
}

NomsExportacio NomsFitxersExportacio(std::string_view nomTriat) {
    // Back over the last four characters (not bytes) of the UTF-8 name.
    std::size_t inici = nomTriat.size();
    for (int caracters = 0; caracters < 4 && inici > 0;) {
        --inici;
        if ((static_cast<unsigned char>(nomTriat[inici]) & 0xC0) != 0x80) ++caracters;
    }
    NomsExportacio noms;
    noms.Wav = std::string(nomTriat);
    if (nomTriat.substr(inici).find('.') == std::string_view::npos) noms.Wav += ".wav";
    noms.Text = noms.Wav + ".txt";
    noms.Imatge = noms.Wav + ".png";
    return noms;
}

ResultatExportacio ExportarResultats(const NomsExportacio& noms, std::string_view textResultats,
                                     std::string_view imatge, BufferSo& buffer, std::int32_t ranuresDesades,
                                     const std::function<void()>& avisNom) {
    const auto ranura0 = buffer.Ranura(0);
    std::fill(ranura0.begin(), ranura0.end(), kByteSilenci);
    const std::int32_t ranures = std::clamp(ranuresDesades, 0, kRanuresError);
    const std::size_t mida = static_cast<std::size_t>(ranures + 1) * kMidaEmissio;

    SubstitucioFitxer text(std::filesystem::path(noms.Text));
    SubstitucioFitxer carta(std::filesystem::path(noms.Imatge));
    SubstitucioFitxer wav(std::filesystem::path(noms.Wav));
    // A WAV write can fail without a system error only by holding more than the format can count.
    const auto fallada = [](const std::string& nom, const SubstitucioFitxer& fitxer) {
        return ResultatExportacio{nom, fitxer.Error() != 0 ? fitxer.Error() : EFBIG};
    };
    if (!text.Escriure(Bytes(textResultats))) return fallada(noms.Text, text);
    if (!carta.Escriure(Bytes(imatge))) return fallada(noms.Imatge, carta);
    SortidaWavSubstitucio sortida(wav);
    if (!wav.Oberta() || EscriureWav(sortida, 0, {buffer.Dades(), mida}) != kWavCorrecte)
        return fallada(noms.Wav, wav);

    using enum SubstitucioFitxer::Resultat;
    if (text.Confirmar() != Correcte) return fallada(noms.Text, text);
    if (carta.Confirmar() != Correcte) return fallada(noms.Imatge, carta);
    if (avisNom) avisNom();
    if (wav.Confirmar() != Correcte) return fallada(noms.Wav, wav);
    return {};
}

} // namespace tessora
