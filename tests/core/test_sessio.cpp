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
#include <sqlite3.h>

namespace tessora {
namespace {

using Bytes = std::vector<std::uint8_t>;
const Bytes kSilenci(kMidaBloc, 127);

// An output that plays nothing: it keeps what it was given, and its playbacks end when it is stopped.
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
    Bytes Sonat;
    std::vector<std::function<void()>> Acabats;
};

// Prompts "E" every time.
struct FontE final : FontAleatoria {
    void Sembrar() override {}
    std::int32_t Enter(std::int32_t) override { return 1; }
};

// A session over a scripted device, with no settings file at first: Spanish, an ordinary voice; its clock
// is `ara`.
struct Banc {
    proves::CarpetaTemporal carpeta;
    proves::DispositiuGuionat dispositiu;
    SortidaGuionada sortida;
    FontE font;
    int avisos = 0, fins = 0;
    std::string ordres;
    std::int64_t ara = 1'000'000;
    std::chrono::milliseconds espera{2000};
    std::filesystem::path Diari() const { return carpeta.Cami() / "diari.sqlite"; }
    std::unique_ptr<Sessio> Crear() {
        return Sessio::Crear({dispositiu, [this] { ++avisos; }, carpeta.Cami() / "Tessora.ini", ordres, ',',
                              &font, &sortida, [this] { ++fins; }, carpeta.Cami() / "models.tsv", Diari(),
                              [this] { return ara; }, espera});
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
// ends one), each analysis with its data line's values. A selected utterance is played and saved whole;
// in experimenter mode the graphs show its analysed block as it was; it gives its vowel the model its
// chart point has, kept for the next start. Without a selection Save keeps slot 0. "Desa la sessió".
TEST(Sessio, LaLiniaDeTempsIUnaEmissioSeleccionada) {
    Banc b;
    b.ordres = "qevrun";
    b.s = b.Crear();
    b.s->FixarGraficsVisibles(true);
    b.s->EngegarParar();
    const Bytes kA2 = Vocal(90, 800, 1200), kO = Vocal(88, 600, 1000);
    std::vector<EfecteSessio> dits;
    std::array<float, kCapacitatMostres> envolupant{};
    for (const Bytes* bloc : {&kSilenci, &kA, &kA2, &kA, &kA2, &kSilenci, &kO, &kO, &kSilenci, &kA}) {
        dits.push_back(b.Bloc(*bloc));
        if (dits.size() == 3) envolupant = b.s->Estat().EnvolupantLPC;
    }
    b.s->EngegarParar();
    std::string registres;
    for (const EmissioLinia& e : b.s->Linia().Emissions()) {
        registres += std::to_string(e.PrimerBloc) + '-' + std::to_string(e.DarrerBloc) + e.Vocal + ';';
        for (const AnalisiBloc& a : e.Analisis) {
            const EfecteSessio& dit = dits[static_cast<std::size_t>(a.Bloc)];
            registres += '@' + std::to_string(a.Bloc) + ';';
            EXPECT_EQ(dit.Lletra, a.Vocal);
            EXPECT_TRUE(dit.LiniaDades->starts_with("Freq: " + std::to_string(a.Frequencia) +
                                                    " - F1:" + FormatFix(a.F1, 0, ',')));
            EXPECT_NE(dit.LiniaDades->find(" - S2F:" + std::to_string(a.S2F) + ' '), std::string::npos);
        }
    }
    EXPECT_EQ(registres, "1-4A;@2;6-7O;@7;9-9;"); // the loop analysed blocks 2 and 7
    EXPECT_TRUE(b.s->Linia().Emissions().back().Acabada);

    const EfecteSessio e = b.s->Seleccionar(1);
    EXPECT_TRUE(e.SeleccioCanviada && e.ReproduccioCanviada && b.s->Reproduint());
    const Bytes so = b.s->Linia().So(1, 4);
    EXPECT_TRUE(so.size() == 4 * kMidaBloc && std::equal(kA2.begin(), kA2.end(), so.end() - kMidaBloc));
    EXPECT_TRUE(b.sortida.Sonat == so && e.Refresc == RefrescGrafics::Repintar &&
                e.LiniaDades == dits[2].LiniaDades);
    EXPECT_EQ(b.s->Estat().EnvolupantLPC, envolupant);
    const auto dades = [&](const char* nom) { // the samples, after the headers
        const Bytes bytes = proves::LlegirBytes(b.carpeta.Cami() / nom);
        return Bytes(bytes.begin() + std::min<std::ptrdiff_t>(std::ssize(bytes), 120), bytes.end());
    };
    EXPECT_TRUE(b.s->DesarEmissio(b.carpeta.Cami() / "a.wav") == 0 && dades("a.wav") == so);
    EXPECT_TRUE(b.s->FixarModel().ModelsCanviats);
    const PuntCarta& punt = b.s->Carta().Punts().front();
    EXPECT_EQ(b.s->Models().Model("A"), (ModelVocal{punt.F1, punt.F2}));
    EXPECT_EQ(b.Crear()->Models().Tots(), b.s->Models().Tots());

    EXPECT_TRUE(b.s->Seleccionar(std::nullopt).SeleccioCanviada);
    EXPECT_TRUE(b.s->DesarEmissio(b.carpeta.Cami() / "a.wav") == 0 && dades("a.wav").size() == kMidaEmissio);
    std::filesystem::path fitxer;
    EXPECT_TRUE(b.s->DesarSessio(b.carpeta.Cami() / "no" / "s.wav", fitxer) == ENOENT &&
                fitxer.filename() == "s.wav");
    ASSERT_TRUE(b.s->DesarSessio(b.carpeta.Cami() / "s.wav", fitxer) == 0 &&
                fitxer.filename() == "s.TextGrid");
    EXPECT_EQ(dades("s.wav"), b.s->Linia().SoSencer());
    EXPECT_EQ(std::get<TextGrid>(LlegirTextGrid(fitxer)), b.s->Linia().Graella());
}

// Every way a run stops stores it, under the speaker named by then, with the clock's times, the settings
// in force and its trials (each "A" answering the prompted "E": an error, its features, its place in the
// WAV); a run of no trials is not stored.
enum class Aturada { Parar, Cent, Tancar };
class Aturades : public testing::TestWithParam<std::pair<const char*, Aturada>> {};

TEST_P(Aturades, CadaCursaEsDesaQuanSAtura) {
    const Aturada aturada = GetParam().second;
    Banc b;
    b.s->PrepararExperiment();
    b.s->Experimentar(), b.s->PararExperiment(); // no trials: not stored
    b.s->Experimentar();
    b.s->FixarParlant(" Anna\t");
    for (int i = 0; i < (aturada == Aturada::Cent ? kProvesPerTanda : 2); ++i) {
        b.Emissio(kA);
        if (i < kProvesPerTanda - 1 || aturada != Aturada::Cent) b.s->AcabarPausa();
    }
    b.ara += 60;
    const EfecteSessio e = aturada == Aturada::Parar  ? b.s->PararExperiment()
                           : aturada == Aturada::Cent ? b.s->AcabarPausa()
                                                      : EfecteSessio{};
    EXPECT_TRUE(!e.Diari && (aturada == Aturada::Tancar ? b.s->Tancar() : e.Experiment.EnMarxa == false));
    // The program ends without destructors: the close leaves the journal in its one file.
    EXPECT_EQ(std::filesystem::exists(b.Diari().string() + "-wal"), aturada != Aturada::Tancar);
    const std::vector<CursaDiari> curses = tessora::Diari(b.Diari()).Curses();
    ASSERT_EQ(curses.size(), 1u);
    const CursaDiari& c = curses[0];
    EXPECT_TRUE(c.Parlant == "Anna" && c.Inici == 1'000'000 && c.Fi == 1'000'060 && c.Castella &&
                !c.VeuAguda);
    EXPECT_EQ(c.Parametres.front(), (std::pair<std::string, std::string>("OrdreLPC", "11")));
    ASSERT_EQ(c.Proves.size(), aturada == Aturada::Cent ? 100u : 2u);
    const ProvaDiari& p = c.Proves[1];
    EXPECT_TRUE(p.Demanada == "E" && p.Reconeguda == "A" && p.F1 && p.Frequencia && p.S2F);
    EXPECT_EQ(p.Situacio, (3 * 2 + 1) * kMidaBloc); // the second error's analysed piece
}
INSTANTIATE_TEST_SUITE_P(Maneres, Aturades,
                         testing::Values(std::pair("Parar", Aturada::Parar), std::pair("Cent", Aturada::Cent),
                                         std::pair("Tancar", Aturada::Tancar)),
                         proves::PerNom{});

// Another program holds the journal: the run is kept and that is told once; the next chance (here the
// window's close) stores every run kept and says so.
TEST(Sessio, UnDiariOcupatGuardaLaCursaIMesTardLaDesa) {
    Banc b;
    b.espera = std::chrono::milliseconds(10);
    b.s = b.Crear();
    b.s->PrepararExperiment();
    sqlite3* altre = nullptr;
    ASSERT_EQ(sqlite3_open(b.Diari().c_str(), &altre), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(altre, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    const auto cursa = [&] {
        b.s->Experimentar();
        b.Emissio(kA), b.s->AcabarPausa();
        return b.s->PararExperiment().Diari;
    };
    EXPECT_EQ(cursa().value_or(ResultatDiari{}).Estat, EstatDiari::Ocupat);
    EXPECT_FALSE(cursa());
    EXPECT_TRUE(b.s->CursesPendents() == 2 && !b.s->ReintentarDiari().Diari);
    sqlite3_exec(altre, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(altre);
    const std::optional<ResultatDiari> desat = b.s->ReintentarDiari().Diari;
    EXPECT_TRUE(desat && desat->Correcte() && b.s->CursesPendents() == 0);
    EXPECT_EQ(tessora::Diari(b.Diari()).Curses().size(), 2u);
}

// The speaker chooses the models: a name has its own file beside the anonymous one's, with what no file
// name may hold written as %XX; the anonymous one's come back with "".
TEST(Sessio, CadaParlantTeElsSeusModels) {
    Banc b;
    const std::filesystem::path anonims = b.carpeta.Cami() / "models.tsv",
                                carpeta = b.carpeta.Cami() / "models";
    for (const auto& [nom, fitxer] :
         {std::pair("N\xC3\xBAria", "N\xC3\xBAria.tsv"), std::pair("a/b:c", "a%2Fb%3Ac.tsv"),
          std::pair("..", "%2E%2E.tsv"), std::pair("5%\n", "5%25%0A.tsv")})
        EXPECT_EQ(CamiModelsParlant(anonims, nom), carpeta / fitxer);
    std::filesystem::create_directory(carpeta);
    proves::EscriureBytes(carpeta / "Anna.tsv", {'A', '\t', '7', '0', '0', '\t', '9', '0', '0', '\n'});
    const EfecteSessio e = b.s->FixarParlant("  Anna ");
    EXPECT_TRUE(e.ParlantCanviat && e.ModelsCanviats && b.s->Parlant() == "Anna");
    EXPECT_EQ(b.s->Models().Model("A"), (ModelVocal{700, 900}));
    EXPECT_TRUE(b.s->FixarParlant("").ModelsCanviats && b.s->Models().Buit());
}

// While an utterance plays, the blocks heard are dropped (the meter at 0) unless there are headphones;
// the end of the playback, or a device that refuses it, lets them in again.
class Auriculars : public testing::TestWithParam<bool> {};

TEST_P(Auriculars, ElQueSentDurantLaReproduccio) {
    Banc b;
    b.s->FixarAuriculars(GetParam());
    b.s->EngegarParar();
    b.Emissio(kA);
    b.s->Seleccionar(0);
    EXPECT_EQ(b.Bloc(kA).Nivell->Nivell == 0, !GetParam());
    EXPECT_EQ(b.s->Linia().BlocsRebuts(), GetParam() ? 5 : 4);
    b.sortida.Aturar();
    EXPECT_TRUE(b.fins == 1 && b.s->AcabarReproduccio().ReproduccioCanviada && !b.s->Reproduint());
    b.sortida.Codi = 7;
    EXPECT_EQ(b.s->Reproduir().ErrorReproduir, 7);
    EXPECT_TRUE(b.Bloc(kA).Nivell->Nivell > 0 && !b.s->Reproduint());
}
INSTANTIATE_TEST_SUITE_P(AmbISense, Auriculars, testing::Bool());

} // namespace
} // namespace tessora
