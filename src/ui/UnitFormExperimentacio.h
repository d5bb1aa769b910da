// The experimentation window: the guided experiment's two pages of grids, its menu (copy the results,
// start, stop) and the export when it closes. The experiment itself (prompts, counts, grids as text,
// error slots, results text and files) is the core's Experiment; this window shows what each step
// decides, schedules the pause between trials, and asks the person for the export's name.
#pragma once

#include "Dialegs.h"
#include "DibuixCarta.h"
#include "Experiment.h"
#include "ResultatsExperiment.h"
#include "TextsIdioma.h"
#include "UnitCalculsReconeixement.h"
#include "UnitDialegParaules.h"
#include "UnitEmail.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace tessora {

// A grid of the experiment, shown cell by cell as the experiment reads it.
class ModelGrid : public QAbstractTableModel {
public:
    ModelGrid(const Experiment& experiment, GridExperiment grid, QObject* pare)
        : QAbstractTableModel(pare), experiment_(experiment), grid_(grid) {}
    int rowCount(const QModelIndex& = {}) const override { return experiment_.Files(grid_); }
    int columnCount(const QModelIndex& = {}) const override { return kColumnesGrid; }
    QVariant data(const QModelIndex& index, int role) const override;
    // The table changed: the grid reads it again (and grows with it).
    void Refrescar();

private:
    const Experiment& experiment_;
    GridExperiment grid_;
};

// The chart of the experiment's trials (DibuixarCartaExperiment), drawn at each paint.
class ClientCartaExperiment : public QWidget {
public:
    using QWidget::QWidget;
    const Experiment* Dades = nullptr;
    OpcionsDibuixCarta Opcions;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TFormExperimentacio : public QDialog {
    Q_OBJECT
public:
    explicit TFormExperimentacio(QWidget* parent = nullptr);
    ~TFormExperimentacio() override;

    // What the window needs of the main window: the sound block, the dialogs, the start/stop toggle
    // (called with the state listening must reach; false when it could not start, the person told why)
    // and the settings the results text names.
    struct Principal {
        BufferSo* Buffer = nullptr;
        Dialegs* Dialeg = nullptr;
        std::function<bool(bool)> Escolta;
        std::function<CapcaleraResultats()> Capcalera; // Castella, VeuAguda, ModeExperimentador
        std::function<bool()> Tancant; // the program is closing: nothing more is asked of the person
    };
    void EnllacarPrincipal(Principal principal);
    void EnllacarFinestres(TFormDiguesParaula* diguesParaula, TFormEmail* email);
    // Where the prompts are drawn from (the clock's source unless a test gives its own).
    void FixarFontAleatoria(FontAleatoria* font) { font_.Actual = font != nullptr ? font : &rellotge_; }

    // MenuExperimentarClick's part: the vowel set and the empty grids of `idioma`, then the window,
    // modally; returns when it has closed (and exported).
    void Obrir(Idioma idioma, bool modeExperimentador);

    // The window is shown and an experiment waits for an utterance.
    bool EsperaEmissio() const { return isVisible() && experiment_ && experiment_->ExperimentDisponible(); }
    // The current-block row of the error grid: what the last decision left.
    void MostrarFila(const TretsDecisio& trets);
    // The experiment step for one utterance, given the text recognised in it.
    void ProcessarBlocExperiment(const std::string& vocal);

    // The caption and the menu texts of a language.
    void AplicarTexts(Idioma idioma);

    // Where an experiment is kept when the program ends before the person exported it (empty: nowhere).
    void FixarCarpetaDades(std::filesystem::path carpeta) { carpetaDades_ = std::move(carpeta); }
    // The window holds trials that no export has written yet.
    bool ResultatsPendents() const;
    // The program or the session is ending: pending trials are exported under a name of their own in the
    // data folder, with a notice for the next start, asking nothing of the person. Failures go to
    // standard error.
    void DesarResultatsPendents();

    const Experiment* Dades() const { return experiment_.get(); }

    QMenuBar* MainMenu1;
    QMenu* MenuFitxer;
    QAction* MenuExperimentacioCopiarALaCarpetaElsResultats;
    QAction* MenuExperimentacioExperimentar;
    QAction* MenuExperimentacioParar;
    QTabWidget* PageControlErrors;
    QWidget* TabSheet3;
    QWidget* TabSheet4;
    ClientCartaExperiment* CartaProves; // the third page
    QTableView* GridErrors;
    QTableView* GridDiferencies;
    QPlainTextEdit* MemoDades;
    QTimer* TimerPausa; // the pause between trials

public slots:
    void MenuExperimentacioExperimentarClick();
    void MenuExperimentacioPararClick();
    void MenuExperimentacioCopiarALaCarpetaElsResultatsClick();
    void LabelParaulaClick();

protected:
    // Every close ends here (the desktop's, a close of the program): the run stops, then the results are
    // exported. The window stays open when the person cancels the name and then keeps the results.
    void reject() override;
    // Escape does not close the window: a reflex press must not end an experiment.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Draws through whichever source is set now.
    class FontDelegada final : public FontAleatoria {
    public:
        void Sembrar() override { Actual->Sembrar(); }
        std::int32_t Enter(std::int32_t n) override { return Actual->Enter(n); }
        FontAleatoria* Actual = nullptr;
    };

    void Aplicar(const EfecteExperiment& efecte);
    void AcabarPausa();
    // The results text (Windows-1252) as the grids stand now.
    std::string TextResultatsAra() const;
    // The results text into MemoDades and onto the clipboard.
    std::string ConstruirResultats();
    // The chart of the trials as the export saves it: a PNG file's bytes.
    QByteArray ImatgeCarta() const;
    // Writes the three files of `noms`; `avisNom` runs before the WAV takes its name.
    ResultatExportacio Exportar(const NomsExportacio& noms, const std::string& text,
                                const std::function<void()>& avisNom);
    // The export of a close; false when the window must stay open.
    bool FormClose();
    bool ProgramaTancant() const { return principal_.Tancant && principal_.Tancant(); }
    QString T(IdText id) const;

    Principal principal_;
    FontAleatoriaRellotge rellotge_;
    FontDelegada font_;
    std::unique_ptr<Experiment> experiment_;
    ModelGrid* modelErrors_ = nullptr;
    ModelGrid* modelDiferencies_ = nullptr;
    TFormDiguesParaula* FormDiguesParaula = nullptr;
    TFormEmail* FormEmail = nullptr;
    Idioma idioma_ = Idioma::Catala;
    bool tancant_ = false; // the export is running
    std::filesystem::path carpetaDades_;
    std::int32_t provesExportades_ = 0; // NombreProves when the last export was written
};

} // namespace tessora
