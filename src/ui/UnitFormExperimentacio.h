// The experimentation window, the prompt dialog and the mail-request window as start-up creates them:
// their captions and the menu items the language switch rewrites. The guided experiment itself, its
// tables and its export come with the experiment's own work.
#pragma once

#include "TextsIdioma.h"
#include "UnitCalculsReconeixement.h"

#include <QAction>
#include <QDialog>
#include <QMainWindow>
#include <QMenu>

#include <optional>
#include <string>

namespace tessora {

class TFormExperimentacio : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormExperimentacio(QWidget* parent = nullptr);

    // The window is shown and an experiment waits for an utterance.
    bool EsperaEmissio() const { return isVisible() && ExperimentDisponible; }
    // The current-block row of the error grid: what the last decision left.
    void MostrarFila(const FilaGridErrors& fila) { FilaActual = fila; }

    // The experiment step for one utterance, given the text recognised in it.
    void ProcessarBlocExperiment(const std::string& vocal);

    // The caption and the menu texts of a language.
    void AplicarTexts(Idioma idioma);

    QMenu* MenuFitxer;
    QAction* MenuExperimentacioExperimentar;
    QAction* MenuExperimentacioCopiarALaCarpetaElsResultats;
    QAction* MenuExperimentacioParar;

private:
    bool ExperimentDisponible = false;
    std::optional<FilaGridErrors> FilaActual;
};

class TFormDiguesParaula : public QDialog {
    Q_OBJECT
public:
    explicit TFormDiguesParaula(QWidget* parent = nullptr);
    void AplicarTexts(Idioma idioma);
};

class TFormEmail : public QDialog {
    Q_OBJECT
public:
    explicit TFormEmail(QWidget* parent = nullptr);
};

} // namespace tessora
