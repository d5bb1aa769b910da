// The other side of the test with Praat (tests/e2e/prova_textgrid_praat.sh):
//   eina_textgrid llista FILE    lists the grid our reader reads, as the Praat script lists it
//   eina_textgrid escriu FOLDER  writes grids (NAME.TextGrid) and what they hold (NAME.esperat)
#include "GraellaTessora.h"
#include "SubstitucioFitxer.h"

#include <iostream>

namespace tessora {
namespace {

std::string Llista(const TextGrid& g) {
    std::string s = NombrePraat(g.Inici) + '\t' + NombrePraat(g.Fi) + '\n';
    for (const CapaTextGrid& capa : g.Capes) {
        s += (capa.Classe == CapaTextGrid::Tipus::Intervals ? "IntervalTier\t" : "TextTier\t") + capa.Nom +
             '\n';
        for (const IntervalTextGrid& i : capa.Intervals)
            s += NombrePraat(i.Inici) + '\t' + NombrePraat(i.Fi) + '\t' + i.Text + '\n';
        for (const PuntTextGrid& p : capa.Punts)
            s += NombrePraat(p.Temps) + '\t' + p.Marca + '\n';
    }
    return s;
}

int Escriure(const std::filesystem::path& carpeta) {
    // Utterances side by side (blocks 20 and 21), one without a vowel, points with and without one.
    const EmissioGravacio emissions[] = {{21, 40, "È"}, {3, 9, "A"}, {20, 20, ""}};
    const AnalisiBloc analisis[] = {
        {22, "È", 180, 700.0f, 550}, {4, "A", 91, 818.0f, 582}, {21, "", 0, 0.0f, 0}};
    // Labels Praat must take back as written; times that need 16 and 17 digits; a point tier left empty.
    using enum CapaTextGrid::Tipus;
    const TextGrid etiquetes{
        -0.25,
        1e5,
        {{Intervals,
          "a \"b\"",
          -0.25,
          1e5,
          {{-0.25, 0.1 + 0.2, "di\"\"u"}, {0.1 + 0.2, 1.0 / 3, "Ò ñ €\nsegona"}, {1.0 / 3, 1e5, ""}},
          {}},
         {Punts, "buida", -0.25, 1e5, {}, {}}}};
    for (const auto& [nom, graella] :
         {std::pair{"tessora", GraellaTessora(emissions, analisis, 1.0)}, {"etiquetes", etiquetes}})
        if (!SubstituirFitxer(carpeta / (nom + std::string(".TextGrid")), EscriureTextGrid(graella)) ||
            !SubstituirFitxer(carpeta / (nom + std::string(".esperat")), Llista(graella)))
            return 1;
    return 0;
}

} // namespace
} // namespace tessora

int main(int argc, char** argv) {
    using namespace tessora;
    const std::string ordre = argc == 3 ? argv[1] : "";
    if (ordre == "escriu") return Escriure(argv[2]);
    if (ordre != "llista") return std::cerr << "usage: eina_textgrid llista FILE | escriu FOLDER\n", 2;
    const auto graella = LlegirTextGrid(argv[2]);
    if (const auto* error = std::get_if<ErrorFitxer>(&graella)) return std::cerr << error->Text() << '\n', 2;
    std::cout << Llista(std::get<TextGrid>(graella));
    return 0;
}
