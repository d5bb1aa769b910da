// The main window: the big letter of the recognised vowel, the level meter at its left edge, the tool
// panel and the menu. It owns the sound block and the capture, runs the live loop on every captured
// block (the loop itself decides; the window shows) and carries out the menu commands: language,
// save, experiment, volume control, start/stop, graphs, About, exit.
#pragma once

#include "BucleEscolta.h"
#include "BufferSo.h"
#include "CapturaEntradaDeSo.h"
#include "Dialegs.h"
#include "EtiquetaLletra.h"
#include "TextsIdioma.h"
#include "UnitEntradaDeSo.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolButton>
#include <QTranslator>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace tessora {

class TFormFFT;
class TAboutBox;
class TFormExperimentacio;
class TFormDiguesParaula;
class TFormCarta;

// The client area below the menu: the meter is drawn on it, under the transparent big letter.
class ClientPrincipal : public QWidget {
public:
    explicit ClientPrincipal(QWidget* pare) : QWidget(pare) {}
    std::int32_t Nivell = -1; // the last block's level; -1 while no block has been drawn
    ColorNivell Color = ColorNivell::Groc;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A speed button that shows the keyboard focus, which a flat tool button otherwise hides.
class BotoRapid : public QToolButton {
public:
    using QToolButton::QToolButton;

protected:
    void paintEvent(QPaintEvent* event) override;
};

class TFormPrincipal : public QMainWindow {
    Q_OBJECT
public:
    // Where it listens (the input device or a recording), what it asks the person through, where the
    // settings file is, and the command line already joined.
    TFormPrincipal(DispositiuEntrada& dispositiu, Dialegs& dialegs, std::filesystem::path arxiuIni,
                   std::string liniaOrdres, QWidget* parent = nullptr);
    ~TFormPrincipal() override;

    // The other windows, created after this one.
    void EnllacarFinestres(TFormFFT* fft, TAboutBox* about, TFormExperimentacio* experimentacio,
                           TFormDiguesParaula* diguesParaula);

    // False when the sound block could not be allocated (the program must end at once).
    bool Creada() const { return static_cast<bool>(BufferSo_); }

    EstatAnalisi& Estat() { return *estat_; }
    BufferSo* Buffer() { return BufferSo_.get(); }
    UnitEntradaDeSo& Captura() { return unitat_; }
    BucleEscolta& Bucle() { return *bucle_; }
    const std::string& LiniaOrdres() const { return LiniaOrdres_; }
    bool Catala() const { return MenuCatala->isChecked(); }
    Idioma IdiomaActual() const { return MenuCastellano->isChecked() ? Idioma::Castella : Idioma::Catala; }

    // Components, as the rest of the program knows them.
    QFrame* Panel1;
    BotoRapid* SpeedButtonEngegarParar;
    QCheckBox* CheckBoxVeuAguda;
    QLabel* LabelVocals;
    BotoRapid* SpeedButtonGuardar;
    EtiquetaLletra* LabelVocalReconeguda;
    ClientPrincipal* Client;
    QMenu* MenuFitxer;
    QMenu* MenuLlengua;
    QAction* MenuCatala;
    QAction* MenuCastellano;
    QAction* MenuGuardar;
    QAction* MenuExperimentar;
    QAction* MenuControlDeVolumen;
    QAction* MenuCarta; // opens the vowel chart
    QAction* MenuSortir;
    QAction* MenuEngegarParar;
    QAction* MenuGrafics;
    QAction* MenuParlant;
    QMenuBar* BarraParlant; // the About item, at the right-hand end of the menu bar

    // The About item's position among the menu bar's items (2, or 3 with Gràfics shown).
    int PosicioParlant() const;

    // A message to the person over this window; a close asked meanwhile closes it and then takes place.
    void Avisar(const QString& text);

public slots:
    // The start/stop toggle. Returns 0, or nonzero for a start that failed: the device's error code (the
    // person has been told; the button shows "P" all the same, and the next toggle goes back to "E"), or
    // -1 when the window has no sound block to listen into.
    std::int32_t SpeedButtonEngegarPararClick();
    void RebreBlocDeSo();
    void MenuCatalaClick();
    void MenuCastellanoClick();
    void MenuGuardarClick();
    void MenuExperimentarClick();
    void MenuControlDeVolumenClick();
    void MenuParlantClick();
    void MenuGraficsClick();
    void MenuCartaClick();
    void MenuSortirClick();

protected:
    bool event(QEvent* event) override;
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

    void FormCreate();
    void FormClose();
    void CanviarIdioma(bool castella);
    void AplicarTexts(Idioma idioma);
    void Distribuir();
    QString T(IdText id) const;
    void ReemplacarParlant();
    void MostrarBoto();
    void MostrarResultat(const ResultatReconeixement& r);
    void ReanalitzarBloc();
    // The count of blocks the input lost, on a line below the letter that exists only once some were.
    void MostrarBlocsPerduts();

    DispositiuEntrada& dispositiu_;
    Dialegs& dialegs_;
    std::filesystem::path arxiuIni_;
    std::string LiniaOrdres_;
    std::unique_ptr<EstatAnalisi> estat_;
    std::unique_ptr<BufferSo> BufferSo_;
    UnitEntradaDeSo unitat_;
    std::unique_ptr<CapturaEntradaDeSo> captura_;
    std::unique_ptr<BucleEscolta> bucle_;
    bool tancant_ = false; // FormClose has begun
    bool tancada_ = false; // the capture and the sound block are gone
    int esperes_ = 0;      // commands waiting for the person
    bool tancamentPendent_ = false;
    std::optional<qint64> mesclador_; // the volume control this window started
    std::unique_ptr<QTranslator> traduccioQt_;
    QLabel* avisPerduts_ = nullptr; // in the status bar, once blocks were lost
    std::uint64_t perdutsMostrats_ = 0;

    TFormFFT* FormFFT = nullptr;
    TAboutBox* AboutBox = nullptr;
    TFormExperimentacio* FormExperimentacio = nullptr;
    TFormDiguesParaula* FormDiguesParaula = nullptr;
    TFormCarta* FormCarta; // owned as a child window
};

} // namespace tessora
