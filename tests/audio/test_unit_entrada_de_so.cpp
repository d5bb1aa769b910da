// The capture ring with a scripted device: copy-out, the order of the two buffers, lost blocks, the stop
// and its handed-back buffer, a failing device and the loss of the input; and chunks larger than a block
// through the held bytes into the ring.
#include "DispositiuGuionat.h"
#include "RetencioEntrada.h"
#include "UnitEntradaDeSo.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <span>
#include <vector>

namespace tessora {
namespace {

using proves::DispositiuGuionat;

// 512 bytes counting up from `inici` (wrapping): each block has its own byte at each index.
std::vector<std::uint8_t> Bloc(int inici) {
    std::vector<std::uint8_t> b(512);
    std::iota(b.begin(), b.end(), static_cast<std::uint8_t>(inici));
    return b;
}

struct Captura : ::testing::Test {
    std::unique_ptr<EstatAnalisi> estat = std::make_unique<EstatAnalisi>();
    DispositiuGuionat dispositiu;
    UnitEntradaDeSo unitat{*estat, dispositiu};
    int avisos = 0; // notifications not yet handled

    void SetUp() override { ASSERT_TRUE(unitat.InicialitzarEntradaDeSo(512)); }
    std::int32_t Engegar() {
        return unitat.EngegarEntradaDeSo([this] { ++avisos; });
    }
    // Handles the waiting notifications, as the window does: the first byte of each block copied out,
    // -1 for a notification without one.
    std::vector<int> Atendre(int n = 1) {
        std::vector<int> primers;
        for (; n > 0 && avisos > 0; --n, --avisos)
            primers.push_back(unitat.ProcessarBufferEntrada() ? estat->MostresCrues[0] : -1);
        return primers;
    }
};
using V = std::vector<int>;

TEST_F(Captura, CopiaElBlocMenys127IElsBlocsArribenEnOrdre) {
    ASSERT_EQ(Engegar(), 0);
    EXPECT_EQ(std::tuple(dispositiu.Frequencia, estat->FrequenciaMostreig, dispositiu.BytesDemanats),
              std::tuple(11025, 11025, 1024u)); // both buffers queued
    estat->Mostres[512] = 7;
    for (const int byte : {128, 0, 255}) { // chunks of 100, 300 and the rest: one notification when full
        const std::vector<std::uint8_t> bloc(512, static_cast<std::uint8_t>(byte));
        dispositiu.Lliurar(std::span(bloc).first(100));
        dispositiu.Lliurar(std::span(bloc).subspan(100, 300));
        EXPECT_EQ(avisos, 0);
        dispositiu.Lliurar(std::span(bloc).subspan(400));
        EXPECT_EQ(Atendre(), V{byte});
        EXPECT_EQ(std::count(estat->Mostres.begin(), estat->Mostres.begin() + 512, byte - 127), 512);
    }
    EXPECT_EQ(estat->Mostres[512], 7); // just past the block: never written
    auto dos = Bloc(1);                // one chunk that fills both buffers: two notifications
    dos.resize(1024, 50);
    dispositiu.Lliurar(dos);
    EXPECT_EQ(Atendre(3), (V{1, 50}));
    EXPECT_EQ(std::pair(unitat.BlocsPerduts(), unitat.BlocsProcessats()), std::pair(0ul, 5ul));
}

// After a stop request exactly one more block is copied; the buffer handed back by the stop carries
// none, whether it is taken at once or after the next start. A start with the stop still pending
// cancels it. Recordings carry nothing over.
TEST_F(Captura, DespresDUnaPeticioDAturadaEsCopiaExactamentUnBlocMes) {
    for (int cicle = 0; cicle < 4; ++cicle) {
        ASSERT_EQ(Engegar(), 0);
        EXPECT_EQ(cicle % 2 == 1 ? Atendre() : V{-1}, V{-1}); // left over from the last recording
        dispositiu.Lliurar(Bloc(1));
        unitat.PararEntradaDeSo();
        ASSERT_EQ(Engegar(), 0);
        EXPECT_EQ(std::pair(dispositiu.Obertures, unitat.PeticioAturada()), std::pair(cicle + 1, false));
        EXPECT_EQ(Atendre(), V{1});
        unitat.PararEntradaDeSo();
        EXPECT_TRUE(dispositiu.Desti); // the stop happens on the next notification
        dispositiu.Lliurar(Bloc(2));
        EXPECT_EQ(Atendre(), V{2});
        EXPECT_EQ(std::tuple(unitat.Aturat(), unitat.DispositiuObert(), dispositiu.Tancaments),
                  std::tuple(true, false, cicle + 1));
        dispositiu.Lliurar(Bloc(3)); // a closed device delivers nothing
        EXPECT_EQ(avisos, 1);        // the handed-back buffer
        EXPECT_EQ(cicle % 2 == 1 ? Atendre() : V{-1}, V{-1});
    }
    EXPECT_EQ(unitat.BlocsPerduts(), 0u);
}

TEST_F(Captura, UnDispositiuQueNoSObreNoCanviaResIAlliberarElTanca) {
    dispositiu.CodiObrir = 4;
    EXPECT_EQ(Engegar(), 4);
    EXPECT_EQ(std::pair(unitat.DispositiuObert(), dispositiu.BytesDemanats), std::pair(false, 0ul));
    dispositiu.CodiObrir = 0;
    ASSERT_EQ(Engegar(), 0);
    unitat.AlliberarEntradaDeSo();
    EXPECT_EQ(std::pair(bool(dispositiu.Desti), dispositiu.Tancaments), std::pair(false, 1));
    EXPECT_NE(Engegar(), 0); // no buffers any more
}

// The device stops for good: the blocks it filled before are still taken, then one notification says
// the input is lost and closes the device; what it might still deliver is ignored. A new start opens it
// again.
TEST_F(Captura, LaPerduaDeLEntradaArribaDespresDelsBlocsITancaElDispositiu) {
    ASSERT_EQ(Engegar(), 0);
    dispositiu.Lliurar(Bloc(1));
    dispositiu.Fallar();
    dispositiu.Fallar();         // said twice, told once
    dispositiu.Lliurar(Bloc(2)); // after the failure: not a block
    EXPECT_EQ(Atendre(), V{1});
    EXPECT_FALSE(unitat.EntradaPerduda());
    EXPECT_EQ(Atendre(), V{-1});
    EXPECT_TRUE(unitat.EntradaPerduda());
    EXPECT_EQ(std::tuple(avisos, dispositiu.Tancaments, unitat.DispositiuObert()), std::tuple(0, 1, false));
    ASSERT_EQ(Engegar(), 0);
    dispositiu.Lliurar(Bloc(3));
    EXPECT_EQ(Atendre(), V{3});
    EXPECT_FALSE(unitat.EntradaPerduda());
}

// Chunks of 550 bytes, as the sound server's client delivers them, through the held bytes into the ring,
// while the window is stuck: what cannot be held is lost and counted. (A window that keeps up loses
// nothing: the end-to-end test compares what the device hears with what was played.)
TEST_F(Captura, UnaFinestraEncalladaPerdElQueNoCapIHoCompta) {
    RetencioEntrada retencio{512};
    std::vector<std::uint8_t> flux(550 * 5), rebut;
    for (std::size_t i = 0; i < flux.size(); ++i)
        flux[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    dispositiu.AlAfegir = [&](std::size_t mida) { retencio.AmpliarCapacitat(mida); };
    ASSERT_EQ(Engegar(), 0);
    for (std::size_t i = 0; i < 5; ++i)
        retencio.Lliurar(std::span(flux).subspan(i * 550, 550), dispositiu.Desti);
    // Two buffers filled, one block held, 1214 bytes dropped: two whole blocks so far.
    EXPECT_EQ(std::tuple(avisos, retencio.Retingut(), unitat.BlocsPerduts()), std::tuple(2, 512ul, 2ul));
    for (; avisos > 0; --avisos) {
        ASSERT_TRUE(unitat.ProcessarBufferEntrada());
        rebut.insert(rebut.end(), estat->MostresCrues.begin(), estat->MostresCrues.begin() + 512);
        retencio.Lliurar({}, dispositiu.Desti); // what was held goes on once a buffer is queued
    }
    EXPECT_EQ(unitat.BlocsPerduts(), 3u); // and the partial one, once a buffer is queued
    EXPECT_EQ(rebut.size(), 3u * 512);    // the oldest blocks, in their order
    EXPECT_TRUE(std::equal(rebut.begin(), rebut.end(), flux.begin()));
}

} // namespace
} // namespace tessora
