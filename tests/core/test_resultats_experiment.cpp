// The results text byte for byte, the names of the exported pair of files, and the export's files.
#include "CarpetaTemporal.h"
#include "ResultatsExperiment.h"
#include "UnitWave.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace tessora {
namespace {

class FontZero : public FontAleatoria {
public:
    void Sembrar() override {}
    std::int32_t Enter(std::int32_t) override { return 0; }
};

// A Spanish experiment with one trial of A, answered `vocal`.
struct Banc {
    explicit Banc(const char* vocal) {
        x.PrepararTaules(Idioma::Castella, false);
        x.Experimentar();
        x.EscriureBlocActual({"120", "650", "3", "900", "80"});
        std::fill_n(buffer->Dades(), kMidaEmissio, 50);
        x.ProcessarBlocExperiment(vocal);
        x.AcabarPausa();
    }
    std::unique_ptr<BufferSo> buffer = BufferSo::Crear();
    FontZero font;
    Experiment x{*buffer, font};
};

const std::string kTaulaBuida = "E\t0\t0\t0\t0\t0\t\t\t\t\rI\t0\t0\t0\t0\t0\t\t\t\t\r"
                                "O\t0\t0\t0\t0\t0\t\t\t\t\rU\t0\t0\t0\t0\t0\t\t\t\t\r";
const std::string kCapcalera = "6/12/26\t14:03:05\rCastell\xE0\r";
const std::string kFila0 = "\tA\tE\tI\tO\tU\ttotal\tencerts\t% enc.\t\r";

struct FilaText {
    const char* Nom;
    const char* Vocal;
    bool Experimentador;
    std::string Esperat;
};

class TextResultatsExacte : public testing::TestWithParam<FilaText> {};

TEST_P(TextResultatsExacte, ByteABYte) {
    Banc banc(GetParam().Vocal);
    const CapcaleraResultats capcalera{"6/12/26", "14:03:05", true, GetParam().Experimentador,
                                       GetParam().Experimentador};
    EXPECT_EQ(TextResultats(banc.x, capcalera), GetParam().Esperat);
}

const std::string kUnError = "Surt\t1\t0\t0\t0\t0\t1\t0\t0\t\rA\t0\t0\t0\t0\t0\t\t\t\t\r"
                             "E\t1\t0\t0\t0\t0\t\t\t\t\rI\t0\t0\t0\t0\t0\t\t\t\t\r"
                             "O\t0\t0\t0\t0\t0\t\t\t\t\rU\t0\t0\t0\t0\t0\t\t\t\t\r"
                             "% enc.\t0\t0\t0\t0\t0\t\t\t\t\r\rERRORS\r";
const std::string kFilaError = "A-E\t1\t1\t120\t650\t3\t900\t80\t2048\t\r";

INSTANTIATE_TEST_SUITE_P(
    , TextResultatsExacte,
    testing::Values(
        FilaText{"SenseErrors", "A", false,
                 kCapcalera + "Veu Greu\r\r" + kFila0 + "Surt\t1\t0\t0\t0\t0\t1\t1\t100\t\r" +
                     "A\t1\t0\t0\t0\t0\t\t\t\t\r" + kTaulaBuida + "% enc.\t100\t0\t0\t0\t0\t\t\t\t\r"},
        FilaText{"UnError", "E", false,
                 kCapcalera + "Veu Greu\r\r" + kFila0 + kUnError + "\tError\tN\xFAm.\r" + kFilaError},
        FilaText{"UnErrorExperimentador", "E", true,
                 kCapcalera + "Veu Aguda\r\r" + kFila0 + kUnError +
                     "\tError\tN\xFAm.\tFreq.\tF1\tMLPC\tS2F\tAF1\tSituaci\xF3\r" + kFilaError}),
    [](const auto& info) { return std::string(info.param.Nom); });

struct FilaNom {
    const char* Nom;
    const char* Triat;
    const char* Wav;
};

class NomsExportats : public testing::TestWithParam<FilaNom> {};

TEST_P(NomsExportats, WavITxt) {
    const NomsExportacio noms = NomsFitxersExportacio(GetParam().Triat);
    EXPECT_EQ(noms.Wav, GetParam().Wav);
    EXPECT_EQ(noms.Text, std::string(GetParam().Wav) + ".txt");
}

INSTANTIATE_TEST_SUITE_P(, NomsExportats,
                         testing::Values(FilaNom{"PuntEntreElsQuatreDarrers", "/d/dades.xy", "/d/dades.xy"},
                                         FilaNom{"Wav", "/d/dades.wav", "/d/dades.wav"},
                                         FilaNom{"SensePunt", "/d.x/prova", "/d.x/prova.wav"},
                                         FilaNom{"CaractersNoBytes", "so.\xC3\xA8\xC3\xA8\xC3\xA8", // so.èèè
                                                 "so.\xC3\xA8\xC3\xA8\xC3\xA8"}),
                         [](const auto& info) { return std::string(info.param.Nom); });

// What EscriureWav makes of `dades` on its own.
std::vector<std::uint8_t> WavDe(const std::filesystem::path& cami, const std::vector<std::uint8_t>& dades) {
    EXPECT_EQ(EscriureWav(cami, 0, dades), kWavCorrecte);
    return proves::LlegirBytes(cami);
}

TEST(Exportacio, TextIWavSubstituits) {
    for (const char* vocal : {"A", "E"}) {
        proves::CarpetaTemporal carpeta;
        Banc banc(vocal);
        const NomsExportacio noms = NomsFitxersExportacio((carpeta.Cami() / "dades").string());
        proves::EscriureBytes(noms.Text, {'v', 'e', 'l', 'l', 'a', 'n', 't'});
        int avisos = 0;
        const ResultatExportacio r =
            ExportarResultats(noms, "text\r", *banc.buffer, banc.x.RanuresDesades(), [&] { ++avisos; });
        EXPECT_TRUE(r.TextDesat);
        EXPECT_EQ(r.CodiWav, kWavCorrecte);
        EXPECT_EQ(avisos, 1);
        EXPECT_EQ(proves::LlegirBytes(noms.Text), (std::vector<std::uint8_t>{'t', 'e', 'x', 't', '\r'}));
        std::vector<std::uint8_t> dades(kMidaEmissio, 127);
        if (*vocal == 'E') dades.resize(2 * kMidaEmissio, 50); // the error's slot after the silenced slot 0
        EXPECT_EQ(proves::LlegirBytes(noms.Wav), WavDe(carpeta.Cami() / "ref.wav", dades)) << vocal;
    }
}

TEST(Exportacio, TextQueNoEsPotCrearNoDeixaSeguir) {
    proves::CarpetaTemporal carpeta;
    Banc banc("E");
    const NomsExportacio noms = NomsFitxersExportacio((carpeta.Cami() / "dades").string());
    std::filesystem::create_directory(noms.Text); // a folder stands where the text would go
    int avisos = 0;
    const ResultatExportacio r = ExportarResultats(noms, "text\r", *banc.buffer, 1, [&] { ++avisos; });
    EXPECT_FALSE(r.TextDesat);
    EXPECT_EQ(avisos, 0);
    EXPECT_FALSE(std::filesystem::exists(noms.Wav));
}

} // namespace
} // namespace tessora
