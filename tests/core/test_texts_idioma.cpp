// The texts of the two languages against the literal captions, and that no caption is left empty.
#include "TextsIdioma.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <iterator>
#include <string>

namespace tessora {
namespace {

struct FilaText {
    const char* Nom;
    std::string TextsMenu::*Membre;
    const char* Catala;
    const char* Castella;
};

void PrintTo(const FilaText& fila, std::ostream* sortida) {
    *sortida << fila.Nom;
}

class Texts2Idiomes : public testing::TestWithParam<FilaText> {};

TEST_P(Texts2Idiomes, Caption) {
    EXPECT_EQ(Texts(Idioma::Catala).*GetParam().Membre, GetParam().Catala);
    EXPECT_EQ(Texts(Idioma::Castella).*GetParam().Membre, GetParam().Castella);
}

INSTANTIATE_TEST_SUITE_P(
    Files, Texts2Idiomes,
    testing::Values(
        FilaText{"MenuLlengua", &TextsMenu::MenuLlengua, "&Llengua", "&Lenguaje"},
        FilaText{"MenuSortir", &TextsMenu::MenuSortir, "&Sortir", "&Salir"},
        FilaText{"MenuEngegarParar", &TextsMenu::MenuEngegarParar, "&Engegar/Parar", "&Empezar/Parar"},
        FilaText{"MenuGrafics", &TextsMenu::MenuGrafics, "&Gràfics", "&Gráficos"},
        FilaText{"MenuParlant", &TextsMenu::MenuParlant, "P&arlant de...", "Acerca &de..."},
        FilaText{"MenuControlDeVolumen", &TextsMenu::MenuControlDeVolumen,
                 "Control de volumen del micròfon...", "Control de volumen del micrófono..."},
        FilaText{"CheckBoxVeuAguda", &TextsMenu::CheckBoxVeuAguda, "Veu aguda", "Voz aguda"},
        FilaText{"LabelVocals", &TextsMenu::LabelVocals, "A - AE - È - É - I - O - U", "A - E - I - O - U"},
        FilaText{"TitolPrincipal", &TextsMenu::TitolPrincipal, "Tessora - https://example.org/tessora",
                 "Tessora - https://example.org/tessora"},
        FilaText{"TitolDiguesParaula", &TextsMenu::TitolDiguesParaula, "Digues la vocal:", "Di la vocal:"},
        FilaText{"TitolExperimentacio", &TextsMenu::TitolExperimentacio,
                 "Tessora - Mòdul d'experimentació - Projecte Nivara 2003 - https://example.org/tessora",
                 "Tessora - Módulo de experimentación - Projecte Nivara 2003 - https://example.org/tessora"},
        FilaText{"ExperimentacioMenuFitxer", &TextsMenu::ExperimentacioMenuFitxer, "&Fitxer", "&Archivo"},
        FilaText{"ExperimentacioMenuCopiar", &TextsMenu::ExperimentacioMenuCopiar,
                 "Copiar a la carpeta els &resultats", "Copiar al portapalpeles los &resultados"},
        FilaText{"ParlantBarraNormal", &TextsMenu::ParlantBarraNormal, "&Parlant de...", "&Acerca &de..."},
        FilaText{"ParlantBarraExperimentador", &TextsMenu::ParlantBarraExperimentador, "&Parlant de...",
                 "Acerca &de..."}),
    [](const testing::TestParamInfo<FilaText>& info) { return std::string(info.param.Nom); });

TEST(TextsIdioma, AboutItemOfTheMenuBarFollowsTheMode) {
    EXPECT_EQ(TextParlantBarra(Idioma::Castella, false), "&Acerca &de...");
    EXPECT_EQ(TextParlantBarra(Idioma::Castella, true), "Acerca &de...");
    EXPECT_EQ(TextParlantBarra(Idioma::Catala, false), "&Parlant de...");
    EXPECT_EQ(TextParlantBarra(Idioma::Catala, true), "&Parlant de...");
}

TEST(TextsIdioma, ClippingWarning) {
    EXPECT_EQ(TextAvisSaturacio(Idioma::Catala), "Sisplau BAIXEU el volum del micròfon");
    EXPECT_EQ(TextAvisSaturacio(Idioma::Castella), "Por favor BAJAR el volumen del micrófono");
}

// Every member, so that a caption added to the struct and forgotten in one language shows up here.
constexpr std::string TextsMenu::*kMembres[] = {
    &TextsMenu::MenuLlengua,
    &TextsMenu::MenuFitxer,
    &TextsMenu::MenuGuardar,
    &TextsMenu::MenuExperimentar,
    &TextsMenu::MenuSortir,
    &TextsMenu::MenuEngegarParar,
    &TextsMenu::MenuGrafics,
    &TextsMenu::MenuParlant,
    &TextsMenu::MenuControlDeVolumen,
    &TextsMenu::CheckBoxVeuAguda,
    &TextsMenu::LabelVocals,
    &TextsMenu::TitolPrincipal,
    &TextsMenu::TitolDiguesParaula,
    &TextsMenu::TitolExperimentacio,
    &TextsMenu::ExperimentacioMenuFitxer,
    &TextsMenu::ExperimentacioMenuExperimentar,
    &TextsMenu::ExperimentacioMenuCopiar,
    &TextsMenu::ParlantBarraNormal,
    &TextsMenu::ParlantBarraExperimentador,
};
static_assert(sizeof(TextsMenu) == std::size(kMembres) * sizeof(std::string),
              "every member of TextsMenu is listed in kMembres");

TEST(TextsIdioma, NoCaptionIsEmpty) {
    for (const Idioma idioma : {Idioma::Catala, Idioma::Castella})
        for (std::size_t i = 0; i < std::size(kMembres); ++i)
            EXPECT_FALSE((Texts(idioma).*kMembres[i]).empty())
                << "member " << i << " in " << (idioma == Idioma::Catala ? "Catalan" : "Spanish");
}

} // namespace
} // namespace tessora
