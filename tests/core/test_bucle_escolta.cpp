// The live loop driven by a scripted capture: the start/stop toggle, the level meter, the utterance
// states with what each block stores and shows, clipping, the automatic stop and continuous recognition.
#include "BucleEscolta.h"
#include "VocalSintetica.h"

#include "CopiaBloc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
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

// Known answers of the synthetic vowels (checked on their own by VocalsDeProva below).
const Bloc kVocalA = BlocVocal(88, 800, 1200);
const Bloc kVocalA2 = BlocVocal(88, 800, 1200, 2048); // another loud block, other bytes
const Bloc kVocalU = BlocVocal(110, 300, 700);
const Bloc kVocalO = BlocVocal(88, 500, 850);
// Bytes 127..142: level 15, the loudest block that still counts as silence.
const Bloc kSilenci = Omplir([](int i) { return 127 + i % 16; });
const Bloc kBuit = Omplir([](int) { return kByteSilenci; });

// A block whose byte at `posicio` is 127 + `nivell` and whose other bytes sit below the centre (-37 after
// the copy-out), so only the one byte sets the level; `nivell` 0 gives a block of negative samples only.
Bloc BlocDeNivell(int nivell, int posicio) {
    return Omplir([=](int i) { return i == posicio && nivell > 0 ? 127 + nivell : 90; });
}

// Everything a block asks of the windows, as words, for the rows to compare.
std::string Fets(const EfecteBloc& e) {
    std::string s = std::string(e.Analisi ? " analisi" : "") + (e.LletraCanviada ? " lletra" : "");
    if (e.NouColorLletra) s += *e.NouColorLletra == ColorLletra::Vermell ? " vermella" : " blava";
    if (e.NouTitol) s += *e.NouTitol == TitolFinestra::AvisSaturacio ? " avis" : " normal";
    return s + (e.PasExperiment ? " experiment" : "") + (e.AturadaAutomatica ? " aturada" : "");
}

// The loop with its analysis state, its sound block and a scripted capture: each block given to Rebre is
// what the device delivers next.
struct Banc : ControlCaptura {
    std::unique_ptr<EstatAnalisi> estat = std::make_unique<EstatAnalisi>();
    std::unique_ptr<BufferSo> buffer = BufferSo::Crear();
    BucleEscolta bucle{*estat, *buffer, *this};
    ControlsBucle controls;
    std::optional<Bloc> pendent;
    int engegades = 0, parades = 0;

    std::int32_t EngegarEntradaDeSo() override { return ++engegades, 0; }
    void PararEntradaDeSo() override { ++parades; }
    bool ProcessarBufferEntrada() override {
        EXPECT_TRUE(pendent) << "the loop took a block that the script does not hold";
        if (pendent) CopiarBlocCapturat(pendent->data(), kMidaBloc, *estat);
        return std::exchange(pendent, std::nullopt).has_value();
    }

    void Boto() { bucle.SpeedButtonEngegarPararClick(); }
    EfecteBloc Rebre(const Bloc& bloc) {
        pendent = bloc;
        const EfecteBloc efecte = bucle.RebreBlocDeSo(controls);
        EXPECT_FALSE(pendent) << "the loop did not take the block from the capture";
        return efecte;
    }
    std::tuple<std::string, std::string, bool, bool> EstatBoto() const {
        return {bucle.CaptionBoto(), bucle.HintBoto(), bucle.BotoPremut(), bucle.Engegat()};
    }
    // BufferSo bytes 0..1535 hold `blocs` one after the other and silence after them.
    ::testing::AssertionResult Ranura0(std::vector<Bloc> blocs) const {
        blocs.resize(kBlocsPerEmissio, kBuit);
        for (std::size_t i = 0; i < kMidaEmissio; ++i)
            if (const int esperat = blocs[i / kMidaBloc][i % kMidaBloc]; buffer->Dades()[i] != esperat)
                return ::testing::AssertionFailure()
                       << "BufferSo byte " << i << " is " << int(buffer->Dades()[i]) << ", not " << esperat;
        return ::testing::AssertionSuccess();
    }
    bool TotEs(std::size_t des, std::size_t fins, std::uint8_t valor) const {
        return std::all_of(buffer->Dades() + des, buffer->Dades() + fins, [=](auto b) { return b == valor; });
    }
};

// The loop tests rest on these answers: if the analysis changes them, fix the blocks here first.
TEST(VocalsDeProva, LAnalisiLesReconeixSoles) {
    const std::pair<const Bloc&, const char*> casos[] = {{kVocalA, "A"}, {kVocalU, "U"}, {kVocalO, "O"}};
    for (const auto& [bloc, vocal] : casos) {
        auto estat = std::make_unique<EstatAnalisi>();
        CopiarBlocCapturat(bloc.data(), kMidaBloc, *estat);
        const auto r = CalcularReconeixement(*estat, ConfiguracioAnalisi{});
        EXPECT_EQ(r.Vocal, vocal) << r.LiniaDades;
    }
    EXPECT_EQ(*std::max_element(kSilenci.begin(), kSilenci.end()) - 127, kNivellSilenci);
}

// Start, stop and start again, with blocks arriving while listening is off: those are taken from the
// capture and change nothing, even with a letter to compare with and an experiment waiting.
TEST(Bucle, EngegarNetejaLaPrimeraEmissioIPararAixecaElBoto) {
    Banc b;
    b.bucle.MostrarLletra("O");
    b.controls.TextLletra = "A";
    b.controls.ExperimentEsperant = true;
    auto aturat = [&](const std::vector<Bloc>& guardats) {
        for (const Bloc& bloc : {kVocalA, kVocalA2, kSilenci}) {
            const auto efecte = b.Rebre(bloc);
            EXPECT_FALSE(efecte.Escoltat);
            EXPECT_EQ(Fets(efecte), "");
            EXPECT_EQ(b.bucle.EstatVeu(), int(guardats.size()));
        }
        EXPECT_EQ(b.bucle.TextLletra(), "O");
        EXPECT_TRUE(b.Ranura0(guardats));
    };
    // Dirties what the start clears and what it must leave alone, then starts.
    auto engegar = [&](int vegada) {
        b.estat->Mostres.fill(77);
        std::fill_n(b.buffer->Dades(), BufferSo::kMida, std::uint8_t{0x44});
        b.Boto();
        EXPECT_EQ(std::count(b.estat->Mostres.begin(), b.estat->Mostres.end(), 0), kCapacitatMostres);
        EXPECT_TRUE(b.Ranura0({}));
        EXPECT_TRUE(b.TotEs(kMidaEmissio, BufferSo::kMida, 0x44));
        EXPECT_EQ(b.EstatBoto(), std::make_tuple("P", "Parar", true, true));
        EXPECT_EQ(std::pair(b.engegades, b.parades), std::pair(vegada, vegada - 1));
    };
    aturat({});
    engegar(1);
    b.Rebre(kVocalU);
    b.Boto();
    EXPECT_EQ(b.EstatBoto(), std::make_tuple("E", "Engegar", false, false));
    EXPECT_EQ(std::pair(b.engegades, b.parades), std::pair(1, 1));
    aturat({kVocalU});

    // A new start keeps the utterance state: the first loud block is the analysed one, kept second.
    engegar(2);
    EXPECT_EQ(b.bucle.EstatVeu(), 1);
    EXPECT_EQ(Fets(b.Rebre(kVocalA)), " analisi lletra blava normal");
    EXPECT_EQ(b.bucle.TextLletra(), "A");
    EXPECT_TRUE(b.Ranura0({kBuit, kVocalA}));
    EXPECT_EQ(b.bucle.EstatVeu(), 2);
}

// The level and the meter colour on each side of the silence and clipping thresholds, with the peak at
// either end of the block too. A loud block starts an utterance and is kept, but alone between quiet
// blocks it is never analysed.
TEST(Bucle, NivellIColorDelMesurador) {
    const std::tuple<int, int, ColorNivell, int, int, int> casos[] = {
        {0, 300, ColorNivell::Groc, 255, 255, 0},    {15, 300, ColorNivell::Groc, 255, 255, 0},
        {16, 0, ColorNivell::Blau, 0, 0, 255},       {126, kMidaBloc - 1, ColorNivell::Blau, 0, 0, 255},
        {127, 300, ColorNivell::Vermell, 255, 0, 0}, {128, 300, ColorNivell::Vermell, 255, 0, 0}};
    for (const auto& [nivell, posicio, color, r, g, bl] : casos) {
        SCOPED_TRACE("level " + std::to_string(nivell));
        Banc b;
        b.controls.ExperimentEsperant = true;
        b.Boto();
        b.bucle.MostrarLletra("É");
        const Bloc bloc = BlocDeNivell(nivell, posicio);
        const auto efecte = b.Rebre(bloc);
        const auto rgb = ValorColor(efecte.Color);
        EXPECT_EQ(std::tuple(efecte.Nivell, efecte.Color, int(rgb.R), int(rgb.G), int(rgb.B)),
                  std::tuple(nivell, color, r, g, bl));
        const bool fort = nivell >= 16;
        EXPECT_EQ(b.bucle.EstatVeu(), fort ? 1 : 0);
        EXPECT_EQ(Fets(efecte) + Fets(b.Rebre(kSilenci)), "");
        EXPECT_EQ(b.bucle.EstatVeu(), 0);
        EXPECT_TRUE(b.Ranura0(fort ? std::vector{bloc} : std::vector<Bloc>{}));
        EXPECT_EQ(b.bucle.TextLletra(), "É");
        EXPECT_EQ(b.bucle.UltimaVocal(), "");
    }
}

// Utterances without continuous recognition: A, B, C, D, D loud, a quiet block, then A and B of the next
// one, which overwrite the first two blocks kept. A is a "U" and B an "A", so the letter shows which block
// was analysed; so does the minimum-pitch text "abc", which an analysis rewrites. A clipped block always
// draws red, but only the analysed one turns the letter red and warns, until the next analysis.
TEST(Bucle, EmissionsBlocABloc) {
    const Bloc blocs[] = {kVocalU, kVocalA, kVocalO, kVocalA2, kVocalA2, kSilenci, kVocalU, kVocalA};
    const int estatsVeu[] = {1, 2, 3, 3, 3, 0, 1, 2};
    // Experiment waiting; the block with a byte raised to the peak given, if any.
    const std::tuple<bool, int, int> casos[] = {{false, -1, 0},  {true, -1, 0},   {false, 0, 255},
                                                {false, 1, 255}, {false, 1, 254}, {false, 2, 255}};
    for (const auto& [esperant, saturat, pic] : casos) {
        SCOPED_TRACE(::testing::Message()
                     << "experiment " << esperant << ", block " << saturat << " at " << pic);
        Banc b;
        b.controls.ExperimentEsperant = esperant;
        b.controls.Analisi.TextFrequenciaMinima = "abc";
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
            const char* analisi =
                i == saturat ? " analisi lletra vermella avis" : " analisi lletra blava normal";
            EXPECT_EQ(Fets(efecte), i == 1 || i == 7 ? analisi : i == 2 && esperant ? " experiment" : "");
            EXPECT_EQ(b.bucle.EstatVeu(), estatsVeu[i]);
            EXPECT_EQ(b.bucle.TextLletra(), i == 0 ? "O" : "A");
            EXPECT_EQ(b.bucle.UltimaVocal(), i == 0 ? "" : "A"); // what the experiment step receives on C
            EXPECT_EQ(b.controls.Analisi.TextFrequenciaMinima, i == 0 ? "abc" : "60");
            EXPECT_TRUE(b.Ranura0(guardats));
        }
        EXPECT_TRUE(b.TotEs(kMidaEmissio, 2 * kMidaEmissio, 0x55));
        EXPECT_EQ(b.EstatBoto(), std::make_tuple("P", "Parar", true, true));
    }
}

// What an analysed block leads to, after a first utterance of kVocalA2, kVocalO. Without continuous
// recognition the second block of a new utterance is analysed and its vowel replaces the letter; an analysis
// without a vowel (a flat envelope, or an order the analysis refuses) clears it. With continuous recognition
// every block is analysed and nothing is stored; the letter is the graphs window's, which a quiet block
// clears. Listening stops when EditLletra is set and differs, as text, from a letter that is not empty; the
// block that differed stays where the graphs window and Save find it.
TEST(Bucle, QueSeguixALAnalisiIAturadaAutomatica) {
    // Continuous, LPC order, letter shown, EditLletra, block, letter after it, stops.
    const std::tuple<bool, const char*, const char*, const char*, const Bloc&, const char*, bool> casos[] = {
        {false, "11", "O", "", kVocalA, "A", false},  {false, "11", "O", "A", kVocalA, "A", false},
        {false, "11", "O", "U", kVocalA, "A", true},  {false, "11", "O", "a", kVocalA, "A", true},
        {false, "11", "O", "A ", kVocalA, "A", true}, {false, "0", "O", "A", kVocalA, "", false},
        {false, "x", "O", "A", kVocalA, "", false},   {false, "", "O", "A", kVocalA, "", false},
        {true, "11", "A", "I", kVocalU, "A", true},   {true, "11", "A", "U", kVocalU, "A", true},
        {true, "11", "I", "I", kVocalU, "I", false},  {true, "11", "", "I", kVocalU, "", false},
        {true, "11", "A", "", kVocalU, "A", false},   {true, "11", "A", "I", kSilenci, "", false}};
    for (const auto& [continu, ordre, mostrada, edit, bloc, lletra, atura] : casos) {
        SCOPED_TRACE(::testing::Message()
                     << "continuous " << continu << ", order \"" << ordre << "\", shown \"" << mostrada
                     << "\", EditLletra \"" << edit << "\"");
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
        EXPECT_EQ(b.bucle.TextLletra(), lletra);
        EXPECT_EQ(b.bucle.EstatVeu(), fort ? 2 : 0);
        EXPECT_EQ(b.controls.Analisi.TextFrequenciaMinima, "60");
        EXPECT_EQ(b.EstatBoto(), atura ? std::make_tuple("E", "Engegar", false, false)
                                       : std::make_tuple("P", "Parar", true, true));
        EXPECT_EQ(std::pair(b.engegades, b.parades), std::pair(1, atura ? 1 : 0));
        EXPECT_TRUE(std::equal(bloc.begin(), bloc.end(), b.estat->Mostres.begin(),
                               [](std::uint8_t byte, std::int32_t mostra) { return mostra == byte - 127; }));

        // The next block: the third of the utterance, or another analysed one.
        const auto seguent = b.Rebre(kVocalO);
        EXPECT_EQ(seguent.Escoltat, !atura);
        EXPECT_EQ(Fets(seguent), atura ? "" : continu ? " analisi" : " experiment");
        EXPECT_EQ(b.bucle.UltimaVocal(), continu ? "O" : lletra);
        EXPECT_TRUE(b.Ranura0(continu ? std::vector{kVocalA2, kVocalO}
                              : atura ? std::vector{kVocalU, bloc}
                                      : std::vector{kVocalU, bloc, kVocalO}));
    }
}

} // namespace
} // namespace tessora
