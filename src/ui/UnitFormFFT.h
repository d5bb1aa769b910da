// The graphs window: it holds the analysis settings (its "Opcions" menu and tool-bar edits) that every
// analysis reads at the moment it runs, and shows the data line of the last analysed block.
//
// The drawing of the envelope, its marks and the spectrum comes with the graphs' own work; until then
// the window paints its white background and the data line.
#pragma once

#include "UnitCalculsReconeixement.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>

#include <functional>

namespace tessora {

class TFormFFT : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormFFT(QWidget* parent = nullptr);

    // The settings as they are now, for one analysis run.
    ConfiguracioAnalisi LlegirConfiguracio(bool veuAguda, bool castella) const;

    // Re-runs the analysis on the block already in the analysis state and shows its result in the main
    // window; set by the main window.
    std::function<void()> ReanalitzarBloc;

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

private:
    void Reanalitzar();
};

} // namespace tessora
