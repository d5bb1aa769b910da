// Chunks larger than a block, as the sound server's client delivers them, through the held bytes into
// the ring: nothing is lost while the window keeps up, and what a late window loses is counted.
#include "DispositiuGuionat.h"
#include "RetencioEntrada.h"

#include <gtest/gtest.h>

#include <memory>

namespace tessora {
namespace {

struct Retencio : ::testing::Test {
    std::unique_ptr<EstatAnalisi> estat = std::make_unique<EstatAnalisi>();
    proves::DispositiuGuionat dispositiu;
    RetencioEntrada retencio{512};
    UnitEntradaDeSo unitat{*estat, dispositiu};
    int avisos = 0;
    std::vector<std::uint8_t> rebut; // the stream as the window saw it
    std::vector<std::uint8_t> flux = std::vector<std::uint8_t>(550 * 200);

    void SetUp() override {
        for (std::size_t i = 0; i < flux.size(); ++i)
            flux[i] = static_cast<std::uint8_t>((i * 7 + i / 256) & 0xFF);
        dispositiu.AlAfegir = [this](std::size_t mida) { retencio.AmpliarCapacitat(mida); };
        unitat.InicialitzarEntradaDeSo(512);
        ASSERT_EQ(unitat.EngegarEntradaDeSo([this] { ++avisos; }), 0);
    }
    void Tros(std::size_t inici, std::size_t mida) {
        retencio.Lliurar(std::span(flux).subspan(inici, mida), dispositiu.Desti());
    }
    void Atendre() { // every notification, and what was held goes on after each queued buffer
        for (; avisos > 0; --avisos) {
            ASSERT_TRUE(unitat.ProcessarBufferEntrada());
            rebut.insert(rebut.end(), estat->MostresCrues.begin(), estat->MostresCrues.begin() + 512);
            retencio.Lliurar({}, dispositiu.Desti());
        }
    }
    // The blocks that reached the window are the oldest of the stream, in their order.
    bool RebutEsElPrincipi() const { return std::equal(rebut.begin(), rebut.end(), flux.begin()); }
};

TEST_F(Retencio, TrossosDe550AmbLaFinestraAlDiaNoPerdenRes) {
    for (std::size_t i = 0; i < flux.size(); i += 550) {
        Tros(i, 550);
        Atendre();
    }
    EXPECT_EQ(unitat.BlocsPerduts(), 0u);
    EXPECT_EQ(rebut.size(), flux.size() / 512 * 512);
    EXPECT_TRUE(RebutEsElPrincipi());
}

TEST_F(Retencio, UnaFinestraEncalladaPerdElQueNoCapIHoCompta) {
    for (std::size_t i = 0; i < 550 * 5; i += 550) // nobody handles them: two buffers, one block held
        Tros(i, 550);
    EXPECT_EQ(std::pair(avisos, retencio.Retingut()), std::pair(2, 512ul));
    EXPECT_EQ(unitat.BlocsPerduts(), 2u); // 1214 bytes dropped: two whole blocks so far
    Atendre();
    EXPECT_EQ(unitat.BlocsPerduts(), 3u); // and the partial one, once a buffer is queued
    EXPECT_EQ(rebut.size(), 3u * 512);
    EXPECT_TRUE(RebutEsElPrincipi());
}

} // namespace
} // namespace tessora
