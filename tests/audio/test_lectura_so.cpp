#include "LecturaSo.h"

#include "CarpetaTemporal.h"
#include "UnitWave.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <numbers>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tessora {
namespace {

using proves::CarpetaTemporal;
using proves::EscriureBytes;

void AfegirText(std::vector<std::uint8_t>& bytes, const char* text) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(text[i]));
}

void AfegirLE(std::vector<std::uint8_t>& bytes, std::uint32_t valor, int mida) {
    for (int i = 0; i < mida; ++i)
        bytes.push_back(static_cast<std::uint8_t>(valor >> (8 * i)));
}

// A plain PCM WAV: "fmt " of 16 bytes, then "data" stating `midaDeclarada` bytes (the real size unless
// given), then `dades`.
std::vector<std::uint8_t> Wav(int canals, std::uint32_t frequencia, int bits,
                              const std::vector<std::uint8_t>& dades, std::int64_t midaDeclarada = -1) {
    const auto midaDades = midaDeclarada < 0 ? static_cast<std::uint32_t>(dades.size())
                                             : static_cast<std::uint32_t>(midaDeclarada);
    const auto alineacio = static_cast<std::uint32_t>(canals * bits / 8);
    std::vector<std::uint8_t> bytes;
    AfegirText(bytes, "RIFF");
    AfegirLE(bytes, 36 + static_cast<std::uint32_t>(dades.size()), 4);
    AfegirText(bytes, "WAVE");
    AfegirText(bytes, "fmt ");
    AfegirLE(bytes, 16, 4);
    AfegirLE(bytes, 1, 2);
    AfegirLE(bytes, static_cast<std::uint32_t>(canals), 2);
    AfegirLE(bytes, frequencia, 4);
    AfegirLE(bytes, frequencia * alineacio, 4);
    AfegirLE(bytes, alineacio, 2);
    AfegirLE(bytes, static_cast<std::uint32_t>(bits), 2);
    AfegirText(bytes, "data");
    AfegirLE(bytes, midaDades, 4);
    bytes.insert(bytes.end(), dades.begin(), dades.end());
    return bytes;
}

std::vector<std::uint8_t> Bytes16(const std::vector<int>& mostres) {
    std::vector<std::uint8_t> bytes;
    for (const int mostra : mostres)
        AfegirLE(bytes, static_cast<std::uint32_t>(mostra), 2);
    return bytes;
}

std::vector<std::uint8_t> BytesAleatoris(std::size_t n, unsigned llavor) {
    std::mt19937 generador(llavor);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<std::uint8_t> bytes(n);
    for (auto& b : bytes)
        b = static_cast<std::uint8_t>(byte(generador));
    return bytes;
}

// Every byte value, then random bytes, `n` in all.
std::vector<std::uint8_t> TotsElsBytes(std::size_t n) {
    auto bytes = BytesAleatoris(n, 1234);
    for (std::size_t i = 0; i < n && i < 256; ++i)
        bytes[i] = static_cast<std::uint8_t>(i);
    return bytes;
}

void EscriureAiff16(const std::filesystem::path& cami, const std::vector<short>& mostres) {
    SF_INFO informacio{};
    informacio.samplerate = 11025;
    informacio.channels = 1;
    informacio.format = SF_FORMAT_AIFF | SF_FORMAT_PCM_16;
    SNDFILE* fitxer = sf_open(cami.c_str(), SFM_WRITE, &informacio);
    ASSERT_NE(fitxer, nullptr);
    EXPECT_EQ(sf_write_short(fitxer, mostres.data(), static_cast<sf_count_t>(mostres.size())),
              static_cast<sf_count_t>(mostres.size()));
    sf_close(fitxer);
}

class PasDirecte : public testing::TestWithParam<std::size_t> {};

// 8-bit unsigned mono at 11025 Hz is the program's own format: nothing may change.
TEST_P(PasDirecte, EightBitMonoIsKeptByteForByte) {
    CarpetaTemporal carpeta;
    const auto dades = TotsElsBytes(GetParam());
    const auto fitxer = carpeta.Cami() / "u8.wav";
    EscriureBytes(fitxer, Wav(1, 11025, 8, dades));

    const SoLlegit so = LlegirFitxerSo(fitxer);

    ASSERT_TRUE(so.Correcte) << so.Error;
    EXPECT_EQ(so.Mostres, dades);
}

// One sample, fewer than a block, and more than one read of the decoder.
INSTANTIATE_TEST_SUITE_P(Mides, PasDirecte, testing::Values(1, 300, 2 * 4096 + 7));

TEST(LecturaSo, ReadsTheFilesThisProgramWrites) {
    CarpetaTemporal carpeta;
    const auto dades = TotsElsBytes(1535);
    const auto fitxer = carpeta.Cami() / "propi.wav";
    ASSERT_EQ(EscriureWav(fitxer, 0, dades), kWavCorrecte);

    const SoLlegit so = LlegirFitxerSo(fitxer);

    ASSERT_TRUE(so.Correcte) << so.Error;
    EXPECT_EQ(so.Mostres, dades);
}

TEST(LecturaSo, ChunkAfterTheDataIsNotATruncation) {
    CarpetaTemporal carpeta;
    const auto dades = TotsElsBytes(600);
    auto bytes = Wav(1, 11025, 8, dades);
    AfegirText(bytes, "LIST");
    AfegirLE(bytes, 4, 4);
    AfegirText(bytes, "INFO");
    const auto fitxer = carpeta.Cami() / "cua.wav";
    EscriureBytes(fitxer, bytes);

    const SoLlegit so = LlegirFitxerSo(fitxer);

    ASSERT_TRUE(so.Correcte) << so.Error;
    EXPECT_EQ(so.Mostres, dades);
}

// Streaming writers that cannot seek back leave the data size at 0xFFFFFFFF: "up to the end".
TEST(LecturaSo, UnknownDataLengthReadsToTheEnd) {
    CarpetaTemporal carpeta;
    const auto dades = TotsElsBytes(700);
    const auto fitxer = carpeta.Cami() / "flux.wav";
    EscriureBytes(fitxer, Wav(1, 11025, 8, dades, 0xFFFFFFFF));

    const SoLlegit so = LlegirFitxerSo(fitxer);

    ASSERT_TRUE(so.Correcte) << so.Error;
    EXPECT_EQ(so.Mostres, dades);
}

struct FilaQuantitzacio {
    const char* Nom;
    int Canals;
    int Bits;
    std::vector<int> Mostres; // interleaved; 16-bit signed values, or 8-bit unsigned bytes
    std::vector<std::uint8_t> Esperat;
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const FilaQuantitzacio& fila, std::ostream* sortida) {
    *sortida << fila.Nom;
}

class Quantitzacio : public testing::TestWithParam<FilaQuantitzacio> {};

TEST_P(Quantitzacio, SamplesBecomeBytesAroundOneHundredTwentyEight) {
    const FilaQuantitzacio& fila = GetParam();
    CarpetaTemporal carpeta;
    std::vector<std::uint8_t> dades;
    if (fila.Bits == 16)
        dades = Bytes16(fila.Mostres);
    else
        for (const int mostra : fila.Mostres)
            dades.push_back(static_cast<std::uint8_t>(mostra));
    const auto fitxer = carpeta.Cami() / "q.wav";
    EscriureBytes(fitxer, Wav(fila.Canals, 11025, fila.Bits, dades));

    const SoLlegit so = LlegirFitxerSo(fitxer);

    ASSERT_TRUE(so.Correcte) << so.Error;
    EXPECT_EQ(so.Mostres, fila.Esperat);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Quantitzacio,
    testing::Values(FilaQuantitzacio{"Zero", 1, 16, {0}, {128}},
                    // 32767/32768 maps to 255.996, which rounds to 256 and is clamped.
                    FilaQuantitzacio{"FullScale", 1, 16, {32767, -32768}, {255, 0}},
                    FilaQuantitzacio{"HalfScale", 1, 16, {16384, -16384}, {192, 64}},
                    // 128 + 0.5 and 128 + 1.5: halves go to the even neighbour.
                    FilaQuantitzacio{"HalvesToEven", 1, 16, {128, 384, 64}, {128, 130, 128}},
                    FilaQuantitzacio{"StereoOpposite", 2, 16, {16384, -16384}, {128}},
                    FilaQuantitzacio{"StereoEqual", 2, 16, {16384, 16384, -16384, -16384}, {192, 64}},
                    FilaQuantitzacio{"StereoOneSide", 2, 16, {32767, 0}, {192}},
                    FilaQuantitzacio{"StereoEightBit", 2, 8, {200, 100, 0, 255}, {150, 128}},
                    FilaQuantitzacio{
                        "ThreeChannels", 3, 16, {16384, 16384, 16384, -16384, 0, 16384}, {192, 128}}),
    [](const testing::TestParamInfo<FilaQuantitzacio>& info) { return std::string(info.param.Nom); });

struct FilaFrequencia {
    const char* Nom;
    std::uint32_t Frequencia;
    int Canals;
};

void PrintTo(const FilaFrequencia& fila, std::ostream* sortida) {
    *sortida << fila.Nom;
}

class ConversioFrequencia : public testing::TestWithParam<FilaFrequencia> {};

// One second of a 440 Hz sine at half scale: after conversion it still lasts one second at 11025 Hz,
// still crosses zero 440 times upwards, and keeps its amplitude.
TEST_P(ConversioFrequencia, SineKeepsLengthFrequencyAndLevel) {
    const FilaFrequencia& fila = GetParam();
    std::vector<int> mostres;
    for (std::uint32_t n = 0; n < fila.Frequencia; ++n) {
        const double valor = 0.5 * std::sin(2.0 * std::numbers::pi * 440.0 * n / fila.Frequencia);
        for (int c = 0; c < fila.Canals; ++c)
            mostres.push_back(static_cast<int>(std::lround(valor * 32768.0)));
    }
    CarpetaTemporal carpeta;
    const auto fitxer = carpeta.Cami() / "sinus.wav";
    EscriureBytes(fitxer, Wav(fila.Canals, fila.Frequencia, 16, Bytes16(mostres)));

    const SoLlegit so = LlegirFitxerSo(fitxer);

    ASSERT_TRUE(so.Correcte) << so.Error;
    // The converter's output length may differ from the exact ratio by a sample or two at the ends.
    EXPECT_NEAR(static_cast<double>(so.Mostres.size()), 11025.0, 2.0);
    int pujades = 0;
    for (std::size_t i = 1; i < so.Mostres.size(); ++i)
        if (so.Mostres[i - 1] < 128 && so.Mostres[i] >= 128) ++pujades;
    // Whether the crossings at the very start and end are counted depends on the phase there.
    EXPECT_NEAR(pujades, 440, 1);
    // Away from the edges the peaks are 128 +- 64; one step for the byte rounding and the filter ripple.
    const auto mig = std::vector<std::uint8_t>(so.Mostres.begin() + 100, so.Mostres.end() - 100);
    EXPECT_NEAR(*std::max_element(mig.begin(), mig.end()), 192, 1);
    EXPECT_NEAR(*std::min_element(mig.begin(), mig.end()), 64, 1);
}

INSTANTIATE_TEST_SUITE_P(Frequencies, ConversioFrequencia,
                         testing::Values(FilaFrequencia{"Half", 22050, 1},
                                         FilaFrequencia{"Quarter", 44100, 1},
                                         FilaFrequencia{"StereoQuarter", 44100, 2},
                                         FilaFrequencia{"Odd", 48000, 1}, FilaFrequencia{"Upwards", 8000, 1}),
                         [](const testing::TestParamInfo<FilaFrequencia>& info) {
                             return std::string(info.param.Nom);
                         });

// A file that cannot be used: the builder prepares it at the given path (or leaves nothing there), and
// the reason must name the fault.
struct FilaError {
    const char* Nom;
    std::function<void(const std::filesystem::path&)> Preparar;
    const char* Motiu;
    bool NomesSenseRoot = false;
};

void PrintTo(const FilaError& fila, std::ostream* sortida) {
    *sortida << fila.Nom;
}

class ErrorLectura : public testing::TestWithParam<FilaError> {};

TEST_P(ErrorLectura, RefusedWithAReason) {
    const FilaError& fila = GetParam();
    if (fila.NomesSenseRoot && ::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
    CarpetaTemporal carpeta;
    const auto fitxer = carpeta.Cami() / "entrada-prova-lectura.wav";
    fila.Preparar(fitxer);

    const SoLlegit so = LlegirFitxerSo(fitxer);

    EXPECT_FALSE(so.Correcte);
    EXPECT_TRUE(so.Mostres.empty());
    EXPECT_NE(so.Error.find(fila.Motiu), std::string::npos) << so.Error;
    EXPECT_EQ(so.Error.find("entrada-prova-lectura"), std::string::npos) << so.Error;
}

// Cuts the last `bytes` bytes off a file.
void Tallar(const std::filesystem::path& fitxer, std::uintmax_t bytes) {
    std::filesystem::resize_file(fitxer, std::filesystem::file_size(fitxer) - bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, ErrorLectura,
    testing::Values(FilaError{"Missing", [](const std::filesystem::path&) {}, "not found"},
                    FilaError{"NoReadPermission",
                              [](const std::filesystem::path& f) {
                                  EscriureBytes(f, Wav(1, 11025, 8, TotsElsBytes(100)));
                                  std::filesystem::permissions(f, std::filesystem::perms::none);
                              },
                              "permission", true},
                    FilaError{"Folder",
                              [](const std::filesystem::path& f) { std::filesystem::create_directory(f); },
                              "not a regular file"},
                    FilaError{"Text",
                              [](const std::filesystem::path& f) {
                                  const std::string text = "These are not the samples you are looking for.\n";
                                  EscriureBytes(f, std::vector<std::uint8_t>(text.begin(), text.end()));
                              },
                              "not a sound file"},
                    FilaError{"EmptyFile", [](const std::filesystem::path& f) { EscriureBytes(f, {}); },
                              "not a sound file"},
                    FilaError{"NoFrames",
                              [](const std::filesystem::path& f) { EscriureBytes(f, Wav(1, 11025, 8, {})); },
                              "no samples"},
                    FilaError{"TruncatedWav",
                              [](const std::filesystem::path& f) {
                                  EscriureBytes(f, Wav(1, 11025, 8, TotsElsBytes(1000)));
                                  Tallar(f, 400);
                              },
                              "truncated"},
                    FilaError{"TruncatedStereoWav",
                              [](const std::filesystem::path& f) {
                                  EscriureBytes(f, Wav(2, 22050, 16, BytesAleatoris(4000, 7)));
                                  Tallar(f, 1);
                              },
                              "truncated"},
                    FilaError{"TruncatedAiff",
                              [](const std::filesystem::path& f) {
                                  EscriureAiff16(f, std::vector<short>(2000, 1000));
                                  Tallar(f, 500);
                              },
                              "truncated"}),
    [](const testing::TestParamInfo<FilaError>& info) { return std::string(info.param.Nom); });

} // namespace
} // namespace tessora
