#include "LecturaSo.h"

#include "CarpetaTemporal.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <numbers>
#include <string>
#include <unistd.h>
#include <vector>

namespace tessora {
namespace {

using proves::CarpetaTemporal;
using Bytes = std::vector<std::uint8_t>;

constexpr int kU8 = SF_FORMAT_WAV | SF_FORMAT_PCM_U8;
constexpr int k16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
constexpr int kMp3 = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;

// Writes `dades` as the sound data of a new file, byte for byte (an MP3 or a MIDI sample dump encodes
// them as 16-bit samples); with `cua`, a comment chunk follows them.
void EscriureSo(const std::filesystem::path& cami, int format, int canals, int frequencia, const Bytes& dades,
                bool cua = false) {
    SF_INFO informacio{0, frequencia, canals, format, 0, 0};
    SNDFILE* fitxer = sf_open(cami.c_str(), SFM_WRITE, &informacio);
    ASSERT_NE(fitxer, nullptr) << sf_strerror(nullptr);
    if (format == kMp3 || (format & SF_FORMAT_TYPEMASK) == SF_FORMAT_SDS)
        sf_write_short(fitxer, reinterpret_cast<const short*>(dades.data()),
                       static_cast<sf_count_t>(dades.size() / 2));
    else
        EXPECT_EQ(sf_write_raw(fitxer, dades.data(), static_cast<sf_count_t>(dades.size())),
                  static_cast<sf_count_t>(dades.size()));
    if (cua) sf_set_string(fitxer, SF_STR_COMMENT, "cua");
    sf_close(fitxer);
}

// 16-bit little-endian samples.
Bytes Bytes16(const std::vector<int>& mostres) {
    Bytes bytes;
    for (const int mostra : mostres)
        bytes.insert(bytes.end(),
                     {static_cast<std::uint8_t>(mostra), static_cast<std::uint8_t>(mostra >> 8)});
    return bytes;
}

// Every byte value, then a scramble of them, `n` in all.
Bytes TotsElsBytes(std::size_t n) {
    Bytes bytes(n);
    for (std::size_t i = 0; i < n; ++i)
        bytes[i] = static_cast<std::uint8_t>(i < 256 ? i : (i * 2654435761u) >> 13);
    return bytes;
}

// Reads the file with standard error sent to the file `errors`.
SoLlegit LlegirCapturantErrors(const std::filesystem::path& fitxer, const std::filesystem::path& errors) {
    const int desat = ::dup(2), fd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(fd, 2);
    SoLlegit so = LlegirFitxerSo(fitxer);
    ::dup2(desat, 2);
    ::close(fd), ::close(desat);
    return so;
}

// At the file's name: a sound file of the row's samples (plain, then a comment chunk, its data size
// unknown as a stream's writer leaves it, unreadable, garbled a quarter in); then the row's bytes,
// nothing, or a folder.
enum class Entrada { So, SoAmbCua, SoSenseMida, SoIllegible, SoMalmes, Brut, Cap, Carpeta };

// One file at 11025 Hz, the bytes cut off its end, and what reading it gives: the samples, or the
// failure and a reason that names the fault.
struct FilaLectura {
    const char* Nom;
    int Format = kU8;
    int Canals = 1;
    Bytes Dades = {};
    Bytes Esperat = {};
    const char* Motiu = nullptr;
    std::uintmax_t Tall = 0;
    Entrada Cas = Entrada::So;
    int Frequencia = 11025;
    friend void PrintTo(const FilaLectura& fila, std::ostream* sortida) { *sortida << fila.Nom; }
};

class LecturaSo : public testing::TestWithParam<FilaLectura> {};

// Whatever the file, the reader itself prints nothing: its caller gives the reason in one line.
TEST_P(LecturaSo, MostresOMotiuSenseEscriureErrors) {
    const FilaLectura& fila = GetParam();
    CarpetaTemporal carpeta;
    const auto fitxer = carpeta.Cami() / "entrada-prova.wav";
    if (fila.Cas < Entrada::Brut)
        EscriureSo(fitxer, fila.Format, fila.Canals, fila.Frequencia, fila.Dades,
                   fila.Cas == Entrada::SoAmbCua);
    auto bytes = proves::LlegirBytes(fitxer);
    // libsndfile leaves an instrument sample's data size for the tracker to fill in.
    const bool xi = (fila.Format & SF_FORMAT_TYPEMASK) == SF_FORMAT_XI;
    if (xi) bytes[298] = 4000 % 256, bytes[299] = 4000 / 256;
    if (fila.Cas == Entrada::SoSenseMida) std::fill_n(bytes.begin() + 40, 4, 0xFF); // the data chunk's size
    if (fila.Cas == Entrada::SoMalmes)
        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 4), 200, 0x5A);
    if (fila.Cas == Entrada::SoSenseMida || fila.Cas == Entrada::SoMalmes || xi)
        proves::EscriureBytes(fitxer, bytes);
    if (fila.Cas == Entrada::SoIllegible) std::filesystem::permissions(fitxer, std::filesystem::perms::none);
    if (fila.Cas == Entrada::Brut) proves::EscriureBytes(fitxer, fila.Dades);
    if (fila.Cas == Entrada::Carpeta) std::filesystem::create_directory(fitxer);
    if (fila.Cas == Entrada::SoIllegible && ::geteuid() == 0) { // permissions bind no superuser
        const auto motiu = [&] { return LlegirFitxerSo(fitxer).Error == "permission denied" ? 0 : 1; };
        EXPECT_EQ(proves::EnUnFillSensePrivilegis(carpeta.Cami(), motiu), 0);
        return;
    }
    // A file cut off its end reads well while it is whole.
    EXPECT_TRUE(fila.Tall == 0 || LlegirFitxerSo(fitxer).Correcte);
    if (fila.Tall > 0) std::filesystem::resize_file(fitxer, std::filesystem::file_size(fitxer) - fila.Tall);

    const SoLlegit so = LlegirCapturantErrors(fitxer, carpeta.Cami() / "errors");

    EXPECT_EQ(proves::LlegirBytes(carpeta.Cami() / "errors"), Bytes{});
    EXPECT_EQ(so.Correcte, fila.Motiu == nullptr) << so.Error;
    EXPECT_EQ(so.Mostres, fila.Esperat);
    if (fila.Motiu == nullptr) return;
    EXPECT_NE(so.Error.find(fila.Motiu), std::string::npos) << so.Error;
    EXPECT_EQ(so.Error.find("entrada-prova"), std::string::npos) << so.Error;
}

// A cut-off file is refused in every format that states the length of its sound data, also where
// libsndfile would take it from the file's size.
FilaLectura Tallat(const char* nom, int format, std::uintmax_t tall = 500, int canals = 1) {
    return {nom, format, canals, TotsElsBytes(4000), {}, "truncated", tall};
}

INSTANTIATE_TEST_SUITE_P(
    Fitxers, LecturaSo,
    testing::Values(
        // 8-bit unsigned mono passes through: over more than one read of the decoder, with a chunk after
        // the data (behind a pad byte), and with the data size unknown.
        FilaLectura{"DuesLectures", kU8, 1, TotsElsBytes(8199), TotsElsBytes(8199)},
        FilaLectura{"ChunkDespresDeLesDades", kU8, 1, TotsElsBytes(601), TotsElsBytes(601), nullptr, 0,
                    Entrada::SoAmbCua},
        FilaLectura{"MidaDesconeguda", kU8, 1, TotsElsBytes(700), TotsElsBytes(700), nullptr, 0,
                    Entrada::SoSenseMida},
        // 16-bit samples become the nearest byte around 128, halves to even, clamped; channels are mixed
        // by their mean.
        FilaLectura{"FonsDEscala", k16, 1, Bytes16({32767, -32768, 0}), {255, 0, 128}},
        FilaLectura{"MeitatsAParell", k16, 1, Bytes16({128, 384, 64}), {128, 130, 128}},
        FilaLectura{"TresCanals", k16, 3, Bytes16({16384, 16384, 16384, -16384, 0, 16384}), {192, 128}},
        // Files that cannot be used.
        FilaLectura{"Inexistent", kU8, 1, {}, {}, "not found", 0, Entrada::Cap},
        FilaLectura{"SensePermisDeLectura", kU8, 1, {1, 2}, {}, "permission", 0, Entrada::SoIllegible},
        FilaLectura{"Carpeta", kU8, 1, {}, {}, "not a regular file", 0, Entrada::Carpeta},
        FilaLectura{"Text", kU8, 1, {'t', 'e', 'x', 't', '\n'}, {}, "not a sound file", 0, Entrada::Brut},
        FilaLectura{"FitxerBuit", kU8, 1, {}, {}, "not a sound file", 0, Entrada::Brut},
        FilaLectura{"SenseMostres", kU8, 1, {}, {}, "no samples"},
        // A rate that cannot carry speech would only cost time: refused with the reason.
        FilaLectura{"FrequenciaMassaBaixa", kU8, 1, TotsElsBytes(100), {}, "too low", 0, Entrada::So, 44},
        // The decoder of a damaged MP3 has notes of its own to print.
        FilaLectura{"Mp3Malmes", kMp3, 1, TotsElsBytes(20000), {}, "truncated", 0, Entrada::SoMalmes},
        Tallat("TallatWav", kU8, 400), Tallat("TallatWavEstereo", k16, 1, 2),
        Tallat("TallatAiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16),
        Tallat("TallatRf64", SF_FORMAT_RF64 | SF_FORMAT_PCM_16),
        Tallat("TallatW64", SF_FORMAT_W64 | SF_FORMAT_PCM_16),
        Tallat("TallatCaf", SF_FORMAT_CAF | SF_FORMAT_PCM_16),
        Tallat("TallatSvx", SF_FORMAT_SVX | SF_FORMAT_PCM_16),
        Tallat("TallatAu", SF_FORMAT_AU | SF_FORMAT_PCM_16),
        Tallat("TallatVoc", SF_FORMAT_VOC | SF_FORMAT_PCM_16),
        Tallat("TallatNist", SF_FORMAT_NIST | SF_FORMAT_PCM_16),
        Tallat("TallatMat4", SF_FORMAT_MAT4 | SF_FORMAT_PCM_16),
        Tallat("TallatMat5", SF_FORMAT_MAT5 | SF_FORMAT_PCM_16),
        Tallat("TallatAvr", SF_FORMAT_AVR | SF_FORMAT_PCM_16, 500, 2),
        Tallat("TallatXi", SF_FORMAT_XI | SF_FORMAT_DPCM_16),
        Tallat("TallatSds", SF_FORMAT_SDS | SF_FORMAT_PCM_16),
        Tallat("TallatMpc", SF_FORMAT_MPC2K | SF_FORMAT_PCM_16),
        Tallat("TallatWve", SF_FORMAT_WVE | SF_FORMAT_ALAW)),
    [](const testing::TestParamInfo<FilaLectura>& info) { return std::string(info.param.Nom); });

// Read a piece at a time, a long 44.1 kHz stereo file gives the bytes that converting the whole signal
// in one go gives: the pieces (a prime number of bytes) end inside the converter's chunks, and those
// end inside the decoder's.
TEST(LectorSo, PerPecesDonaElMateixQueTotDUnCop) {
    constexpr int kFrames = 44100 * 3;
    std::vector<int> mostres;
    std::vector<float> mono;
    for (int n = 0; n < kFrames; ++n) {
        const int x = static_cast<int>(12000.0 * std::sin(n * 0.031) +
                                       9000.0 * std::sin(static_cast<double>(n) * n * 1e-7));
        const int y = x / 3;
        mostres.insert(mostres.end(), {x, y});
        mono.push_back(static_cast<float>((x + y) / 65536.0));
    }
    CarpetaTemporal carpeta;
    EscriureSo(carpeta.Cami() / "llarg.wav", k16, 2, 44100, Bytes16(mostres));
    std::vector<float> convertides(kFrames / 4 + 64);
    std::size_t fetes = 0;
    const soxr_quality_spec_t qualitat = soxr_quality_spec(SOXR_HQ, 0);
    ASSERT_EQ(soxr_oneshot(44100, 11025, 1, mono.data(), mono.size(), nullptr, convertides.data(),
                           convertides.size(), &fetes, nullptr, &qualitat, nullptr),
              nullptr);
    Bytes esperat;
    for (std::size_t i = 0; i < fetes; ++i)
        esperat.push_back(static_cast<std::uint8_t>(
            std::clamp(std::nearbyint(128.0 + 128.0 * convertides[i]), 0.0, 255.0)));

    std::string error;
    const auto lector = LectorSo::Obrir(carpeta.Cami() / "llarg.wav", error);
    ASSERT_NE(lector, nullptr) << error;
    Bytes llegit, peca(509);
    for (std::size_t n; (n = lector->Llegir(peca)) > 0;)
        llegit.insert(llegit.end(), peca.begin(), peca.begin() + static_cast<long>(n));
    EXPECT_EQ(lector->Error(), "");
    EXPECT_EQ(llegit, esperat);
}

} // namespace
} // namespace tessora
