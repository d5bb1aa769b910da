// The graphs window: the picture of the last analysed block (envelope, peak marks, spectrum; see
// DibuixFFT.h) with its line of feature values underneath, and the analysis settings (its "Opcions"
// menu and tool-bar edits) that every analysis reads at the moment it runs.
//
// The rest of the program meets it through the few calls below: the settings for an analysis, the
// continuous-recognition option and the vowel to compare, and the display of an analysis result. Its
// controls carry their names as object names, for the tests.
#pragma once

#include "DibuixFFT.h"
#include "UnitCalculsReconeixement.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>

#include <functional>
#include <string>

namespace tessora {

// The client area: it shows a picture of itself that a repaint draws afresh and that a direct draw
// ("No Repintar") paints over, so that successive blocks pile up until the next repaint.
class ClientFFT : public QWidget {
public:
    using Dibuix = std::function<void(QPainter&, QSize)>;
    ClientFFT(QWidget* pare, Dibuix dibuix) : QWidget(pare), dibuix_(std::move(dibuix)) {}

    // The next paint draws the picture afresh.
    void Invalidar() { afresc_ = true; }
    // Draws over the picture now and shows it.
    void DibuixarDamunt();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Preparar();
    Dibuix dibuix_;
    QImage imatge_;
    bool afresc_ = true;
};

class TFormFFT : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormFFT(QWidget* parent = nullptr);

    // The state the window draws and the re-run of the analysis that its options ask for (it shows the
    // result in the main window); set by the main window.
    void EnllacarAnalisi(EstatAnalisi& estat, std::function<void()> reanalitzarBloc);

    // The settings as they are now, for one analysis run; the data line takes the decimal separator of
    // the user's locale.
    ConfiguracioAnalisi LlegirConfiguracio(bool veuAguda, bool castella) const;
    bool ReconeixementContinu() const;
    std::string LletraAComparar() const; // EditLletra's text, UTF-8

    // Shows what an analysis left: the corrected minimum-pitch text, the data line and, while the window
    // is shown, the new picture (a repaint, or a draw over the old one with "No Repintar").
    void MostrarResultat(const ResultatReconeixement& r);

    // What the drawing reads from the window now.
    OpcionsDibuixFFT OpcionsDibuix() const;

public slots:
    void MenuVeureLPCClick();
    void MenuVeureMarquesLPCClick();
    void MenuVeureFFTClick();
    void MenuNormalitzarFFTClick();
    void MenuPreemfasisClick();
    void MenuFFTEscalaAdaptadaALOidaClick();
    void MenuNoRepintarClick();
    void MenuReconeixementContinuClick();
    void EditUnitatXExit();
    void EditUnitatYExit();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void Reanalitzar();
    void Repintar();
    void FormPaint(QPainter& pintor, QSize client);

    std::function<void()> ReanalitzarBloc;
    EstatAnalisi* estat_ = nullptr;

    ClientFFT* Client;
    QLabel* LabelDades1;
    QWidget* PanelBarraDeEinesFFT;
    QLineEdit* EditUnitatX;
    QLineEdit* EditUnitatY;
    QLineEdit* EditLletra;
    QLineEdit* EditNumeroQuoeficientsLPC;
    QLineEdit* EditFrequenciaMinima;
    QMenu* Opcions1;
    QAction* MenuVeureLPC;
    QAction* MenuVeureMarquesLPC;
    QAction* MenuVeureFFT;
    QAction* MenuNormalitzarFFT;
    QAction* MenuPreemfasis;
    QAction* MenuFFTEscalaAdaptadaALOida;
    QAction* MenuNoRepintar;
    QAction* MenuReconeixementContinu;

    std::int32_t UnitatX = 1000; // value of one 100-pixel division of the X axis
    float UnitatY = 1.0f;        // value of one 20-pixel step of the Y axis
};

} // namespace tessora
