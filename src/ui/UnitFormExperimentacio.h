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

    // An experiment waits for an utterance.
    bool ExperimentDisponible = false;
    // The current-block row of the error grid, as the last decision left it.
    std::optional<FilaGridErrors> FilaActual;

    // The experiment step for one utterance, given the text recognised in it.
    void ProcessarBlocExperiment(const std::string& vocal);

    // The caption and the menu texts of a language.
    void AplicarTexts(Idioma idioma);

    QMenu* MenuFitxer;
    QAction* MenuExperimentacioExperimentar;
    QAction* MenuExperimentacioCopiarALaCarpetaElsResultats;
    QAction* MenuExperimentacioParar;
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
