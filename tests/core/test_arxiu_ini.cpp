// The settings file: the exact "SÍ", the bytes read and written in Windows-1252, files that cannot be
// read or replaced, and where the file lives.
#include "ArxiuIni.h"

#include "CarpetaTemporal.h"
#include "PerNom.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace tessora {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

const std::string kMarca = "\xEF\xBB\xBF"; // UTF-8 byte-order mark
const std::string kSiNo = "[Tessora]\r\nVeu aguda=S\xCD\r\nCastell\xE0=NO\r\n";

std::string Llegir(const fs::path& cami) {
    const auto bytes = proves::LlegirBytes(cami);
    return {bytes.begin(), bytes.end()};
}

void Posar(const fs::path& cami, const std::string& bytes) {
    proves::EscriureBytes(cami, {bytes.begin(), bytes.end()});
}

// "Veu aguda" and "Castellà" as read.
std::pair<bool, bool> Llegits(ArxiuIni& arxiu) {
    return {LlegirVeuAguda(arxiu), LlegirCastella(arxiu)};
}
// Both keys holding the same value.
std::string Tots(const std::string& valor) {
    return "[Tessora]\r\nVeu aguda=" + valor + "\r\nCastell\xE0=" + valor + "\r\n";
}

// What the file holds (none: no file), the two settings read from it, and the file after writing
// "Veu aguda" SÍ and "Castellà" NO.
struct FilaArxiu {
    const char* Nom;
    std::optional<std::string> Abans;
    bool VeuAguda, Castella;
    std::string Despres = kSiNo;
};

class Configuracio : public testing::TestWithParam<FilaArxiu> {};

TEST_P(Configuracio, LecturaIEscripturaAmbBytesExactes) {
    proves::CarpetaTemporal carpeta; // without a file, the first write makes its folders too
    const fs::path cami = carpeta.Cami() / "nou" / "config" / "Tessora.ini";
    if (GetParam().Abans) fs::create_directories(cami.parent_path()), Posar(cami, *GetParam().Abans);
    ArxiuIni arxiu(cami);
    EXPECT_EQ(Llegits(arxiu), std::pair(GetParam().VeuAguda, GetParam().Castella));
    ASSERT_TRUE(EscriureConfiguracio(arxiu, true, false));
    EXPECT_EQ(Llegir(cami), GetParam().Despres);
    EXPECT_EQ(Llegits(arxiu), std::pair(true, false));
    EXPECT_EQ(std::distance(fs::directory_iterator(cami.parent_path()), {}), 1); // no temporary left
}

// Only exactly "SÍ" in Windows-1252 is yes. Entries are rewritten where they stand, an entry that holds
// the value already is not touched, new keys go after the last entry of the first section of the name,
// a new section goes at the end on a line of its own, and every other byte stays.
using F = FilaArxiu;
INSTANTIATE_TEST_SUITE_P(
    Fitxers, Configuracio,
    testing::Values(F{"SenseArxiu", std::nullopt, false, true}, F{"Si", Tots("S\xCD"), true, true},
                    F{"Minuscula", Tots("s\xCD"), false, false},
                    F{"SiEnUtf8", Tots("S\xC3\x8D"), false, false},
                    F{"EntreBlancs", Tots(" S\xCD \t"), true, true,
                      "[Tessora]\r\nVeu aguda= S\xCD \t\r\nCastell\xE0=NO\r\n"},
                    F{"SaltsLFIPrimeraEntrada", "[Tessora]\nVeu aguda=S\xCD\nVeu aguda=NO\n\n[t]\n", true,
                      true, "[Tessora]\nVeu aguda=S\xCD\nVeu aguda=NO\nCastell\xE0=NO\r\n\n[t]\n"},
                    F{"NomesLaPrimeraSeccio", "; c\r\n[Tessora]\r\n[t]\r\n[Tessora]\r\nVeu aguda=S\xCD",
                      false, true, "; c\r\n" + kSiNo + "[t]\r\n[Tessora]\r\nVeu aguda=S\xCD"},
                    F{"LiniesSenseIgual", "[Tessora]\r\nVeu aguda\r\n", false, true, kSiNo + "Veu aguda\r\n"},
                    F{"SeccioNovaDespresDUnaLiniaSenseSalt", "[t]\r\nk=1", false, true,
                      "[t]\r\nk=1\r\n" + kSiNo},
                    F{"BytesQualssevol", "\0\xFF[=]\r\r\n;x"s, false, true, "\0\xFF[=]\r\r\n;x\r\n"s + kSiNo},
                    F{"MarcaDOrdreDeBytes", kMarca + Tots("NO"), false, false, kMarca + kSiNo}),
    proves::PerNom{});

// Each case is made where the file belongs and gives the path to use. A pipe must be refused at once:
// opening it for reading would wait for a writer.
using FilaInservible = std::tuple<const char*, fs::path (*)(const fs::path& ini)>;

class ArxiuInservible : public testing::TestWithParam<FilaInservible> {};

TEST_P(ArxiuInservible, ValorsPerDefecteIUnaEscripturaQueNoCanviaRes) {
    const auto& [nom, preparar] = GetParam();
    if (nom == "Illegible"s && ::geteuid() == 0) GTEST_SKIP() << "root reads any file";
    proves::CarpetaTemporal carpeta;
    const fs::path ini = carpeta.Cami() / "Tessora.ini";
    ArxiuIni arxiu(preparar(ini));
    const auto estat = [&] { // the folder's names; the kind, size and inode of what stands at `ini`
        struct stat dades {};
        ::lstat(ini.c_str(), &dades);
        return std::tuple(carpeta.Contingut(), dades.st_mode, dades.st_size, dades.st_ino);
    };
    const auto abans = estat();
    EXPECT_EQ(Llegits(arxiu), std::pair(false, true)); // the defaults
    EXPECT_FALSE(EscriureConfiguracio(arxiu, true, false));
    EXPECT_EQ(estat(), abans);
}

using I = FilaInservible;
INSTANTIATE_TEST_SUITE_P(
    Casos, ArxiuInservible,
    testing::Values(I{"SenseCami", [](const auto&) { return fs::path(); }},
                    I{"CarpetaAlLloc", [](const auto& f) { return fs::create_directory(f), f; }},
                    I{"FitxerOnVaLaCarpeta", [](const auto& f) { return Posar(f, ""), f / "x.ini"; }},
                    I{"Canonada", [](const auto& f) { return ::mkfifo(f.c_str(), 0600), f; }},
                    I{"Enorme",
                      [](const auto& f) {
                          return Posar(f, kSiNo), fs::resize_file(f, kMidaMaximaArxiuIni + 1), f;
                      }},
                    I{"Illegible", [](const auto& f) { return Posar(f, kSiNo), ::chmod(f.c_str(), 0), f; }}),
    proves::PerNom{});

// XDG_CONFIG_HOME (nullptr: unset), HOME, and where the file lives (the end-to-end test runs the program
// with XDG_CONFIG_HOME set). The environment is changed for good: no other test here looks through it.
using FilaCami = std::tuple<const char*, const char*, const char*, const char*>; // name, XDG, HOME, path

class UbicacioArxiu : public testing::TestWithParam<FilaCami> {};

TEST_P(UbicacioArxiu, DeLEntorn) {
    const auto& [nom, xdg, home, cami] = GetParam();
    xdg ? ::setenv("XDG_CONFIG_HOME", xdg, 1) : ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", home, 1);
    EXPECT_EQ(CamiArxiuIni(), fs::path(cami));
}

INSTANTIATE_TEST_SUITE_P(Entorn, UbicacioArxiu,
                         testing::Values(FilaCami{"SenseXdg", nullptr, "/h", "/h/.config/Tessora.ini"},
                                         FilaCami{"XdgRelatiu", "c", "/h", "/h/.config/Tessora.ini"}),
                         proves::PerNom{});

} // namespace
} // namespace tessora
