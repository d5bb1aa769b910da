#include "ConfusioDiari.h"

namespace tessora {

TaulaAvaluacio TaulaCurses(std::span<const CursaDiari> curses, Idioma idioma) {
    TaulaAvaluacio taula;
    taula.Llengua = idioma;
    taula.N = static_cast<int>(VocalsIdioma(idioma).size());
    for (const CursaDiari& cursa : curses) {
        if (cursa.Castella != (idioma == Idioma::Castella)) continue;
        for (const ProvaDiari& prova : cursa.Proves) {
            const int demanada = VocalEtiqueta(prova.Demanada, idioma);
            if (demanada == 0) continue;
            const int reconeguda = prova.Reconeguda ? VocalEtiqueta(*prova.Reconeguda, idioma) : 0;
            ++taula.Confusio[static_cast<std::size_t>(demanada)][static_cast<std::size_t>(reconeguda)];
            ++taula.Puntuats;
            taula.Encerts += reconeguda == demanada;
            taula.SenseResposta += reconeguda == 0;
        }
    }
    return taula;
}

} // namespace tessora
