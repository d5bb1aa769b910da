#include "UnitFormExperimentacio.h"

#include <QMenuBar>

namespace tessora {

TFormExperimentacio::TFormExperimentacio(QWidget* parent) : QMainWindow(parent) {
    MenuFitxer = menuBar()->addMenu(QStringLiteral("&Fitxer"));
    MenuExperimentacioExperimentar = MenuFitxer->addAction(QStringLiteral("&Experimentar"));
    MenuExperimentacioCopiarALaCarpetaElsResultats =
        MenuFitxer->addAction(QStringLiteral("Copiar a la carpeta els &resultats"));
    MenuExperimentacioParar = MenuFitxer->addAction(QStringLiteral("&Parar"));
}

void TFormExperimentacio::ProcessarBlocExperiment(const std::string& vocal) {
    (void)vocal;
}

TFormDiguesParaula::TFormDiguesParaula(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Digues la vocal:"));
}

TFormEmail::TFormEmail(QWidget* parent) : QDialog(parent) {}

} // namespace tessora
