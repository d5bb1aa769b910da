// The texts of the two languages: a few literal captions, and none left empty.
#include "TextsIdioma.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <iterator>
#include <string>

namespace tessora {
namespace {

template <std::string TextsMenu::*Membre>
std::string Text(Idioma idioma) {
    return Texts(idioma).*Membre;
}

TEST(TextsIdioma, LiteralCaptions) {
    // The About item has its own caption in the menu, and in the menu bar one that follows the mode.
    const struct {
        std::string (*Llegir)(Idioma);
        const char* Catala;
        const char* Castella;
    } files[] = {
        {Text<&TextsMenu::MenuEngegarParar>, "&Engegar/Parar", "&Empezar/Parar"},
        {Text<&TextsMenu::MenuParlant>, "P&arlant de...", "Acerca &de..."},
        {[](Idioma idioma) { return TextParlantBarra(idioma, false); }, "&Parlant de...", "&Acerca &de..."},
        {[](Idioma idioma) { return TextParlantBarra(idioma, true); }, "&Parlant de...", "Acerca &de..."},
        {Text<&TextsMenu::LabelVocals>, "A - AE - È - É - I - O - U", "A - E - I - O - U"},
        {Text<&TextsMenu::ExperimentacioMenuCopiar>, "Copiar a la carpeta els &resultats",
         "Copiar al portapalpeles los &resultados"},
        {[](Idioma idioma) { return std::string(TextAvisSaturacio(idioma)); },
         "Sisplau BAIXEU el volum del micròfon", "Por favor BAJAR el volumen del micrófono"}};
    for (const auto& fila : files) {
        EXPECT_EQ(fila.Llegir(Idioma::Catala), fila.Catala);
        EXPECT_EQ(fila.Llegir(Idioma::Castella), fila.Castella);
    }
}

TEST(TextsIdioma, NoCaptionIsEmpty) {
    for (const Idioma idioma : {Idioma::Catala, Idioma::Castella}) {
        // Every member by its place: a member added to the struct stops this from compiling until it is
        // listed here, so that one forgotten in a language shows up.
        const auto& [t0, t1, t2, t3, t4, t5, t6, t7, t8, t9, t10, t11, t12, t13, t14, t15, t16, t17, t18] =
            Texts(idioma);
        const std::string* textos[] = {&t0,  &t1,  &t2,  &t3,  &t4,  &t5,  &t6,  &t7,  &t8, &t9,
                                       &t10, &t11, &t12, &t13, &t14, &t15, &t16, &t17, &t18};
        for (std::size_t lloc = 0; lloc < std::size(textos); ++lloc)
            EXPECT_FALSE(textos[lloc]->empty())
                << "member " << lloc << " in " << (idioma == Idioma::Catala ? "Catalan" : "Spanish");
    }
}

} // namespace
} // namespace tessora
