// The texts of the user interface in its two languages, as data for the windows to show.
//
// The language itself is the check mark of the main window's MenuCastellano; these are the captions the
// two language commands set. Texts are UTF-8; '&' marks the item's access key.
#pragma once

#include <string>
#include <string_view>

namespace tessora {

enum class Idioma { Catala, Castella };

// The application's title, set at start-up.
inline constexpr std::string_view kTitolAplicacio = "Tessora";

struct TextsMenu {
    // Main window: menus and the tool panel.
    std::string MenuLlengua;
    std::string MenuFitxer;
    std::string MenuGuardar;
    std::string MenuExperimentar;
    std::string MenuSortir;
    std::string MenuEngegarParar;
    std::string MenuGrafics;
    std::string MenuParlant; // the About item's own caption
    std::string MenuControlDeVolumen;
    std::string CheckBoxVeuAguda;
    std::string LabelVocals; // the vowel set of the language
    // Window captions.
    std::string TitolPrincipal;      // "Tessora - " and the maker's web address
    std::string TitolDiguesParaula;  // the prompt dialog
    std::string TitolExperimentacio; // ends with " - " and the maker's web address
    // Experimentation window menus.
    std::string ExperimentacioMenuFitxer;
    std::string ExperimentacioMenuExperimentar;
    std::string ExperimentacioMenuCopiar;
    // The About item as shown at the right-hand end of the menu bar, which replaces MenuParlant's
    // caption there.
    std::string ParlantBarraNormal;
    std::string ParlantBarraExperimentador;
};

const TextsMenu& Texts(Idioma idioma);

// The text of the About item in the menu bar for the given mode.
const std::string& TextParlantBarra(Idioma idioma, bool modeExperimentador);

// The main window caption while the input clips.
std::string_view TextAvisSaturacio(Idioma idioma);

// Shown when the input device is lost while listening (the sound server went away).
std::string_view TextEntradaPerduda(Idioma idioma);

} // namespace tessora
