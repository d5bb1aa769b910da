// The live loop driven by a scripted capture: the start/stop toggle, the level meter, the utterance
// states with what each block stores and shows, clipping, the automatic stop and continuous recognition.
#include "BucleEscolta.h"

#include "CopiaBloc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <deque>
#include <memory>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace tessora {
namespace {

using Bloc = std::array<std::uint8_t, kMidaBloc>;

// A pulse train of `periode` samples through two resonators (f1, f2 in Hz, 80 Hz bandwidth), the 512
// samples after `inici` samples of settling, scaled to a peak of 80 around the centre 128, as the device
// delivers it (unsigned bytes, 48..208).
Bloc BlocVocal(int periode, double f1, double f2, int inici = 1024) {
    const double fs = 11025.0;
    std::vector<double> senyal(static_cast<std::size_t>(inici + kMidaBloc));
    double y1[3] = {}, y2[3] = {};
    auto coef = [&](double f, double& a1, double& a2) {
        const double r = std::exp(-std::numbers::pi * 80.0 / fs);
        a1 = 2 * r * std::cos(2 * std::numbers::pi * f / fs);
        a2 = -r * r;
    };
    double a11, a12, a21, a22;
    coef(f1, a11, a12);
    coef(f2, a21, a22);
    double maxim = 0;
    for (std::size_t n = 0; n < senyal.size(); ++n) {
        const double x = (n % static_cast<std::size_t>(periode) == 0) ? 1.0 : 0.0;
        const double v1 = x + a11 * y1[1] + a12 * y1[2];
        y1[2] = y1[1], y1[1] = v1;
        const double v2 = v1 + a21 * y2[1] + a22 * y2[2];
        y2[2] = y2[1], y2[1] = v2;
        senyal[n] = v2;
        if (n >= static_cast<std::size_t>(inici)) maxim = std::max(maxim, std::fabs(v2));
    }
    Bloc bloc;
    for (int i = 0; i < kMidaBloc; ++i)
        bloc[i] = static_cast<std::uint8_t>(128 + std::lround(senyal[inici + i] / maxim * 80.0));
    return bloc;
}

// Known answers of the synthetic vowels (checked on their own by VocalsDeProva below).
Bloc VocalA(int inici = 1024) {
    return BlocVocal(88, 800, 1200, inici);
}
Bloc VocalU() {
    return BlocVocal(110, 300, 700);
}
Bloc VocalO() {
    return BlocVocal(88, 500, 850);
}

// Bytes 127..142: level 15, the loudest block that still counts as silence.
Bloc BlocSilencios() {
    Bloc bloc;
    for (int i = 0; i < kMidaBloc; ++i)
        bloc[i] = static_cast<std::uint8_t>(127 + i % 16);
    return bloc;
}

// A block whose byte at `posicio` is 127 + `nivell` and whose other bytes sit below the centre (-37 after
// the copy-out), so only the one byte sets the level; `nivell` 0 gives a block of negative samples only.
Bloc BlocDeNivell(int nivell, int posicio = 300) {
    Bloc bloc;
    bloc.fill(90);
    if (nivell > 0) bloc[posicio] = static_cast<std::uint8_t>(127 + nivell);
    return bloc;
}

// The vowel "A" with one byte raised so that the block clips.
Bloc VocalASaturada(std::uint8_t pic = 255) {
    Bloc bloc = VocalA();
    bloc[200] = pic;
    return bloc;
}

// The capture as the loop sees it: each ProcessarBufferEntrada copies the next scripted block out.
class CapturaGuionada : public ControlCaptura {
public:
    explicit CapturaGuionada(EstatAnalisi& estat) : estat_(estat) {}
    void Afegir(const Bloc& bloc) { pendents_.push_back(bloc); }

    std::int32_t EngegarEntradaDeSo() override {
        ++Engegades;
        return 0;
    }
    bool ProcessarBufferEntrada() override {
        ++Processats;
        if (pendents_.empty()) {
            ADD_FAILURE() << "the loop took a block that the script does not hold";
            return false;
        }
        CopiarBlocCapturat(pendents_.front().data(), kMidaBloc, estat_);
        pendents_.pop_front();
        return true;
    }
    void PararEntradaDeSo() override { ++Parades; }

    int Engegades = 0;
    int Processats = 0;
    int Parades = 0;

private:
    EstatAnalisi& estat_;
    std::deque<Bloc> pendents_;
};

::testing::AssertionResult TeElBloc(const BufferSo& buffer, std::size_t des, const Bloc& bloc) {
    for (std::size_t i = 0; i < bloc.size(); ++i)
        if (buffer.Dades()[des + i] != bloc[i])
            return ::testing::AssertionFailure()
                   << "BufferSo byte " << des + i << " is " << int(buffer.Dades()[des + i])
                   << ", the block has " << int(bloc[i]);
    return ::testing::AssertionSuccess();
}

// Bytes des..fins-1 of BufferSo all hold `valor`.
::testing::AssertionResult TotEs(const BufferSo& buffer, std::size_t des, std::size_t fins,
                                 std::uint8_t valor) {
    for (std::size_t i = des; i < fins; ++i)
        if (buffer.Dades()[i] != valor)
            return ::testing::AssertionFailure()
                   << "BufferSo byte " << i << " is " << int(buffer.Dades()[i]) << ", not " << int(valor);
    return ::testing::AssertionSuccess();
}

// The loop with its analysis state, its sound block and a scripted capture.
struct Banc {
    std::unique_ptr<EstatAnalisi> estat = std::make_unique<EstatAnalisi>();
    std::unique_ptr<BufferSo> buffer = BufferSo::Crear();
    CapturaGuionada captura{*estat};
    BucleEscolta bucle{*estat, *buffer, captura};
    ControlsBucle controls;

    EfecteBloc Rebre(const Bloc& bloc) {
        captura.Afegir(bloc);
        return bucle.RebreBlocDeSo(controls);
    }
};

struct Bucle : ::testing::Test, Banc {};

template <class P>
struct BucleAmb : ::testing::TestWithParam<P>, Banc {};

// The loop tests rest on these answers: if the analysis changes them, fix the blocks here first.
TEST(VocalsDeProva, LAnalisiLesReconeixSoles) {
    const std::pair<Bloc, const char*> casos[] = {{VocalA(), "A"}, {VocalU(), "U"}, {VocalO(), "O"}};
    for (const auto& [bloc, vocal] : casos) {
        auto estat = std::make_unique<EstatAnalisi>();
        CopiarBlocCapturat(bloc.data(), kMidaBloc, *estat);
        const auto r = CalcularReconeixement(*estat, ConfiguracioAnalisi{});
        EXPECT_EQ(r.Vocal, vocal) << r.LiniaDades;
    }
}

TEST_F(Bucle, EngegarNetejaMostresINomesLaPrimeraEmissio) {
    estat->Mostres.fill(77);
    std::fill_n(buffer->Dades(), 4 * kMidaEmissio, std::uint8_t{0x44});
    buffer->Dades()[BufferSo::kMida - 1] = 0x44;

    bucle.SpeedButtonEngegarPararClick();

    for (int i = 0; i < kCapacitatMostres; ++i)
        ASSERT_EQ(estat->Mostres[i], 0) << "Mostres[" << i << "]";
    EXPECT_TRUE(TotEs(*buffer, 0, kMidaEmissio, kByteSilenci));
    EXPECT_TRUE(TotEs(*buffer, kMidaEmissio, 4 * kMidaEmissio, 0x44));
    EXPECT_EQ(buffer->Dades()[BufferSo::kMida - 1], 0x44);
    EXPECT_EQ(bucle.CaptionBoto(), "P");
    EXPECT_EQ(bucle.HintBoto(), "Parar");
    EXPECT_TRUE(bucle.BotoPremut());
    EXPECT_TRUE(bucle.Engegat());
    EXPECT_EQ(captura.Engegades, 1);
    EXPECT_EQ(captura.Parades, 0);
}

TEST_F(Bucle, PararAixecaElBotoIDemanaLAturada) {
    bucle.SpeedButtonEngegarPararClick();
    bucle.SpeedButtonEngegarPararClick();
    EXPECT_EQ(bucle.CaptionBoto(), "E");
    EXPECT_EQ(bucle.HintBoto(), "Engegar");
    EXPECT_FALSE(bucle.BotoPremut());
    EXPECT_FALSE(bucle.Engegat());
    EXPECT_EQ(captura.Engegades, 1);
    EXPECT_EQ(captura.Parades, 1);
}

TEST_F(Bucle, TornarAEngegarFuncionaINoReiniciaLEstatDeVeu) {
    bucle.SpeedButtonEngegarPararClick();
    Rebre(VocalU());
    ASSERT_EQ(bucle.EstatVeu(), 1);
    bucle.SpeedButtonEngegarPararClick();
    std::fill_n(buffer->Dades(), kMidaEmissio, std::uint8_t{0x33});
    bucle.SpeedButtonEngegarPararClick();

    EXPECT_TRUE(bucle.Engegat());
    EXPECT_EQ(bucle.CaptionBoto(), "P");
    EXPECT_EQ(captura.Engegades, 2);
    EXPECT_EQ(captura.Parades, 1);
    EXPECT_TRUE(TotEs(*buffer, 0, kMidaEmissio, kByteSilenci));
    EXPECT_EQ(bucle.EstatVeu(), 1);

    // The stale state 1 makes the first loud block after the start the analysed one.
    const auto efecte = Rebre(VocalA());
    EXPECT_TRUE(efecte.Escoltat);
    ASSERT_TRUE(efecte.Analisi);
    EXPECT_EQ(bucle.TextLletra(), "A");
    EXPECT_TRUE(TeElBloc(*buffer, kMidaBloc, VocalA()));
    EXPECT_TRUE(TotEs(*buffer, 0, kMidaBloc, kByteSilenci));
    EXPECT_EQ(bucle.EstatVeu(), 2);
}

// Blocks that arrive while listening is off.
struct CasAturat {
    const char* nom;
    bool engegarIParar; // false: never started
};

class BlocsAmbLEscoltaParada : public BucleAmb<CasAturat> {};

TEST_P(BlocsAmbLEscoltaParada, EsPrenenPeroNoTenenEfecte) {
    int estatVeu = 0;
    if (GetParam().engegarIParar) {
        bucle.SpeedButtonEngegarPararClick();
        Rebre(VocalU());
        bucle.SpeedButtonEngegarPararClick();
        estatVeu = 1;
    }
    bucle.MostrarLletra("O");
    controls.TextLletra = "I";
    controls.ExperimentEsperant = true;
    const std::vector<std::uint8_t> abans(buffer->Dades(), buffer->Dades() + kMidaEmissio);
    const int processats = captura.Processats;

    for (const Bloc& bloc : {VocalA(), VocalA(2048), BlocSilencios()}) {
        const auto efecte = Rebre(bloc);
        EXPECT_FALSE(efecte.Escoltat);
        EXPECT_FALSE(efecte.Analisi);
        EXPECT_FALSE(efecte.LletraCanviada);
        EXPECT_FALSE(efecte.PasExperiment);
        EXPECT_FALSE(efecte.AturadaAutomatica);
        EXPECT_EQ(bucle.EstatVeu(), estatVeu);
    }
    EXPECT_EQ(captura.Processats, processats + 3);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer->Dades(), buffer->Dades() + kMidaEmissio), abans);
    EXPECT_EQ(bucle.TextLletra(), "O");
    EXPECT_EQ(captura.Parades, GetParam().engegarIParar ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Bucle, BlocsAmbLEscoltaParada,
                         ::testing::Values(CasAturat{"AbansDEngegar", false},
                                           CasAturat{"DespresDeParar", true}),
                         [](const auto& info) { return std::string(info.param.nom); });

// The level and the meter colour, on each side of the silence and clipping thresholds.
struct CasNivell {
    const char* nom;
    int nivell;
    ColorNivell color;
    std::uint8_t r, g, b;
    int posicio = 300; // where the loudest sample sits in the block
};

class NivellIColor : public BucleAmb<CasNivell> {};

TEST_P(NivellIColor, DelBlocAlMesurador) {
    const auto& c = GetParam();
    bucle.SpeedButtonEngegarPararClick();
    const auto efecte = Rebre(BlocDeNivell(c.nivell, c.posicio));
    EXPECT_EQ(efecte.Nivell, c.nivell);
    EXPECT_EQ(efecte.Color, c.color);
    const auto rgb = ValorColor(efecte.Color);
    EXPECT_EQ(rgb.R, c.r);
    EXPECT_EQ(rgb.G, c.g);
    EXPECT_EQ(rgb.B, c.b);
    // A loud block starts an utterance and is kept; silence leaves both alone.
    const bool fort = c.nivell > kNivellSilenci;
    EXPECT_EQ(bucle.EstatVeu(), fort ? 1 : 0);
    if (fort)
        EXPECT_TRUE(TeElBloc(*buffer, 0, BlocDeNivell(c.nivell, c.posicio)));
    else
        EXPECT_TRUE(TotEs(*buffer, 0, kMidaEmissio, kByteSilenci));
}

INSTANTIATE_TEST_SUITE_P(
    Bucle, NivellIColor,
    ::testing::Values(CasNivell{"NomesNegatiusDonaZero", 0, ColorNivell::Groc, 255, 255, 0},
                      CasNivell{"Quinze_Silenci", 15, ColorNivell::Groc, 255, 255, 0},
                      CasNivell{"Setze_Fort", 16, ColorNivell::Blau, 0, 0, 255},
                      CasNivell{"CentVintISis", 126, ColorNivell::Blau, 0, 0, 255},
                      CasNivell{"CentVintISet_Saturat", 127, ColorNivell::Vermell, 255, 0, 0},
                      CasNivell{"Maxim", 128, ColorNivell::Vermell, 255, 0, 0},
                      CasNivell{"PicAlPrimerByte", 16, ColorNivell::Blau, 0, 0, 255, 0},
                      CasNivell{"PicAlDarrerByte", 16, ColorNivell::Blau, 0, 0, 255, kMidaBloc - 1}),
    [](const auto& info) { return std::string(info.param.nom); });

TEST_F(Bucle, ElBlocSilenciosDeProvaTeNivellQuinze) {
    bucle.SpeedButtonEngegarPararClick();
    EXPECT_EQ(Rebre(BlocSilencios()).Nivell, kNivellSilenci);
}

// One utterance without continuous recognition: A, B, C, D loud, then a quiet block. A is a "U" and B
// an "A", so the letter shows which block was analysed.
struct CasEmissio {
    const char* nom;
    bool experimentEsperant;
    bool bSaturat;
};

class UnaEmissio : public BucleAmb<CasEmissio> {};

TEST_P(UnaEmissio, BlocABlocSeguintLaTaula) {
    const auto& c = GetParam();
    controls.ExperimentEsperant = c.experimentEsperant;
    std::fill_n(buffer->Dades() + kMidaEmissio, kMidaEmissio, std::uint8_t{0x55});
    bucle.SpeedButtonEngegarPararClick();
    bucle.MostrarLletra("O");

    const Bloc a = VocalU();
    const Bloc b = c.bSaturat ? VocalASaturada() : VocalA();
    const Bloc cc = VocalO();
    const Bloc d = VocalA(2048);

    auto efecte = Rebre(a);
    EXPECT_EQ(efecte.Color, ColorNivell::Blau);
    EXPECT_TRUE(TeElBloc(*buffer, 0, a));
    EXPECT_TRUE(TotEs(*buffer, kMidaBloc, kMidaEmissio, kByteSilenci));
    EXPECT_FALSE(efecte.Analisi);
    EXPECT_FALSE(efecte.LletraCanviada);
    EXPECT_FALSE(efecte.NouColorLletra);
    EXPECT_FALSE(efecte.NouTitol);
    EXPECT_FALSE(efecte.PasExperiment);
    EXPECT_EQ(bucle.TextLletra(), "O");
    EXPECT_EQ(bucle.EstatVeu(), 1);

    efecte = Rebre(b);
    EXPECT_EQ(efecte.Color, c.bSaturat ? ColorNivell::Vermell : ColorNivell::Blau);
    EXPECT_TRUE(TeElBloc(*buffer, 0, a));
    EXPECT_TRUE(TeElBloc(*buffer, kMidaBloc, b));
    EXPECT_TRUE(TotEs(*buffer, 2 * kMidaBloc, kMidaEmissio, kByteSilenci));
    ASSERT_TRUE(efecte.Analisi);
    EXPECT_EQ(efecte.Analisi->Vocal, "A");
    EXPECT_TRUE(efecte.LletraCanviada);
    EXPECT_EQ(bucle.TextLletra(), "A");
    EXPECT_EQ(bucle.UltimaVocal(), "A");
    EXPECT_EQ(efecte.NouColorLletra, c.bSaturat ? ColorLletra::Vermell : ColorLletra::Blau);
    EXPECT_EQ(efecte.NouTitol, c.bSaturat ? TitolFinestra::AvisSaturacio : TitolFinestra::Normal);
    EXPECT_FALSE(efecte.PasExperiment);
    EXPECT_FALSE(efecte.AturadaAutomatica);
    EXPECT_EQ(bucle.EstatVeu(), 2);

    efecte = Rebre(cc);
    EXPECT_TRUE(TeElBloc(*buffer, 2 * kMidaBloc, cc));
    EXPECT_FALSE(efecte.Analisi);
    EXPECT_FALSE(efecte.LletraCanviada);
    EXPECT_FALSE(efecte.NouColorLletra);
    EXPECT_FALSE(efecte.NouTitol);
    EXPECT_EQ(efecte.PasExperiment, c.experimentEsperant);
    EXPECT_EQ(bucle.UltimaVocal(), "A"); // what the experiment step receives
    EXPECT_EQ(bucle.EstatVeu(), 3);

    for (int i = 0; i < 2; ++i) {
        efecte = Rebre(d);
        EXPECT_FALSE(efecte.Analisi);
        EXPECT_FALSE(efecte.LletraCanviada);
        EXPECT_FALSE(efecte.PasExperiment);
        EXPECT_EQ(bucle.EstatVeu(), 3);
    }
    EXPECT_TRUE(TeElBloc(*buffer, 0, a));
    EXPECT_TRUE(TeElBloc(*buffer, kMidaBloc, b));
    EXPECT_TRUE(TeElBloc(*buffer, 2 * kMidaBloc, cc));
    EXPECT_TRUE(TotEs(*buffer, kMidaEmissio, 2 * kMidaEmissio, 0x55));

    efecte = Rebre(BlocSilencios());
    EXPECT_EQ(efecte.Color, ColorNivell::Groc);
    EXPECT_FALSE(efecte.Analisi);
    EXPECT_FALSE(efecte.LletraCanviada);
    EXPECT_FALSE(efecte.PasExperiment);
    EXPECT_EQ(bucle.TextLletra(), "A");
    EXPECT_EQ(bucle.UltimaVocal(), "A");
    EXPECT_EQ(bucle.EstatVeu(), 0);
    EXPECT_TRUE(TeElBloc(*buffer, kMidaBloc, b));
    EXPECT_TRUE(bucle.Engegat());
    EXPECT_EQ(captura.Parades, 0);
}

INSTANTIATE_TEST_SUITE_P(Bucle, UnaEmissio,
                         ::testing::Values(CasEmissio{"SenseExperiment", false, false},
                                           CasEmissio{"AmbExperimentEsperant", true, false},
                                           CasEmissio{"SegonBlocSaturat", false, true}),
                         [](const auto& info) { return std::string(info.param.nom); });

TEST_F(Bucle, UnSolBlocFortEntreSilencisNoReconeixRes) {
    bucle.SpeedButtonEngegarPararClick();
    bucle.MostrarLletra("É");
    controls.ExperimentEsperant = true;
    const Bloc fort = VocalA();
    for (const Bloc& bloc : {BlocSilencios(), fort, BlocSilencios()}) {
        const auto efecte = Rebre(bloc);
        EXPECT_FALSE(efecte.Analisi);
        EXPECT_FALSE(efecte.LletraCanviada);
        EXPECT_FALSE(efecte.NouColorLletra);
        EXPECT_FALSE(efecte.PasExperiment);
    }
    EXPECT_TRUE(TeElBloc(*buffer, 0, fort));
    EXPECT_TRUE(TotEs(*buffer, kMidaBloc, kMidaEmissio, kByteSilenci));
    EXPECT_EQ(bucle.TextLletra(), "É");
    EXPECT_EQ(bucle.UltimaVocal(), "");
    EXPECT_EQ(bucle.EstatVeu(), 0);
}

// A clipped block always draws red; only the analysed block turns the letter red and warns.
struct CasSaturacio {
    const char* nom;
    std::uint8_t pic;
    int blocSaturat; // 0, 1 or 2: A, B or C of the utterance
};

class Saturacio : public BucleAmb<CasSaturacio> {};

TEST_P(Saturacio, NomesElBlocAnalitzatAvisa) {
    const auto& c = GetParam();
    bucle.SpeedButtonEngegarPararClick();
    for (int i = 0; i < 3; ++i) {
        const bool saturat = i == c.blocSaturat;
        const auto efecte = Rebre(saturat ? VocalASaturada(c.pic) : VocalA(1024 + 512 * i));
        EXPECT_EQ(efecte.Color, saturat ? ColorNivell::Vermell : ColorNivell::Blau) << "block " << i;
        if (i == 1) {
            ASSERT_TRUE(efecte.Analisi);
            EXPECT_EQ(efecte.NouColorLletra, saturat ? ColorLletra::Vermell : ColorLletra::Blau);
            EXPECT_EQ(efecte.NouTitol, saturat ? TitolFinestra::AvisSaturacio : TitolFinestra::Normal);
        } else {
            EXPECT_FALSE(efecte.NouColorLletra) << "block " << i;
            EXPECT_FALSE(efecte.NouTitol) << "block " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Bucle, Saturacio,
                         ::testing::Values(CasSaturacio{"PrimerBloc255", 255, 0},
                                           CasSaturacio{"SegonBloc255", 255, 1},
                                           CasSaturacio{"SegonBloc254", 254, 1},
                                           CasSaturacio{"TercerBloc255", 255, 2}),
                         [](const auto& info) { return std::string(info.param.nom); });

TEST_F(Bucle, LAvisDeSaturacioDuraFinsALaSegumentEmissioNeta) {
    bucle.SpeedButtonEngegarPararClick();
    Rebre(VocalA());
    EXPECT_EQ(Rebre(VocalASaturada()).NouTitol, TitolFinestra::AvisSaturacio);
    Rebre(BlocSilencios());
    Rebre(VocalA());
    const auto efecte = Rebre(VocalA(2048));
    EXPECT_EQ(efecte.NouTitol, TitolFinestra::Normal);
    EXPECT_EQ(efecte.NouColorLletra, ColorLletra::Blau);
}

// An analysis that gives no vowel (a flat envelope, or an order the analysis refuses) clears the letter
// and never stops listening, even with a letter to compare with.
struct CasSenseVocal {
    const char* nom;
    const char* ordreLPC;
};

class AnalisiSenseVocal : public BucleAmb<CasSenseVocal> {};

TEST_P(AnalisiSenseVocal, EsborraLaLletraINoAtura) {
    bucle.SpeedButtonEngegarPararClick();
    Rebre(VocalU());
    Rebre(VocalA());
    Rebre(BlocSilencios());
    ASSERT_EQ(bucle.TextLletra(), "A");
    ASSERT_EQ(bucle.UltimaVocal(), "A");

    controls.Analisi.TextOrdreLPC = GetParam().ordreLPC;
    controls.TextLletra = "A";
    controls.ExperimentEsperant = true;
    Rebre(VocalU());
    auto efecte = Rebre(VocalA());
    ASSERT_TRUE(efecte.Analisi);
    EXPECT_EQ(efecte.Analisi->Vocal, "");
    EXPECT_TRUE(efecte.LletraCanviada);
    EXPECT_EQ(bucle.TextLletra(), "");
    EXPECT_EQ(bucle.UltimaVocal(), "");
    EXPECT_FALSE(efecte.AturadaAutomatica);
    EXPECT_TRUE(bucle.Engegat());
    EXPECT_EQ(captura.Parades, 0);

    efecte = Rebre(VocalO());
    EXPECT_TRUE(efecte.PasExperiment);
    EXPECT_EQ(bucle.UltimaVocal(), "");
    EXPECT_EQ(bucle.EstatVeu(), 3);
}

INSTANTIATE_TEST_SUITE_P(Bucle, AnalisiSenseVocal,
                         ::testing::Values(CasSenseVocal{"OrdreZero", "0"},
                                           CasSenseVocal{"OrdreNoEnter", "x"},
                                           CasSenseVocal{"OrdreBuit", ""}),
                         [](const auto& info) { return std::string(info.param.nom); });

// The automatic stop without continuous recognition: B is recognised as "A".
struct CasAturada {
    const char* nom;
    const char* editLletra;
    bool atura;
};

class AturadaAutomatica : public BucleAmb<CasAturada> {};

TEST_P(AturadaAutomatica, CompararAmbLaLletraReconeguda) {
    const auto& c = GetParam();
    controls.TextLletra = c.editLletra;
    bucle.SpeedButtonEngegarPararClick();
    const Bloc b = VocalA();
    EXPECT_FALSE(Rebre(VocalU()).AturadaAutomatica);
    const auto efecte = Rebre(b);
    ASSERT_EQ(bucle.TextLletra(), "A");
    EXPECT_EQ(efecte.AturadaAutomatica, c.atura);
    EXPECT_EQ(bucle.Engegat(), !c.atura);
    EXPECT_EQ(bucle.CaptionBoto(), c.atura ? "E" : "P");
    EXPECT_EQ(bucle.BotoPremut(), !c.atura);
    EXPECT_EQ(captura.Parades, c.atura ? 1 : 0);
    EXPECT_EQ(captura.Engegades, 1);
    EXPECT_EQ(bucle.EstatVeu(), 2);
    // The differing block stays where the graphs window and Save find it.
    EXPECT_TRUE(TeElBloc(*buffer, kMidaBloc, b));
    for (int i = 0; i < kMidaBloc; ++i)
        ASSERT_EQ(estat->Mostres[i], b[i] - 127) << "Mostres[" << i << "]";

    const Bloc seguent = VocalO();
    const auto despres = Rebre(seguent);
    EXPECT_EQ(despres.Escoltat, !c.atura);
    EXPECT_EQ(captura.Processats, 3);
    if (c.atura)
        EXPECT_TRUE(TotEs(*buffer, 2 * kMidaBloc, kMidaEmissio, kByteSilenci));
    else
        EXPECT_TRUE(TeElBloc(*buffer, 2 * kMidaBloc, seguent));
}

INSTANTIATE_TEST_SUITE_P(Bucle, AturadaAutomatica,
                         ::testing::Values(CasAturada{"EditBuitNoAtura", "", false},
                                           CasAturada{"IgualContinua", "A", false},
                                           CasAturada{"DiferentAtura", "U", true},
                                           CasAturada{"MinusculaEsDiferent", "a", true},
                                           CasAturada{"EspaiFinalEsDiferent", "A ", true}),
                         [](const auto& info) { return std::string(info.param.nom); });

TEST_F(Bucle, ElTextDelMinimEsReescriuEnAnalitzar) {
    controls.Analisi.TextFrequenciaMinima = "abc";
    bucle.SpeedButtonEngegarPararClick();
    Rebre(VocalU());
    EXPECT_EQ(controls.Analisi.TextFrequenciaMinima, "abc"); // the first loud block is not analysed
    const auto efecte = Rebre(VocalA());
    ASSERT_TRUE(efecte.Analisi);
    ASSERT_TRUE(efecte.Analisi->NouTextFrequenciaMinima);
    EXPECT_EQ(*efecte.Analisi->NouTextFrequenciaMinima, "60");
    EXPECT_EQ(controls.Analisi.TextFrequenciaMinima, "60");
}

TEST_F(Bucle, ReconeixementContinuAnalitzaCadaBlocSenseGuardarRes) {
    controls.ReconeixementContinu = true;
    controls.ExperimentEsperant = true;
    controls.Analisi.TextFrequenciaMinima = "abc";
    bucle.SpeedButtonEngegarPararClick();

    const std::vector<Bloc> blocs = {BlocSilencios(), VocalU(), VocalA(),        VocalO(),
                                     VocalA(2048),    VocalU(), BlocSilencios(), VocalA()};
    for (std::size_t i = 0; i < blocs.size(); ++i) {
        const bool fort = i != 0 && i != 6;
        bucle.MostrarLletra("O");
        const auto efecte = Rebre(blocs[i]);
        ASSERT_TRUE(efecte.Analisi) << "block " << i;
        EXPECT_FALSE(efecte.PasExperiment) << "block " << i;
        EXPECT_FALSE(efecte.NouColorLletra) << "block " << i;
        EXPECT_FALSE(efecte.NouTitol) << "block " << i;
        EXPECT_FALSE(efecte.AturadaAutomatica) << "block " << i;
        // The loop does not show the continuous result; a quiet block clears the letter.
        EXPECT_EQ(efecte.LletraCanviada, !fort) << "block " << i;
        EXPECT_EQ(bucle.TextLletra(), fort ? "O" : "") << "block " << i;
        EXPECT_EQ(bucle.EstatVeu(), fort ? 2 : 0) << "block " << i;
    }
    // Even the quiet first block ran the pitch routine, which rewrote the text.
    EXPECT_EQ(controls.Analisi.TextFrequenciaMinima, "60");
    EXPECT_EQ(bucle.UltimaVocal(), "");
    EXPECT_TRUE(TotEs(*buffer, 0, kMidaEmissio, kByteSilenci));
    EXPECT_TRUE(bucle.Engegat());
}

// The automatic stop with continuous recognition compares EditLletra with the letter shown (set by the
// graphs window), not with the block's own result, which is "U" here.
struct CasContinu {
    const char* nom;
    const char* lletraMostrada;
    const char* editLletra;
    bool fort;
    bool atura;
};

class AturadaContinua : public BucleAmb<CasContinu> {};

TEST_P(AturadaContinua, ContraLaLletraMostrada) {
    const auto& c = GetParam();
    controls.ReconeixementContinu = true;
    controls.TextLletra = c.editLletra;
    bucle.SpeedButtonEngegarPararClick();
    bucle.MostrarLletra(c.lletraMostrada);
    const auto efecte = Rebre(c.fort ? VocalU() : BlocSilencios());
    ASSERT_TRUE(efecte.Analisi);
    EXPECT_EQ(efecte.AturadaAutomatica, c.atura);
    EXPECT_EQ(bucle.Engegat(), !c.atura);
    EXPECT_EQ(bucle.CaptionBoto(), c.atura ? "E" : "P");
    EXPECT_EQ(captura.Parades, c.atura ? 1 : 0);
    EXPECT_TRUE(TotEs(*buffer, 0, kMidaEmissio, kByteSilenci));
}

INSTANTIATE_TEST_SUITE_P(Bucle, AturadaContinua,
                         ::testing::Values(CasContinu{"LletraDiferentAtura", "A", "I", true, true},
                                           CasContinu{"ResultatIgualPeroLletraDiferentAtura", "A", "U", true,
                                                      true},
                                           CasContinu{"LletraIgualContinua", "I", "I", true, false},
                                           CasContinu{"LletraBuidaContinua", "", "I", true, false},
                                           CasContinu{"EditBuitContinua", "A", "", true, false},
                                           CasContinu{"BlocSilenciosNoAtura", "A", "I", false, false}),
                         [](const auto& info) { return std::string(info.param.nom); });

} // namespace
} // namespace tessora
