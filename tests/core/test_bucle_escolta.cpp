// The live loop driven by a scripted capture: the start/stop toggle, the level meter, the utterance
// states with what each block stores and shows, clipping, the automatic stop, continuous recognition and
// the loss of the input.
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
    const auto v = proves::VocalSintetica(periode, f1, f2, 80.0, inici);
    return Omplir([&](int i) { return 128 + v[static_cast<std::size_t>(i)]; });
}
const Bloc kVocalA = BlocVocal(88, 800, 1200);                    // the analysis says "A"
const Bloc kVocalA2 = BlocVocal(88, 800, 1200, 2048);             // "A" too, other bytes
const Bloc kVocalU = BlocVocal(110, 300, 700);                    // "U"
const Bloc kVocalO = BlocVocal(88, 500, 850);                     // "O"
const Bloc kSilenci = Omplir([](int i) { return 127 + i % 16; }); // level 15: the loudest silence
const Bloc kBuit = Omplir([](int) { return kByteSilenci; });

// Everything a block asks of the windows, as words, for the rows to compare.
std::string Fets(const EfecteBloc& e) {
    std::string s = std::string(e.Analisi ? " analisi" : "") + (e.LletraCanviada ? " lletra" : "");
    if (e.NouColorLletra) s += *e.NouColorLletra == ColorLletra::Vermell ? " vermella" : " blava";
    if (e.NouTitol) s += *e.NouTitol == TitolFinestra::AvisSaturacio ? " avis" : " normal";
    return s + (e.PasExperiment ? " experiment" : "") + (e.AturadaAutomatica ? " aturada" : "") +
           (e.EntradaPerduda ? " perduda" : "");
}

// The loop with its analysis state, its sound block and a scripted capture: each block given to Rebre is
// what the device delivers next; with `perduda` a notification without a block is the input's loss.
struct Banc : ControlCaptura {
    std::unique_ptr<EstatAnalisi> estat = std::make_unique<EstatAnalisi>();
    std::unique_ptr<BufferSo> buffer = BufferSo::Crear();
    BucleEscolta bucle{*estat, *buffer, *this};
    ControlsBucle controls;
    std::optional<Bloc> pendent;
    bool perduda = false;
    int engegades = 0, parades = 0;

    std::int32_t EngegarEntradaDeSo() override { return ++engegades, 0; }
    void PararEntradaDeSo() override { ++parades; }
    bool ProcessarBufferEntrada() override {
        if (pendent) CopiarBlocCapturat(pendent->data(), kMidaBloc, *estat);
        return std::exchange(pendent, std::nullopt).has_value();
    }
    bool EntradaPerduda() const override { return perduda; }

    void Boto() { bucle.SpeedButtonEngegarPararClick(); }
    EfecteBloc Rebre(const Bloc& bloc) {
        pendent = bloc;
        return bucle.RebreBlocDeSo(controls);
    }
    std::tuple<std::string, std::string, bool, bool> EstatBoto() const {
        return {bucle.CaptionBoto(), bucle.HintBoto(), bucle.BotoPremut(), bucle.Engegat()};
    }
    // BufferSo bytes 0..1535 hold `blocs` one after the other and silence after them.
    bool Ranura0(std::vector<Bloc> blocs) const {
        blocs.resize(kBlocsPerEmissio, kBuit);
        for (std::size_t i = 0; i < kMidaEmissio; ++i)
            if (buffer->Dades()[i] != blocs[i / kMidaBloc][i % kMidaBloc]) return false;
        return true;
    }
};
const auto kEngegat = std::make_tuple("P", "Parar", true, true);
const auto kAturat = std::make_tuple("E", "Engegar", false, false);

// A start clears Mostres and slot 0 only, and keeps the utterance state: after it, the first loud block
// is the analysed one, kept second. Blocks that arrive while listening is off are taken from the capture
// and change nothing, even with a letter to compare with and an experiment waiting. A capture that loses
// its input stops listening as the button does, once; a new start asks for the device again.
TEST(Bucle, EngegarIParar) {
    Banc b;
    b.bucle.MostrarLletra("O");
    b.controls.TextLletra = "A";
    b.controls.ExperimentEsperant = true;
    for (int vegada = 1; vegada <= 2; ++vegada) {
        b.estat->Mostres.fill(77);
        std::fill_n(b.buffer->Dades(), BufferSo::kMida, std::uint8_t{0x44});
        b.Boto();
        EXPECT_EQ(std::count(b.estat->Mostres.begin(), b.estat->Mostres.end(), 0), kCapacitatMostres);
        EXPECT_TRUE(b.Ranura0({}));
        EXPECT_EQ(std::count(b.buffer->Dades(), b.buffer->Dades() + BufferSo::kMida, 0x44),
                  BufferSo::kMida - kMidaEmissio);
        EXPECT_EQ(std::tuple(b.EstatBoto(), b.engegades, b.parades),
                  std::tuple(kEngegat, vegada, vegada - 1));
        if (vegada == 2) break;
        b.Rebre(kVocalU);
        b.Boto();
        EXPECT_EQ(std::tuple(b.EstatBoto(), b.parades), std::tuple(kAturat, 1));
        for (const Bloc& bloc : {kVocalA, kVocalA2, kSilenci})
            EXPECT_EQ(std::tuple(Fets(b.Rebre(bloc)), b.pendent.has_value()), std::tuple("", false));
        EXPECT_EQ(std::tuple(b.bucle.EstatVeu(), b.bucle.TextLletra()), std::tuple(1, "O"));
        EXPECT_TRUE(b.Ranura0({kVocalU}));
    }
    EXPECT_EQ(Fets(b.Rebre(kVocalA)), " analisi lletra blava normal");
    EXPECT_EQ(std::tuple(b.bucle.TextLletra(), b.bucle.EstatVeu()), std::tuple("A", 2));
    EXPECT_TRUE(b.Ranura0({kBuit, kVocalA}));

    b.perduda = true;
    EXPECT_EQ(Fets(b.bucle.RebreBlocDeSo(b.controls)), " perduda");
    EXPECT_EQ(std::tuple(b.EstatBoto(), b.parades), std::tuple(kAturat, 2));
    EXPECT_EQ(Fets(b.bucle.RebreBlocDeSo(b.controls)), ""); // listening is off: no news
    b.Boto();
    EXPECT_EQ(std::tuple(b.EstatBoto(), b.engegades), std::tuple(kEngegat, 3));
}

// The level and the meter colour on each side of the silence and clipping thresholds, with the peak at
// either end of the block too. A loud block starts an utterance and is kept, but alone between quiet
// blocks it is never analysed. Only the byte at `posicio` rises above the centre; the others read -37.
// Name, level, position of the peak, the meter colour and the RGB the window draws it with.
using CasNivell = std::tuple<const char*, int, int, ColorNivell, ColorRGB>;
class Nivell : public ::testing::TestWithParam<CasNivell> {};

TEST_P(Nivell, NivellIColorDelMesurador) {
    const auto& [nom, nivell, posicio, color, rgb] = GetParam();
    const Bloc bloc = Omplir([&](int i) { return i == posicio && nivell > 0 ? 127 + nivell : 90; });
    Banc b;
    b.controls.ExperimentEsperant = true;
    b.Boto();
    b.bucle.MostrarLletra("É");
    const auto efecte = b.Rebre(bloc);
    const ColorRGB c = ValorColor(efecte.Color);
    EXPECT_EQ(std::tuple(efecte.Nivell, efecte.Color, c.R, c.G, c.B),
              std::tuple(nivell, color, rgb.R, rgb.G, rgb.B));
    const bool fort = nivell > 15;
    EXPECT_EQ(b.bucle.EstatVeu(), fort ? 1 : 0);
    EXPECT_EQ(Fets(efecte) + Fets(b.Rebre(kSilenci)), "");
    EXPECT_EQ(std::tuple(b.bucle.EstatVeu(), b.bucle.TextLletra(), b.bucle.UltimaVocal()),
              std::tuple(0, "É", ""));
    EXPECT_TRUE(b.Ranura0(fort ? std::vector{bloc} : std::vector<Bloc>{}));
}
INSTANTIATE_TEST_SUITE_P(
    Llindars, Nivell,
    ::testing::Values(CasNivell{"Zero", 0, 300, ColorNivell::Groc, {255, 255, 0}},
                      CasNivell{"Quinze", 15, 300, ColorNivell::Groc, {255, 255, 0}},
                      CasNivell{"SetzeAlPrincipi", 16, 0, ColorNivell::Blau, {0, 0, 255}},
                      CasNivell{"CentVintISisAlFinal", 126, 511, ColorNivell::Blau, {0, 0, 255}},
                      CasNivell{"CentVintISet", 127, 300, ColorNivell::Vermell, {255, 0, 0}}),
    proves::PerNom{});

// Utterances without continuous recognition: A, B, C, D, D loud, a quiet block, then A and B of the next
// one, which overwrite the first two blocks kept. A is a "U" and B an "A", so the letter shows which block
// was analysed. A clipped block always
// draws red, but only the analysed one turns the letter red and warns, until the next analysis.
// Name, an experiment waiting for the utterance, the block with a byte raised to the peak (or -1), the peak.
using CasEmissio = std::tuple<const char*, bool, int, int>;
class Emissio : public ::testing::TestWithParam<CasEmissio> {};

TEST_P(Emissio, EmissionsBlocABloc) {
    const Bloc blocs[] = {kVocalU, kVocalA, kVocalO, kVocalA2, kVocalA2, kSilenci, kVocalU, kVocalA};
    const int estatsVeu[] = {1, 2, 3, 3, 3, 0, 1, 2};
    const auto& [nom, esperant, saturat, pic] = GetParam();
    Banc b;
    b.controls.ExperimentEsperant = esperant;
    std::fill_n(b.buffer->Dades() + kMidaEmissio, kMidaEmissio, std::uint8_t{0x55});
    b.Boto();
    b.bucle.MostrarLletra("O");
    std::vector<Bloc> guardats;
    for (int i = 0; i < int(std::size(blocs)); ++i) {
        SCOPED_TRACE("block " + std::to_string(i));
        Bloc bloc = blocs[i];
        if (i == saturat) bloc[200] = static_cast<std::uint8_t>(pic);
        if (i < 3) guardats.push_back(bloc);
        if (i > 5) guardats[i - 6] = bloc;
        const auto efecte = b.Rebre(bloc);
        EXPECT_EQ(efecte.Color, i == saturat ? ColorNivell::Vermell
                                : i == 5     ? ColorNivell::Groc
                                             : ColorNivell::Blau);
        const char* analisi = i == saturat ? " analisi lletra vermella avis" : " analisi lletra blava normal";
        EXPECT_EQ(Fets(efecte), i == 1 || i == 7 ? analisi : i == 2 && esperant ? " experiment" : "");
        // UltimaVocal is what the experiment step receives on C.
        EXPECT_EQ(std::tuple(b.bucle.EstatVeu(), b.bucle.TextLletra(), b.bucle.UltimaVocal()),
                  std::tuple(estatsVeu[i], i == 0 ? "O" : "A", i == 0 ? "" : "A"));
        EXPECT_TRUE(b.Ranura0(guardats));
    }
    EXPECT_EQ(std::count(b.buffer->Dades() + kMidaEmissio, b.buffer->Dades() + 2 * kMidaEmissio, 0x55),
              kMidaEmissio);
    EXPECT_EQ(b.EstatBoto(), kEngegat);
}
INSTANTIATE_TEST_SUITE_P(Casos, Emissio,
                         ::testing::Values(CasEmissio{"Senzilla", false, -1, 0},
                                           CasEmissio{"PrimerSaturatAmbExperiment", true, 0, 255},
                                           CasEmissio{"AnalitzatA254", false, 1, 254}),
                         proves::PerNom{});

// What an analysed block leads to, after a first utterance of kVocalA2, kVocalO. Without continuous
// recognition the second block of a new utterance is analysed and its vowel replaces the letter; an analysis
// without a vowel (an order the analysis refuses) clears it. With continuous recognition every block is
// analysed and nothing is stored; the letter is the graphs window's, which a quiet block clears. The
// minimum-pitch text the analysis mends goes back to the controls. Listening
// stops when EditLletra is set and differs, as text, from a letter that is not empty; the block that
// differed stays where the graphs window and Save find it.
// Name, continuous recognition, LPC order, letter shown, EditLletra, the block, the letter after it, a stop.
using CasAnalisi =
    std::tuple<const char*, bool, const char*, const char*, const char*, const Bloc*, const char*, bool>;
class Analisi : public ::testing::TestWithParam<CasAnalisi> {};

TEST_P(Analisi, QueSeguixALAnalisiIAturadaAutomatica) {
    const auto& [nom, continu, ordre, mostrada, edit, punter, lletra, atura] = GetParam();
    const Bloc& bloc = *punter;
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
    const bool fort = &bloc != &kSilenci;
    const char* fets = continu ? (fort ? " analisi" : " analisi lletra") : " analisi lletra blava normal";
    EXPECT_EQ(Fets(b.Rebre(bloc)), std::string(fets) + (atura ? " aturada" : ""));
    EXPECT_EQ(std::tuple(b.bucle.TextLletra(), b.bucle.EstatVeu()), std::tuple(lletra, fort ? 2 : 0));
    EXPECT_EQ(b.controls.Analisi.TextFrequenciaMinima, "60");
    EXPECT_EQ(b.EstatBoto(), atura ? kAturat : kEngegat);
    EXPECT_EQ(b.parades, atura ? 1 : 0);
    EXPECT_TRUE(std::equal(bloc.begin(), bloc.end(), b.estat->Mostres.begin(),
                           [](std::uint8_t byte, std::int32_t mostra) { return mostra == byte - 127; }));

    const auto seguent = b.Rebre(kVocalO); // the third of the utterance, or another analysed one
    EXPECT_EQ(Fets(seguent), atura ? "" : continu ? " analisi" : " experiment");
    EXPECT_EQ(b.bucle.UltimaVocal(), continu ? "O" : lletra);
    EXPECT_TRUE(b.Ranura0(continu ? std::vector{kVocalA2, kVocalO}
                          : atura ? std::vector{kVocalU, bloc}
                                  : std::vector{kVocalU, bloc, kVocalO}));
}
INSTANTIATE_TEST_SUITE_P(
    Casos, Analisi,
    ::testing::Values(CasAnalisi{"SenseLletra", false, "11", "O", "", &kVocalA, "A", false},
                      CasAnalisi{"LletraDiferent", false, "11", "O", "U", &kVocalA, "A", true},
                      CasAnalisi{"LletraIgual", false, "11", "O", "A", &kVocalA, "A", false},
                      CasAnalisi{"MajusculesDiferents", false, "11", "O", "a", &kVocalA, "A", true},
                      CasAnalisi{"OrdreRefusatNoAtura", false, "x", "O", "A", &kVocalA, "", false},
                      CasAnalisi{"ContinuDiferent", true, "11", "A", "I", &kVocalU, "A", true},
                      CasAnalisi{"ContinuLletraBuida", true, "11", "", "I", &kVocalU, "", false},
                      CasAnalisi{"ContinuSilenci", true, "11", "A", "I", &kSilenci, "", false}),
    proves::PerNom{});

} // namespace
} // namespace tessora
