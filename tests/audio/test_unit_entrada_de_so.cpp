// The capture ring: copy-out, the order of the two buffers, lost blocks, the stop and its handed-back
// buffer, start/stop cycles, and a failing device. A scripted device stands for the sound server.
#include "UnitEntradaDeSo.h"

#include <gtest/gtest.h>

#include <memory>
#include <numeric>
#include <vector>

namespace tessora {
namespace {

class DispositiuGuionat final : public DispositiuEntrada {
public:
    std::int32_t Obrir(std::int32_t frequencia, Receptor receptor) override {
        ++Obertures;
        Frequencia = frequencia;
        if (CodiObrir != 0) return CodiObrir;
        receptor_ = std::move(receptor);
        Obert = true;
        return 0;
    }
    void BufferAfegit(std::size_t mida) override { BytesDemanats += mida; }
    void Tancar() override {
        ++Tancaments;
        Obert = false;
    }
    // Delivers as the server would; a closed device delivers nothing.
    void Lliurar(const std::vector<std::uint8_t>& bytes) {
        if (Obert) receptor_(bytes);
    }

    std::int32_t CodiObrir = 0;
    std::int32_t Frequencia = 0;
    int Obertures = 0;
    int Tancaments = 0;
    std::size_t BytesDemanats = 0;
    bool Obert = false;

private:
    Receptor receptor_;
};

struct Captura : ::testing::Test {
    std::unique_ptr<EstatAnalisi> estat = std::make_unique<EstatAnalisi>();
    DispositiuGuionat dispositiu;
    UnitEntradaDeSo unitat{*estat, dispositiu};
    int avisos = 0; // notifications not yet handled

    void SetUp() override { ASSERT_TRUE(unitat.InicialitzarEntradaDeSo(512)); }
    std::int32_t Engegar() {
        return unitat.EngegarEntradaDeSo([this] { ++avisos; });
    }
    // Handles one notification, as the window does.
    bool Atendre() {
        EXPECT_GT(avisos, 0);
        --avisos;
        return unitat.ProcessarBufferEntrada();
    }
    static std::vector<std::uint8_t> Bloc(std::uint8_t inici) {
        std::vector<std::uint8_t> b(512);
        std::iota(b.begin(), b.end(), inici); // wraps: every block has its own byte at each index
        return b;
    }
};

struct CasCopia {
    std::uint8_t byte;
    std::int32_t mostra;
};

class Copia : public Captura, public ::testing::WithParamInterface<CasCopia> {};

TEST_P(Copia, MostresEsElByteMenys127) {
    ASSERT_EQ(Engegar(), 0);
    estat->Mostres[512] = 0;
    dispositiu.Lliurar(std::vector<std::uint8_t>(512, GetParam().byte));
    ASSERT_TRUE(Atendre());
    for (int i = 0; i < 512; ++i) {
        ASSERT_EQ(estat->Mostres[i], GetParam().mostra) << i;
        ASSERT_EQ(estat->MostresCrues[i], GetParam().byte) << i;
    }
    EXPECT_EQ(estat->Mostres[512], 0); // just past the block: never written
}

INSTANTIATE_TEST_SUITE_P(Valors, Copia,
                         ::testing::Values(CasCopia{128, 1}, CasCopia{0, -127}, CasCopia{255, 128}));

TEST_F(Captura, ElsBlocsArribenEnOrdreSiguiQuinSiguiElTrossejat) {
    ASSERT_EQ(Engegar(), 0);
    EXPECT_EQ(dispositiu.Frequencia, 11025);
    EXPECT_EQ(estat->FrequenciaMostreig, 11025);
    EXPECT_EQ(dispositiu.BytesDemanats, 1024u); // both buffers queued
    for (int b = 0; b < 6; ++b) {
        const auto bloc = Bloc(static_cast<std::uint8_t>(b * 7));
        // Chunks of 100, 300 and the rest: one notification when the buffer is full, not before.
        dispositiu.Lliurar({bloc.begin(), bloc.begin() + 100});
        dispositiu.Lliurar({bloc.begin() + 100, bloc.begin() + 400});
        EXPECT_EQ(avisos, 0);
        dispositiu.Lliurar({bloc.begin() + 400, bloc.end()});
        ASSERT_EQ(avisos, 1);
        ASSERT_TRUE(Atendre());
        EXPECT_EQ(estat->MostresCrues[0], bloc[0]);
        EXPECT_EQ(estat->MostresCrues[511], bloc[511]);
    }
    EXPECT_EQ(unitat.BlocsPerduts(), 0u);
    EXPECT_EQ(unitat.BlocsProcessats(), 6u);
}

TEST_F(Captura, UnTrossQueOmpleDosBuffersDonaDosAvisos) {
    ASSERT_EQ(Engegar(), 0);
    std::vector<std::uint8_t> dos = Bloc(1);
    const auto segon = Bloc(50);
    dos.insert(dos.end(), segon.begin(), segon.end());
    dispositiu.Lliurar(dos);
    ASSERT_EQ(avisos, 2);
    ASSERT_TRUE(Atendre());
    EXPECT_EQ(estat->MostresCrues[0], 1);
    ASSERT_TRUE(Atendre());
    EXPECT_EQ(estat->MostresCrues[0], 50);
    EXPECT_EQ(unitat.BlocsPerduts(), 0u);
}

TEST_F(Captura, SiLaFinestraVaTardElsBlocsSensBufferEsPerdenIEsCompten) {
    ASSERT_EQ(Engegar(), 0);
    for (int b = 0; b < 5; ++b)
        dispositiu.Lliurar(Bloc(static_cast<std::uint8_t>(10 * b)));
    EXPECT_EQ(avisos, 2);
    EXPECT_EQ(unitat.BlocsPerduts(), 3u);
    ASSERT_TRUE(Atendre());
    EXPECT_EQ(estat->MostresCrues[0], 0); // the first two blocks are the ones kept
    ASSERT_TRUE(Atendre());
    EXPECT_EQ(estat->MostresCrues[0], 10);
    // Part of a block dropped, then a buffer comes free: the partial block counts as lost too.
    dispositiu.Lliurar(Bloc(60));
    dispositiu.Lliurar(Bloc(70));
    dispositiu.Lliurar(std::vector<std::uint8_t>(100, 1));
    EXPECT_EQ(unitat.BlocsPerduts(), 3u);
    ASSERT_TRUE(Atendre());
    EXPECT_EQ(unitat.BlocsPerduts(), 4u);
}

TEST_F(Captura, DespresDUnaPeticioDAturadaEsCopiaExactamentUnBlocMes) {
    ASSERT_EQ(Engegar(), 0);
    dispositiu.Lliurar(Bloc(1));
    ASSERT_TRUE(Atendre());
    unitat.PararEntradaDeSo();
    EXPECT_TRUE(unitat.PeticioAturada());
    EXPECT_TRUE(dispositiu.Obert); // the stop happens on the next notification
    dispositiu.Lliurar(Bloc(2));
    ASSERT_TRUE(Atendre());
    EXPECT_EQ(estat->MostresCrues[0], 2);
    EXPECT_TRUE(unitat.Aturat());
    EXPECT_FALSE(unitat.PeticioAturada());
    EXPECT_FALSE(unitat.DispositiuObert());
    EXPECT_EQ(dispositiu.Tancaments, 1);
    // The buffer still queued comes back with a notification of its own, which carries no block.
    ASSERT_EQ(avisos, 1);
    estat->MostresCrues[0] = 99;
    EXPECT_FALSE(Atendre());
    EXPECT_EQ(estat->MostresCrues[0], 99);
    dispositiu.Lliurar(Bloc(3)); // a closed device delivers nothing
    EXPECT_EQ(avisos, 0);
}

TEST_F(Captura, ElsCiclesDEngegarIPararNoArrosseguenRes) {
    for (int cicle = 0; cicle < 200; ++cicle) {
        ASSERT_EQ(Engegar(), 0) << cicle;
        EXPECT_FALSE(unitat.Aturat());
        const auto bloc = Bloc(static_cast<std::uint8_t>(cicle));
        dispositiu.Lliurar(bloc);
        unitat.PararEntradaDeSo();
        dispositiu.Lliurar(Bloc(static_cast<std::uint8_t>(cicle + 1)));
        ASSERT_TRUE(Atendre());
        EXPECT_EQ(estat->MostresCrues[0], bloc[0]);
        ASSERT_TRUE(unitat.Aturat()) << cicle;
        while (avisos > 0)
            EXPECT_FALSE(Atendre()); // the second block and the handed-back buffer: nothing
    }
    EXPECT_EQ(dispositiu.Obertures, 200);
    EXPECT_EQ(dispositiu.Tancaments, 200);
    EXPECT_EQ(unitat.BlocsPerduts(), 0u);
}

TEST_F(Captura, UnAvisDUnaGravacioAnteriorNoPortaCapBloc) {
    ASSERT_EQ(Engegar(), 0);
    dispositiu.Lliurar(Bloc(1));
    unitat.PararEntradaDeSo();
    dispositiu.Lliurar(Bloc(2));
    ASSERT_TRUE(Atendre()); // block 1, and the device stops
    ASSERT_EQ(avisos, 1);   // block 2's notification is still waiting
    ASSERT_EQ(Engegar(), 0);
    estat->MostresCrues[0] = 77;
    EXPECT_FALSE(Atendre()); // it belongs to the previous recording
    EXPECT_EQ(estat->MostresCrues[0], 77);
    dispositiu.Lliurar(Bloc(4));
    ASSERT_TRUE(Atendre());
    EXPECT_EQ(estat->MostresCrues[0], 4);
}

TEST_F(Captura, EngegarAmbUnaAturadaPendentLaCancella) {
    ASSERT_EQ(Engegar(), 0);
    unitat.PararEntradaDeSo();
    ASSERT_EQ(Engegar(), 0);
    EXPECT_EQ(dispositiu.Obertures, 1);
    EXPECT_FALSE(unitat.PeticioAturada());
    dispositiu.Lliurar(Bloc(5));
    ASSERT_TRUE(Atendre());
    EXPECT_TRUE(unitat.DispositiuObert());
    EXPECT_FALSE(unitat.Aturat());
    dispositiu.Lliurar(Bloc(6));
    ASSERT_TRUE(Atendre());
    EXPECT_EQ(estat->MostresCrues[0], 6);
}

TEST_F(Captura, UnDispositiuQueNoSObreNoCanviaRes) {
    dispositiu.CodiObrir = 4;
    EXPECT_EQ(Engegar(), 4);
    EXPECT_FALSE(unitat.DispositiuObert());
    EXPECT_EQ(dispositiu.BytesDemanats, 0u);
    dispositiu.CodiObrir = 0;
    EXPECT_EQ(Engegar(), 0);
    EXPECT_TRUE(unitat.DispositiuObert());
    EXPECT_EQ(kTextErrorObrirEntrada, "NO puc obrir els dispositiu d'entrada");
    EXPECT_EQ(kTitolErrorObrirEntrada, "Valor màxim detectat en el micròfon");
}

TEST_F(Captura, AlliberarTancaUnDispositiuEncaraObert) {
    ASSERT_EQ(Engegar(), 0);
    unitat.AlliberarEntradaDeSo();
    EXPECT_FALSE(dispositiu.Obert);
    EXPECT_EQ(dispositiu.Tancaments, 1);
    EXPECT_NE(Engegar(), 0); // no buffers any more
}

} // namespace
} // namespace tessora
