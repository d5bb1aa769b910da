// Results texts made by the experiment's own export, read back into runs; and the texts that are refused
// whole.
#include "ConfusioDiari.h"
#include "Cp1252.h"
#include "ExportacioDeProva.h"
#include "ImportacioResultats.h"
#include "PerNom.h"

#include <gtest/gtest.h>

#include <regex>

namespace tessora {
namespace {

using proves::Exportacio;

// Catalan: AE answered A twice, È answered É once; hits of A, È and U.
const std::vector<std::pair<int, int>> kProves{{1, 1}, {2, 1}, {3, 4}, {3, 3}, {7, 7}, {2, 1}};

CursaDiari Llegir(const std::string& text) {
    auto llegit = InterpretarResultats(text, "maria.wav.txt");
    if (const auto* error = std::get_if<ErrorFitxer>(&llegit)) ADD_FAILURE() << error->Text();
    return std::get_if<CursaDiari>(&llegit) != nullptr ? std::get<CursaDiari>(llegit) : CursaDiari{};
}

std::int64_t Inici(const std::string& data, const std::string& hora) {
    return Llegir(Exportacio(kProves, {data, hora, false, false, false}).Text).Inici;
}

struct FilaExportacio {
    const char* nom;
    CapcaleraResultats capcalera;
    std::vector<std::pair<int, int>> proves;
};
class LecturaExportacio : public testing::TestWithParam<FilaExportacio> {};

TEST_P(LecturaExportacio, LaTaulaILesProvesDelText) {
    const auto& [nom, capcalera, llista] = GetParam();
    const auto exportacio = Exportacio(llista, capcalera);
    const CursaDiari cursa = Llegir(exportacio.Text);
    EXPECT_EQ(cursa.Castella, capcalera.Castella);
    EXPECT_EQ(cursa.VeuAguda, capcalera.VeuAguda);
    EXPECT_EQ(cursa.ModeExperimentador,
              capcalera.ModeExperimentador && exportacio.Taula.Puntuats > exportacio.Taula.Encerts);
    EXPECT_EQ(cursa.Origen, "maria.wav.txt");
    EXPECT_EQ(cursa.Inici, Inici("2026-12-06", "14:03:05"));
    const TaulaAvaluacio taula = TaulaCurses(std::span(&cursa, 1), exportacio.Taula.Llengua);
    EXPECT_EQ(taula.Confusio, exportacio.Taula.Confusio);
    EXPECT_EQ(taula.Puntuats, static_cast<std::int64_t>(llista.size()));
    // The errors first, with their answers' features and sounds, then the hits without.
    if (exportacio.Taula.Encerts < exportacio.Taula.Puntuats) {
        EXPECT_EQ(cursa.Proves.front(), (ProvaDiari{"AE", "A", 101.0f, 501.0f, 401.0f, 2048}));
    }
    EXPECT_EQ(cursa.Proves.back(), (ProvaDiari{"U", "U", {}, {}, {}, {}}));
    // Line ends changed on the way.
    EXPECT_EQ(Llegir(std::regex_replace(exportacio.Text, std::regex("\r"), "\r\n")), cursa);
    EXPECT_EQ(Llegir(std::regex_replace(exportacio.Text, std::regex("\r"), "\n")), cursa);
}

INSTANTIATE_TEST_SUITE_P(
    Exportacions, LecturaExportacio,
    testing::Values(
        FilaExportacio{"CatalaExperimentador", {"6/12/26", "14:03:05", false, true, true}, kProves},
        FilaExportacio{"CastellaSenseErrors", {"6/12/26", "14:03:05", true, false, false}, {{5, 5}, {1, 1}}},
        // Past 100 trials the run restarts; the tally goes on.
        FilaExportacio{"CentUna",
                       {"6/12/26", "14:03:05", true, false, false},
                       std::vector<std::pair<int, int>>(101, {5, 5})}),
    proves::PerNom());

// The date and time as desktops write them, against the same moment written plainly.
using FilaData = std::tuple<const char*, const char*, const char*, const char*, const char*>;
class DataHora : public testing::TestWithParam<FilaData> {};

TEST_P(DataHora, LlegidaCom) {
    const auto& [nom, data, hora, iso, hora24] = GetParam();
    EXPECT_EQ(Inici(data, hora), Inici(iso, hora24));
}

INSTANTIATE_TEST_SUITE_P(
    Formats, DataHora,
    testing::Values(FilaData{"CatalaICastella", "7/12/26", "1:02:03 (UTC)", "2026-12-07", "01:02:03"},
                    FilaData{"DiaPrimerSiPotSer", "1-2-2026", "1:02", "2026-02-01", "01:02:00"},
                    FilaData{"MesPrimerNomesSiNoPot", "12/31/26", "1:02:03 PM UTC", "2026-12-31", "13:02:03"},
                    FilaData{"PuntsIMitjaNit", "07.12.2026", "12:00:00 a. m.", "2026-12-07", "00:00:00"}),
    proves::PerNom());

// A text changed on the way: refused at its line, for its reason.
struct FilaHostil {
    const char* nom;
    std::string (*canvi)(const std::string&);
    std::int64_t linia;
    const char* motiu;
};
class TextHostil : public testing::TestWithParam<FilaHostil> {};

std::string Substituir(std::string text, const std::string& de, const std::string& a) {
    return text.replace(text.find(de), de.size(), a);
}

TEST_P(TextHostil, RefusatSencer) {
    const auto& [nom, canvi, linia, motiu] = GetParam();
    const auto text = canvi(Exportacio(kProves, {"6/12/26", "14:03:05", false, false, true}).Text);
    const auto llegit = InterpretarResultats(text, "f.txt");
    ASSERT_TRUE(std::holds_alternative<ErrorFitxer>(llegit)) << nom;
    const auto& error = std::get<ErrorFitxer>(llegit);
    EXPECT_EQ(error.Linia, linia) << error.Text();
    EXPECT_NE(error.Motiu.find(motiu), std::string::npos) << error.Text();
}

INSTANTIATE_TEST_SUITE_P(
    Textos, TextHostil,
    testing::Values(
        FilaHostil{"TallatDinsLaTaula", [](const std::string& t) { return t.substr(0, t.find("Surt") + 6); },
                   6, "cut short"},
        FilaHostil{"TallatDespresDeLaTaula",
                   [](const std::string& t) { return t.substr(0, t.find("\rERRORS") + 1); }, 14,
                   "expected an empty line and \"ERRORS\""},
        FilaHostil{"SenseLaDarreraLiniaDErrors",
                   [](const std::string& t) { return t.substr(0, t.rfind('\r', t.size() - 2) + 1); }, 19,
                   "the table counts 3 errors, the list holds 2"},
        FilaHostil{"Utf8", [](const std::string& t) { return DesDeCp1252(t); }, 2, "UTF-8"},
        FilaHostil{"ColumnaDeMes",
                   [](const std::string& t) { return std::string(t).insert(t.size() - 1, "x\t"); }, 20,
                   "expected 9 fields"},
        FilaHostil{"TotalsEnDesacord",
                   [](const std::string& t) { return Substituir(t, "Surt\t1\t", "Surt\t2\t"); }, 6,
                   "totals disagree"},
        FilaHostil{"LlistaEnDesacord",
                   [](const std::string& t) { return Substituir(t, "AE-A\t1\t", "\xC8-A\t1\t"); }, 16,
                   "the error list disagrees"},
        FilaHostil{"DataEnLletres",
                   [](const std::string& t) { return Substituir(t, "6/12/26", "6 Dec 2026"); }, 1,
                   "the date"},
        FilaHostil{"DataImpossible", [](const std::string& t) { return Substituir(t, "6/12/26", "29/2/25"); },
                   1, "the date"},
        FilaHostil{"HoraImpossible", [](const std::string& t) { return Substituir(t, "14:03", "24:03"); }, 1,
                   "the time"}),
    proves::PerNom());

TEST(ParlantFitxer, NomSenseTxtNiWav) {
    EXPECT_EQ(ParlantFitxer("correu/maria.wav.txt"), "maria");
    EXPECT_EQ(ParlantFitxer("Joan.WAV.TXT"), "Joan");
    EXPECT_EQ(ParlantFitxer("dades.xy.txt"), "dades.xy");
    EXPECT_EQ(ParlantFitxer(".txt"), ".txt");
}

} // namespace
} // namespace tessora
