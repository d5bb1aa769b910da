// tessora-cli on several recordings: their order and errors, --jobs, their TextGrids, and the score
// against annotations of synthetic vowels whose identity is known, pooled again from the CSVs of parts.
#include "CarpetaTemporal.h"
#include "ExecucioCliDeProva.h"
#include "GraellaTessora.h"
#include "SubstitucioFitxer.h"
#include "UnitWave.h"
#include "VocalSintetica.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tessora {
namespace {

using proves::Executar;

// Quiet, then utterances of six blocks with quiet between: an open vowel the recogniser calls A (blocks
// 3-8, analysed at 4), a back one it calls O (12-17, at 13), a front one it calls U (21-26, at 22), and A
// again (30-35, at 31); quiet to block 39.
void EscriureGravacio(const std::filesystem::path& cami) {
    const struct { double F1, F2; } vocals[] = {{800, 1200}, {500, 900}, {450, 2000}, {800, 1200}};
    std::vector<std::uint8_t> so(3 * 512, 128);
    for (const auto& v : vocals) {
        const auto bloc = proves::BytesVocalSintetica(88, v.F1, v.F2, 100);
        for (int b = 0; b < 6; ++b)
            so.insert(so.end(), bloc.begin(), bloc.end());
        so.insert(so.end(), 3 * 512, 128);
    }
    so.insert(so.end(), 300, 128); // a partial block: read, not analysed
    ASSERT_EQ(EscriureWav(cami, 0, so), kWavCorrecte);
}

// Its annotations: A, O and a mistaken E answered; an I where nothing was said; an unknown label; the
// second A left unlabelled (an insertion).
std::string Anotacions() {
    const auto t = [](int bloc) { return std::to_string(TempsBloc(bloc)); };
    return "start\tend\tlabel\n" + t(3) + '\t' + t(9) + "\ta\n" + t(12) + '\t' + t(18) + "\to\n" + t(21) +
           '\t' + t(27) + "\tE\n" + t(36) + '\t' + t(38) + "\ti\n0\t0.05\tschwa\n";
}

struct Corpus {
    proves::CarpetaTemporal carpeta;
    std::vector<std::string> fitxers;
    std::string anotacions = (carpeta.Cami() / "anotacions").string();
    explicit Corpus(int n) {
        std::filesystem::create_directory(anotacions);
        for (int i = 1; i <= n; ++i) {
            const std::string nom = "s" + std::to_string(i);
            EscriureGravacio(carpeta.Cami() / (nom + ".wav"));
            SubstituirFitxer(std::filesystem::path(anotacions) / (nom + ".tsv"), Anotacions());
            fitxers.push_back((carpeta.Cami() / (nom + ".wav")).string());
        }
    }
    std::vector<std::string> Amb(std::vector<std::string> opcions, std::size_t primer = 0,
                                 std::size_t fi = SIZE_MAX) const {
        opcions.insert(opcions.end(), fitxers.begin() + static_cast<std::ptrdiff_t>(primer),
                       fitxers.begin() + static_cast<std::ptrdiff_t>(std::min(fi, fitxers.size())));
        return opcions;
    }
};

TEST(FitxersCli, PuntuaLesVocalsConegudes) {
    const Corpus c(1);
    const std::string tsv = c.anotacions + "/s1.tsv";
    const auto csv = Executar({"--avalua", tsv, "--csv", c.fitxers[0]});
    ASSERT_EQ(csv.codi, 0) << csv.errors;
    std::string respostes; // label:answer:block of every row
    std::istringstream files(csv.sortida);
    for (std::string fila; std::getline(files, fila);) {
        std::vector<std::string> camps;
        std::istringstream f(fila);
        for (std::string camp; std::getline(f, camp, ',');)
            camps.push_back(camp);
        camps.resize(9);
        respostes += camps[3] + ':' + camps[4] + ':' + camps[5] + ' ';
    }
    EXPECT_EQ(respostes, "label:answer:block a:A:4 o:O:13 E:U:22 i:: schwa:: :A:31 ");

    const auto taula = Executar({"--avalua", tsv, c.fitxers[0]});
    EXPECT_EQ(taula.codi, 0);
    for (const char* linia : {"\nSurt             1  1  1    1  0      4        2      50\n",
                              "\nU                0  1  0    0  0\nsin respuesta    0  0  1    0  0\n",
                              "\ninserciones: 1\nno puntuados: 1\n"})
        EXPECT_NE(taula.sortida.find(linia), std::string::npos) << taula.sortida;
}

// Two halves scored apart and pooled give the table of the whole; four workers write what one writes.
TEST(FitxersCli, LesMeitatsAgregadesFanElTotIElsTreballsNoCanvienRes) {
    const Corpus c(4);
    const auto tot = Executar(c.Amb({"--avalua", c.anotacions, "--jobs", "1"}));
    ASSERT_EQ(tot.codi, 0) << tot.errors;
    EXPECT_EQ(tot.sortida.find("# " + c.fitxers[0] + "\n"), 0u);
    EXPECT_NE(tot.sortida.find("\n# total\n"), std::string::npos);
    EXPECT_EQ(Executar(c.Amb({"--avalua", c.anotacions, "--jobs", "4"})).sortida, tot.sortida);
    for (const auto& opcions : {std::vector<std::string>{"--continu"}, {"--csv"}})
        EXPECT_EQ(Executar(c.Amb(opcions)).sortida, Executar(c.Amb(opcions)).sortida);

    const std::string meitats[] = {(c.carpeta.Cami() / "a.csv").string(),
                                   (c.carpeta.Cami() / "b.csv").string()};
    for (std::size_t i = 0; i < 2; ++i)
        SubstituirFitxer(meitats[i],
                         Executar(c.Amb({"--avalua", c.anotacions, "--csv"}, 2 * i, 2 * i + 2)).sortida);
    EXPECT_EQ(Executar({"--agrega", meitats[0], meitats[1]}).sortida, tot.sortida);
}

// One file that cannot be used gives its line and the worst status; the others are still done.
TEST(FitxersCli, UnFitxerDolentNoAturaElsAltres) {
    const Corpus c(2);
    SubstituirFitxer(c.anotacions + "/s2.tsv", "0\t1\ta\n2\t1\tb\n");
    const auto r = Executar({"--avalua", c.anotacions, "--csv", c.fitxers[0], "/no/x.wav", c.fitxers[1]});
    EXPECT_EQ(r.codi, 2);
    EXPECT_EQ(r.errors, "tessora-cli: /no/x.wav: no annotations: none of " + c.anotacions +
                            "/x.TextGrid, .tsv or .csv\ntessora-cli: " + c.anotacions +
                            "/s2.tsv:2: the end is not after the start\n");
    EXPECT_EQ(r.sortida, Executar({"--avalua", c.anotacions + "/s1.tsv", "--csv", c.fitxers[0]}).sortida);
    const auto linies = Executar({c.fitxers[0], "/no/x.wav"});
    EXPECT_EQ(std::tuple(linies.codi, linies.sortida.substr(0, linies.sortida.find('\t'))),
              std::tuple(2, "# " + c.fitxers[0] + "\n4"));
    EXPECT_TRUE(linies.sortida.ends_with("\n# /no/x.wav\n"));
    // A pool missing a part would pass for the whole: nothing is written.
    const std::string bo = (c.carpeta.Cami() / "bo.csv").string();
    SubstituirFitxer(bo, Executar({"--avalua", c.anotacions + "/s1.tsv", "--csv", c.fitxers[0]}).sortida);
    const auto agregat = Executar({"--agrega", bo, c.anotacions + "/s2.tsv"});
    EXPECT_EQ(std::tuple(agregat.codi, agregat.sortida), std::tuple(2, ""));
}

// A grid per recording in the folder; for one recording, the file named, replaced whole; a folder in
// its place is reported and kept.
TEST(FitxersCli, UnaGraellaPerGravacio) {
    const Corpus c(2);
    const auto carpeta = c.carpeta.Cami() / "graelles";
    ASSERT_EQ(Executar(c.Amb({"--textgrid", carpeta.string()})).codi, 0);
    const auto graella = LlegirTextGrid(carpeta / "s2.TextGrid");
    ASSERT_TRUE(std::holds_alternative<TextGrid>(graella));
    const TextGrid& g = std::get<TextGrid>(graella);
    std::string etiquetes;
    for (const IntervalTextGrid& interval : g.Capes.at(0).Intervals)
        etiquetes += interval.Text + '|';
    EXPECT_EQ(etiquetes, "|A||O||U||A||");
    EXPECT_EQ(g.Fi, (39 * 512 + 300) / 11025.0);

    const auto un = c.carpeta.Cami() / "un.TextGrid";
    SubstituirFitxer(un, "abans");
    EXPECT_EQ(Executar({"--textgrid", un.string(), c.fitxers[1]}).codi, 0);
    EXPECT_EQ(proves::LlegirBytes(un), proves::LlegirBytes(carpeta / "s2.TextGrid"));
    const auto r = Executar({"--textgrid", carpeta.string(), c.fitxers[0]});
    EXPECT_EQ(std::tuple(r.codi, r.errors), std::tuple(1, "tessora-cli: No se puede crear el archivo " +
                                                              carpeta.string() + ": Is a directory\n"));
    EXPECT_EQ(std::filesystem::is_directory(carpeta) ? 2 : 0, 2);
}

} // namespace
} // namespace tessora
