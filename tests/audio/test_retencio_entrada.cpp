// Chunks larger than a block, as the sound server's client delivers them, through the held bytes into
// the ring: nothing is lost while the window keeps up, and what a late window loses is counted.
#include "RetencioEntrada.h"
#include "UnitEntradaDeSo.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace tessora {
namespace {

class DispositiuATrossos final : public DispositiuEntrada {
public:
    std::int32_t Obrir(std::int32_t, Receptor receptor) override {
        receptor_ = std::move(receptor);
        retencio.Reiniciar();
        return 0;
    }
    void BufferAfegit(std::size_t mida) override { retencio.AmpliarCapacitat(mida); }
    void Tancar() override { retencio.Reiniciar(); }
    void Tros(std::span<const std::uint8_t> dades) { retencio.Lliurar(dades, receptor_); }
    void Buidar() { retencio.Lliurar({}, receptor_); } // what the event loop does after a buffer is queued

    RetencioEntrada retencio{512};

private:
    Receptor receptor_;
};

struct Retencio : ::testing::Test {
    std::unique_ptr<EstatAnalisi> estat = std::make_unique<EstatAnalisi>();
    DispositiuATrossos dispositiu;
    UnitEntradaDeSo unitat{*estat, dispositiu};
    int avisos = 0;
    std::vector<std::uint8_t> rebut; // the stream as the window saw it

    void SetUp() override {
        unitat.InicialitzarEntradaDeSo(512);
        ASSERT_EQ(unitat.EngegarEntradaDeSo([this] { ++avisos; }), 0);
    }
    void Atendre() {
        while (avisos > 0) {
            --avisos;
            ASSERT_TRUE(unitat.ProcessarBufferEntrada());
            rebut.insert(rebut.end(), estat->MostresCrues.begin(), estat->MostresCrues.begin() + 512);
            dispositiu.Buidar();
        }
    }
    static std::vector<std::uint8_t> Flux(std::size_t mida) {
        std::vector<std::uint8_t> f(mida);
        for (std::size_t i = 0; i < mida; ++i)
            f[i] = static_cast<std::uint8_t>((i * 7 + i / 256) & 0xFF);
        return f;
    }
};

TEST_F(Retencio, TrossosDe550AmbLaFinestraAlDiaNoPerdenRes) {
    const auto flux = Flux(550 * 200);
    for (std::size_t i = 0; i < flux.size(); i += 550) {
        dispositiu.Tros(std::span(flux).subspan(i, 550));
        Atendre();
    }
    EXPECT_EQ(unitat.BlocsPerduts(), 0u);
    ASSERT_EQ(rebut.size(), flux.size() / 512 * 512);
    EXPECT_TRUE(std::equal(rebut.begin(), rebut.end(), flux.begin()));
}

TEST_F(Retencio, UnaFinestraEncallada) {
    // Five chunks with nobody handling them: two buffers, one block held, the rest dropped.
    const auto flux = Flux(550 * 5);
    for (std::size_t i = 0; i < flux.size(); i += 550)
        dispositiu.Tros(std::span(flux).subspan(i, 550));
    EXPECT_EQ(avisos, 2);
    EXPECT_EQ(dispositiu.retencio.Retingut(), 512u);
    EXPECT_EQ(unitat.BlocsPerduts(), 2u); // 1214 bytes dropped: two whole blocks so far
    Atendre();
    EXPECT_EQ(unitat.BlocsPerduts(), 3u); // and the partial one, once a buffer is queued
    ASSERT_EQ(rebut.size(), 3u * 512);
    // The blocks that reached the window are the oldest, in their order.
    EXPECT_TRUE(std::equal(rebut.begin(), rebut.end(), flux.begin()));
}

TEST_F(Retencio, UnTrosGranDespresDUnaPausa) {
    const auto flux = Flux(2205); // 200 ms in one chunk
    dispositiu.Tros(flux);
    EXPECT_EQ(avisos, 2);
    EXPECT_EQ(dispositiu.retencio.Retingut(), 512u);
    Atendre();
    EXPECT_EQ(unitat.BlocsPerduts(), 2u); // 669 bytes: one block and a part
    EXPECT_EQ(rebut.size(), 3u * 512);
}

} // namespace
} // namespace tessora
