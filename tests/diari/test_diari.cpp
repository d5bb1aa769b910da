#include "Diari.h"

#include "CarpetaTemporal.h"
#include "PerNom.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/mount.h>

namespace tessora {
namespace {

namespace fs = std::filesystem;

// A run of `proves` trials, each one's fields set or not in turn so every column meets both.
CursaDiari Cursa(std::string parlant, std::int64_t inici, bool castella = false, int proves = 3) {
    CursaDiari cursa{0,        std::move(parlant),
                     inici,    inici + 60,
                     castella, true,
                     false,    {{"OrdreLPC", "11"}, {"Preemfasis", "1"}},
                     "",       {}};
    for (int i = 0; i < proves; ++i) {
        const bool amb = i % 2 == 0;
        cursa.Proves.push_back({castella ? "E" : "È", amb ? std::optional<std::string>("A") : std::nullopt,
                                amb ? std::optional(180.25f + i) : std::nullopt,
                                amb ? std::optional(0.1f) : std::nullopt,
                                amb ? std::optional(-3.5f) : std::nullopt,
                                amb ? std::optional<std::int64_t>(1536 * i) : std::nullopt});
    }
    return cursa;
}

sqlite3* Connexio(const fs::path& fitxer) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open(fitxer.c_str(), &db), SQLITE_OK);
    return db;
}

TEST(Diari, DesaILlegeixCursesIImportacions) {
    proves::CarpetaTemporal carpeta;
    const fs::path fitxer = carpeta.Cami() / "tessora" / "diari.sqlite";
    std::vector<CursaDiari> desades = {Cursa("Núria", 200), Cursa("", 100, true),
                                       Cursa("Anna", 300, false, 0)};
    {
        Diari diari(fitxer);
        for (CursaDiari& cursa : desades)
            EXPECT_TRUE(diari.Desar(cursa, &cursa.Id).Correcte());
        CursaDiari importada = Cursa("Anna", 100);
        importada.Origen = "Anna.wav.txt";
        EXPECT_TRUE(diari.Importar(importada, "bytes\r", &importada.Id).Correcte());
        desades.push_back(importada);
        std::int64_t id = 0;
        EXPECT_EQ(diari.Importar(Cursa("Pere", 1), "bytes\r", &id).Estat, EstatDiari::JaImportat);
        EXPECT_EQ(id, importada.Id);
    }
    Diari diari(fitxer);
    EXPECT_EQ(diari.Parlants(), (std::vector<std::string>{"Anna", "Núria"}));
    EXPECT_EQ(diari.Curses(), (std::vector{desades[1], desades[3], desades[0], desades[2]}));
    EXPECT_EQ(diari.Curses({"Anna", false}), (std::vector{desades[3], desades[2]}));
    EXPECT_EQ(diari.Curses({"", std::nullopt}), (std::vector{desades[1]}));
    EXPECT_TRUE(diari.Curses({"Pere", std::nullopt}).empty());
    EXPECT_EQ(diari.Curses({std::nullopt, true}), (std::vector{desades[1]}));
}

TEST(Diari, MigraUnDiariDeLaPrimeraVersio) {
    proves::CarpetaTemporal carpeta;
    const fs::path fitxer = carpeta.Cami() / "diari.sqlite";
    sqlite3* db = Connexio(fitxer);
    EXPECT_EQ(sqlite3_exec(
                  db,
                  (std::string(MigracioDiari(1)) +
                   "INSERT INTO parlants VALUES (7, 'Anna');"
                   "INSERT INTO curses VALUES (3, 7, 100, 160, 0, 1, 0);"
                   "INSERT INTO parametres VALUES (3, 0, 'OrdreLPC', '11'), (3, 1, 'Preemfasis', '1');"
                   "INSERT INTO proves VALUES (3, 0, 'È', 'A', 180.25, 0.1, -3.5, 0),"
                   " (3, 1, 'È', NULL, NULL, NULL, NULL, NULL), (3, 2, 'È', 'A', 182.25, 0.1, -3.5, 3072);")
                      .c_str(),
                  nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    CursaDiari esperada = Cursa("Anna", 100);
    esperada.Id = 3;
    Diari diari(fitxer);
    EXPECT_EQ(diari.Curses(), std::vector{esperada});
    EXPECT_TRUE(diari.Importar(Cursa("Anna", 400), "x").Correcte());
}

// What keeps a second run from being stored for a while, and what that is called.
enum class Bloqueig { AltreProgramaEscrivint, DiscPle, NomesLectura };
struct FilaBloqueig {
    const char* Nom;
    Bloqueig Cas;
    EstatDiari Estat;
    friend void PrintTo(const FilaBloqueig& fila, std::ostream* sortida) { *sortida << fila.Nom; }
};

// A small file system mounted over a folder while it lives (when the system lets us mount).
struct Muntatge {
    explicit Muntatge(const fs::path& carpeta) : Cami(carpeta) {
        Muntat = ::mount("tessora", Cami.c_str(), "tmpfs", 0, "size=256k") == 0;
    }
    ~Muntatge() {
        if (Muntat) ::umount(Cami.c_str());
    }
    bool Remuntar(unsigned long opcions) const {
        return ::mount({}, Cami.c_str(), {}, MS_REMOUNT | opcions, {}) == 0;
    }
    fs::path Cami;
    bool Muntat;
};

class DiariBloquejat : public testing::TestWithParam<FilaBloqueig> {};

// The run is kept while the journal cannot take it and stored, before the next one, once it can.
TEST_P(DiariBloquejat, GuardaLaCursaIDesaMesTard) {
    const FilaBloqueig& fila = GetParam();
    proves::CarpetaTemporal carpeta;
    const fs::path& muntatge = carpeta.Cami();
    const fs::path fitxer = muntatge / "diari.sqlite";
    std::optional<Muntatge> disc;
    if (fila.Cas != Bloqueig::AltreProgramaEscrivint && !disc.emplace(muntatge).Muntat)
        GTEST_SKIP() << "no file system can be mounted here";
    std::vector<CursaDiari> desades = {Cursa("Anna", 1, false, 100), Cursa("Anna", 2), Cursa("Anna", 3)};
    EXPECT_TRUE(Diari(fitxer).Desar(desades[0], &desades[0].Id).Correcte());
    sqlite3* altre = nullptr;
    if (fila.Cas == Bloqueig::AltreProgramaEscrivint) {
        altre = Connexio(fitxer);
        EXPECT_EQ(sqlite3_exec(altre, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    if (fila.Cas == Bloqueig::DiscPle)
        proves::EscriureBytes(muntatge / "ple", std::vector<std::uint8_t>(1 << 20));
    EXPECT_TRUE(fila.Cas != Bloqueig::NomesLectura || disc->Remuntar(MS_RDONLY));
    {
        Diari diari(fitxer, std::chrono::milliseconds(50));
        EXPECT_EQ(diari.Desar(desades[1]).Estat, fila.Estat);
        EXPECT_EQ(diari.Pendents(), 1u);
        sqlite3_close(altre);
        if (fila.Cas == Bloqueig::DiscPle) fs::remove(muntatge / "ple");
        EXPECT_TRUE(fila.Cas != Bloqueig::NomesLectura || disc->Remuntar(0));
        EXPECT_TRUE(diari.Desar(desades[2], &desades[2].Id).Correcte());
        desades[1].Id = desades[2].Id - 1;
        EXPECT_EQ(diari.Pendents(), 0u);
        EXPECT_EQ(diari.Curses(), desades);
    }
}

INSTANTIATE_TEST_SUITE_P(
    , DiariBloquejat,
    testing::Values(FilaBloqueig{"Ocupat", Bloqueig::AltreProgramaEscrivint, EstatDiari::Ocupat},
                    FilaBloqueig{"Ple", Bloqueig::DiscPle, EstatDiari::Ple},
                    FilaBloqueig{"NomesLectura", Bloqueig::NomesLectura, EstatDiari::NomesLectura}),
    proves::PerNom{});

// A file that is not a journal: its bytes before the journal opens it.
struct FilaMalmes {
    const char* Nom;
    bool BaseDeDades; // a real journal with its second page overwritten, else text
    friend void PrintTo(const FilaMalmes& fila, std::ostream* sortida) { *sortida << fila.Nom; }
};

class DiariMalmes : public testing::TestWithParam<FilaMalmes> {};

TEST_P(DiariMalmes, EsDeixaApartISComencaUnDeNou) {
    proves::CarpetaTemporal carpeta;
    const fs::path fitxer = carpeta.Cami() / "diari.sqlite";
    std::vector<std::uint8_t> bytes(5000, 'x');
    if (GetParam().BaseDeDades) {
        EXPECT_TRUE(Diari(fitxer).Desar(Cursa("Anna", 1, false, 100)).Correcte());
        bytes = proves::LlegirBytes(fitxer);
        std::fill(bytes.begin() + 4096, bytes.begin() + 8192, 0x55);
    }
    proves::EscriureBytes(fitxer, bytes);
    Diari diari(fitxer);
    const ResultatDiari resultat = diari.Obrir();
    EXPECT_EQ(resultat.Estat, EstatDiari::Apartat);
    EXPECT_EQ(proves::LlegirBytes(resultat.Apartat), bytes);
    EXPECT_EQ(resultat.Apartat.filename().string().substr(0, 20), "diari.sqlite.malmes-");
    CursaDiari nova = Cursa("Pere", 2);
    EXPECT_TRUE(diari.Desar(nova, &nova.Id).Correcte());
    EXPECT_EQ(diari.Curses(), std::vector{nova});
}

INSTANTIATE_TEST_SUITE_P(, DiariMalmes,
                         testing::Values(FilaMalmes{"Text", false}, FilaMalmes{"PaginaSobreescrita", true}),
                         proves::PerNom{});

} // namespace
} // namespace tessora
