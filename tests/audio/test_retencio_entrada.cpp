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
    std::vector<std::uint8_t> flux = std::vector<std::uint8_t>(550 * 200), rebut; // sent; seen by the window

    void SetUp() override {
        for (std::size_t i = 0; i < flux.size(); ++i)
            flux[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
        dispositiu.AlAfegir = [this](std::size_t mida) { retencio.AmpliarCapacitat(mida); };
        unitat.InicialitzarEntradaDeSo(512);
        ASSERT_EQ(unitat.EngegarEntradaDeSo([this] { ++avisos; }), 0);
    }
    void Atendre() {
        for (; avisos > 0; --avisos) {
            ASSERT_TRUE(unitat.ProcessarBufferEntrada());
            rebut.insert(rebut.end(), estat->MostresCrues.begin(), estat->MostresCrues.begin() + 512);
            retencio.Lliurar({}, dispositiu.Desti); // what was held goes on once a buffer is queued
        }
    }
    void Trossos(std::size_t n, bool atendre) { // n chunks of 550 bytes
        for (std::size_t i = 0; i < n; ++i) {
            retencio.Lliurar(std::span(flux).subspan(i * 550, 550), dispositiu.Desti);
            if (atendre) Atendre();
        }
    }
};

TEST_F(Retencio, TrossosDe550AmbLaFinestraAlDiaNoPerdenRes) {
    Trossos(200, true);
    EXPECT_EQ(std::pair(unitat.BlocsPerduts(), rebut.size()), std::pair(0ul, flux.size() / 512 * 512));
    EXPECT_TRUE(std::equal(rebut.begin(), rebut.end(), flux.begin()));
}

TEST_F(Retencio, UnaFinestraEncalladaPerdElQueNoCapIHoCompta) {
    Trossos(5, false); // two buffers filled, one block held, 1214 bytes dropped: two whole blocks so far
    EXPECT_EQ(std::tuple(avisos, retencio.Retingut(), unitat.BlocsPerduts()), std::tuple(2, 512ul, 2ul));
    Atendre();
    EXPECT_EQ(unitat.BlocsPerduts(), 3u); // and the partial one, once a buffer is queued
    EXPECT_EQ(rebut.size(), 3u * 512);    // the oldest blocks, in their order
    EXPECT_TRUE(std::equal(rebut.begin(), rebut.end(), flux.begin()));
}

} // namespace
} // namespace tessora
