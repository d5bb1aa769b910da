// The graphs window: the picture of the last analysed block (envelope, peak marks, spectrum; see
// DibuixFFT.h) with its line of feature values underneath, and the analysis settings (its "Opcions"
// menu and tool-bar edits). It is built on the session: the settings live there, the window hands each
// change of them to it as it happens (an option that changes the analysis analyses the block again), and
// shows the session's values (Mostrar). Its controls carry their names as object names, for the tests.
#pragma once

#include "DibuixFFT.h"
#include "Sessio.h"

#include <QImage>
#include <QMainWindow>

#include <functional>
#include <utility>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;

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
    explicit TFormFFT(Sessio& sessio, QWidget* parent = nullptr);

    // Shows what a step of the session changed here: the corrected minimum-pitch text, the data line
    // and, while the window is shown, the new picture (a repaint, or a draw over the old one with "No
    // Repintar").
    void Mostrar(const EfecteSessio& efecte);

signals:
    // What an option of this window changed in the session, for every window to show.
    void Efecte(const tessora::EfecteSessio& efecte);

public slots:
    void EditUnitatXExit();
    void EditUnitatYExit();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The picture drawn afresh at the next paint (the session first sets MigLPC from it).
    void Repintar();
    void FormPaint(QPainter& pintor, QSize client);
    // The option's check marks as the session has them.
    void MostrarOpcions();

    Sessio& sessio_;
    ClientFFT* Client;
    QLabel* LabelDades1;
    QWidget* PanelBarraDeEinesFFT;
    QLineEdit* EditUnitatX;
    QLineEdit* EditUnitatY;
    QLineEdit* EditLletra;
    QLineEdit* EditNumeroQuoeficientsLPC;
    QLineEdit* EditFrequenciaMinima;
    std::vector<std::pair<QAction*, OpcioGrafics>> Opcions1; // the "Opcions" menu's items

    std::int32_t UnitatX = 1000; // value of one 100-pixel division of the X axis
    float UnitatY = 1.0f;        // value of one 20-pixel step of the Y axis
};

} // namespace tessora
