// The vowel chart window: the chart of this run (see DibuixCarta.h), updated after each recognised
// utterance, and a button that clears it. The main window opens it from its menu in both modes and
// hands it every analysis of the live loop; nothing here runs an analysis.
#pragma once

#include "CartaVocals.h"
#include "DibuixCarta.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QWidget>

namespace tessora {

class ClientCarta : public QWidget {
public:
    ClientCarta(QWidget* pare, const CartaVocals& carta, const OpcionsDibuixCarta& opcions)
        : QWidget(pare), carta_(carta), opcions_(opcions) {}

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const CartaVocals& carta_;
    const OpcionsDibuixCarta& opcions_;
};

class TFormCarta : public QWidget {
    Q_OBJECT
public:
    explicit TFormCarta(QWidget* parent = nullptr);

    // One analysis of the live loop: a decided vowel becomes a point, and the chart is drawn again (at
    // the next paint, so the loop never waits for the drawing). `veuAguda` chooses the ranges.
    void MostrarAnalisi(const ResultatReconeixement& r, bool veuAguda);
    void AplicarTexts(Idioma idioma);

    const CartaVocals& Carta() const { return carta_; }

    QPushButton* BotoBuidar;

public slots:
    void BotoBuidarClick();
    // "Veu aguda" changed: the ranges of `veuAguda`, drawn at once.
    void FixarVeuAguda(bool veuAguda);

private:
    CartaVocals carta_;
    OpcionsDibuixCarta opcions_;
    ClientCarta* Client;
    QElapsedTimer rellotge_;
};

} // namespace tessora
