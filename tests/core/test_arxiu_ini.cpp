// The settings file: reading files of every shape, the exact bytes written, names and values the file
// cannot hold, files that cannot be read or replaced, and where the file lives.
#include "ArxiuIni.h"

#include "CarpetaTemporal.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <optional>
#include <pwd.h>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace tessora {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using proves::CarpetaTemporal;

std::string Llegir(const fs::path& cami) {
    const auto bytes = proves::LlegirBytes(cami);
    return {bytes.begin(), bytes.end()};
}

void Posar(const fs::path& cami, std::string_view bytes) {
    proves::EscriureBytes(cami, {bytes.begin(), bytes.end()});
}

// Tessora.ini in a private folder, holding the given bytes (none: no file).
struct Fitxer {
    explicit Fitxer(const std::optional<std::string>& bytes) {
        if (bytes) Posar(cami, *bytes);
    }
    CarpetaTemporal carpeta;
    fs::path cami = carpeta.Cami() / "Tessora.ini";
    ArxiuIni arxiu{cami};
};

const std::vector<std::string> kNomesIni{"Tessora.ini"};
const std::string kNoSi = "[Tessora]\r\nVeu aguda=NO\r\nCastell\xE0=S\xCD\r\n";
const std::string kSiNo = "[Tessora]\r\nVeu aguda=S\xCD\r\nCastell\xE0=NO\r\n";

TEST(LecturaConfiguracio, OnlyExactlySiIsYes) {
    const std::pair<std::string, bool> valors[] = {
        {"S\xCD", true},      {"S\xCD \t ", true}, {"NO", false},        {"s\xED", false},
        {"s\xCD", false},     {"S\xED", false},    {"SI", false},        {"S \xCD", false},
        {"S\xC3\x8D", false}, {"", false},         {"\xFF\x01zz", false}};
    for (const auto& [valor, si] : valors) {
        SCOPED_TRACE(valor);
        Fitxer fitxer("[Tessora]\r\nVeu aguda=" + valor + "\r\nCastell\xE0=" + valor);
        EXPECT_EQ(LlegirVeuAguda(fitxer.arxiu), si);
        EXPECT_EQ(LlegirCastella(fitxer.arxiu), si);
    }
}

TEST(LecturaCadena, ValuesFromFilesOfEveryShape) {
    // What the file holds, the value of key "k" in section "s" (UTF-8), the buffer, the default and the key.
    const std::tuple<const char*, std::string, std::string, std::size_t, std::string, std::string> files[] = {
        {"Utf8NoBlanksAround", "[s]\r\n k \t= a=b MiXt \x80\xC8\xE0 \t\r\n", "a=b MiXt €Èà", 50, "d", "k"},
        {"HeaderBlanksNamesInOtherCase", "  [ S ]  \r\nP\xC0\xC9=1\r\n", "1", 50, "d", "pàé"},
        {"LineFeedsAndFirstEntry", "[s]\nj=0\nk=1\nk=2\n", "1", 50, "d", "k"},
        {"LoneCarriageReturns", "[s]\rj=0\rk=1", "1", 50, "d", "k"},
        {"OnlyInTheFirstSection", "k=1\r\n[s]\r\nj=1\r\n[t]\r\nk=2\r\n[s]\r\nk=3\r\n", "d", 50, "d", "k"},
        {"CommentsNoEqualsNoBracket", "[s]\r\nk\r\n;k=1\r\n ; k=2\r\n[s\r\nk=3\r\n", "d", 50, "d", "k"},
        {"ZeroByteCutsTheValue", "[s]\r\nk=1\0x\r\n"s, "1", 50, "d", "k"},
        {"DoubleQuotes", "[s]\r\nk=\" a \"", " a ", 50, "d", "k"},
        {"SingleQuotes", "[s]\r\nk='a'", "a", 50, "d", "k"},
        {"UnmatchedQuotes", "[s]\r\nk=\"a'", "\"a'", 50, "d", "k"},
        {"LoneQuote", "[s]\r\nk=\"", "\"", 50, "d", "k"},
        {"EmptyQuotes", "[s]\r\nk=''", "", 50, "d", "k"},
        {"CutInFileCharacters", "[s]\r\nk=S\xCD" + std::string(60, '\xE0'),
         "SÍààààààààààààààààààààààààààààààààààààààààààààààà", 50, "d", "k"},
        {"CutBeforeBlanksGo", "[s]\r\nk=S\xCD" + std::string(100, ' ') + "x", "SÍ" + std::string(47, ' '), 50,
         "d", "k"},
        {"QuotesGoBeforeTheCut", "[s]\r\nk=\"abcdef\"", "abc", 4, "d", "k"},
        {"BufferOfOne", "[s]\r\nk=abc", "", 1, "d", "k"},
        {"BufferOfNothing", "[s]\r\nk=abc", "", 0, "d", "k"},
        {"DefaultLosesTrailingBlanks", "", "  abc", 50, "  abc \t ", "k"},
        {"DefaultCut", "", "xxxxxxxx", 9, "xxxxxxxxxxxx", "k"},
        {"DefaultWithoutAByte", "", "a?b", 50, "a日b", "k"},
        {"EmptyKey", "[s]\r\n=1\r\n", "d", 50, "d", ""}};
    for (const auto& [nom, bytes, esperat, mida, perDefecte, clau] : files) {
        SCOPED_TRACE(nom);
        Fitxer fitxer(bytes);
        EXPECT_EQ(fitxer.arxiu.LlegirCadena("s", clau, perDefecte, mida), esperat);
    }
}

TEST(EscripturaConfiguracio, ExactBytesAndReadBack) {
    // The file before (none: no file), the two settings written, the file after.
    std::vector<std::tuple<std::optional<std::string>, bool, bool, std::string>> files = {
        {std::nullopt, false, true, kNoSi}, {"", true, false, kSiNo}, {kNoSi, true, false, kSiNo}};
    // Files without our section keep all their bytes, and the section starts on a line of its own.
    std::string binari;
    for (int i = 0; i < 4096; ++i)
        binari += static_cast<char>(i * 167);
    for (const std::string& estrany :
         {binari, "; " + std::string(100 << 10, 'c') + "\r\n[t]\r\nk=" + std::string(100 << 10, 'v') +
                      "\r\n" + std::string(100 << 10, '[')})
        files.push_back({estrany, true, false, estrany + "\r\n" + kSiNo});
    for (const auto& [abans, veuAguda, castella, despres] : files) {
        SCOPED_TRACE(abans ? abans->substr(0, 40) : "(no file)");
        Fitxer fitxer(abans);
        EXPECT_FALSE(LlegirVeuAguda(fitxer.arxiu)); // every file here reads as the defaults
        EXPECT_TRUE(LlegirCastella(fitxer.arxiu));
        EXPECT_TRUE(EscriureConfiguracio(fitxer.arxiu, veuAguda, castella));
        EXPECT_EQ(Llegir(fitxer.cami), despres);
        EXPECT_EQ(LlegirVeuAguda(fitxer.arxiu), veuAguda);
        EXPECT_EQ(LlegirCastella(fitxer.arxiu), castella);
        EXPECT_EQ(fitxer.carpeta.Contingut(), kNomesIni);
    }
}

TEST(EscripturaCadena, ExactBytesAndReadBack) {
    const struct {
        const char* Nom;
        std::string Abans;
        std::string Despres;          // Windows-1252
        std::string Valor = "v";      // UTF-8, as are the names
        const char* Llegit = nullptr; // what reads back, when it is not Valor
        std::string Clau = "k";
        std::string Seccio = "s";
    } files[] = {
        {"InPlace", "; c\r\n[t]\r\nk=1\r\n\r\n[s]\r\nj=1\r\nk=1\r\n[u]\r\nk=2",
         "; c\r\n[t]\r\nk=1\r\n\r\n[s]\r\nj=1\r\nk=S\xCD\r\n[u]\r\nk=2", "SÍ"},
        {"ShorterSpellingKept", "[S]\n  K = un valor llarg  \nx=1\n", "[S]\nK=v\nx=1\n"},
        {"NoEqualsNoLastBreak", "[s]\r\nj=1\r\nk", "[s]\r\nj=1\r\nk=v"},
        {"AfterTheLastKey", "[s]\r\nj=1\r\n; c\r\n\r\n[t]\r\n", "[s]\r\nj=1\r\nk=v\r\n; c\r\n\r\n[t]\r\n"},
        {"InAnEmptySection", "[s]\r\n\r\n[t]\r\n", "[s]\r\nk=v\r\n\r\n[t]\r\n"},
        {"AfterNoLastBreak", "[s]\nj=1", "[s]\nj=1\r\nk=v\r\n"},
        {"AfterLoneCarriageReturns", "[s]\rj=1\r[t]\r", "[s]\rj=1\rk=v\r\n[t]\r"},
        {"InTheFirstSection", "[S]\r\nj=1\r\n[s]\r\n", "[S]\r\nj=1\r\nk=v\r\n[s]\r\n"},
        {"NewSectionAtTheEnd", "[t]\r\nk=1\r\n\r\n", "[t]\r\nk=1\r\n\r\n[s]\r\nk=v\r\n"},
        {"EmptyValue", "[s]\r\nk=1\r\n", "[s]\r\nk=\r\n", ""},
        {"SameValueUntouched", "[s]\n k = v \n", "[s]\n k = v \n"},
        {"QuotedValueRewritten", "[s]\nk=\"v\"\n", "[s]\nk=v\n"},
        {"BlanksAroundNames", "", "[Tessora]\r\nCastell\xE0=S\xCD\r\n", "SÍ", nullptr, "\tCastellà ",
         " Tessora "},
        {"Windows1252", "", "[Secci\xF3]\r\nCl\xE0u=\x80 \xF1=\x9F'\r\n", "€ ñ=Ÿ'", nullptr, "Clàu",
         "Secció"},
        {"WithoutAByteAndBlank", "", "[s]\r\n?=? b \r\n", "Ā b ", "? b", "日"}};
    for (const auto& fila : files) {
        SCOPED_TRACE(fila.Nom);
        Fitxer fitxer(fila.Abans);
        EXPECT_TRUE(fitxer.arxiu.EscriureCadena(fila.Seccio, fila.Clau, fila.Valor));
        EXPECT_EQ(Llegir(fitxer.cami), fila.Despres);
        EXPECT_EQ(fitxer.arxiu.LlegirCadena(fila.Seccio, fila.Clau, "-", 99),
                  fila.Llegit ? fila.Llegit : fila.Valor);
    }
}

TEST(EscripturaCadena, NamesAndValuesTheFileCannotHoldAreRefused) {
    // Section, key and value.
    const std::string files[][3] = {{"", "k", "v"},       {" \t", "k", "v"},   {"s]", "k", "v"},
                                    {"s\r\nt", "k", "v"}, {"s", "", "v"},      {"s", "  ", "v"},
                                    {"s", "k=v", "v"},    {"s", "[t]", "v"},   {"s", ";k", "v"},
                                    {"s", "a\nb", "v"},   {"s", "a\0b"s, "v"}, {"s", "k", "v\r\n[t]"},
                                    {"s", "k", "v\rj=1"}, {"s", "k", "v\0"s}};
    for (const auto& [seccio, clau, valor] : files) {
        SCOPED_TRACE(seccio + "|" + clau + "|" + valor);
        Fitxer fitxer(kSiNo);
        EXPECT_FALSE(fitxer.arxiu.EscriureCadena(seccio, clau, valor));
        EXPECT_EQ(Llegir(fitxer.cami), kSiNo);
    }
}

TEST(ArxiuInservible, DefaultsAndAFailedWriteThatChangesNothing) {
    // Each case is made where the file belongs and gives the path to use. A pipe must be refused at once:
    // opening it for reading would wait for a writer.
    const std::pair<const char*, fs::path (*)(const fs::path& ini)> casos[] = {
        {"NoPath", [](const auto&) { return fs::path(); }},
        {"FolderInTheWay", [](const auto& f) { return fs::create_directory(f), f; }},
        {"FileWhereTheFolderShouldBe", [](const auto& f) { return Posar(f, ""), f / "x.ini"; }},
        {"Pipe", [](const auto& f) { return ::mkfifo(f.c_str(), 0600), f; }},
        {"Huge",
         [](const auto& f) { return Posar(f, kSiNo), fs::resize_file(f, kMidaMaximaArxiuIni + 1), f; }},
        {"Unreadable", [](const auto& f) { return Posar(f, kSiNo), ::chmod(f.c_str(), 0), f; }}};
    for (const auto& [nom, preparar] : casos) {
        if (nom == std::string_view("Unreadable") && ::geteuid() == 0) continue; // root reads any file
        SCOPED_TRACE(nom);
        CarpetaTemporal carpeta;
        const fs::path ini = carpeta.Cami() / "Tessora.ini";
        ArxiuIni arxiu(preparar(ini));
        // What is in the folder, and the kind, size, inode and (when small) bytes of what stands where the
        // file belongs.
        const auto estat = [&] {
            struct stat dades {};
            ::lstat(ini.c_str(), &dades);
            const bool petit = S_ISREG(dades.st_mode) && dades.st_size < 4096;
            return std::tuple(carpeta.Contingut(), dades.st_mode, dades.st_size, dades.st_ino,
                              petit ? Llegir(ini) : "");
        };
        const auto abans = estat();
        EXPECT_FALSE(LlegirVeuAguda(arxiu));
        EXPECT_TRUE(LlegirCastella(arxiu));
        EXPECT_FALSE(EscriureConfiguracio(arxiu, true, false));
        EXPECT_EQ(estat(), abans);
    }
}

TEST(ArxiuInservible, FailedWriteLeavesTheOldFileAndNoTemporary) {
    // A file-size limit makes the disk refuse the new file part-way; the write runs in a child process so
    // the limit and the ignored SIGXFSZ do not reach the other tests.
    const std::string antic = "; " + std::string(3000, '-') + "\r\n" + kNoSi;
    Fitxer fitxer(antic);
    const pid_t fill = ::fork();
    ASSERT_GE(fill, 0);
    if (fill == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(100);
        ::_exit(fitxer.arxiu.EscriureCadena(kSeccioTessora, kClauVeuAguda, kValorSi) ? 1 : 0);
    }
    int estat = 0;
    ASSERT_EQ(::waitpid(fill, &estat, 0), fill);
    EXPECT_TRUE(WIFEXITED(estat) && WEXITSTATUS(estat) == 0) << "the write must report its failure";
    EXPECT_EQ(Llegir(fitxer.cami), antic);
    EXPECT_EQ(fitxer.carpeta.Contingut(), kNomesIni);
}

// Sets or unsets an environment variable for one scope and puts the old value back.
struct VariableEntorn {
    VariableEntorn(const char* nom, const char* valor) : Nom(nom) {
        if (const char* antic = std::getenv(nom)) Antic = antic;
        valor ? ::setenv(nom, valor, 1) : ::unsetenv(nom);
    }
    ~VariableEntorn() { Antic ? ::setenv(Nom, Antic->c_str(), 1) : ::unsetenv(Nom); }
    const char* Nom;
    std::optional<std::string> Antic;
};

TEST(CamiArxiuIni, FromTheEnvironmentWithTheFoldersMade) {
    // XDG_CONFIG_HOME (nullptr: unset), HOME, and where the file lives.
    const char* const casos[][3] = {{"/c/d", "/h", "/c/d/Tessora.ini"},
                                    {nullptr, "/h", "/h/.config/Tessora.ini"},
                                    {"", "/h", "/h/.config/Tessora.ini"},
                                    {"c", "/h", "/h/.config/Tessora.ini"}};
    for (const auto& [xdg, home, esperat] : casos) {
        const VariableEntorn variableXdg("XDG_CONFIG_HOME", xdg);
        const VariableEntorn variableHome("HOME", home);
        EXPECT_EQ(CamiArxiuIni(), fs::path(esperat)) << (xdg ? xdg : "(unset)");
    }
    // The first close makes the folders that are missing.
    CarpetaTemporal carpeta;
    const VariableEntorn xdg("XDG_CONFIG_HOME", (carpeta.Cami() / "nou" / "config").c_str());
    ArxiuIni arxiu(CamiArxiuIni());
    ASSERT_TRUE(EscriureConfiguracio(arxiu, false, true));
    EXPECT_EQ(Llegir(carpeta.Cami() / "nou" / "config" / "Tessora.ini"), kNoSi);
}

} // namespace
} // namespace tessora
