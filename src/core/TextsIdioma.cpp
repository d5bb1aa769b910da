#include "TextsIdioma.h"

#include "Fabricant.h"

namespace tessora {

namespace {

std::string AmbAdrecaWeb(std::string_view titol) {
    return std::string(titol) + " - " + std::string(kAdrecaWeb);
}

TextsMenu TextsCatala() {
    TextsMenu texts;
    texts.MenuLlengua = "&Llengua";
    texts.MenuFitxer = "&Fitxer";
    texts.MenuGuardar = "&Guardar";
    texts.MenuExperimentar = "&Experimentar";
    texts.MenuSortir = "&Sortir";
    texts.MenuEngegarParar = "&Engegar/Parar";
    texts.MenuGrafics = "&Gràfics";
    texts.MenuParlant = "P&arlant de...";
    texts.MenuControlDeVolumen = "Control de volumen del micròfon...";
    texts.CheckBoxVeuAguda = "Veu aguda";
    texts.LabelVocals = "A - AE - È - É - I - O - U";
    texts.TitolPrincipal = AmbAdrecaWeb(kTitolAplicacio);
    texts.TitolDiguesParaula = "Digues la vocal:";
    texts.TitolExperimentacio = AmbAdrecaWeb("Tessora - Mòdul d'experimentació - Projecte Nivara 2003");
    texts.ExperimentacioMenuFitxer = "&Fitxer";
    texts.ExperimentacioMenuExperimentar = "&Experimentar";
    texts.ExperimentacioMenuCopiar = "Copiar a la carpeta els &resultats";
    texts.ParlantBarraNormal = "&Parlant de...";
    texts.ParlantBarraExperimentador = "&Parlant de...";
    return texts;
}

TextsMenu TextsCastella() {
    TextsMenu texts;
    texts.MenuLlengua = "&Lenguaje";
    texts.MenuFitxer = "&Archivo";
    texts.MenuGuardar = "&Guardar";
    texts.MenuExperimentar = "&Experimentar";
    texts.MenuSortir = "&Salir";
    texts.MenuEngegarParar = "&Empezar/Parar";
    texts.MenuGrafics = "&Gráficos";
    texts.MenuParlant = "Acerca &de...";
    texts.MenuControlDeVolumen = "Control de volumen del micrófono...";
    texts.CheckBoxVeuAguda = "Voz aguda";
    texts.LabelVocals = "A - E - I - O - U";
    texts.TitolPrincipal = AmbAdrecaWeb(kTitolAplicacio);
    texts.TitolDiguesParaula = "Di la vocal:";
    texts.TitolExperimentacio = AmbAdrecaWeb("Tessora - Módulo de experimentación - Projecte Nivara 2003");
    texts.ExperimentacioMenuFitxer = "&Archivo";
    texts.ExperimentacioMenuExperimentar = "&Experimentar";
    texts.ExperimentacioMenuCopiar = "Copiar al portapalpeles los &resultados";
    texts.ParlantBarraNormal = "&Acerca &de...";
    texts.ParlantBarraExperimentador = "Acerca &de...";
    return texts;
}

} // namespace

const TextsMenu& Texts(Idioma idioma) {
    static const TextsMenu catala = TextsCatala();
    static const TextsMenu castella = TextsCastella();
    return idioma == Idioma::Castella ? castella : catala;
}

const std::string& TextParlantBarra(Idioma idioma, bool modeExperimentador) {
    const TextsMenu& texts = Texts(idioma);
    return modeExperimentador ? texts.ParlantBarraExperimentador : texts.ParlantBarraNormal;
}

std::string_view TextAvisSaturacio(Idioma idioma) {
    return idioma == Idioma::Castella ? "Por favor BAJAR el volumen del micrófono"
                                      : "Sisplau BAIXEU el volum del micròfon";
}

std::string_view TextEntradaPerduda(Idioma idioma) {
    return idioma == Idioma::Castella ? "Se ha perdido el dispositivo de entrada"
                                      : "S'ha perdut el dispositiu d'entrada";
}

} // namespace tessora
