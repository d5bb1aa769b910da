// A results text made as the program makes it: an experiment run through core on the given trials and
// exported by TextResultats, with the confusion table its grid shows.
#pragma once

#include "Avaluacio.h"
#include "ResultatsExperiment.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tessora::proves {

struct ExportacioDeProva {
    std::string Text;     // the results text's bytes
    TaulaAvaluacio Taula; // the grid's counts: [prompted][recognised], Puntuats and Encerts
};

// `proves`: (prompted, recognised) vowels, 1..N of the set of capcalera.Castella, in order. Runs of 100 are
// restarted as the speaker would; every answer's block has features that tell the trials apart.
inline ExportacioDeProva Exportacio(const std::vector<std::pair<int, int>>& proves,
                                    const CapcaleraResultats& capcalera) {
    struct Font : FontAleatoria {
        void Sembrar() override {}
        // The prompt after the last trial is never answered.
        std::int32_t Enter(std::int32_t) override {
            return Tirades < Valors->size() ? (*Valors)[Tirades++].first - 1 : 0;
        }
        const std::vector<std::pair<int, int>>* Valors = nullptr;
        std::size_t Tirades = 0;
    } font;
    font.Valors = &proves;
    const Idioma idioma = capcalera.Castella ? Idioma::Castella : Idioma::Catala;
    const std::unique_ptr<BufferSo> buffer = BufferSo::Crear();
    Experiment x(*buffer, font);
    x.PrepararTaules(idioma, capcalera.ModeExperimentador);
    for (std::size_t k = 0; k < proves.size(); ++k) {
        if (!x.EnMarxa()) x.Experimentar([] { return true; });
        const auto i = static_cast<std::int32_t>(k);
        x.EscriureBlocActual({100 + i, 500.0f + i, 3, 400 + i, 90, 900.0f + i});
        x.ProcessarBlocExperiment(VocalsIdioma(idioma)[static_cast<std::size_t>(proves[k].second - 1)]);
        x.AcabarPausa();
    }
    ExportacioDeProva e{TextResultats(x, capcalera), {}};
    e.Taula.Llengua = idioma;
    e.Taula.N = x.NombreVocalsExperiment();
    for (int i = 1; i <= e.Taula.N; ++i)
        for (int j = 1; j <= e.Taula.N; ++j) {
            const auto n = std::stoll(x.Cella(GridExperiment::Errors, i, j + 1));
            e.Taula.Confusio[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] = n;
            e.Taula.Puntuats += n;
            e.Taula.Encerts += i == j ? n : 0;
        }
    return e;
}

} // namespace tessora::proves
