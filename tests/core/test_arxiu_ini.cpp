// The settings file: what the two settings read from files of every shape, the exact bytes written
// (fresh file, in-place edits, new keys and sections), names and values the file cannot hold, files that
// cannot be read or replaced, and where the file lives.
#include "ArxiuIni.h"

#include "CarpetaTemporal.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <pwd.h>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tessora {
namespace {

using proves::CarpetaTemporal;
using proves::EscriureBytes;
using proves::LlegirBytes;

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

// What a fresh file holds after the program closes with the given settings, as the profile functions
// lay it out: the section, then each key as it is added.
constexpr std::string_view kFitxerNouNoSi = "[Tessora]\r\nVeu aguda=NO\r\nCastell\xE0=S\xCD\r\n";

// ---- Reading the two settings ----

struct FilaLectura {
    const char* Nom;
    std::optional<std::string> Fitxer; // Windows-1252 bytes; none: no file
    bool VeuAguda;
    bool Castella;
};

void PrintTo(const FilaLectura& fila, std::ostream* sortida) {
    *sortida << fila.Nom;
}

class LecturaConfiguracio : public testing::TestWithParam<FilaLectura> {};

TEST_P(LecturaConfiguracio, BothSettings) {
    CarpetaTemporal carpeta;
    const auto cami = carpeta.Cami() / "Tessora.ini";
    if (GetParam().Fitxer) EscriureBytes(cami, Bytes(*GetParam().Fitxer));
    const ArxiuIni arxiu(cami);

    EXPECT_EQ(LlegirVeuAguda(arxiu), GetParam().VeuAguda);
    EXPECT_EQ(LlegirCastella(arxiu), GetParam().Castella);
}

INSTANTIATE_TEST_SUITE_P(
    Fitxers, LecturaConfiguracio,
    testing::Values(
        FilaLectura{"NoFile", std::nullopt, false, true}, FilaLectura{"EmptyFile", "", false, true},
        FilaLectura{"BothYes", "[Tessora]\r\nVeu aguda=S\xCD\r\nCastell\xE0=S\xCD\r\n", true, true},
        FilaLectura{"BothNo", "[Tessora]\r\nVeu aguda=NO\r\nCastell\xE0=NO\r\n", false, false},
        FilaLectura{"WrittenFresh", std::string(kFitxerNouNoSi), false, true},
        FilaLectura{"LowerCaseSi", "[Tessora]\r\nVeu aguda=s\xED\r\nCastell\xE0=s\xED\r\n", false, false},
        FilaLectura{"LowerCaseS", "[Tessora]\r\nVeu aguda=s\xCD\r\nCastell\xE0=s\xCD\r\n", false, false},
        FilaLectura{"PlainI", "[Tessora]\r\nVeu aguda=SI\r\nCastell\xE0=SI\r\n", false, false},
        FilaLectura{"YesInUtf8", "[Tessora]\r\nVeu aguda=S\xC3\x8D\r\nCastell\xE0=S\xC3\x8D\r\n", false,
                    false},
        FilaLectura{"Garbage", "[Tessora]\r\nVeu aguda=\xFF\x01zz\r\nCastell\xE0=1\r\n", false, false},
        FilaLectura{"EmptyValueIsNotMissing", "[Tessora]\r\nVeu aguda=\r\nCastell\xE0=\r\n", false, false},
        FilaLectura{"BlanksAroundAreDropped",
                    "[Tessora]\r\n  Veu aguda \t=  S\xCD \t\r\n Castell\xE0 = S\xCD  \r\n", true, true},
        FilaLectura{"BlanksInsideCount", "[Tessora]\r\nVeu aguda=S \xCD\r\nCastell\xE0=S \xCD\r\n", false,
                    false},
        FilaLectura{"QuotesAreDropped", "[Tessora]\r\nVeu aguda=\"S\xCD\"\r\nCastell\xE0='S\xCD'\r\n", true,
                    true},
        FilaLectura{"UnmatchedQuotesStay", "[Tessora]\r\nVeu aguda=\"S\xCD\r\nCastell\xE0=S\xCD'\r\n", false,
                    false},
        FilaLectura{"NamesInOtherCase", "[TESSORA]\r\nVEU AGUDA=S\xCD\r\nCASTELL\xC0=NO\r\n", true, false},
        FilaLectura{"KeyWithoutAccentIsAnotherKey", "[Tessora]\r\nCastella=NO\r\n", false, true},
        FilaLectura{"KeyInUtf8IsAnotherKey", "[Tessora]\r\nCastell\xC3\xA0=NO\r\n", false, true},
        FilaLectura{"LineFeedsOnly", "[Tessora]\nVeu aguda=S\xCD\nCastell\xE0=NO\n", true, false},
        FilaLectura{"LoneCarriageReturns", "[Tessora]\rVeu aguda=S\xCD\rCastell\xE0=NO\r", true, false},
        FilaLectura{"NoLineBreakAtTheEnd", "[Tessora]\r\nCastell\xE0=NO\r\nVeu aguda=S\xCD", true, false},
        FilaLectura{"OtherSection", "[Altres]\r\nVeu aguda=S\xCD\r\nCastell\xE0=NO\r\n", false, true},
        FilaLectura{"BeforeAnySection", "Veu aguda=S\xCD\r\nCastell\xE0=NO\r\n[Tessora]\r\n", false, true},
        FilaLectura{"OnlyTheFirstSectionOfTheName",
                    "[Tessora]\r\nVeu aguda=S\xCD\r\n[Altres]\r\n[Tessora]\r\nCastell\xE0=NO\r\n", true,
                    true},
        FilaLectura{"FirstEntryOfTheKey", "[Tessora]\r\nVeu aguda=S\xCD\r\nVeu aguda=NO\r\n", true, true},
        FilaLectura{"EntryWithoutEquals", "[Tessora]\r\nVeu aguda\r\nCastell\xE0\r\n", false, true},
        FilaLectura{"CommentedOut", "[Tessora]\r\n;Veu aguda=S\xCD\r\n ; Castell\xE0=NO\r\n", false, true},
        FilaLectura{"HeaderWithBlanks", "  [ Tessora ]  \r\nVeu aguda=S\xCD\r\n", true, true},
        FilaLectura{"HeaderWithoutBracket", "[Tessora\r\nVeu aguda=S\xCD\r\n", false, true},
        FilaLectura{"ZeroByteCutsTheValue", std::string("[Tessora]\r\nVeu aguda=S\xCD\0x\r\n", 25), true,
                    true}),
    [](const testing::TestParamInfo<FilaLectura>& info) { return std::string(info.param.Nom); });

// ---- Reading one value: the buffer, the default, the conversion ----

struct FilaCadena {
    const char* Nom;
    std::string Fitxer;
    const char* Clau;
    std::string PerDefecte;
    std::size_t MidaBuffer;
    std::string Esperat; // UTF-8
};

void PrintTo(const FilaCadena& fila, std::ostream* sortida) {
    *sortida << fila.Nom;
}

class LecturaCadena : public testing::TestWithParam<FilaCadena> {};

TEST_P(LecturaCadena, Value) {
    const FilaCadena& fila = GetParam();
    CarpetaTemporal carpeta;
    const auto cami = carpeta.Cami() / "Tessora.ini";
    EscriureBytes(cami, Bytes(fila.Fitxer));

    EXPECT_EQ(ArxiuIni(cami).LlegirCadena("Tessora", fila.Clau, fila.PerDefecte, fila.MidaBuffer),
              fila.Esperat);
}

const std::string kSeixantaX(60, 'x');
std::string Repetir(std::string_view text, int vegades) {
    std::string resultat;
    for (int i = 0; i < vegades; ++i)
        resultat += text;
    return resultat;
}

INSTANTIATE_TEST_SUITE_P(
    Valors, LecturaCadena,
    testing::Values(
        FilaCadena{"AsStored", "[Tessora]\r\nk=Valor MiXt\r\n", "k", "d", 50, "Valor MiXt"},
        FilaCadena{"EqualsInsideTheValue", "[Tessora]\r\nk = a=b =c\r\n", "k", "d", 50, "a=b =c"},
        FilaCadena{"ConvertedToUtf8", "[Tessora]\r\nk=\x80 \xC8\xC9 \xE0\r\n", "k", "d", 50, "€ ÈÉ à"},
        FilaCadena{"KeyNameWithAccentsInOtherCase", "[Tessora]\r\nP\xC0\xC9=1\r\n", "pàé", "d", 50, "1"},
        FilaCadena{"TruncatedToTheBuffer", "[Tessora]\r\nk=" + kSeixantaX + "\r\n", "k", "d", 50,
                   std::string(49, 'x')},
        FilaCadena{"BufferCountsCharactersOfTheFile", "[Tessora]\r\nk=" + std::string(60, '\xE0') + "\r\n",
                   "k", "d", 50, Repetir("à", 49)},
        FilaCadena{"ExactFit", "[Tessora]\r\nk=" + std::string(49, 'y') + "\r\n", "k", "d", 50,
                   std::string(49, 'y')},
        FilaCadena{"BufferOfOne", "[Tessora]\r\nk=abc\r\n", "k", "d", 1, ""},
        FilaCadena{"BufferOfNothing", "[Tessora]\r\nk=abc\r\n", "k", "d", 0, ""},
        FilaCadena{"QuotesDroppedBeforeTruncating", "[Tessora]\r\nk=\"abcdef\"\r\n", "k", "d", 4, "abc"},
        FilaCadena{"LoneQuote", "[Tessora]\r\nk=\"\r\n", "k", "d", 50, "\""},
        FilaCadena{"EmptyQuotes", "[Tessora]\r\nk=''\r\n", "k", "d", 50, ""},
        FilaCadena{"DefaultLosesTrailingBlanks", "", "k", "abc \t ", 50, "abc"},
        FilaCadena{"DefaultKeepsLeadingBlanks", "", "k", "  abc", 50, "  abc"},
        FilaCadena{"DefaultTruncated", "", "k", kSeixantaX, 10, std::string(9, 'x')},
        FilaCadena{"DefaultWithoutAByte", "", "k", "a日b", 50, "a?b"},
        FilaCadena{"EmptyKeyGivesTheDefault", "[Tessora]\r\n=1\r\n", "", "d", 50, "d"},
        FilaCadena{"KeyWithBlanksAround", "[Tessora]\r\nk=1\r\n", "  k ", "d", 50, "1"}),
    [](const testing::TestParamInfo<FilaCadena>& info) { return std::string(info.param.Nom); });

// Random bytes and one endless line: read as a file without our section, and kept whole by a write.
std::string BytesAleatoris(std::size_t mida) {
    std::mt19937 generador(20031);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string bytes;
    for (std::size_t i = 0; i < mida; ++i)
        bytes += static_cast<char>(byte(generador));
    return bytes;
}

struct FilaFitxerEstrany {
    const char* Nom;
    std::string Fitxer;
};

void PrintTo(const FilaFitxerEstrany& fila, std::ostream* sortida) {
    *sortida << fila.Nom;
}

class FitxerEstrany : public testing::TestWithParam<FilaFitxerEstrany> {};

TEST_P(FitxerEstrany, DefaultsAndAWriteKeepsEveryByte) {
    CarpetaTemporal carpeta;
    const auto cami = carpeta.Cami() / "Tessora.ini";
    const std::string& antic = GetParam().Fitxer;
    ASSERT_EQ(antic.find("[Tessora]"), std::string::npos);
    EscriureBytes(cami, Bytes(antic));
    ArxiuIni arxiu(cami);

    EXPECT_FALSE(LlegirVeuAguda(arxiu));
    EXPECT_TRUE(LlegirCastella(arxiu));
    EXPECT_EQ(arxiu.LlegirCadena("", "", "d"), "d");

    ASSERT_TRUE(EscriureConfiguracio(arxiu, true, false));
    // The old last line is not ended, so the new section starts on a line of its own.
    EXPECT_EQ(LlegirBytes(cami), Bytes(antic + "\r\n[Tessora]\r\nVeu aguda=S\xCD\r\nCastell\xE0=NO\r\n"));
    EXPECT_TRUE(LlegirVeuAguda(arxiu));
    EXPECT_FALSE(LlegirCastella(arxiu));
}

INSTANTIATE_TEST_SUITE_P(
    Fitxers, FitxerEstrany,
    testing::Values(FilaFitxerEstrany{"RandomBytes", BytesAleatoris(4096) + "x"},
                    FilaFitxerEstrany{"LinesOf100KB",
                                      "; " + std::string(100 * 1024, 'c') +
                                          "\r\n[Altres]\r\nk=" + std::string(100 * 1024, 'v') + "\r\n" +
                                          std::string(100 * 1024, '[')},
                    FilaFitxerEstrany{"ZeroBytes", std::string(3000, '\0')}),
    [](const testing::TestParamInfo<FilaFitxerEstrany>& info) { return std::string(info.param.Nom); });

TEST(LecturaValorLlarg, CutAfterItsBlanksAreDropped) {
    CarpetaTemporal carpeta;
    const auto cami = carpeta.Cami() / "Tessora.ini";
    EscriureBytes(cami, Bytes("[Tessora]\r\nVeu aguda=S\xCD" + std::string(100 * 1024, ' ') + "x\r\n"));

    EXPECT_EQ(ArxiuIni(cami).LlegirCadena(kSeccioTessora, kClauVeuAguda, kValorNo),
              "SÍ" + std::string(47, ' '));
    EXPECT_FALSE(LlegirVeuAguda(ArxiuIni(cami)));
}

// ---- Writing ----

struct FilaConfiguracio {
    bool VeuAguda;
    bool Castella;
    const char* Bytes;
};

class EscripturaConfiguracio : public testing::TestWithParam<FilaConfiguracio> {};

TEST_P(EscripturaConfiguracio, FreshFileByteForByteAndReadBack) {
    CarpetaTemporal carpeta;
    const auto cami = carpeta.Cami() / "Tessora.ini";
    ArxiuIni arxiu(cami);

    ASSERT_TRUE(EscriureConfiguracio(arxiu, GetParam().VeuAguda, GetParam().Castella));

    EXPECT_EQ(LlegirBytes(cami), Bytes(GetParam().Bytes));
    EXPECT_EQ(LlegirVeuAguda(arxiu), GetParam().VeuAguda);
    EXPECT_EQ(LlegirCastella(arxiu), GetParam().Castella);
    EXPECT_EQ(carpeta.Contingut(), std::vector<std::string>{"Tessora.ini"});
}

INSTANTIATE_TEST_SUITE_P(
    Combinacions, EscripturaConfiguracio,
    testing::Values(FilaConfiguracio{false, true, "[Tessora]\r\nVeu aguda=NO\r\nCastell\xE0=S\xCD\r\n"},
                    FilaConfiguracio{true, false, "[Tessora]\r\nVeu aguda=S\xCD\r\nCastell\xE0=NO\r\n"},
                    FilaConfiguracio{false, false, "[Tessora]\r\nVeu aguda=NO\r\nCastell\xE0=NO\r\n"},
                    FilaConfiguracio{true, true, "[Tessora]\r\nVeu aguda=S\xCD\r\nCastell\xE0=S\xCD\r\n"}),
    [](const testing::TestParamInfo<FilaConfiguracio>& info) {
        return std::string(info.param.VeuAguda ? "HighVoice" : "OrdinaryVoice") +
               (info.param.Castella ? "Spanish" : "Catalan");
    });

TEST(EscripturaRepetida, SecondCloseChangesOnlyTheValues) {
    CarpetaTemporal carpeta;
    const auto cami = carpeta.Cami() / "Tessora.ini";
    ArxiuIni arxiu(cami);

    ASSERT_TRUE(EscriureConfiguracio(arxiu, false, true));
    ASSERT_TRUE(EscriureConfiguracio(arxiu, true, false));

    EXPECT_EQ(LlegirBytes(cami), Bytes("[Tessora]\r\nVeu aguda=S\xCD\r\nCastell\xE0=NO\r\n"));
}

struct FilaEdicio {
    const char* Nom;
    std::string Abans;
    std::string Seccio; // UTF-8
    std::string Clau;
    std::string Valor;
    std::string Despres; // Windows-1252
};

void PrintTo(const FilaEdicio& fila, std::ostream* sortida) {
    *sortida << fila.Nom;
}

class Edicio : public testing::TestWithParam<FilaEdicio> {};

TEST_P(Edicio, ExactBytesAndReadBack) {
    const FilaEdicio& fila = GetParam();
    CarpetaTemporal carpeta;
    const auto cami = carpeta.Cami() / "Tessora.ini";
    EscriureBytes(cami, Bytes(fila.Abans));
    ArxiuIni arxiu(cami);

    ASSERT_TRUE(arxiu.EscriureCadena(fila.Seccio, fila.Clau, fila.Valor));

    EXPECT_EQ(LlegirBytes(cami), Bytes(fila.Despres));
    EXPECT_EQ(carpeta.Contingut(), std::vector<std::string>{"Tessora.ini"});
    EXPECT_EQ(arxiu.LlegirCadena(fila.Seccio, fila.Clau, "(cap)", 1000), fila.Valor)
        << "what was written reads back (these rows hold no blanks around values nor characters without a "
           "byte)";
}

INSTANTIATE_TEST_SUITE_P(
    Casos, Edicio,
    testing::Values(
        FilaEdicio{"ValueReplacedWhereItStands",
                   "; capçalera\r\n[Altres]\r\nx=1\r\n\r\n[Tessora]\r\nCastell\xE0=NO\r\nVeu "
                   "aguda=NO\r\n[Fi]\r\ny=2\r\n",
                   "Tessora", "Veu aguda", "SÍ",
                   "; capçalera\r\n[Altres]\r\nx=1\r\n\r\n[Tessora]\r\nCastell\xE0=NO\r\nVeu "
                   "aguda=S\xCD\r\n[Fi]\r\ny=2\r\n"},
        FilaEdicio{"KeySpellingAndLineBreakKept", "[tessora]\n  veu AGUDA = NO  \nx=1\n", "Tessora",
                   "Veu aguda", "SÍ", "[tessora]\nveu AGUDA=S\xCD\nx=1\n"},
        FilaEdicio{"LongerAndShorterValues", "[Tessora]\r\nk=curt\r\nl=un valor llarg\r\n", "Tessora", "l",
                   "x", "[Tessora]\r\nk=curt\r\nl=x\r\n"},
        FilaEdicio{"EntryWithoutEqualsGetsOne", "[Tessora]\r\nVeu aguda\r\n", "Tessora", "Veu aguda", "NO",
                   "[Tessora]\r\nVeu aguda=NO\r\n"},
        FilaEdicio{"LastLineWithoutBreakStaysSo", "[Tessora]\r\nVeu aguda=NO", "Tessora", "Veu aguda", "SÍ",
                   "[Tessora]\r\nVeu aguda=S\xCD"},
        FilaEdicio{"NewKeyAfterTheLastKeyBeforeBlankLines",
                   "[Tessora]\r\nVeu aguda=NO\r\n\r\n[Altres]\r\nx=1\r\n", "Tessora", "Castellà", "SÍ",
                   "[Tessora]\r\nVeu aguda=NO\r\nCastell\xE0=S\xCD\r\n\r\n[Altres]\r\nx=1\r\n"},
        FilaEdicio{"NewKeyBeforeATrailingComment", "[Tessora]\r\nVeu aguda=NO\r\n; fi\r\n", "Tessora",
                   "Castellà", "NO", "[Tessora]\r\nVeu aguda=NO\r\nCastell\xE0=NO\r\n; fi\r\n"},
        FilaEdicio{"NewKeyInAnEmptySection", "[Tessora]\r\n\r\n[Altres]\r\n", "Tessora", "Veu aguda", "NO",
                   "[Tessora]\r\nVeu aguda=NO\r\n\r\n[Altres]\r\n"},
        FilaEdicio{"NewKeyAfterALastLineWithoutBreak", "[Tessora]\nVeu aguda=NO", "Tessora", "Castellà", "SÍ",
                   "[Tessora]\nVeu aguda=NO\r\nCastell\xE0=S\xCD\r\n"},
        FilaEdicio{"NewKeyAfterLoneCarriageReturns", "[Tessora]\rk=1\r[Altres]\r", "Tessora", "l", "2",
                   "[Tessora]\rk=1\rl=2\r\n[Altres]\r"},
        FilaEdicio{"NewKeyGoesToTheFirstSectionOfTheName",
                   "[Tessora]\r\nx=1\r\n[Tessora]\r\nVeu aguda=NO\r\n", "Tessora", "Veu aguda", "SÍ",
                   "[Tessora]\r\nx=1\r\nVeu aguda=S\xCD\r\n[Tessora]\r\nVeu aguda=NO\r\n"},
        FilaEdicio{"SectionMatchedInOtherCase", "[TESSORA]\r\nx=1\r\n", "tessora", "Veu aguda", "NO",
                   "[TESSORA]\r\nx=1\r\nVeu aguda=NO\r\n"},
        FilaEdicio{"NewSectionAtTheEnd", "[Altres]\r\nx=1\r\n\r\n", "Tessora", "Veu aguda", "NO",
                   "[Altres]\r\nx=1\r\n\r\n[Tessora]\r\nVeu aguda=NO\r\n"},
        FilaEdicio{"NewSectionAfterALastLineWithoutBreak", "[Altres]\r\nx=1", "Tessora", "Veu aguda", "NO",
                   "[Altres]\r\nx=1\r\n[Tessora]\r\nVeu aguda=NO\r\n"},
        FilaEdicio{"EmptyFile", "", "Tessora", "Castellà", "SÍ", "[Tessora]\r\nCastell\xE0=S\xCD\r\n"},
        FilaEdicio{"BlanksAroundNamesDropped", "", "  Tessora ", "\tVeu aguda  ", "NO",
                   "[Tessora]\r\nVeu aguda=NO\r\n"},
        FilaEdicio{"EmptyValue", "[Tessora]\r\nk=1\r\n", "Tessora", "k", "", "[Tessora]\r\nk=\r\n"},
        FilaEdicio{"ValueWithEqualsAndQuoteInside", "", "Tessora", "k", "a=b'c", "[Tessora]\r\nk=a=b'c\r\n"},
        FilaEdicio{"EuroAndAccents", "", "Secció", "Clàu", "€ ñ Ÿ",
                   "[Secci\xF3]\r\nCl\xE0u=\x80 \xF1 \x9F\r\n"},
        FilaEdicio{"EntryHoldingTheValueIsLeftAsItIs", "[Tessora]\n Veu aguda = NO \n", "Tessora",
                   "Veu aguda", "NO", "[Tessora]\n Veu aguda = NO \n"},
        FilaEdicio{"QuotedValueIsRewritten", "[Tessora]\nVeu aguda=\"NO\"\n", "Tessora", "Veu aguda", "NO",
                   "[Tessora]\nVeu aguda=NO\n"}),
    [](const testing::TestParamInfo<FilaEdicio>& info) { return std::string(info.param.Nom); });

TEST(EdicioCaracters, CharactersWithoutAByteAreStoredAsQuestionMarks) {
    CarpetaTemporal carpeta;
    const auto cami = carpeta.Cami() / "Tessora.ini";
    ArxiuIni arxiu(cami);

    ASSERT_TRUE(arxiu.EscriureCadena("Tessora", "Clau 日", "Ā b"));

    EXPECT_EQ(LlegirBytes(cami), Bytes("[Tessora]\r\nClau ?=? b\r\n"));
    EXPECT_EQ(arxiu.LlegirCadena("Tessora", "Clau 本", "d"), "? b");
}

TEST(EdicioCaracters, TrailingBlankOfAValueIsWrittenButNotRead) {
    CarpetaTemporal carpeta;
    const auto cami = carpeta.Cami() / "Tessora.ini";
    ArxiuIni arxiu(cami);

    ASSERT_TRUE(arxiu.EscriureCadena(kSeccioTessora, kClauVeuAguda, "SÍ "));

    EXPECT_EQ(LlegirBytes(cami), Bytes("[Tessora]\r\nVeu aguda=S\xCD \r\n"));
    EXPECT_TRUE(LlegirVeuAguda(arxiu));
}

struct FilaRebuig {
    const char* Nom;
    std::string Seccio;
    std::string Clau;
    std::string Valor;
};

void PrintTo(const FilaRebuig& fila, std::ostream* sortida) {
    *sortida << fila.Nom;
}

class EscripturaRebutjada : public testing::TestWithParam<FilaRebuig> {};

TEST_P(EscripturaRebutjada, FalseAndTheFileUntouched) {
    CarpetaTemporal carpeta;
    const auto cami = carpeta.Cami() / "Tessora.ini";
    const std::string antic = "[Tessora]\r\nVeu aguda=S\xCD\r\n";
    EscriureBytes(cami, Bytes(antic));
    ArxiuIni arxiu(cami);

    EXPECT_FALSE(arxiu.EscriureCadena(GetParam().Seccio, GetParam().Clau, GetParam().Valor));

    EXPECT_EQ(LlegirBytes(cami), Bytes(antic));
    EXPECT_EQ(carpeta.Contingut(), std::vector<std::string>{"Tessora.ini"});
}

INSTANTIATE_TEST_SUITE_P(
    Noms, EscripturaRebutjada,
    testing::Values(FilaRebuig{"EmptySection", "", "k", "v"}, FilaRebuig{"BlankSection", " \t", "k", "v"},
                    FilaRebuig{"EmptyKey", "Tessora", "", "v"}, FilaRebuig{"BlankKey", "Tessora", "  ", "v"},
                    FilaRebuig{"BracketInSection", "Tes]sora", "k", "v"},
                    FilaRebuig{"LineBreakInSection", "Tessora]\r\n[X", "k", "v"},
                    FilaRebuig{"EqualsInKey", "Tessora", "Veu aguda=S", "v"},
                    FilaRebuig{"KeyLikeASection", "Tessora", "[Altres]", "v"},
                    FilaRebuig{"KeyLikeAComment", "Tessora", ";k", "v"},
                    FilaRebuig{"LineFeedInKey", "Tessora", "a\nb", "v"},
                    FilaRebuig{"ZeroByteInKey", "Tessora", std::string("a\0b", 3), "v"},
                    FilaRebuig{"LineBreakInValue", "Tessora", "Veu aguda", "NO\r\n[Altres]"},
                    FilaRebuig{"CarriageReturnInValue", "Tessora", "Veu aguda", "NO\rx=1"},
                    FilaRebuig{"ZeroByteInValue", "Tessora", "Veu aguda", std::string("NO\0", 3)}),
    [](const testing::TestParamInfo<FilaRebuig>& info) { return std::string(info.param.Nom); });

// ---- Files that cannot be read or replaced ----

TEST(ArxiuIniFitxer, MissingFoldersAreCreated) {
    CarpetaTemporal carpeta;
    const auto cami = carpeta.Cami() / "home" / ".config" / "Tessora.ini";
    ArxiuIni arxiu(cami);

    ASSERT_TRUE(EscriureConfiguracio(arxiu, false, true));

    EXPECT_EQ(LlegirBytes(cami), Bytes(kFitxerNouNoSi));
}

TEST(ArxiuIniFitxer, FolderInTheWayGivesDefaultsAndIsKept) {
    CarpetaTemporal carpeta;
    const auto cami = carpeta.Cami() / "Tessora.ini";
    std::filesystem::create_directory(cami);
    ArxiuIni arxiu(cami);

    EXPECT_FALSE(LlegirVeuAguda(arxiu));
    EXPECT_TRUE(LlegirCastella(arxiu));
    EXPECT_FALSE(EscriureConfiguracio(arxiu, true, false));
    EXPECT_TRUE(std::filesystem::is_directory(cami));
    EXPECT_TRUE(std::filesystem::is_empty(cami));
    EXPECT_EQ(carpeta.Contingut(), std::vector<std::string>{"Tessora.ini"});
}

TEST(ArxiuIniFitxer, FileWhereTheFolderShouldBeGivesDefaultsAndIsKept) {
    CarpetaTemporal carpeta;
    const auto fitxer = carpeta.Cami() / ".config";
    EscriureBytes(fitxer, Bytes("no soc una carpeta"));
    ArxiuIni arxiu(fitxer / "Tessora.ini");

    EXPECT_FALSE(LlegirVeuAguda(arxiu));
    EXPECT_TRUE(LlegirCastella(arxiu));
    EXPECT_FALSE(EscriureConfiguracio(arxiu, true, false));
    EXPECT_EQ(LlegirBytes(fitxer), Bytes("no soc una carpeta"));
}

// Opening a pipe for reading would wait for a writer; it must be refused at once instead.
TEST(ArxiuIniFitxer, PipeGivesDefaultsWithoutWaitingAndIsKept) {
    CarpetaTemporal carpeta;
    const auto cami = carpeta.Cami() / "Tessora.ini";
    ASSERT_EQ(::mkfifo(cami.c_str(), 0600), 0);
    ArxiuIni arxiu(cami);

    EXPECT_FALSE(LlegirVeuAguda(arxiu));
    EXPECT_TRUE(LlegirCastella(arxiu));
    EXPECT_FALSE(EscriureConfiguracio(arxiu, true, false));
    EXPECT_TRUE(std::filesystem::is_fifo(cami));
}

TEST(ArxiuIniFitxer, OversizedFileGivesDefaultsAndIsKept) {
    CarpetaTemporal carpeta;
    const auto cami = carpeta.Cami() / "Tessora.ini";
    EscriureBytes(cami, Bytes("[Tessora]\r\nVeu aguda=S\xCD\r\n"));
    std::filesystem::resize_file(cami, kMidaMaximaArxiuIni + 1); // sparse: costs no disk
    ArxiuIni arxiu(cami);

    EXPECT_FALSE(LlegirVeuAguda(arxiu));
    EXPECT_FALSE(EscriureConfiguracio(arxiu, false, false));
    EXPECT_EQ(std::filesystem::file_size(cami), kMidaMaximaArxiuIni + 1);
    EXPECT_EQ(carpeta.Contingut(), std::vector<std::string>{"Tessora.ini"});
}

TEST(ArxiuIniFitxer, UnreadableFileGivesDefaultsAndIsKept) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop the superuser";
    CarpetaTemporal carpeta;
    const auto cami = carpeta.Cami() / "Tessora.ini";
    EscriureBytes(cami, Bytes("[Tessora]\r\nVeu aguda=S\xCD\r\nCastell\xE0=NO\r\n"));
    ASSERT_EQ(::chmod(cami.c_str(), 0), 0);
    ArxiuIni arxiu(cami);

    EXPECT_FALSE(LlegirVeuAguda(arxiu));
    EXPECT_TRUE(LlegirCastella(arxiu));
    EXPECT_FALSE(EscriureConfiguracio(arxiu, true, false));

    ASSERT_EQ(::chmod(cami.c_str(), 0600), 0);
    EXPECT_EQ(LlegirBytes(cami), Bytes("[Tessora]\r\nVeu aguda=S\xCD\r\nCastell\xE0=NO\r\n"));
}

TEST(ArxiuIniFitxer, ReplacedFileKeepsItsPermissions) {
    CarpetaTemporal carpeta;
    const auto cami = carpeta.Cami() / "Tessora.ini";
    EscriureBytes(cami, Bytes("[Tessora]\r\nVeu aguda=NO\r\n"));
    ASSERT_EQ(::chmod(cami.c_str(), 0640), 0);

    ASSERT_TRUE(ArxiuIni(cami).EscriureCadena(kSeccioTessora, kClauVeuAguda, kValorSi));

    struct stat estat {};
    ASSERT_EQ(::stat(cami.c_str(), &estat), 0);
    EXPECT_EQ(estat.st_mode & 07777, 0640u);
    EXPECT_EQ(LlegirBytes(cami), Bytes("[Tessora]\r\nVeu aguda=S\xCD\r\n"));
}

TEST(ArxiuIniFitxer, WritesThroughASymbolicLink) {
    CarpetaTemporal carpeta;
    const auto real = carpeta.Cami() / "real.ini";
    const auto enllac = carpeta.Cami() / "Tessora.ini";
    EscriureBytes(real, Bytes("[Tessora]\r\nVeu aguda=NO\r\n"));
    std::filesystem::create_symlink("real.ini", enllac);
    ArxiuIni arxiu(enllac);

    ASSERT_TRUE(EscriureConfiguracio(arxiu, true, true));

    EXPECT_TRUE(std::filesystem::is_symlink(enllac));
    EXPECT_EQ(LlegirBytes(real), Bytes("[Tessora]\r\nVeu aguda=S\xCD\r\nCastell\xE0=S\xCD\r\n"));
    EXPECT_EQ(carpeta.Contingut(), (std::vector<std::string>{"Tessora.ini", "real.ini"}));
}

// A file-size limit makes the disk refuse the new file part-way; the write runs in a child process so
// the limit and the ignored SIGXFSZ do not reach the other tests.
TEST(ArxiuIniFitxer, FailedWriteLeavesTheOldFileAndNoTemporary) {
    CarpetaTemporal carpeta;
    const auto cami = carpeta.Cami() / "Tessora.ini";
    const std::string antic = "; " + std::string(3000, '-') + "\r\n[Tessora]\r\nVeu aguda=NO\r\n";
    EscriureBytes(cami, Bytes(antic));

    const pid_t fill = ::fork();
    ASSERT_GE(fill, 0);
    if (fill == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(100);
        ArxiuIni arxiu(cami);
        ::_exit(arxiu.EscriureCadena(kSeccioTessora, kClauVeuAguda, kValorSi) ? 1 : 0);
    }
    int estat = 0;
    ASSERT_EQ(::waitpid(fill, &estat, 0), fill);
    ASSERT_TRUE(WIFEXITED(estat));
    EXPECT_EQ(WEXITSTATUS(estat), 0) << "the write must report its failure";

    EXPECT_EQ(LlegirBytes(cami), Bytes(antic));
    EXPECT_EQ(carpeta.Contingut(), std::vector<std::string>{"Tessora.ini"});
}

TEST(ArxiuIniFitxer, NoPathGivesDefaultsAndRefusesToWrite) {
    ArxiuIni arxiu{std::filesystem::path()};

    EXPECT_FALSE(LlegirVeuAguda(arxiu));
    EXPECT_TRUE(LlegirCastella(arxiu));
    EXPECT_FALSE(EscriureConfiguracio(arxiu, true, true));
}

// ---- Where the file lives ----

// Sets or unsets an environment variable for one test and puts the old value back.
class VariableEntorn {
public:
    VariableEntorn(const char* nom, const char* valor) : nom_(nom) {
        if (const char* antic = std::getenv(nom)) antic_ = antic;
        if (valor != nullptr)
            ::setenv(nom, valor, 1);
        else
            ::unsetenv(nom);
    }
    VariableEntorn(const VariableEntorn&) = delete;
    VariableEntorn& operator=(const VariableEntorn&) = delete;
    ~VariableEntorn() {
        if (antic_)
            ::setenv(nom_, antic_->c_str(), 1);
        else
            ::unsetenv(nom_);
    }

private:
    const char* nom_;
    std::optional<std::string> antic_;
};

struct FilaCami {
    const char* Nom;
    const char* XdgConfigHome; // nullptr: unset
    const char* Home;
    const char* Esperat;
};

void PrintTo(const FilaCami& fila, std::ostream* sortida) {
    *sortida << fila.Nom;
}

class CamiConfiguracio : public testing::TestWithParam<FilaCami> {};

TEST_P(CamiConfiguracio, FromTheEnvironment) {
    const VariableEntorn xdg("XDG_CONFIG_HOME", GetParam().XdgConfigHome);
    const VariableEntorn home("HOME", GetParam().Home);

    EXPECT_EQ(CamiArxiuIni(), std::filesystem::path(GetParam().Esperat));
}

INSTANTIATE_TEST_SUITE_P(
    Entorns, CamiConfiguracio,
    testing::Values(FilaCami{"ConfigFolderSet", "/cfg/dir", "/home/u", "/cfg/dir/Tessora.ini"},
                    FilaCami{"ConfigFolderUnset", nullptr, "/home/u", "/home/u/.config/Tessora.ini"},
                    FilaCami{"ConfigFolderEmpty", "", "/home/u", "/home/u/.config/Tessora.ini"},
                    FilaCami{"ConfigFolderRelative", "cfg", "/home/u", "/home/u/.config/Tessora.ini"},
                    FilaCami{"HomeWithTrailingSlash", nullptr, "/home/u/", "/home/u/.config/Tessora.ini"}),
    [](const testing::TestParamInfo<FilaCami>& info) { return std::string(info.param.Nom); });

TEST(CamiSenseHome, TheAccountsHomeFolder) {
    const VariableEntorn xdg("XDG_CONFIG_HOME", nullptr);
    const VariableEntorn home("HOME", nullptr);
    const passwd* compte = ::getpwuid(::getuid());
    if (compte == nullptr || compte->pw_dir == nullptr || compte->pw_dir[0] != '/')
        GTEST_SKIP() << "the account has no home folder";

    EXPECT_EQ(CamiArxiuIni(), std::filesystem::path(compte->pw_dir) / ".config" / "Tessora.ini");
}

TEST(CamiCompteNou, FirstCloseCreatesTheConfigFolder) {
    CarpetaTemporal carpeta;
    const VariableEntorn xdg("XDG_CONFIG_HOME", nullptr);
    const VariableEntorn home("HOME", carpeta.Cami().c_str());
    ArxiuIni arxiu(CamiArxiuIni());

    EXPECT_FALSE(LlegirVeuAguda(arxiu));
    EXPECT_TRUE(LlegirCastella(arxiu));
    ASSERT_TRUE(EscriureConfiguracio(arxiu, false, true));

    EXPECT_EQ(LlegirBytes(carpeta.Cami() / ".config" / "Tessora.ini"), Bytes(kFitxerNouNoSi));
}

} // namespace
} // namespace tessora
