// The session driven by a scripted input, as the windows drive it: what an utterance shows everywhere,
// the graphs options and MigLPC, the experiment's listening and results text, the settings file, the
// input's troubles.
#include "CarpetaTemporal.h"
#include "DispositiuGuionat.h"
#include "PerNom.h"
#include "Sessio.h"
#include "Tools.h"
#include "VocalSintetica.h"

#include <gtest/gtest.h>

namespace tessora {
namespace {

using Bytes = std::vector<std::uint8_t>;
const Bytes kSilenci(kMidaBloc, 127);

// A session over a scripted device, with no settings file at first: Spanish, an ordinary voice.
struct Banc {
    proves::CarpetaTemporal carpeta;
    proves::DispositiuGuionat dispositiu;
    int avisos = 0;
    std::unique_ptr<Sessio> Crear() {
        return Sessio::Crear({dispositiu, [this] { ++avisos; }, carpeta.Cami() / "Tessora.ini", "", ','});
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

} // namespace
} // namespace tessora
