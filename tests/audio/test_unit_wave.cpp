#include "UnitWave.h"

#include "CarpetaTemporal.h"

#include <gtest/gtest.h>

#include <climits>
#include <csignal>
#include <cstring>
#include <limits>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace tessora {
namespace {

using proves::CarpetaTemporal;
using proves::EscriureBytes;
using proves::LlegirBytes;

static_assert(kAvisICOP.size() == 54, "the layout's offsets assume a 54-character notice");

void AfegirText(std::vector<std::uint8_t>& bytes, std::string_view text) {
    for (const char c : text)
        bytes.push_back(static_cast<std::uint8_t>(c));
}

void AfegirLE32(std::vector<std::uint8_t>& bytes, std::uint32_t valor) {
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(valor >> (8 * i)));
}

std::uint32_t LE32(const std::vector<std::uint8_t>& bytes, std::size_t posicio) {
    std::uint32_t valor = 0;
    for (int i = 3; i >= 0; --i)
        valor = (valor << 8) | bytes.at(posicio + static_cast<std::size_t>(i));
    return valor;
}

std::uint32_t LE16(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8);
}

// The file a format-0 write must produce, built from the layout table field by field.
std::vector<std::uint8_t> FitxerEsperat(const std::vector<std::uint8_t>& dades) {
    const auto n = static_cast<std::uint32_t>(dades.size());
    const std::uint32_t farciment = n % 2;
    std::vector<std::uint8_t> bytes;
    AfegirText(bytes, "RIFF");
    AfegirLE32(bytes, 112 + n + farciment);
    AfegirText(bytes, "WAVE");
    AfegirText(bytes, "LIST");
    AfegirLE32(bytes, 66);
    AfegirText(bytes, "INFO");
    AfegirText(bytes, "ICOP");
    AfegirLE32(bytes, 54);
    AfegirText(bytes, kAvisICOP);
    AfegirText(bytes, "fmt ");
    AfegirLE32(bytes, 18);
    // tag 1, 1 channel, 11025 Hz, 11025 bytes/s, align 1, 8 bits, extra 0
    const std::uint8_t formatPCM[] = {1, 0, 1, 0, 0x11, 0x2B, 0, 0, 0x11, 0x2B, 0, 0, 1, 0, 8, 0, 0, 0};
    bytes.insert(bytes.end(), std::begin(formatPCM), std::end(formatPCM));
    AfegirText(bytes, "data");
    AfegirLE32(bytes, n);
    bytes.insert(bytes.end(), dades.begin(), dades.end());
    if (farciment != 0) bytes.push_back(0);
    return bytes;
}

std::vector<std::uint8_t> Mostres(std::size_t n) {
    std::vector<std::uint8_t> mostres(n);
    for (std::size_t i = 0; i < n; ++i)
        mostres[i] = static_cast<std::uint8_t>((i * 37 + 11) % 256);
    return mostres;
}

// An in-memory file that refuses to grow past `Limit` bytes (a full disk), and optionally refuses every
// positioned write. A refused write writes nothing.
class SortidaMemoria final : public SortidaWav {
public:
    explicit SortidaMemoria(std::size_t limit = std::numeric_limits<std::size_t>::max(),
                            bool refusarPegats = false)
        : Limit(limit), RefusarPegats(refusarPegats) {}

    bool Escriure(const void* dades, std::size_t mida) override {
        if (mida > Limit - Bytes.size()) return false;
        const auto* punter = static_cast<const std::uint8_t*>(dades);
        Bytes.insert(Bytes.end(), punter, punter + mida);
        return true;
    }
    bool EscriureA(std::uint64_t posicio, const void* dades, std::size_t mida) override {
        // Sizes are only ever patched into headers already written.
        if (RefusarPegats || posicio + mida > Bytes.size()) return false;
        std::memcpy(Bytes.data() + posicio, dades, mida);
        return true;
    }
    std::uint64_t Posicio() const override { return Bytes.size(); }

    std::vector<std::uint8_t> Bytes;
    std::size_t Limit;
    bool RefusarPegats;
};

TEST(EscriureWavFitxer, UtteranceIsWrittenByteForByte) {
    CarpetaTemporal carpeta;
    const auto dades = Mostres(1536);
    const auto fitxer = carpeta.Cami() / "emissio.wav";

    ASSERT_EQ(EscriureWav(fitxer, 0, dades), kWavCorrecte);

    const auto bytes = LlegirBytes(fitxer);
    ASSERT_EQ(bytes.size(), 1656u);
    EXPECT_EQ(LE32(bytes, 4), 1648u);
    EXPECT_EQ(LE32(bytes, 116), 1536u);
    EXPECT_EQ(bytes, FitxerEsperat(dades));
    EXPECT_EQ(carpeta.Contingut(), std::vector<std::string>{"emissio.wav"});
}

class EscriureWavMida : public testing::TestWithParam<std::size_t> {};

TEST_P(EscriureWavMida, LayoutWithPadByteForOddSizes) {
    const auto dades = Mostres(GetParam());
    SortidaMemoria sortida;

    ASSERT_EQ(EscriureWav(sortida, 0, dades), kWavCorrecte);

    EXPECT_EQ(sortida.Bytes, FitxerEsperat(dades));
    EXPECT_EQ(LE32(sortida.Bytes, 116), dades.size()); // the pad byte is not part of the data chunk
}

INSTANTIATE_TEST_SUITE_P(Mides, EscriureWavMida, testing::Values(0, 1, 2, 5, 1535, 1536));

struct FilaFormat {
    const char* Nom;
    std::int32_t Codi;
    std::int16_t Canals;
    std::int16_t Bits;
    std::int32_t Frequencia;
    std::uint32_t BytesPerSegon;
    std::uint32_t Alineacio;
};

// Names the row in test listings instead of dumping its bytes.
void PrintTo(const FilaFormat& fila, std::ostream* sortida) {
    *sortida << fila.Nom;
}

class FormatWav : public testing::TestWithParam<FilaFormat> {};

TEST_P(FormatWav, ParametersAndRecord) {
    const FilaFormat& fila = GetParam();

    const ParametresFormat parametres = ParametresFormatWav(fila.Codi);
    EXPECT_EQ(parametres.Canals, fila.Canals);
    EXPECT_EQ(parametres.Bits, fila.Bits);
    EXPECT_EQ(parametres.MostresPerSegon, fila.Frequencia);

    const auto format = OmplirFormatPCM(fila.Codi);
    EXPECT_EQ(LE16(&format[0]), 1u);
    EXPECT_EQ(LE16(&format[2]), static_cast<std::uint32_t>(fila.Canals));
    EXPECT_EQ(LE16(&format[4]) | (LE16(&format[6]) << 16), static_cast<std::uint32_t>(fila.Frequencia));
    EXPECT_EQ(LE16(&format[8]) | (LE16(&format[10]) << 16), fila.BytesPerSegon);
    EXPECT_EQ(LE16(&format[12]), fila.Alineacio);
    EXPECT_EQ(LE16(&format[14]), static_cast<std::uint32_t>(fila.Bits));
    EXPECT_EQ(LE16(&format[16]), 0u);

    SortidaMemoria sortida;
    ASSERT_EQ(EscriureWav(sortida, fila.Codi, Mostres(4)), kWavCorrecte);
    EXPECT_TRUE(std::equal(format.begin(), format.end(), sortida.Bytes.begin() + 94));
}

INSTANTIATE_TEST_SUITE_P(
    Codis, FormatWav,
    testing::Values(
        FilaFormat{"Codi0", 0, 1, 8, 11025, 11025, 1}, FilaFormat{"Codi1", 1, 2, 8, 11025, 22050, 2},
        FilaFormat{"Codi2", 2, 1, 16, 11025, 22050, 2}, FilaFormat{"Codi3", 3, 2, 16, 11025, 44100, 4},
        FilaFormat{"Codi4", 4, 1, 8, 22050, 22050, 1}, FilaFormat{"Codi5", 5, 2, 8, 22050, 44100, 2},
        FilaFormat{"Codi6", 6, 1, 16, 22050, 44100, 2}, FilaFormat{"Codi7", 7, 2, 16, 22050, 88200, 4},
        FilaFormat{"Codi8", 8, 1, 8, 44100, 44100, 1}, FilaFormat{"Codi9", 9, 2, 8, 44100, 88200, 2},
        FilaFormat{"Codi10", 10, 1, 16, 44100, 88200, 2}, FilaFormat{"Codi11", 11, 2, 16, 44100, 176400, 4},
        FilaFormat{"CodiMenys1", -1, 2, 8, 11025, 22050, 2},
        FilaFormat{"CodiMenys2", -2, 1, 8, 11025, 11025, 1}, FilaFormat{"Codi12", 12, 1, 8, 44100, 44100, 1},
        FilaFormat{"Codi100", 100, 1, 8, 44100, 44100, 1},
        FilaFormat{"CodiMinim", std::numeric_limits<std::int32_t>::min(), 1, 8, 11025, 11025, 1},
        FilaFormat{"CodiMaxim", std::numeric_limits<std::int32_t>::max(), 2, 8, 44100, 88200, 2}),
    [](const testing::TestParamInfo<FilaFormat>& info) { return std::string(info.param.Nom); });

struct FilaMissatge {
    std::int32_t Codi;
    const char* Text;
};

void PrintTo(const FilaMissatge& fila, std::ostream* sortida) {
    *sortida << "code " << fila.Codi;
}

class MissatgeWav : public testing::TestWithParam<FilaMissatge> {};

TEST_P(MissatgeWav, TextOfEachResult) {
    EXPECT_EQ(MissatgeEscriureWav(GetParam().Codi), std::string_view(GetParam().Text));
}

INSTANTIATE_TEST_SUITE_P(
    Codis, MissatgeWav,
    testing::Values(FilaMissatge{0, ""}, FilaMissatge{1, "Imposible crear el archivo indicado"},
                    FilaMissatge{2, "Se produce un error durante el proceso de escritura"},
                    FilaMissatge{3, "Se produce un error durante el proceso de escritura del TPCMFormato"},
                    FilaMissatge{4, "Se produce un error durante el proceso de escritura"},
                    FilaMissatge{5, ""}, FilaMissatge{-1, ""}));

// A write that fails part-way: the code of the failing step, how far the file got, and the size fields
// it holds (0 for every chunk still open).
struct FilaFallada {
    const char* Nom;
    std::size_t Limit;
    bool RefusarPegats;
    std::int32_t Resultat;
    std::size_t Escrits;
    std::vector<std::pair<std::size_t, std::uint32_t>> Mides;
};

void PrintTo(const FilaFallada& fila, std::ostream* sortida) {
    *sortida << fila.Nom;
}

class EscriureWavFallada : public testing::TestWithParam<FilaFallada> {};

TEST_P(EscriureWavFallada, StopsAtTheFailingStep) {
    const FilaFallada& fila = GetParam();
    const auto dades = Mostres(5);
    SortidaMemoria sortida(fila.Limit, fila.RefusarPegats);

    EXPECT_EQ(EscriureWav(sortida, 0, dades), fila.Resultat);

    ASSERT_EQ(sortida.Bytes.size(), fila.Escrits);
    for (const auto& [posicio, mida] : fila.Mides)
        EXPECT_EQ(LE32(sortida.Bytes, posicio), mida) << "at " << posicio;
    // Everything else written so far is what the complete file holds.
    const auto complet = FitxerEsperat(dades);
    for (std::size_t i = 0; i < sortida.Bytes.size(); ++i) {
        const bool campDeMida = (i >= 4 && i < 8) || (i >= 16 && i < 20) || (i >= 28 && i < 32) ||
                                (i >= 90 && i < 94) || (i >= 116 && i < 120);
        if (!campDeMida) {
            EXPECT_EQ(sortida.Bytes[i], complet[i]) << "at " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Passos, EscriureWavFallada,
    testing::Values(FilaFallada{"RiffHeader", 0, false, kWavErrorAvis, 0, {}},
                    FilaFallada{"ListHeader", 20, false, kWavErrorAvis, 12, {{4, 0}}},
                    FilaFallada{"Notice", 40, false, kWavErrorAvis, 32, {{4, 0}, {16, 0}, {28, 0}}},
                    FilaFallada{"NoticeSizePatch", 1000, true, kWavErrorAvis, 86, {{4, 0}, {16, 0}, {28, 0}}},
                    FilaFallada{"FmtHeader", 86, false, kWavErrorFormat, 86, {{4, 0}, {16, 66}, {28, 54}}},
                    FilaFallada{
                        "FmtRecord", 100, false, kWavErrorFormat, 94, {{4, 0}, {16, 66}, {28, 54}, {90, 0}}},
                    FilaFallada{"DataHeader", 112, false, kWavErrorDades, 112, {{4, 0}, {90, 18}}},
                    FilaFallada{"Samples", 122, false, kWavErrorDades, 120, {{4, 0}, {90, 18}, {116, 0}}},
                    FilaFallada{"PadByte", 125, false, kWavErrorDades, 125, {{4, 0}, {90, 18}, {116, 0}}},
                    FilaFallada{"ExactFit", 126, false, kWavCorrecte, 126, {{4, 118}, {90, 18}, {116, 5}}}),
    [](const testing::TestParamInfo<FilaFallada>& info) { return std::string(info.param.Nom); });

TEST(EscriureWavFitxer, ReplacesAnExistingFileKeepingItsPermissions) {
    CarpetaTemporal carpeta;
    const auto fitxer = carpeta.Cami() / "antic.wav";
    EscriureBytes(fitxer, std::vector<std::uint8_t>(5000, 0xAA));
    ASSERT_EQ(::chmod(fitxer.c_str(), 0640), 0);
    const auto dades = Mostres(3);

    ASSERT_EQ(EscriureWav(fitxer, 0, dades), kWavCorrecte);

    EXPECT_EQ(LlegirBytes(fitxer), FitxerEsperat(dades));
    struct stat estat {};
    ASSERT_EQ(::stat(fitxer.c_str(), &estat), 0);
    EXPECT_EQ(estat.st_mode & 07777, 0640u);
    EXPECT_EQ(carpeta.Contingut(), std::vector<std::string>{"antic.wav"});
}

TEST(EscriureWavFitxer, WritesThroughASymbolicLink) {
    CarpetaTemporal carpeta;
    const auto real = carpeta.Cami() / "real.wav";
    const auto enllac = carpeta.Cami() / "enllac.wav";
    EscriureBytes(real, {1, 2, 3});
    std::filesystem::create_symlink("real.wav", enllac);
    const auto dades = Mostres(8);

    ASSERT_EQ(EscriureWav(enllac, 0, dades), kWavCorrecte);

    EXPECT_TRUE(std::filesystem::is_symlink(enllac));
    EXPECT_EQ(LlegirBytes(real), FitxerEsperat(dades));
    EXPECT_EQ(carpeta.Contingut(), (std::vector<std::string>{"enllac.wav", "real.wav"}));
}

TEST(EscriureWavFitxer, FolderThatDoesNotExistGivesOneAndCreatesNothing) {
    CarpetaTemporal carpeta;
    const auto fitxer = carpeta.Cami() / "no-existeix" / "so.wav";

    EXPECT_EQ(EscriureWav(fitxer, 0, Mostres(16)), kWavNoEsPotCrear);

    EXPECT_TRUE(carpeta.Contingut().empty());
}

TEST(EscriureWavFitxer, TargetThatIsAFolderGivesOneAndStaysAFolder) {
    CarpetaTemporal carpeta;
    const auto desti = carpeta.Cami() / "carpeta.wav";
    std::filesystem::create_directory(desti);

    EXPECT_EQ(EscriureWav(desti, 0, Mostres(16)), kWavNoEsPotCrear);

    EXPECT_TRUE(std::filesystem::is_directory(desti));
    EXPECT_TRUE(std::filesystem::is_empty(desti));
    EXPECT_EQ(carpeta.Contingut(), std::vector<std::string>{"carpeta.wav"});
}

TEST(EscriureWavFitxer, NameWithoutFolderGoesToTheCurrentFolder) {
    CarpetaTemporal carpeta;
    const auto anterior = std::filesystem::current_path();
    std::filesystem::current_path(carpeta.Cami());
    const auto dades = Mostres(7);

    const std::int32_t resultat = EscriureWav("sol.wav", 0, dades);
    std::filesystem::current_path(anterior);

    ASSERT_EQ(resultat, kWavCorrecte);
    EXPECT_EQ(LlegirBytes(carpeta.Cami() / "sol.wav"), FitxerEsperat(dades));
    EXPECT_EQ(carpeta.Contingut(), std::vector<std::string>{"sol.wav"});
}

TEST(EscriureWavFitxer, LongestNameTheSystemAcceptsAndOneBeyond) {
    CarpetaTemporal carpeta;
    const long maxim = ::pathconf(carpeta.Cami().c_str(), _PC_NAME_MAX);
    ASSERT_GT(maxim, 4);
    const std::string nomMaxim = std::string(static_cast<std::size_t>(maxim) - 4, 'n') + ".wav";
    const auto dades = Mostres(9);

    ASSERT_EQ(EscriureWav(carpeta.Cami() / nomMaxim, 0, dades), kWavCorrecte);
    EXPECT_EQ(LlegirBytes(carpeta.Cami() / nomMaxim), FitxerEsperat(dades));

    EXPECT_EQ(EscriureWav(carpeta.Cami() / ("x" + nomMaxim), 0, dades), kWavNoEsPotCrear);
    EXPECT_EQ(carpeta.Contingut(), std::vector<std::string>{nomMaxim});
}

// A file-size limit makes the disk refuse the samples part-way; the write runs in a child process so
// the limit and the ignored SIGXFSZ do not reach the rest of the tests.
TEST(EscriureWavFitxer, FailedWriteLeavesTheOldFileAndNoTemporary) {
    CarpetaTemporal carpeta;
    const auto fitxer = carpeta.Cami() / "guardat.wav";
    const std::vector<std::uint8_t> antic(3000, 0x5A);
    EscriureBytes(fitxer, antic);

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

    EXPECT_EQ(LlegirBytes(fitxer), antic);
    EXPECT_EQ(carpeta.Contingut(), std::vector<std::string>{"guardat.wav"});
}

} // namespace
} // namespace tessora
