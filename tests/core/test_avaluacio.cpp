// Annotations read from tables and grids, labels matched to the vowel sets, the score of known answers
// against known intervals, and the per-interval CSV that pools parts of a corpus into the whole.
#include "Avaluacio.h"
#include "ConfusioDiari.h"

#include <gtest/gtest.h>

namespace tessora {
namespace {

using namespace std::string_literals;

struct Taula {
    const char* Nom;
    FormatAnotacions Format;
    std::string Bytes;
    std::vector<IntervalAnotat> Intervals; // or, when empty, the error:
    std::int64_t Linia = 0;
    const char* Motiu = "";
};

class TaulaAnotacions : public testing::TestWithParam<Taula> {};

TEST_P(TaulaAnotacions, DonaElsIntervalsOLaLiniaIElMotiu) {
    const Taula& t = GetParam();
    const auto llegit = InterpretarAnotacions(t.Bytes, t.Format, "a.tsv");
    if (const auto* error = std::get_if<ErrorFitxer>(&llegit))
        EXPECT_EQ(error->Text().find("a.tsv:" + std::to_string(t.Linia) + ": " + t.Motiu), 0u)
            << error->Text();
    else
        EXPECT_EQ(std::get<std::vector<IntervalAnotat>>(llegit), t.Intervals);
}

constexpr auto Tsv = FormatAnotacions::Tsv, Csv = FormatAnotacions::Csv;
INSTANTIATE_TEST_SUITE_P(
    Anotacions, TaulaAnotacions,
    testing::Values(
        Taula{"TsvAmbCapcalera", Tsv, "start\tend\tlabel\n0.5\t1\ta\n", {{0.5, 1, "a"}}},
        Taula{"TsvCrLf", Tsv, "0.5\t1\ta\r\n\r\n1\t1.5\t\r\n", {{0.5, 1, "a"}, {1, 1.5, ""}}},
        Taula{"Utf16",
              Tsv,
              "\xFF\xFE"
              "0\0\t\0"
              "1\0e\0-\0"
              "3\0\t\0"
              "\"\0"s,
              {{0, 1e-3, "\""}}},
        Taula{"CsvCometes",
              Csv,
              "\xEF\xBB\xBF"
              "0.5,1,\"a, \"\"b\"\"\n\"\n",
              {{0.5, 1, "a, \"b\"\n"}}},
        Taula{"CsvComaDecimal", Csv, "0,5,1,a\n", {}, 1, "4 fields where 3 are expected"},
        Taula{"TsvComaDecimal", Tsv, "0,5\t1\ta\n", {}, 1, "the start \"0,5\" is not a number"},
        Taula{"AlReves", Tsv, "0\t1\ta\n2\t1\tb\n", {}, 2, "the end is not after the start"},
        Taula{"CometesObertes", Csv, "0,1,a\n0,1,\"b\n", {}, 2, "a field in double quotes is not closed"},
        Taula{"TextDespres", Csv, "0,1,\"b\"c\n", {}, 1, "text after the closing quote"}),
    [](const auto& info) { return std::string(info.param.Nom); });

TEST(Anotacions, CapaDeLaGraellaIFormatPelNom) {
    using enum CapaTextGrid::Tipus;
    const TextGrid g{0,
                     1,
                     {{Punts, "p", 0, 1, {}, {{0.5, "x"}}},
                      {Intervals, "paraules", 0, 1, {{0, 1, "hola"}}, {}},
                      {Intervals, "vocals", 0, 1, {{0, 0.4, ""}, {0.4, 0.6, "a"}, {0.6, 1, " "}}, {}}}};
    const auto capa = [](std::string_view nom, const TextGrid& graella) {
        const auto llegit = IntervalsCapa(graella, nom, "g.TextGrid");
        if (const auto* error = std::get_if<ErrorFitxer>(&llegit)) return error->Text();
        std::string text;
        for (const IntervalAnotat& i : std::get<std::vector<IntervalAnotat>>(llegit))
            text += NombrePraat(i.Inici) + '-' + NombrePraat(i.Fi) + ' ' + i.Etiqueta + ';';
        return text;
    };
    EXPECT_EQ(capa("", g), "0-1 hola;");
    EXPECT_EQ(capa("vocals", g), "0.4-0.6 a;");
    EXPECT_EQ(capa("p", g),
              "g.TextGrid: no interval tier named \"p\" (tiers: \"p\", \"paraules\", \"vocals\")");
    EXPECT_EQ(capa("", TextGrid{0, 1, {g.Capes[0]}}), "g.TextGrid: the TextGrid has no interval tier");
    EXPECT_EQ(FormatPerNom("x/a.textGRID"), FormatAnotacions::TextGrid);
    EXPECT_EQ(FormatPerNom("a.CSV"), Csv);
    EXPECT_EQ(FormatPerNom("a.txt"), Tsv);
}

TEST(Avaluacio, EtiquetesDeCadaConjunt) {
    const std::tuple<const char*, Idioma, int> casos[] = {
        {" a ", Idioma::Castella, 1}, {"e", Idioma::Castella, 2},  {"È", Idioma::Castella, 2},
        {"é", Idioma::Castella, 2},   {"ü", Idioma::Castella, 5},  {"AE", Idioma::Castella, 0},
        {"ae", Idioma::Catala, 2},    {"è", Idioma::Catala, 3},    {"É", Idioma::Catala, 4},
        {"E", Idioma::Catala, 0},     {"ò", Idioma::Catala, 6},    {"à", Idioma::Catala, 1},
        {"", Idioma::Catala, 0},      {"schwa", Idioma::Catala, 0}};
    for (const auto& [etiqueta, idioma, vocal] : casos)
        EXPECT_EQ(VocalEtiqueta(etiqueta, idioma), vocal) << etiqueta;
}

// A recording of known answers: hits, an error, answers at an interval's onset (taken) and offset (not),
// an analysis that decided nothing passed over, no answer, an unknown and an empty label.
const std::vector<IntervalAnotat> kIntervals = {
    {0.5, 1, "a"}, {1, 1.5, "E"}, {TempsBloc(40), TempsBloc(50), " o "}, {2.5, 3, "u"}, {3, 3.5, "ə"},
    {3.5, 4, ""},  {4, 4.5, "É"}};
const std::vector<AnalisiBloc> kAnalisis = {
    {50, "O"}, {10, "A"}, {11, "A", 91, 818.0f, 582}, {12, "E"}, {22, ""}, {23, "I"}, {40, "O"}, {66, "A"},
    {88, "E"}, {91, ""}};

TEST(Avaluacio, TaulaDeRespostesConegudes) {
    const std::vector<FilaAvaluacio> files = Avaluar("f.wav", kIntervals, kAnalisis);
    std::vector<std::int64_t> blocs;
    blocs.reserve(files.size());
    for (const FilaAvaluacio& fila : files)
        blocs.push_back(fila.Resposta ? fila.Resposta->Bloc : -1);
    EXPECT_EQ(blocs, (std::vector<std::int64_t>{11, 23, 40, -1, 66, -1, 88, 10, 50}));
    const TaulaAvaluacio taula = Comptar(files, Idioma::Castella);
    EXPECT_EQ(taula.SenseResposta, 1);
    EXPECT_EQ(taula.Insercions, 2);
    EXPECT_EQ(TextTaulaAvaluacio(taula), "                 A   E  I    O  U  total  encerts  % enc.\n"
                                         "Surt             1   2  0    1  1      5        3      60\n"
                                         "A                1   0  0    0  0\n"
                                         "E                0   1  0    0  0\n"
                                         "I                0   1  0    0  0\n"
                                         "O                0   0  0    1  0\n"
                                         "U                0   0  0    0  0\n"
                                         "sin respuesta    0   0  0    0  1\n"
                                         "% enc.         100  50  0  100  0\n"
                                         "inserciones: 2\n"
                                         "no puntuados: 2\n"
                                         "  f.wav 3-3.5: etiqueta desconocida \"ə\"\n"
                                         "  f.wav 3.5-4: etiqueta vacía\n");
}

TEST(Avaluacio, LesFilesDeDuesMeitatsFanLaTaulaDelTot) {
    const std::vector<FilaAvaluacio> f = Avaluar("f.wav", kIntervals, kAnalisis);
    const std::vector<IntervalAnotat> intervalsG = {{0, 1, "i"}, {1, 2, "x\"y,\nz"}};
    const std::vector<FilaAvaluacio> g =
        Avaluar("g,1.wav", intervalsG, std::vector<AnalisiBloc>{{5, "I"}, {30, "U"}});
    std::string csvF(kCapcaleraCsvAvaluacio), csvG(kCapcaleraCsvAvaluacio);
    for (const auto& [csv, files] : {std::pair{&csvF, &f}, {&csvG, &g}}) {
        *csv += '\n';
        for (const FilaAvaluacio& fila : *files)
            *csv += LiniaCsvAvaluacio(fila);
    }
    std::vector<FilaAvaluacio> tot = f;
    tot.insert(tot.end(), g.begin(), g.end());
    // Two parts joined with cat carry their headers along.
    const auto agregat = InterpretarCsvAvaluacio(csvF + csvG, Idioma::Castella, "parts.csv");
    ASSERT_TRUE(std::holds_alternative<std::vector<FilaAvaluacio>>(agregat));
    EXPECT_EQ(std::get<std::vector<FilaAvaluacio>>(agregat), tot);
    EXPECT_EQ(TextTaulaAvaluacio(Comptar(std::get<std::vector<FilaAvaluacio>>(agregat), Idioma::Castella)),
              TextTaulaAvaluacio(Comptar(tot, Idioma::Castella)));
}

TEST(Avaluacio, CsvRefusatAmbLaLinia) {
    const std::string c = std::string(kCapcaleraCsvAvaluacio) + '\n';
    const std::pair<std::string, const char*> casos[] = {
        {"file,onset\n", "p.csv:1: not a per-interval CSV"},
        {c + "f,1,2,a,A,3,4,5\n", "p.csv:2: 8 fields where 9 are expected"},
        {c + "f,1,x,a,,,,,\n", "p.csv:2: the onset or the offset is not a number"},
        {c + "f,2,1,a,,,,,\n", "p.csv:2: the offset is not after the onset"},
        {c + "f,1,2,a,A,3,4.5,5,6\n",
         "p.csv:2: the answer's block, pitch, F1 and S2F are not all whole numbers"},
        {c + "f,1,2,a,AE,3,4,5,6\n", "p.csv:2: the answer \"AE\" is not a vowel of the Spanish set"},
        {c + "f,,,,,,,,\n", "p.csv:2: neither an interval nor an answer"}};
    for (const auto& [csv, error] : casos) {
        const auto llegit = InterpretarCsvAvaluacio(csv, Idioma::Castella, "p.csv");
        ASSERT_TRUE(std::holds_alternative<ErrorFitxer>(llegit)) << csv;
        EXPECT_EQ(std::get<ErrorFitxer>(llegit).Text().find(error), 0u)
            << std::get<ErrorFitxer>(llegit).Text();
    }
}

// Stored runs count as the experiment counts: only the runs of the set asked for, a trial recognised as
// no vowel of the set without an answer.
TEST(Avaluacio, LesCursesDelDiariEsComptenPerJocDeVocals) {
    const auto prova = [](const char* demanada, std::optional<std::string> reconeguda) {
        return ProvaDiari{demanada, std::move(reconeguda), {}, {}, {}, {}};
    };
    CursaDiari catala, castella;
    catala.Proves = {prova("AE", "AE"), prova("È", "É"), prova("U", {})};
    castella.Castella = true;
    castella.Proves = {prova("A", "A"), prova("E", "I")};
    const std::vector<CursaDiari> curses{catala, castella, catala};
    const TaulaAvaluacio t = TaulaCurses(curses, Idioma::Catala);
    EXPECT_EQ(t.Puntuats, 6);
    EXPECT_EQ(t.Encerts, 2);
    EXPECT_EQ(t.SenseResposta, 2);
    EXPECT_EQ(t.Confusio[3][4], 2); // È answered É
    EXPECT_EQ(t.Confusio[7][0], 2); // U without answer
    EXPECT_EQ(TaulaCurses(curses, Idioma::Castella).Confusio[2][3], 1);
}

} // namespace
} // namespace tessora
