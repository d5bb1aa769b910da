#include "UnitWave.h"

#include "CarpetaTemporal.h"

#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>
#include <utility>
#include <vector>

namespace tessora {
namespace {

using proves::CarpetaTemporal;
using proves::EscriureBytes;
using proves::LlegirBytes;
using Bytes = std::vector<std::uint8_t>;

void AfegirLE(Bytes& bytes, std::uint32_t valor, int mida = 4) {
    for (int i = 0; i < mida; ++i)
        bytes.push_back(static_cast<std::uint8_t>(valor >> (8 * i)));
}

// Channels, bits, rate, average bytes per second and block align of a format record.
using Format = std::array<std::uint32_t, 5>;
constexpr Format kFormat0{1, 8, 11025, 11025, 1};

// The file a write must produce, built field by field from the layout, with the values of its five size
// fields (RIFF, LIST, ICOP, "fmt ", data) those of the complete file unless given.
Bytes FitxerEsperat(const Bytes& dades, const Format& format,
                    std::optional<std::array<std::uint32_t, 5>> donades = std::nullopt) {
    const auto n = static_cast<std::uint32_t>(dades.size());
    const auto mides = donades.value_or(std::array<std::uint32_t, 5>{112 + n + n % 2, 66, 54, 18, n});
    const auto [canals, bits, frequencia, bytesPerSegon, alineacio] = format;
    Bytes bytes;
    const auto afegir = [&bytes](std::string_view text, std::optional<std::uint32_t> mida) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        if (mida) AfegirLE(bytes, *mida);
    };
    afegir("RIFF", mides[0]);
    afegir("WAVELIST", mides[1]);
    afegir("INFOICOP", mides[2]);
    afegir("Tessora, reconeixement de vocals - https://example.org", std::nullopt);
    afegir("fmt ", mides[3]);
    // tag 1, channels, rate, average bytes per second, block align, bits, extra size 0
    const std::pair<std::uint32_t, int> registre[] = {
        {1, 2}, {canals, 2}, {frequencia, 4}, {bytesPerSegon, 4}, {alineacio, 2}, {bits, 2}, {0, 2}};
    for (const auto& [valor, mida] : registre)
        AfegirLE(bytes, valor, mida);
    afegir("data", mides[4]);
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

// An in-memory file that refuses to grow past `Limit` bytes (a full disk), and optionally refuses every
// positioned write. A refused write writes nothing.
struct SortidaMemoria final : SortidaWav {
    bool Escriure(const void* dades, std::size_t mida) override {
        if (mida > Limit - Fitxer.size()) return false;
        Fitxer.insert(Fitxer.end(), static_cast<const std::uint8_t*>(dades),
                      static_cast<const std::uint8_t*>(dades) + mida);
        return true;
    }
    bool EscriureA(std::uint64_t posicio, const void* dades, std::size_t mida) override {
        if (RefusarPegats || posicio + mida > Fitxer.size()) return false;
        std::memcpy(Fitxer.data() + posicio, dades, mida);
        return true;
    }
    std::uint64_t Posicio() const override { return Fitxer.size(); }

    Bytes Fitxer;
    std::size_t Limit = std::numeric_limits<std::size_t>::max();
    bool RefusarPegats = false;
};

// Format code, sample count, the record the file must hold, and the file's length.
using FilaFitxer = std::tuple<std::int32_t, std::size_t, Format, std::size_t>;

class EscriureWavFitxer : public testing::TestWithParam<FilaFitxer> {};

TEST_P(EscriureWavFitxer, WrittenByteForByte) {
    const auto& [codi, n, format, mida] = GetParam();
    CarpetaTemporal carpeta;
    const auto dades = Mostres(n);
    ASSERT_EQ(EscriureWav(carpeta.Cami() / "emissio.wav", codi, dades), kWavCorrecte);
    const auto bytes = LlegirBytes(carpeta.Cami() / "emissio.wav");
    EXPECT_EQ(bytes.size(), mida);
    EXPECT_EQ(bytes, FitxerEsperat(dades, format));
    EXPECT_EQ(carpeta.Contingut(), std::vector<std::string>{"emissio.wav"});
}

// An utterance of 1536 samples; the pad byte that follows an odd count without being part of the data
// chunk; every format code and some beyond them.
INSTANTIATE_TEST_SUITE_P(
    Files, EscriureWavFitxer,
    testing::Values(
        FilaFitxer{0, 1536, {1, 8, 11025, 11025, 1}, 1656},
        FilaFitxer{0, 1535, {1, 8, 11025, 11025, 1}, 1656}, FilaFitxer{0, 1, {1, 8, 11025, 11025, 1}, 122},
        FilaFitxer{0, 0, {1, 8, 11025, 11025, 1}, 120}, FilaFitxer{1, 4, {2, 8, 11025, 22050, 2}, 124},
        FilaFitxer{2, 4, {1, 16, 11025, 22050, 2}, 124}, FilaFitxer{3, 4, {2, 16, 11025, 44100, 4}, 124},
        FilaFitxer{4, 4, {1, 8, 22050, 22050, 1}, 124}, FilaFitxer{5, 4, {2, 8, 22050, 44100, 2}, 124},
        FilaFitxer{6, 4, {1, 16, 22050, 44100, 2}, 124}, FilaFitxer{7, 4, {2, 16, 22050, 88200, 4}, 124},
        FilaFitxer{8, 4, {1, 8, 44100, 44100, 1}, 124}, FilaFitxer{9, 4, {2, 8, 44100, 88200, 2}, 124},
        FilaFitxer{10, 4, {1, 16, 44100, 88200, 2}, 124}, FilaFitxer{11, 4, {2, 16, 44100, 176400, 4}, 124},
        FilaFitxer{-1, 4, {2, 8, 11025, 22050, 2}, 124}, FilaFitxer{-2, 4, {1, 8, 11025, 11025, 1}, 124},
        FilaFitxer{12, 4, {1, 8, 44100, 44100, 1}, 124},
        FilaFitxer{INT32_MIN, 4, {1, 8, 11025, 11025, 1}, 124},
        FilaFitxer{INT32_MAX, 4, {2, 8, 44100, 88200, 2}, 124}));

// A write of 5 samples that fails part-way (the sink's size limit, whether it refuses to patch sizes):
// the failing step's code, how far the file got, and its size fields, 0 for every chunk still open.
using FilaFallada = std::tuple<std::size_t, bool, std::int32_t, std::size_t, std::array<std::uint32_t, 5>>;

class EscriureWavFallada : public testing::TestWithParam<FilaFallada> {};

TEST_P(EscriureWavFallada, StopsAtTheFailingStep) {
    const auto& [limit, refusarPegats, resultat, escrits, mides] = GetParam();
    SortidaMemoria sortida;
    sortida.Limit = limit;
    sortida.RefusarPegats = refusarPegats;

    EXPECT_EQ(EscriureWav(sortida, 0, Mostres(5)), resultat);

    auto esperat = FitxerEsperat(Mostres(5), kFormat0, mides);
    esperat.resize(escrits);
    EXPECT_EQ(sortida.Fitxer, esperat);
}

INSTANTIATE_TEST_SUITE_P(Passos, EscriureWavFallada,
                         testing::Values(FilaFallada{40, false, kWavErrorAvis, 32, {}},
                                         FilaFallada{1000, true, kWavErrorAvis, 86, {}},
                                         FilaFallada{100, false, kWavErrorFormat, 94, {0, 66, 54, 0, 0}},
                                         FilaFallada{122, false, kWavErrorDades, 120, {0, 66, 54, 18, 0}},
                                         FilaFallada{125, false, kWavErrorDades, 125, {0, 66, 54, 18, 0}},
                                         FilaFallada{126, false, kWavCorrecte, 126, {118, 66, 54, 18, 5}}));

TEST(EscriureWav, ReplacesAnExistingFileKeepingItsPermissions) {
    CarpetaTemporal carpeta;
    const auto fitxer = carpeta.Cami() / "antic.wav";
    EscriureBytes(fitxer, Bytes(5000, 0xAA));
    ASSERT_EQ(::chmod(fitxer.c_str(), 0640), 0);

    ASSERT_EQ(EscriureWav(fitxer, 0, Mostres(3)), kWavCorrecte);

    EXPECT_EQ(LlegirBytes(fitxer), FitxerEsperat(Mostres(3), kFormat0));
    struct stat estat {};
    ASSERT_EQ(::stat(fitxer.c_str(), &estat), 0);
    EXPECT_EQ(estat.st_mode & 07777, 0640u);
    EXPECT_EQ(carpeta.Contingut(), std::vector<std::string>{"antic.wav"});
}

TEST(EscriureWav, MissingFolderGivesOneAndCreatesNothing) {
    CarpetaTemporal carpeta;
    EXPECT_EQ(EscriureWav(carpeta.Cami() / "no-existeix" / "so.wav", 0, Mostres(16)), kWavNoEsPotCrear);
    EXPECT_TRUE(carpeta.Contingut().empty());
}

// A file-size limit makes the disk refuse the samples part-way; the write runs in a child process so
// the limit and the ignored SIGXFSZ do not reach the rest of the tests.
TEST(EscriureWav, FailedWriteLeavesTheOldFileAndNoTemporary) {
    CarpetaTemporal carpeta;
    const auto fitxer = carpeta.Cami() / "guardat.wav";
    EscriureBytes(fitxer, Bytes(3000, 0x5A));

    const pid_t fill = ::fork();
    ASSERT_GE(fill, 0);
    if (fill == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{600, 600};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(100);
        ::_exit(EscriureWav(fitxer, 0, Mostres(1536)));
    }
    int estat = 0;
    ASSERT_EQ(::waitpid(fill, &estat, 0), fill);
    ASSERT_TRUE(WIFEXITED(estat));
    EXPECT_EQ(WEXITSTATUS(estat), kWavErrorDades);
    EXPECT_EQ(LlegirBytes(fitxer), Bytes(3000, 0x5A));
    EXPECT_EQ(carpeta.Contingut(), std::vector<std::string>{"guardat.wav"});
}

} // namespace
} // namespace tessora
