#include "UnitFormExperimentacio.h"

#include <QMenuBar>

namespace {
QString Q(const std::string& text) {
    return QString::fromStdString(text);
}
} // namespace

namespace tessora {

TFormExperimentacio::TFormExperimentacio(QWidget* parent) : QMainWindow(parent) {
    MenuFitxer = menuBar()->addMenu(QString());
    MenuExperimentacioExperimentar = MenuFitxer->addAction(QString());
    MenuExperimentacioCopiarALaCarpetaElsResultats = MenuFitxer->addAction(QString());
    MenuExperimentacioParar = MenuFitxer->addAction(Q(Text(Idioma::Catala, IdText::ExperimentacioMenuParar)));
    AplicarTexts(Idioma::Catala);
}

void TFormExperimentacio::AplicarTexts(Idioma idioma) {
    setWindowTitle(Q(Text(idioma, IdText::TitolExperimentacio)));
    MenuFitxer->setTitle(Q(Text(idioma, IdText::ExperimentacioMenuFitxer)));
    MenuExperimentacioExperimentar->setText(Q(Text(idioma, IdText::ExperimentacioMenuExperimentar)));
    MenuExperimentacioCopiarALaCarpetaElsResultats->setText(
        Q(Text(idioma, IdText::ExperimentacioMenuCopiar)));
}

void TFormExperimentacio::ProcessarBlocExperiment(const std::string& vocal) {
    (void)vocal;
}

TFormDiguesParaula::TFormDiguesParaula(QWidget* parent) : QDialog(parent) {
    AplicarTexts(Idioma::Catala);
}

void TFormDiguesParaula::AplicarTexts(Idioma idioma) {
    setWindowTitle(Q(Text(idioma, IdText::TitolDiguesParaula)));
}

TFormEmail::TFormEmail(QWidget* parent) : QDialog(parent) {}

} // namespace tessora
