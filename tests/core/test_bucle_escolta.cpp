// The live loop driven by a scripted capture: start and stop, the meter, the utterances, clipping, the
// automatic stop, continuous recognition and the loss of the input.
#include "BucleEscolta.h"
#include "CopiaBloc.h"
#include "PerNom.h"
#include "VocalSintetica.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

namespace tessora {
namespace {

using Bloc = std::array<std::uint8_t, kMidaBloc>;

template <class F>
Bloc Omplir(F byte) {
    Bloc bloc;
    for (int i = 0; i < kMidaBloc; ++i)
        bloc[i] = static_cast<std::uint8_t>(byte(i));
    return bloc;
}
// A synthetic vowel as the device delivers it: unsigned bytes, peak 80 around the centre 128.
Bloc BlocVocal(int periode, double f1, double f2, int inici = 1024) {
    const auto v = proves::BytesVocalSintetica(periode, f1, f2, 80, inici);
    return Omplir([&](int i) { return v[static_cast<std::size_t>(i)]; });
}
const Bloc kVocalA = BlocVocal(88, 800, 1200), kVocalA2 = BlocVocal(88, 800, 1200, 2048); // both "A"
const Bloc kVocalU = BlocVocal(110, 300, 700), kVocalO = BlocVocal(88, 500, 850);
const Bloc kSilenci = Omplir([](int i) { return 127 + i % 16; }); // level 15: the loudest silence
const Bloc kBuit = Omplir([](int) { return kByteSilenci; });

// Everything a block asks of the windows, as words.
std::string Fets(const EfecteBloc& e) {
    std::string s = std::string(e.Analisi ? " analisi" : "") + (e.LletraCanviada ? " lletra" : "");
    if (e.NouColorLletra) s += *e.NouColorLletra == ColorLletra::Vermell ? " vermella" : " blava";
    if (e.NouTitol) s += *e.NouTitol == TitolFinestra::AvisSaturacio ? " avis" : " normal";
    return s + (e.PasExperiment ? " experiment" : "") + (e.AturadaAutomatica ? " aturada" : "") +
           (e.EntradaPerduda ? " perduda" : "");
}

// The loop with a scripted capture: each block given to Rebre is what the device delivers next; with
// `perduda` a notification without a block is the input's loss.
struct Banc : ControlCaptura {
    std::unique_ptr<EstatAnalisi> estat = std::make_unique<EstatAnalisi>();
    std::unique_ptr<BufferSo> buffer = BufferSo::Crear();
    BucleEscolta bucle{*estat, *buffer, *this};
    ControlsBucle controls;
    std::optional<Bloc> pendent;
    bool perduda = false;
    int engegades = 0, parades = 0;
    Banc() { std::fill_n(buffer->Dades(), BufferSo::kMida, std::uint8_t{0x44}); }

    std::int32_t EngegarEntradaDeSo() override { return ++engegades, 0; }
    void PararEntradaDeSo() override { ++parades; }
    bool ProcessarBufferEntrada() override {
        if (pendent) CopiarBlocCapturat(pendent->data(), kMidaBloc, *estat);
        return std::exchange(pendent, std::nullopt).has_value();
    }
    bool EntradaPerduda() const override { return perduda; }

    void Boto() { bucle.SpeedButtonEngegarPararClick(); }
    EfecteBloc Efecte(const Bloc& bloc) { return pendent = bloc, bucle.RebreBlocDeSo(controls); }
    std::string Rebre(const Bloc& bloc) { // and whether the loop left the block in the capture
        const std::string fets = Fets(Efecte(bloc));
        return fets + (pendent ? " noPres" : "");
    }
    // Listening, the utterance state, the letter, the stops so far.
    std::tuple<EstatEscolta, int, std::string, int> Estat() const {
        return {bucle.Escolta(), bucle.EstatVeu(), bucle.TextLletra(), parades};
    }
    // BufferSo bytes 0..1535 hold `blocs` one after the other and silence after them; the rest is untouched.
    bool Ranura0(std::vector<Bloc> blocs) const {
        blocs.resize(kBlocsPerEmissio, kBuit);
        if (std::count(buffer->Dades(), buffer->Dades() + BufferSo::kMida, 0x44) !=
            BufferSo::kMida - kMidaEmissio)
            return false;
        for (std::size_t i = 0; i < kMidaEmissio; ++i)
            if (buffer->Dades()[i] != blocs[i / kMidaBloc][i % kMidaBloc]) return false;
        return true;
    }
};
constexpr EstatEscolta kEngegat = EstatEscolta::Escoltant, kAturat = EstatEscolta::Aturada;

// A start clears Mostres and slot 0 only and keeps the utterance state. Blocks that arrive while
// listening is off change nothing, even with a letter to compare with and an experiment waiting. A lost
// input stops listening once; a new start asks for the device again.
TEST(Bucle, EngegarIParar) {
    Banc b;
    EXPECT_EQ(b.bucle.Escolta(), EstatEscolta::Inicial);
    b.bucle.MostrarLletra("O");
    b.controls.TextLletra = "A", b.controls.ExperimentEsperant = true;
    const auto engegar = [&](int vegada) {
        b.estat->Mostres.fill(77);
        b.Boto();
        EXPECT_EQ(std::count(b.estat->Mostres.begin(), b.estat->Mostres.end(), 0), kCapacitatMostres);
        EXPECT_TRUE(b.Ranura0({}));
        EXPECT_EQ(std::pair(b.bucle.Escolta(), b.engegades), std::pair(kEngegat, vegada));
    };
    engegar(1);
    b.Rebre(kVocalU);
    b.Boto();
    for (const Bloc& bloc : {kVocalA, kVocalA2, kSilenci})
        EXPECT_EQ(b.Rebre(bloc), "");
    EXPECT_EQ(b.Estat(), std::tuple(kAturat, 1, "O", 1));
    EXPECT_TRUE(b.Ranura0({kVocalU}));
    engegar(2);
    EXPECT_EQ(b.Rebre(kVocalA), " analisi lletra blava normal");
    EXPECT_EQ(b.Estat(), std::tuple(kEngegat, 2, "A", 1));
    EXPECT_TRUE(b.Ranura0({kBuit, kVocalA}));
    b.perduda = true;
    EXPECT_EQ(Fets(b.bucle.RebreBlocDeSo(b.controls)), " perduda");
    EXPECT_EQ(Fets(b.bucle.RebreBlocDeSo(b.controls)), ""); // listening is off: no news
    EXPECT_EQ(std::pair(b.bucle.Escolta(), b.parades), std::pair(kAturat, 2));
    engegar(3);
}

// The level and the meter colour on each side of the thresholds, with the peak at either end of the
// block too (only the byte at `posicio` rises above the centre). A loud block starts an utterance, but
// alone between quiet blocks it is never analysed.
using CasNivell = std::tuple<const char*, int, int, ColorNivell, ColorRGB>; // the RGB the window draws
class Nivell : public ::testing::TestWithParam<CasNivell> {};

TEST_P(Nivell, NivellIColorDelMesurador) {
    const auto& [nom, nivell, posicio, color, rgb] = GetParam();
    const Bloc bloc = Omplir([p = posicio, n = nivell](int i) { return i == p ? 127 + n : 90; });
    Banc b;
    b.controls.ExperimentEsperant = true;
    b.Boto();
    const auto efecte = b.Efecte(bloc);
    const ColorRGB c = ValorColor(efecte.Color);
    EXPECT_EQ(std::tuple(efecte.Nivell, efecte.Color, c.R, c.G, c.B, b.bucle.EstatVeu()),
              std::tuple(nivell, color, rgb.R, rgb.G, rgb.B, nivell > 15 ? 1 : 0));
    EXPECT_EQ(Fets(efecte) + b.Rebre(kSilenci) + b.bucle.UltimaVocal(), "");
    EXPECT_TRUE(b.Ranura0(nivell > 15 ? std::vector{bloc} : std::vector<Bloc>{}));
}
INSTANTIATE_TEST_SUITE_P(
    Llindars, Nivell,
    ::testing::Values(CasNivell{"Quinze", 15, 300, ColorNivell::Groc, {255, 255, 0}},
                      CasNivell{"SetzeAlPrincipi", 16, 0, ColorNivell::Blau, {0, 0, 255}},
                      CasNivell{"CentVintISisAlFinal", 126, 511, ColorNivell::Blau, {0, 0, 255}},
                      CasNivell{"CentVintISet", 127, 300, ColorNivell::Vermell, {255, 0, 0}}),
    proves::PerNom{});

// Utterances without continuous recognition: A, B, C, D, D loud, a quiet block, then A and B of the next
// one, which overwrite the first two blocks kept. A is a "U" and B an "A", so the letter shows which block
// was analysed. A clipped block always draws red, but only the analysed one turns the letter red and warns.
using CasEmissio = std::tuple<const char*, bool, int, int>; // experiment waiting, clipped block (or -1), peak
class Emissio : public ::testing::TestWithParam<CasEmissio> {};

TEST_P(Emissio, EmissionsBlocABloc) {
    const Bloc blocs[] = {kVocalU, kVocalA, kVocalO, kVocalA2, kVocalA2, kSilenci, kVocalU, kVocalA};
    const int estatsVeu[] = {1, 2, 3, 3, 3, 0, 1, 2};
    const auto& [nom, esperant, saturat, pic] = GetParam();
    Banc b;
    b.controls.ExperimentEsperant = esperant;
    b.Boto();
    b.bucle.MostrarLletra("O");
    std::vector<Bloc> guardats;
    for (int i = 0; i < int(std::size(blocs)); ++i) {
        SCOPED_TRACE("block " + std::to_string(i));
        Bloc bloc = blocs[i];
        if (i == saturat) bloc[200] = static_cast<std::uint8_t>(pic);
        if (i < 3) guardats.push_back(bloc);
        if (i > 5) guardats[i - 6] = bloc;
        const auto efecte = b.Efecte(bloc);
        EXPECT_EQ(efecte.Color, i == saturat ? ColorNivell::Vermell
                                : i == 5     ? ColorNivell::Groc
                                             : ColorNivell::Blau);
        const char* analisi = i == saturat ? " analisi lletra vermella avis" : " analisi lletra blava normal";
        EXPECT_EQ(Fets(efecte), i == 1 || i == 7 ? analisi : i == 2 && esperant ? " experiment" : "");
        EXPECT_EQ(b.Estat(), std::tuple(kEngegat, estatsVeu[i], i == 0 ? "O" : "A", 0));
        EXPECT_EQ(b.bucle.UltimaVocal(), i == 0 ? "" : "A"); // what the experiment step receives on C
        EXPECT_TRUE(b.Ranura0(guardats));
    }
}
INSTANTIATE_TEST_SUITE_P(Casos, Emissio,
                         ::testing::Values(CasEmissio{"Senzilla", false, -1, 0},
                                           CasEmissio{"PrimerSaturatAmbExperiment", true, 0, 255},
                                           CasEmissio{"AnalitzatA254", false, 1, 254}),
                         proves::PerNom{});

// After a first utterance: the second block of a new one is analysed (a refused order clears the letter);
// in continuous recognition every block is, nothing is stored and a quiet block clears the letter. Listening
// stops when EditLletra differs from a letter that is not empty, and the block that differed stays in slot 0.
// Continuous, LPC order, letter shown, EditLletra, the block, the letter after it, a stop.
using CasAnalisi =
    std::tuple<const char*, bool, const char*, const char*, const char*, const Bloc*, const char*, bool>;
class Analisi : public ::testing::TestWithParam<CasAnalisi> {};

TEST_P(Analisi, QueSeguixALAnalisiIAturadaAutomatica) {
    const auto& [nom, continu, ordre, mostrada, edit, bloc, lletra, atura] = GetParam();
    Banc b;
    b.Boto();
    for (const Bloc& primer : {kVocalA2, kVocalO, kSilenci})
        b.Rebre(primer);
    b.controls = {.Analisi = {.TextOrdreLPC = ordre, .TextFrequenciaMinima = "abc"},
                  .ReconeixementContinu = continu,
                  .TextLletra = edit,
                  .ExperimentEsperant = true};
    b.bucle.MostrarLletra(mostrada);
    if (!continu) b.Rebre(kVocalU);
    const bool fort = bloc != &kSilenci;
    const char* fets = continu ? (fort ? " analisi" : " analisi lletra") : " analisi lletra blava normal";
    EXPECT_EQ(b.Rebre(*bloc), std::string(fets) + (atura ? " aturada" : ""));
    EXPECT_EQ(b.Estat(), std::tuple(atura ? kAturat : kEngegat, fort ? 2 : 0, lletra, atura ? 1 : 0));
    EXPECT_EQ(b.controls.Analisi.TextFrequenciaMinima, "60");
    EXPECT_EQ(b.Rebre(kVocalO), atura ? "" : continu ? " analisi" : " experiment"); // the next block
    EXPECT_EQ(b.bucle.UltimaVocal(), continu ? "O" : lletra);
    EXPECT_TRUE(b.Ranura0(continu ? std::vector{kVocalA2, kVocalO}
                          : atura ? std::vector{kVocalU, *bloc}
                                  : std::vector{kVocalU, *bloc, kVocalO}));
}
INSTANTIATE_TEST_SUITE_P(
    Casos, Analisi,
    ::testing::Values(CasAnalisi{"SenseLletra", false, "11", "O", "", &kVocalA, "A", false},
                      CasAnalisi{"LletraDiferent", false, "11", "O", "U", &kVocalA, "A", true},
                      CasAnalisi{"LletraIgual", false, "11", "O", "A", &kVocalA, "A", false},
                      CasAnalisi{"OrdreRefusatNoAtura", false, "x", "O", "A", &kVocalA, "", false},
                      CasAnalisi{"ContinuDiferent", true, "11", "A", "I", &kVocalU, "A", true},
                      CasAnalisi{"ContinuLletraBuida", true, "11", "", "I", &kVocalU, "", false},
                      CasAnalisi{"ContinuSilenci", true, "11", "A", "I", &kSilenci, "", false}),
    proves::PerNom{});

} // namespace
} // namespace tessora
