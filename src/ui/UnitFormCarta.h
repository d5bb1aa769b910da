// The vowel chart window: the chart of the session's decided vowels (see DibuixCarta.h), redrawn when a
// step of the session adds a point or changes the ranges or the language, and a button that clears it.
// The start-up opens it beside the main window.
#pragma once

#include "DibuixCarta.h"
#include "Sessio.h"

#include <QWidget>

class QPushButton;

namespace tessora {

class TFormCarta : public QWidget {
    Q_OBJECT
public:
    TFormCarta(Sessio& sessio, QWidget* parent = nullptr);

    // Shows what a step of the session changed here: a new point, the ranges of "Veu aguda", the language,
    // the selected utterance, the models.
    void Mostrar(const EfecteSessio& efecte);

public slots:
    void BotoBuidarClick();

private:
    void AplicarTexts();

    Sessio& sessio_;
    QPushButton* BotoBuidar;
    QWidget* Client;
};

} // namespace tessora
