// The session driven by a scripted input, as the windows drive it: what an utterance shows everywhere,
// the graphs options and MigLPC, the experiment's listening and results text, the settings file, the
// input's troubles, the timeline and its playback.
#include "CarpetaTemporal.h"
#include "DispositiuGuionat.h"
#include "PerNom.h"
#include "Sessio.h"
#include "Tools.h"
#include "UnitWave.h"
#include "VocalSintetica.h"

#include <gtest/gtest.h>

#include <map>

namespace tessora {
namespace {

using Bytes = std::vector<std::uint8_t>;
const Bytes kSilenci(kMidaBloc, 127);

// An output that plays nothing: it keeps what it was given and ends when told (or when a new one starts).
struct SortidaGuionada final : SortidaDeSo {
    std::int32_t Reproduir(std::vector<std::uint8_t> mostres, std::function<void()> acabat) override {
        if (Codi == 0) Sonat = std::move(mostres), Acabats.push_back(std::move(acabat));
        return Codi;
    }
    void Aturar() override {
        for (auto& acabat : std::exchange(Acabats, {}))
            acabat();
    }
    bool Reproduint() const override { return !Acabats.empty(); }
    std::int32_t Codi = 0;
    std::vector<std::uint8_t> Sonat;
    std::vector<std::function<void()>> Acabats;
};

// A session over a scripted device, with no settings file at first: Spanish, an ordinary voice.
struct Banc {
    proves::CarpetaTemporal carpeta;
    proves::DispositiuGuionat dispositiu;
    SortidaGuionada sortida;
    int avisos = 0, fins = 0;
    std::string ordres;
    std::unique_ptr<Sessio> Crear() {
        return Sessio::Crear({dispositiu, [this] { ++avisos; }, carpeta.Cami() / "Tessora.ini", ordres, ',',
                              nullptr, &sortida, [this] { ++fins; }, carpeta.Cami() / "models.tsv"});
    }
    std::unique_ptr<Sessio> s = Crear();

    // The device delivers `bytes`; each notification is taken, and the last one's value returned.
    EfecteSessio Bloc(const Bytes& bytes) {
        dispositiu.Lliurar(bytes);
        EfecteSessio efecte;
        for (; avisos > 0; --avisos)
            efecte = s->RebreBlocDeSo();
        return efecte;
    }
    // An utterance of two loud blocks (the second is analysed) and the third one, where the experiment
    // takes it; the second's value.
    EfecteSessio Emissio(const Bytes& bloc) {
        Bloc(bloc);
        EfecteSessio analitzat = Bloc(bloc);
        Bloc(bloc), Bloc(kSilenci);
        return analitzat;
    }
};

// A synthetic vowel as the device delivers it: period, formants; with `saturat` its peak clips.
Bytes Vocal(int periode, double f1, double f2, bool saturat = false) {
    Bytes bloc = proves::BytesVocalSintetica(periode, f1, f2, 80);
    if (saturat) *std::max_element(bloc.begin(), bloc.end()) = 254;
    return bloc;
}
const Bytes kA = Vocal(88, 800, 1200);
// A faint "A" on a steep ramp: the ramp leaves no valley in the difference curve, so no pitch is found.
Bytes SenseFrequencia() {
    const auto v = proves::VocalSintetica(88, 800, 1200, 10);
    Bytes bloc(kMidaBloc);
    for (int i = 0; i < kMidaBloc; ++i)
        bloc[i] =
            static_cast<std::uint8_t>(std::lround(18 + 220.0 * i / 511) + v[static_cast<std::size_t>(i)]);
    return bloc;
}

// Language, the block, the letter, whether it clipped. Every decided vowel reaches the letter, the chart
// and the experiment's row; a block without a pitch decides none. The caption warns in the language shown.
using CasEmissio = std::tuple<const char*, Idioma, Bytes, const char*, bool>;
class Emissio : public testing::TestWithParam<CasEmissio> {};

TEST_P(Emissio, CadaFinestraRepElQueLiToca) {
    const auto& [nom, idioma, bloc, lletra, saturat] = GetParam();
    Banc b;
    b.s->FixarIdioma(idioma);
    EXPECT_TRUE(b.s->EngegarParar().EscoltaCanviada && b.s->Escoltant());
    const EfecteSessio e = b.Emissio(bloc);
    EXPECT_EQ(e.Lletra, lletra);
    EXPECT_EQ(e.ColorDeLletra, saturat ? ColorLletra::Vermell : ColorLletra::Blau);
    EXPECT_EQ(e.Titol, Text(idioma, saturat ? IdText::AvisSaturacio : IdText::TitolPrincipal));
    EXPECT_EQ(e.Nivell->Color, saturat ? ColorNivell::Vermell : ColorNivell::Blau);
    EXPECT_EQ(e.NouPunt ? e.NouPunt->Vocal : "", lletra);
    EXPECT_EQ(b.s->Carta().Punts().size() + e.FilaBlocActual, *lletra != '\0' ? 2u : 0u);
    EXPECT_TRUE(e.LiniaDades && e.Refresc == RefrescGrafics::Cap); // the graphs are hidden
}
INSTANTIATE_TEST_SUITE_P(
    Casos, Emissio,
    testing::Values(CasEmissio{"CastellaSaturat", Idioma::Castella, Vocal(88, 800, 1200, true), "A", true},
                    CasEmissio{"CatalaSaturat", Idioma::Catala, Vocal(88, 700, 1600, true), "AE", true},
                    CasEmissio{"SenseFrequenciaFonamental", Idioma::Castella, SenseFrequencia(), "", false}),
    proves::PerNom{});

// Each option toggled: the six that change the analysis or the picture analyse the block again at once
// (its letter and data line are shown, the picture repainted, MigLPC set by it); "No Repintar" and
// "Reconeixement continu" wait for the next block. Pre-emphasis and the ear-adapted scale exclude each
// other. While the graphs are hidden MigLPC is the analysis's own. The option, whether it analyses
// again, pre-emphasis and the ear-adapted scale afterwards.
using CasOpcio = std::tuple<const char*, OpcioGrafics, bool, bool, bool>;
class Opcio : public testing::TestWithParam<CasOpcio> {};

TEST_P(Opcio, UnaOpcioQueCanviaLAnalisiLaTornaAFer) {
    const auto& [nom, opcio, reanalitza, preemfasi, oida] = GetParam();
    Banc b;
    b.s->EngegarParar();
    b.s->FixarTextsGrafics("11", "abc", "");
    const Bytes bloc = Vocal(88, 600, 1000); // MigLPC 818, the picture's half-sum 840
    b.Bloc(bloc);
    EXPECT_EQ(b.Bloc(bloc).NouTextFrequenciaMinima, "60"); // the analysed block stays in Mostres
    b.s->RedibuixarGrafics();
    EXPECT_EQ(b.s->Estat().MigLPC, 818);
    b.s->FixarGraficsVisibles(true);
    const bool marcada = b.s->Grafics().Marcada(opcio);
    const EfecteSessio e = b.s->CommutarOpcio(opcio);
    EXPECT_NE(b.s->Grafics().Marcada(opcio), marcada);
    EXPECT_EQ(std::pair(b.s->Grafics().Preemfasis, b.s->Grafics().EscalaAdaptadaOida),
              std::pair(preemfasi, oida));
    EXPECT_EQ(e.LiniaDades.has_value() + e.Lletra.has_value(), reanalitza ? 2 : 0);
    EXPECT_EQ(e.Refresc, reanalitza ? RefrescGrafics::Repintar : RefrescGrafics::Cap);
    EXPECT_EQ(b.s->Carta().Punts().size(), 1u); // a second look at the same block adds no point
    if (reanalitza) {                           // the picture's half-sum
        const EstatAnalisi& estat = b.s->Estat();
        const std::optional<int> meitat = PuntMeitatEnvolupant(estat);
        ASSERT_TRUE(meitat);
        EXPECT_EQ(estat.MigLPC,
                  ArrodonirLimitat(estat.FrequenciesEspectre[static_cast<std::size_t>(*meitat)]));
    }
    b.Bloc(kSilenci); // then the next utterance
    EXPECT_EQ(b.Emissio(bloc).Refresc,
              opcio == OpcioGrafics::NoRepintar ? RefrescGrafics::DibuixarDirecte : RefrescGrafics::Repintar);
}
INSTANTIATE_TEST_SUITE_P(
    Opcions, Opcio,
    testing::Values(CasOpcio{"VeureLPC", OpcioGrafics::VeureLPC, true, true, false},
                    CasOpcio{"VeureMarquesLPC", OpcioGrafics::VeureMarquesLPC, true, true, false},
                    CasOpcio{"VeureFFT", OpcioGrafics::VeureFFT, true, true, false},
                    CasOpcio{"NormalitzarFFT", OpcioGrafics::NormalitzarFFT, true, true, false},
                    CasOpcio{"Preemfasis", OpcioGrafics::Preemfasis, true, false, false},
                    CasOpcio{"Oida", OpcioGrafics::EscalaAdaptadaOida, true, false, true},
                    CasOpcio{"NoRepintar", OpcioGrafics::NoRepintar, false, true, false},
                    CasOpcio{"Continu", OpcioGrafics::ReconeixementContinu, false, true, false}),
    proves::PerNom{});

// The experiment turns listening on and off through the session; a start the device refuses is told
// and prompts nothing. The results text names the session's language, voice and mode.
TEST(Sessio, LExperimentEscoltaIElTextDeResultats) {
    Banc b;
    b.dispositiu.CodiObrir = 3;
    b.s->PrepararExperiment();
    const EfecteSessio fallat = b.s->Experimentar();
    EXPECT_TRUE(fallat.ErrorEngegar == 3 && !fallat.Experiment.MostrarIndicacio && !b.s->Escoltant());
    b.dispositiu.CodiObrir = 0;
    EXPECT_TRUE(b.s->Experimentar().Experiment.MostrarIndicacio && b.s->Escoltant());
    b.Bloc(kA), b.Bloc(kA);
    EXPECT_TRUE(b.Bloc(kA).Experiment.ProgramarPausa); // the third loud block is the answer
    EXPECT_EQ(b.s->DadesExperiment().NombreProves(), 1);
    const EfecteSessio parat = b.s->PararExperiment();
    EXPECT_TRUE(parat.EscoltaCanviada && parat.Experiment.AmagarIndicacio && !b.s->Escoltant());

    const auto linies = [&] { // the language's and the voice's
        const std::string text = b.s->TextResultats("d", "h");
        return text.substr(4, text.find("\r\r") - 4);
    };
    EXPECT_EQ(linies(), "Castell\xE0\rVeu Greu");
    b.s->FixarIdioma(Idioma::Catala), b.s->FixarVeuAguda(true);
    EXPECT_EQ(linies(), "Catal\xE0\rVeu Aguda");
}

// The settings file is read at the start and written at the close; the input's troubles reach the
// windows: the blocks it lost, once, and its loss, which stops listening.
TEST(Sessio, ConfiguracioIEntrada) {
    Banc b;
    b.s->FixarIdioma(Idioma::Catala), b.s->FixarVeuAguda(true);
    EXPECT_TRUE(b.s->Tancar());
    b.s = b.Crear();
    EXPECT_TRUE(b.s->Llengua() == Idioma::Catala && b.s->VeuAguda());
    b.s->EngegarParar();
    b.dispositiu.Lliurar(Bytes(3 * kMidaBloc, 127)); // three blocks before the first is taken
    b.avisos = 0;
    EXPECT_EQ(b.s->RebreBlocDeSo().BlocsPerduts, 1u);
    EXPECT_FALSE(b.s->RebreBlocDeSo().BlocsPerduts);
    b.dispositiu.Fallar();
    const EfecteSessio perduda = b.Bloc({});
    EXPECT_TRUE(perduda.EntradaPerduda && perduda.EscoltaCanviada && !b.s->Escoltant());
}

// The timeline holds what the loop reported, block by block: an utterance per run of loud blocks (a stop
// ends one), each analysis with the values of the data line the loop wrote for it.
TEST(Sessio, LaLiniaDeTempsGuardaElQueElBucleVaDir) {
    Banc b;
    b.s->EngegarParar();
    const Bytes kO = Vocal(88, 600, 1000);
    std::map<std::int64_t, EfecteSessio> dits;
    for (const Bytes* bloc : {&kSilenci, &kA, &kA, &kA, &kSilenci, &kO, &kO, &kSilenci, &kA})
        dits[std::ssize(dits)] = b.Bloc(*bloc);
    b.s->EngegarParar();
    std::string registres;
    std::size_t analisis = 0;
    for (const EmissioLinia& e : b.s->Linia().Emissions()) {
        registres += std::to_string(e.PrimerBloc) + '-' + std::to_string(e.DarrerBloc) + e.Vocal + ';';
        for (const AnalisiBloc& a : e.Analisis) {
            const EfecteSessio& dit = dits[a.Bloc];
            EXPECT_EQ(dit.Lletra, a.Vocal);
            EXPECT_TRUE(dit.LiniaDades->starts_with("Freq: " + std::to_string(a.Frequencia) +
                                                    " - F1:" + FormatFix(a.F1, 0, ',')));
            EXPECT_NE(dit.LiniaDades->find(" - S2F:" + std::to_string(a.S2F) + ' '), std::string::npos);
        }
        analisis += e.Analisis.size();
    }
    EXPECT_EQ(registres, "1-3A;5-6O;8-8;");
    EXPECT_EQ(analisis,
              std::ranges::count_if(dits, [](const auto& d) { return d.second.LiniaDades.has_value(); }));
    EXPECT_TRUE(b.s->Linia().Emissions().back().Acabada);
}

// A selected utterance is played and saved whole, byte for byte; in experimenter mode the graphs show its
// analysed block as it was; it gives its vowel a model, kept in the file. Without a selection Save keeps
// slot 0; the session is saved as a WAV and its TextGrid.
TEST(Sessio, UnaEmissioSeleccionada) {
    Banc b;
    b.ordres = "qevrun";
    b.s = b.Crear();
    b.s->FixarGraficsVisibles(true);
    b.s->EngegarParar();
    const Bytes kA2 = Vocal(90, 800, 1200), kO = Vocal(88, 600, 1000);
    Bytes so;
    std::optional<std::string> linia;
    for (const Bytes* bloc : {&kA, &kA2, &kA, &kA2}) {
        so.insert(so.end(), bloc->begin(), bloc->end());
        if (const auto dit = b.Bloc(*bloc).LiniaDades) linia = dit; // the second block's
    }
    const std::array envolupant = b.s->Estat().EnvolupantLPC;
    b.Bloc(kSilenci), b.Emissio(kO);
    const auto dades = [](const std::filesystem::path& wav) { // the samples, after the headers
        const Bytes bytes = proves::LlegirBytes(wav);
        return Bytes(bytes.begin() + std::min<std::size_t>(bytes.size(), 120), bytes.end());
    };

    const EfecteSessio e = b.s->Seleccionar(0);
    EXPECT_TRUE(e.SeleccioCanviada && e.ReproduccioCanviada && b.s->Reproduint());
    EXPECT_EQ(b.sortida.Sonat, so);
    EXPECT_TRUE(e.Refresc == RefrescGrafics::Repintar && e.LiniaDades == linia);
    EXPECT_EQ(b.s->Estat().EnvolupantLPC, envolupant);
    const auto wav = b.carpeta.Cami() / "a.wav";
    ASSERT_EQ(b.s->DesarEmissio(wav), kWavCorrecte);
    EXPECT_EQ(dades(wav), so);

    EXPECT_TRUE(b.s->FixarModel().ModelsCanviats);
    const PuntCarta& punt = b.s->Carta().Punts().front();
    EXPECT_EQ(b.s->Models().Model("A"), (ModelVocal{punt.F1, punt.F2}));
    ModelsVocals llegits(b.carpeta.Cami() / "models.tsv");
    llegits.Carregar();
    EXPECT_EQ(llegits.Tots(), b.s->Models().Tots());

    b.s->Seleccionar(std::nullopt);
    ASSERT_EQ(b.s->DesarEmissio(wav), kWavCorrecte);
    Bytes slot0;
    for (int i = 0; i < kBlocsPerEmissio; ++i)
        slot0.insert(slot0.end(), kO.begin(), kO.end());
    EXPECT_EQ(dades(wav), slot0);
    std::filesystem::path fitxer;
    EXPECT_EQ(b.s->DesarSessio(b.carpeta.Cami() / "no" / "s.wav", fitxer), ENOENT);
    EXPECT_EQ(fitxer, b.carpeta.Cami() / "no" / "s.wav");
    ASSERT_EQ(b.s->DesarSessio(b.carpeta.Cami() / "s.wav", fitxer), 0);
    EXPECT_EQ(fitxer, b.carpeta.Cami() / "s.TextGrid");
    EXPECT_EQ(dades(b.carpeta.Cami() / "s.wav"), b.s->Linia().SoSencer());
    EXPECT_EQ(std::get<TextGrid>(LlegirTextGrid(fitxer)), b.s->Linia().Graella());
}

// While an utterance plays, the blocks heard are dropped (the meter at 0) unless there are headphones;
// the end of the playback, or a device that refuses it, lets them in again.
class Auriculars : public testing::TestWithParam<bool> {};

TEST_P(Auriculars, ElQueSentDurantLaReproduccio) {
    const bool auriculars = GetParam();
    Banc b;
    b.s->FixarAuriculars(auriculars);
    b.s->EngegarParar();
    b.Emissio(kA);
    b.s->Seleccionar(0);
    const EfecteSessio durant = b.Bloc(kA);
    EXPECT_EQ(durant.Nivell->Nivell == 0, !auriculars);
    EXPECT_EQ(b.s->Linia().BlocsRebuts(), auriculars ? 5 : 4);
    b.sortida.Aturar();
    EXPECT_EQ(b.fins, 1);
    EXPECT_TRUE(b.s->AcabarReproduccio().ReproduccioCanviada && !b.s->Reproduint());
    b.sortida.Codi = 7;
    EXPECT_EQ(b.s->Reproduir().ErrorReproduir, 7);
    EXPECT_TRUE(b.Bloc(kA).Nivell->Nivell > 0 && !b.s->Reproduint());
}
INSTANTIATE_TEST_SUITE_P(AmbISense, Auriculars, testing::Bool());

} // namespace
} // namespace tessora
