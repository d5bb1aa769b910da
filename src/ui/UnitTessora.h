// The main window: the big letter of the recognised vowel, the level meter at its left edge, the tool
// panel and the menu. A screen reader hears each new vowel (the letter's name, at most once a second) and
// reads the meter's value. It is built on the session: its commands call it (start/stop, language, high
// voice, save) and it shows what the session's values say of it (Mostrar). The commands that open other
// windows (graphs, chart, timeline, experiment, About) are signals, which the start-up connects to those
// windows.
//
// Its controls carry the design's names as object names, for the tests.
#pragma once

#include "AnunciVocal.h"
#include "Dialegs.h"
#include "Sessio.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QProgressBar>

#include <cstdint>
#include <optional>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QMenuBar;
class QTimer;
class QToolButton;

namespace tessora {

class EtiquetaLletra;

// The level meter at the client area's left edge, under the transparent big letter: its frame, and the
// last block's level (0 to 128) as a bar in the level's colour and as the value a screen reader reads.
// Its description says so while the level clips.
class MesuradorNivell : public QProgressBar {
public:
    explicit MesuradorNivell(QWidget* pare);
    void Mostrar(const Mesurador& nivell);
    // The description, and the warning that replaces it while the level clips.
    void FixarTexts(const QString& descripcio, const QString& avisSaturacio);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Descriure();
    std::optional<Mesurador> nivell_; // the last block's; none while no block has been drawn
    QString descripcio_;
    QString avisSaturacio_;
};

class TFormPrincipal : public QMainWindow {
    Q_OBJECT
public:
    // Texts, the high voice and the button as the session has them now; asks the person through
    // `dialegs`.
    TFormPrincipal(Sessio& sessio, Dialegs& dialegs, QWidget* parent = nullptr);

    // Shows what a step of the session changed for this window: the button, the troubles of the input,
    // the meter, the letter, the caption, the texts of a new language.
    void Mostrar(const EfecteSessio& efecte);

    // The About item's position among the menu bar's items (2, or 3 with Gràfics shown).
    int PosicioParlant() const;

    // A message to the person over this window; a close asked meanwhile closes it and then takes place.
    void Avisar(const QString& text);

signals:
    // What a command of this window changed in the session, for every window to show.
    void Efecte(const tessora::EfecteSessio& efecte);
    void GraficsDemanats();
    void CartaDemanada();
    void SessioDemanada();
    void ExperimentDemanat(); // listening is off already; returns when the experiment window has closed
    void ParlantDemanat();

public slots:
    void SpeedButtonEngegarPararClick();
    void MenuCatalaClick();
    void MenuCastellanoClick();
    void MenuGuardarClick();
    void MenuDesarSessioClick();
    void MenuExperimentarClick();
    void MenuControlDeVolumenClick();
    void MenuParlantClick();
    void MenuGraficsClick();
    void MenuCartaClick();
    void MenuSortirClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Held by a command while it waits for the person (a dialog, a message, the About box): a close
    // asked meanwhile (by a signal, or the desktop) closes those dialogs and waits until the command has
    // finished with what it holds, then takes place.
    class EsperaPersona {
    public:
        explicit EsperaPersona(TFormPrincipal& finestra);
        ~EsperaPersona();
        EsperaPersona(const EsperaPersona&) = delete;
        EsperaPersona& operator=(const EsperaPersona&) = delete;

    private:
        TFormPrincipal& finestra_;
    };

    void FormClose();
    void AplicarTexts();
    void Distribuir();
    QString T(IdText id) const;
    void ReemplacarParlant();
    void MostrarBoto();
    // The count of blocks the input lost, on a line below the letter that exists only once some were.
    void MostrarBlocsPerduts();
    void Error(const QString& titol, const QString& text);
    // The letter's name as a screen reader says it: the vowel, and the clipping warning when it is red.
    QString NomLletra() const;
    // The letter's new name to the screen reader, now or when the second since the last is up.
    void AnunciarLletra();
    // The timer set for the announcement waiting, if one waits.
    void EsperarAnunci();

    Sessio& sessio_;
    Dialegs& dialegs_;
    bool tancant_ = false; // FormClose has begun
    int esperes_ = 0;      // commands waiting for the person
    bool tancamentPendent_ = false;
    std::optional<qint64> mesclador_; // the volume control this window started
    QLabel* avisPerduts_ = nullptr;   // in the status bar, once blocks were lost
    std::uint64_t blocsPerduts_ = 0;
    bool lletraVermella_ = false;
    AnunciVocal anunci_;
    QElapsedTimer rellotge_; // the announcements' clock
    QTimer* TimerAnunci;     // the announcement waiting for its second

    QFrame* Panel1;
    QToolButton* SpeedButtonEngegarParar;
    QCheckBox* CheckBoxVeuAguda;
    QLabel* LabelVocals;
    QToolButton* SpeedButtonGuardar;
    EtiquetaLletra* LabelVocalReconeguda;
    QWidget* Client;
    MesuradorNivell* Nivell;
    QMenu* MenuFitxer;
    QMenu* MenuLlengua;
    QAction* MenuCatala;
    QAction* MenuCastellano;
    QAction* MenuGuardar;
    QAction* MenuExperimentar;
    QAction* MenuControlDeVolumen;
    QAction* MenuCarta;       // opens the vowel chart
    QAction* MenuSessio;      // opens the session's timeline
    QAction* MenuDesarSessio; // saves the session held as a WAV file and its TextGrid
    QAction* MenuSortir;
    QAction* MenuEngegarParar;
    QAction* MenuGrafics;
    QAction* MenuParlant;
    QMenuBar* BarraParlant; // the About item, at the right-hand end of the menu bar
};

} // namespace tessora
