// The capture ring with a scripted device: copy-out, the order of the two buffers, lost blocks, the stop
// and its handed-back buffer, a failing device and the loss of the input.
#include "DispositiuGuionat.h"
#include "UnitEntradaDeSo.h"

#include <gtest/gtest.h>

#include <memory>

namespace tessora {
namespace {

using proves::BlocComptat;

struct Captura : ::testing::Test {
    std::unique_ptr<EstatAnalisi> estat = std::make_unique<EstatAnalisi>();
    proves::DispositiuGuionat dispositiu;
    UnitEntradaDeSo unitat{*estat, dispositiu};
    int avisos = 0; // notifications not yet handled

    void SetUp() override { ASSERT_TRUE(unitat.InicialitzarEntradaDeSo(512)); }
    std::int32_t Engegar() {
        return unitat.EngegarEntradaDeSo([this] { ++avisos; });
    }
    // Handles one notification, as the window does; returns the first byte copied out, or -1 for none.
    int Atendre() {
        EXPECT_GT(avisos, 0);
        --avisos;
        return unitat.ProcessarBufferEntrada() ? estat->MostresCrues[0] : -1;
    }
    std::vector<int> AtendreTots() {
        std::vector<int> primers;
        while (avisos > 0)
            primers.push_back(Atendre());
        return primers;
    }
};

struct CasCopia {
    const char* nom;
    std::uint8_t byte;
    std::int32_t mostra;
};
class Copia : public Captura, public ::testing::WithParamInterface<CasCopia> {};

TEST_P(Copia, MostresEsElByteMenys127) {
    ASSERT_EQ(Engegar(), 0);
    estat->Mostres[512] = 0;
    dispositiu.Lliurar(std::vector<std::uint8_t>(512, GetParam().byte));
    ASSERT_EQ(Atendre(), GetParam().byte);
    for (int i = 0; i < 512; ++i)
        ASSERT_EQ(std::pair(estat->Mostres[i], int(estat->MostresCrues[i])),
                  std::pair(GetParam().mostra, int(GetParam().byte)));
    EXPECT_EQ(estat->Mostres[512], 0); // just past the block: never written
}
INSTANTIATE_TEST_SUITE_P(Valors, Copia,
                         ::testing::Values(CasCopia{"Silenci", 128, 1}, CasCopia{"Minim", 0, -127},
                                           CasCopia{"Maxim", 255, 128}),
                         [](const auto& info) { return std::string(info.param.nom); });

TEST_F(Captura, ElsBlocsArribenEnOrdreSiguiQuinSiguiElTrossejat) {
    ASSERT_EQ(Engegar(), 0);
    EXPECT_EQ(std::pair(dispositiu.Frequencia, estat->FrequenciaMostreig), std::pair(11025, 11025));
    EXPECT_EQ(dispositiu.BytesDemanats, 1024u); // both buffers queued
    for (int b = 0; b < 4; ++b) {               // chunks of 100, 300 and the rest: one notification when full
        const auto bloc = BlocComptat(static_cast<std::uint8_t>(b * 7));
        dispositiu.Lliurar(std::span(bloc).first(100));
        dispositiu.Lliurar(std::span(bloc).subspan(100, 300));
        EXPECT_EQ(avisos, 0);
        dispositiu.Lliurar(std::span(bloc).subspan(400));
        ASSERT_EQ(avisos, 1);
        EXPECT_EQ(Atendre(), bloc[0]);
        EXPECT_EQ(estat->MostresCrues[511], bloc[511]);
    }
    auto dos = BlocComptat(1); // one chunk that fills both buffers: two notifications
    dos.resize(1024, 50);
    dispositiu.Lliurar(dos);
    ASSERT_EQ(avisos, 2);
    EXPECT_EQ(AtendreTots(), (std::vector{1, 50}));
    EXPECT_EQ(std::pair(unitat.BlocsPerduts(), unitat.BlocsProcessats()), std::pair(0ul, 6ul));
}

TEST_F(Captura, SiLaFinestraVaTardElsBlocsSensBufferEsPerdenIEsCompten) {
    ASSERT_EQ(Engegar(), 0);
    for (int b = 0; b < 5; ++b)
        dispositiu.Lliurar(BlocComptat(static_cast<std::uint8_t>(10 * b)));
    EXPECT_EQ(std::pair(avisos, unitat.BlocsPerduts()), std::pair(2, 3ul));
    EXPECT_EQ(AtendreTots(), (std::vector{0, 10})); // the first two blocks are kept
    // Part of a block dropped, then a buffer comes free: the partial block counts as lost too.
    dispositiu.Lliurar(BlocComptat(60));
    dispositiu.Lliurar(BlocComptat(70));
    dispositiu.Lliurar(std::vector<std::uint8_t>(100, 1));
    EXPECT_EQ(unitat.BlocsPerduts(), 3u);
    Atendre();
    EXPECT_EQ(unitat.BlocsPerduts(), 4u);
}

// After a stop request exactly one more block is copied; the buffer handed back by the stop carries
// none, whether it is taken at once or after the next start. Recordings carry nothing over.
TEST_F(Captura, DespresDUnaPeticioDAturadaEsCopiaExactamentUnBlocMes) {
    for (int cicle = 0; cicle < 4; ++cicle) {
        ASSERT_EQ(Engegar(), 0);
        if (cicle % 2 == 1) EXPECT_EQ(Atendre(), -1); // left over from the last recording
        dispositiu.Lliurar(BlocComptat(1));
        EXPECT_EQ(Atendre(), 1);
        unitat.PararEntradaDeSo();
        EXPECT_TRUE(dispositiu.Obert); // the stop happens on the next notification
        dispositiu.Lliurar(BlocComptat(2));
        EXPECT_EQ(Atendre(), 2);
        EXPECT_TRUE(unitat.Aturat());
        EXPECT_EQ(std::pair(unitat.DispositiuObert(), dispositiu.Tancaments), std::pair(false, cicle + 1));
        dispositiu.Lliurar(BlocComptat(3)); // a closed device delivers nothing
        ASSERT_EQ(avisos, 1);               // the handed-back buffer
        if (cicle % 2 == 1) EXPECT_EQ(Atendre(), -1);
    }
    EXPECT_EQ(unitat.BlocsPerduts(), 0u);
}

TEST_F(Captura, EngegarAmbUnaAturadaPendentLaCancella) {
    ASSERT_EQ(Engegar(), 0);
    unitat.PararEntradaDeSo();
    ASSERT_EQ(Engegar(), 0);
    EXPECT_EQ(std::pair(dispositiu.Obertures, unitat.PeticioAturada()), std::pair(1, false));
    dispositiu.Lliurar(BlocComptat(5));
    dispositiu.Lliurar(BlocComptat(6));
    EXPECT_EQ(AtendreTots(), (std::vector{5, 6}));
    EXPECT_TRUE(unitat.DispositiuObert());
}

TEST_F(Captura, UnDispositiuQueNoSObreNoCanviaResIAlliberarElTanca) {
    dispositiu.CodiObrir = 4;
    EXPECT_EQ(Engegar(), 4);
    EXPECT_EQ(std::pair(unitat.DispositiuObert(), dispositiu.BytesDemanats), std::pair(false, 0ul));
    dispositiu.CodiObrir = 0;
    ASSERT_EQ(Engegar(), 0);
    unitat.AlliberarEntradaDeSo();
    EXPECT_EQ(std::pair(dispositiu.Obert, dispositiu.Tancaments), std::pair(false, 1));
    EXPECT_NE(Engegar(), 0); // no buffers any more
}

// The device stops for good: the blocks it filled before are still taken, then one notification says
// the input is lost and closes the device; what it might still deliver is ignored. A new start opens it
// again.
TEST_F(Captura, LaPerduaDeLEntradaArribaDespresDelsBlocsITancaElDispositiu) {
    ASSERT_EQ(Engegar(), 0);
    dispositiu.Lliurar(BlocComptat(1));
    dispositiu.Fallar();
    dispositiu.Fallar();                // said twice, told once
    dispositiu.Lliurar(BlocComptat(2)); // after the failure: not a block
    ASSERT_EQ(avisos, 2);
    EXPECT_EQ(Atendre(), 1);
    EXPECT_FALSE(unitat.EntradaPerduda());
    EXPECT_EQ(Atendre(), -1);
    EXPECT_TRUE(unitat.EntradaPerduda());
    EXPECT_EQ(std::pair(dispositiu.Tancaments, unitat.DispositiuObert()), std::pair(1, false));
    dispositiu.Fallar(); // closed: nothing to tell
    EXPECT_EQ(avisos, 0);
    ASSERT_EQ(Engegar(), 0);
    EXPECT_EQ(dispositiu.Obertures, 2);
    dispositiu.Lliurar(BlocComptat(3));
    EXPECT_EQ(Atendre(), 3);
    EXPECT_FALSE(unitat.EntradaPerduda());
}

} // namespace
} // namespace tessora
