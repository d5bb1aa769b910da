// The TextGrid reader's refusals (what Praat writes is read in the test with Praat), what it reads back
// of what the writer writes, and Tessora's own grid of a recording.
#include "GraellaTessora.h"

#include <gtest/gtest.h>

namespace tessora {
namespace {

using enum CapaTextGrid::Tipus;
using namespace std::string_literals;

TextGrid Llegir(std::string_view bytes) {
    auto llegit = InterpretarTextGrid(bytes, "g.TextGrid");
    if (const auto* error = std::get_if<ErrorFitxer>(&llegit)) ADD_FAILURE() << error->Text();
    return std::get_if<TextGrid>(&llegit) ? std::get<TextGrid>(llegit) : TextGrid{};
}

struct Refusat {
    const char* Nom;
    std::string Bytes; // or a change to a grid: "WAS|BECOMES"
    std::int64_t Linia;
    const char* Motiu;
};

class LecturaRefusada : public testing::TestWithParam<Refusat> {};

TEST_P(LecturaRefusada, DiuLaLiniaIElMotiu) {
    std::string bytes = GetParam().Bytes;
    if (const std::size_t barra = bytes.find('|'); barra != std::string::npos) {
        const TextGrid base{0, 2.5, {{Intervals, "vocal", 0, 2.5, {{0, 2.5, "a"}}, {}}}};
        std::string text = EscriureTextGrid(base);
        text.replace(text.find(bytes.substr(0, barra)), barra, bytes.substr(barra + 1));
        bytes = text;
    }
    const auto llegit = InterpretarTextGrid(bytes, "g.TextGrid");
    ASSERT_TRUE(std::holds_alternative<ErrorFitxer>(llegit));
    const ErrorFitxer& error = std::get<ErrorFitxer>(llegit);
    EXPECT_EQ(error.Linia, GetParam().Linia);
    EXPECT_EQ(error.Text().find("g.TextGrid:" + std::to_string(GetParam().Linia) + ": " + GetParam().Motiu),
              0u)
        << error.Text();
}

INSTANTIATE_TEST_SUITE_P(
    TextGrid, LecturaRefusada,
    testing::Values(Refusat{"Utf16Senar", "\xFE\xFF\0F\0"s, 1,
                            "the file ends in the middle of a UTF-16 character"},
                    Refusat{"Utf16MigParell",
                            "\xFF\xFE\n\0\x00\xD8"s
                            "A\0"s,
                            2, "half of a UTF-16 surrogate pair"},
                    Refusat{"Utf16SenseMarca", "F\0i\0"s, 1, "a NUL byte"},
                    Refusat{"Latin1", "File type\n\xC9"s, 2, "not UTF-8"},
                    Refusat{"AltraClasse", "\"TextGrid\"|\"Sound\"", 2, "not a TextGrid but a \"Sound\""},
                    Refusat{"AltraEtiqueta", "xmax = 2.5 \ntiers|xmix = 2.5 \ntiers", 5,
                            "expected \"xmax =\", found \"xmix\""},
                    Refusat{"ComaDecimal", "xmin = 0 \nxmax|xmin = 0,5 \nxmax", 4,
                            "expected a number (xmin), found \"0,5\""},
                    Refusat{"CapaDesconeguda", "IntervalTier|Foo", 10, "tier 1 is of class \"Foo\""},
                    Refusat{"AltreNumero", "intervals [1]|intervals [2]", 15, "expected \"intervals [1]:\""},
                    Refusat{"TextObert", "\"a\" |\"a ", 18, "a text in double quotes is not closed"},
                    Refusat{"Acabat", "size = 1 \nitem|size = 2 \nitem", 18,
                            "the file ends where \"item [2]:\" was expected"},
                    Refusat{"Sobrant", "\"a\" |\"a\" \n\nx", 20, "text after the end of the TextGrid"},
                    Refusat{"CurtNegatiu",
                            "File type = \"ooTextFile\"\nObject class = \"TextGrid\"\n\n0\n1\n<exists>\n-1\n",
                            7, "expected a count (size), found \"-1\""}),
    [](const auto& info) { return std::string(info.param.Nom); });

TEST(TextGrid, LlegeixElQueEscriuIElQuePraatEscrivia) {
    const TextGrid senseCapes{0, 1, {}};
    const TextGrid complet{
        -0.25,
        1e5,
        {{Intervals, "v \"1\"", -0.25, 1e5, {{-0.25, 1.0 / 3, "a\"\"\nb"}, {1.0 / 3, 1e5, ""}}, {}},
         {Punts, "p", 0, 1, {}, {{0.1 + 0.2, "È"}}}}};
    EXPECT_TRUE(EscriureTextGrid(senseCapes).ends_with("\nsize = 0 \nitem []: (empty)\n"));
    EXPECT_EQ(Llegir(EscriureTextGrid(senseCapes)), senseCapes);
    EXPECT_EQ(Llegir(EscriureTextGrid(complet)), complet);
    // The short form's header of older Praat versions, and a grid without tiers as Praat can read it.
    EXPECT_EQ(Llegir("File type = \"ooTextFile short\"\nObject class = \"TextGrid\"\n\n0\n1\n<absent>\n"),
              senseCapes);
}

TEST(GraellaTessora, IntervalsDeLesEmissionsIPuntsAlMigDelsBlocs) {
    const EmissioGravacio emissions[] = {
        {21, 40, "È"}, {3, 9, "A"}, {20, 20, ""}, {35, 38, "I"}, {39, 45, "O"}};
    const AnalisiBloc analisis[] = {
        {22, "È", 180, 700.0f, 550}, {4, "A", 91, 818.4f, 582}, {22, "O", 1, 1.0f, 1}, {30, "", 0, 0.0f, 0}};
    const TextGrid graella = GraellaTessora(emissions, analisis, 10.0);
    const auto t = TempsBloc;
    // The utterance inside the one before it goes; the one overlapping it starts where that one ends.
    const std::vector<IntervalTextGrid> vocal = {{0, t(3), ""},      {t(3), t(10), "A"},  {t(10), t(20), ""},
                                                 {t(20), t(21), ""}, {t(21), t(41), "È"}, {t(41), t(46), "O"},
                                                 {t(46), 10, ""}};
    const std::vector<PuntTextGrid> punts = {
        {CentreBloc(4), "A 91 818 582"}, {CentreBloc(22), "È 180 700 550"}, {CentreBloc(30), "- 0 0 0"}};
    EXPECT_EQ(
        graella,
        (TextGrid{0, 10, {{Intervals, "vocal", 0, 10, vocal, {}}, {Punts, "analisi", 0, 10, {}, punts}}}));
    EXPECT_EQ(CentreBloc(4), 4.5 * 512 / 11025);
    // A recording shorter than what it found: the grid reaches the end of both.
    EXPECT_EQ(GraellaTessora(emissions, {}, 1.0).Fi, t(46));
    EXPECT_EQ(GraellaTessora({}, analisis, 1.0).Fi, CentreBloc(30));
}

} // namespace
} // namespace tessora
