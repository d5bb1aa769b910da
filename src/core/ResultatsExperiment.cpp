#include "ResultatsExperiment.h"

#include "Cp1252.h"
#include "SubstitucioFitxer.h"
#include "UnitWave.h"

#include <algorithm>
#include <filesystem>

namespace tessora {

namespace {

constexpr char kFiLinia = '\r';
constexpr char kTab = '\t';

void AfegirFila(std::string& text, const TaulaText& grid, int r, int ultimaColumna) {
    for (int c = 0; c <= ultimaColumna; ++c) {
        text += grid.Cella(c, r);
        text += kTab;
    }
    text += kFiLinia;
}

} // namespace

std::string TextResultats(const Experiment& experiment, const CapcaleraResultats& capcalera) {
    const int n = experiment.NombreVocalsExperiment();
    const TaulaText& grid = experiment.GridErrors();
    std::string text = capcalera.Data + kTab + capcalera.Hora + kFiLinia;
    text += capcalera.Castella ? "Castellà" : "Català";
    text += kFiLinia;
    text += capcalera.VeuAguda ? "Veu Aguda" : "Veu Greu";
    text += kFiLinia;
    text += kFiLinia;
    for (int r = 0; r <= n + 2; ++r)
        AfegirFila(text, grid, r, n + 3);
    if (experiment.NombreErrors() > 0) {
        text += "\rERRORS\r";
        text += capcalera.ModeExperimentador ? "\tError\tNúm.\tFreq.\tF1\tMLPC\tS2F\tAF1\tSituació\r"
                                             : "\tError\tNúm.\r";
        for (int e = 1; e <= experiment.NombreErrors(); ++e)
            AfegirFila(text, grid, n + 5 + e, 8);
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
    ResultatExportacio resultat;
    const auto ranura0 = buffer.Ranura(0);
    std::fill(ranura0.begin(), ranura0.end(), kByteSilenci);

    resultat.TextDesat = SubstituirFitxer(std::filesystem::path(noms.Text), textResultats);
    if (!resultat.TextDesat) return resultat;
    resultat.ImatgeDesada = SubstituirFitxer(std::filesystem::path(noms.Imatge), imatge);

    if (avisNom) avisNom();
    const std::int32_t ranures = std::clamp(ranuresDesades, 0, kRanuresError);
    const std::size_t mida = static_cast<std::size_t>(ranures + 1) * kMidaEmissio;
    resultat.CodiWav = EscriureWav(std::filesystem::path(noms.Wav), 0, {buffer.Dades(), mida});
    return resultat;
}

} // namespace tessora
