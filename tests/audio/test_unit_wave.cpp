#include "UnitWave.h"

#include "CarpetaTemporal.h"
#include "PerNom.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>

namespace tessora {
namespace {

using Bytes = std::vector<std::uint8_t>;
// Channels, bits, rate, average bytes per second and block align of a format record.
using Format = std::array<std::uint32_t, 5>;
constexpr Format kFormat0{1, 8, 11025, 11025, 1};
void AfegirLE(Bytes& bytes, std::uint32_t valor, int mida = 4) {
    for (int i = 0; i < mida; ++i)
        bytes.push_back(static_cast<std::uint8_t>(valor >> (8 * i)));
}

// The file a write must produce, built field by field from the layout.
Bytes FitxerEsperat(const Bytes& dades, const Format& format) {
    const auto n = static_cast<std::uint32_t>(dades.size());
    const auto [canals, bits, frequencia, bytesPerSegon, alineacio] = format;
    Bytes bytes;
    const auto text = [&bytes](std::string_view t) { bytes.insert(bytes.end(), t.begin(), t.end()); };
    text("RIFF"), AfegirLE(bytes, 112 + n + n % 2), text("WAVELIST"), AfegirLE(bytes, 66);
    text("INFOICOP"), AfegirLE(bytes, 54), text("Tessora, reconeixement de vocals - https://example.org");
    text("fmt "), AfegirLE(bytes, 18);
    // tag 1, channels, rate, average bytes per second, block align, bits, extra size 0
    const std::pair<std::uint32_t, int> registre[] = {
        {1, 2}, {canals, 2}, {frequencia, 4}, {bytesPerSegon, 4}, {alineacio, 2}, {bits, 2}, {0, 2}};
    for (const auto& [valor, mida] : registre)
        AfegirLE(bytes, valor, mida);
    text("data"), AfegirLE(bytes, n);
    bytes.insert(bytes.end(), dades.begin(), dades.end());
    if (n % 2 != 0) bytes.push_back(0);
    return bytes;
}

Bytes Mostres(std::size_t n) {
    Bytes mostres(n);
    for (std::size_t i = 0; i < n; ++i)
        mostres[i] = static_cast<std::uint8_t>((i * 37 + 11) % 256);
    return mostres;
}

// A disk that takes `Limit` bytes and refuses any write past them.
struct DiscPle final : SortidaWav {
    explicit DiscPle(std::uint64_t limit) : Limit(limit) {}
    bool Escriure(const void*, std::size_t mida) override { return (Mida += mida) <= Limit; }
    bool EscriureA(std::uint64_t, const void*, std::size_t) override { return true; }
    std::uint64_t Posicio() const override { return Mida; }
    std::uint64_t Limit, Mida = 0;
};

// A write of `N` samples with format code `Codi` to the file `Cami` (or to a disk that takes `Limit`
// bytes): the result, and the file's bytes when written.
struct FilaWav {
    const char* Nom;
    std::int32_t Codi;
    std::size_t N;
    Format Registre = kFormat0;
    std::int32_t Resultat = kWavCorrecte;
    std::uint64_t Limit = 0; // 0: no limit
    const char* Cami = "so.wav";
    friend void PrintTo(const FilaWav& fila, std::ostream* sortida) { *sortida << fila.Nom; }
};

class EscriureWavFila : public testing::TestWithParam<FilaWav> {};

TEST_P(EscriureWavFila, EscritByteAByteOElCodiDelPasQueFalla) {
    const FilaWav& fila = GetParam();
    if (fila.Limit > 0) {
        DiscPle disc(fila.Limit);
        EXPECT_EQ(EscriureWav(disc, fila.Codi, Mostres(fila.N)), fila.Resultat);
        return;
    }
    proves::CarpetaTemporal carpeta;
    const auto fitxer = carpeta.Cami() / fila.Cami;
    int error = -1;
    EXPECT_EQ(EscriureWav(fitxer, fila.Codi, Mostres(fila.N), &error), fila.Resultat);
    const bool escrit = fila.Resultat == kWavCorrecte;
    EXPECT_EQ(error, escrit ? 0 : ENOENT); // the system's reason reaches the caller
    EXPECT_EQ(proves::LlegirBytes(fitxer), escrit ? FitxerEsperat(Mostres(fila.N), fila.Registre) : Bytes{});
    EXPECT_EQ(carpeta.Contingut().size(), escrit ? 1u : 0u);
}

// The rows reach each branch of the format rule (odd codes stereo, negative ones too; 16-bit codes; the
// three rates), the pad byte after an odd count, an empty block, and each failing step. The refusals of
// the file replacement (a read-only file, a link loop) are tested with it.
INSTANTIATE_TEST_SUITE_P(
    Fitxers, EscriureWavFila,
    testing::Values(FilaWav{"Emissio", 0, 1536}, FilaWav{"Buit", 0, 0}, FilaWav{"Senar", 0, 5},
                    FilaWav{"CodiSenarNegatiu", -1, 4, {2, 8, 11025, 22050, 2}},
                    FilaWav{"Codi6", 6, 4, {1, 16, 22050, 44100, 2}},
                    FilaWav{"Codi11", 11, 4, {2, 16, 44100, 176400, 4}},
                    FilaWav{"CarpetaInexistent", 0, 5, kFormat0, kWavNoEsPotCrear, 0, "no/so.wav"},
                    FilaWav{"FallaLAvis", 0, 5, kFormat0, kWavErrorAvis, 40},
                    FilaWav{"FallaElFormat", 0, 5, kFormat0, kWavErrorFormat, 100},
                    FilaWav{"FallenLesMostres", 0, 5, kFormat0, kWavErrorDades, 122},
                    FilaWav{"FallaElFarciment", 0, 5, kFormat0, kWavErrorDades, 125}),
    proves::PerNom{});

// A recording that meets its limit in its fourth block keeps the three before, as the file EscriureWav
// makes of them. (A full disk, which cuts the file back the same way, is tried on the CLI.)
TEST(GravacioWav, AlLimitGuardaElsBlocsSencers) {
    proves::CarpetaTemporal carpeta;
    const Bytes mostres = Mostres(4 * 512);
    GravacioWav gravacio(carpeta.Cami() / "c.wav", 3 * 512 + 100);
    for (std::size_t n = 0; n < 4; ++n)
        EXPECT_EQ(gravacio.Afegir(std::span(mostres).subspan(512 * n, 512)), n < 3);
    EXPECT_TRUE(gravacio.AlLimit());
    ASSERT_EQ(gravacio.Acabar(), kWavCorrecte);
    EXPECT_EQ(proves::LlegirBytes(carpeta.Cami() / "c.wav"),
              FitxerEsperat(Bytes(mostres.begin(), mostres.end() - 512), kFormat0));
}

} // namespace
} // namespace tessora
