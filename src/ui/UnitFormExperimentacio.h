// The experimentation window: the guided experiment's pages (its two grids and the chart of its trials),
// its menu (copy the results, start, stop) and the export when it closes. The experiment itself (prompts,
// counts, grids, error slots, results text and files) is the session's; this window, with its prompt and
// its mail request, calls the session for what the person asks, shows its values, schedules the pause
// between trials, and asks the person for the export's name.
//
// Above the pages, the speaker field: an editable list of the speakers in the journal (empty: anonymous),
// set on Enter, on a choice from the list or when the field is left; the session stores each run under the
// speaker named when it stops and shows that speaker's models. A fault of the journal is told in one
// message and never stops the experiment or its export.
//
// Its controls carry the design's names as object names, for the tests.
#pragma once

#include "Dialegs.h"
#include "Sessio.h"

#include <QDialog>

#include <filesystem>
#include <string>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QTabWidget;
class QTableView;
class QTimer;

namespace tessora {

class ModelGrid;
class TFormDiguesParaula;
class TFormEmail;

class TFormExperimentacio : public QDialog {
    Q_OBJECT
public:
    // `carpetaDades`: where an experiment is kept when the program ends before the person exported it
    // (empty: nowhere). Creates the prompt and the mail request, its own windows.
    TFormExperimentacio(Sessio& sessio, Dialegs& dialegs, std::filesystem::path carpetaDades,
                        QWidget* parent = nullptr);
    ~TFormExperimentacio() override;

    // MenuExperimentarClick's part: the vowel set and the empty grids of the session's language, then
    // the window, modally; returns when it has closed (and exported).
    void Obrir();

    // Shows what a step of the session changed here: the current-block row, the experiment's step (the
    // prompt, the menus, the grids, the pause), the texts of a new language.
    void Mostrar(const EfecteSessio& efecte);

    // The window holds trials that no export has written yet.
    bool ResultatsPendents() const;
    // The program or the desktop session is ending: pending trials are exported under a name of their
    // own in the data folder, with a notice for the next start, asking nothing of the person. Failures
    // go to standard error.
    void DesarResultatsPendents();

signals:
    // What a command of this window changed in the session, for every window to show.
    void Efecte(const tessora::EfecteSessio& efecte);
    // The person asked for the progress window.
    void ProgresDemanat();

public slots:
    void MenuExperimentacioExperimentarClick();
    void MenuExperimentacioPararClick();
    void MenuExperimentacioCopiarALaCarpetaElsResultatsClick();
    void LabelParaulaClick();
    // The speaker field was set (Enter, a choice, the field left).
    void ComboParlantChange();
    void MenuProgresClick();

protected:
    // Every close ends here (the desktop's, a close of the program): the run stops, then the results are
    // exported. The window stays open when the person cancels the name and then keeps the results.
    void reject() override;
    // Escape does not close the window: a reflex press must not end an experiment.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void AplicarTexts();
    void AplicarPas(const EfecteExperiment& pas);
    void AcabarPausa();
    // The speaker field lists the journal's speakers and shows the session's.
    void OmplirParlants();
    // A journal's fault, or the runs it kept stored after all, told in one message.
    void AvisarDiari(const ResultatDiari& resultat);
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
    QString T(IdText id) const;

    Sessio& sessio_;
    Dialegs& dialegs_;
    std::filesystem::path carpetaDades_;
    bool tancant_ = false;              // the export is running
    std::int32_t provesExportades_ = 0; // NombreProves when the last export was written

    QMenu* MenuFitxer;
    QAction* MenuExperimentacioCopiarALaCarpetaElsResultats;
    QAction* MenuExperimentacioExperimentar;
    QAction* MenuExperimentacioParar;
    QLabel* LabelParlant;
    QComboBox* ComboParlant;
    QAction* MenuProgres;
    QTabWidget* PageControlErrors;
    QWidget* CartaProves; // the third page
    QTableView* GridErrors;
    QTableView* GridDiferencies;
    ModelGrid* modelErrors_;
    ModelGrid* modelDiferencies_;
    QPlainTextEdit* MemoDades;
    QTimer* TimerPausa; // the pause between trials
    TFormDiguesParaula* FormDiguesParaula;
    TFormEmail* FormEmail;
};

} // namespace tessora
