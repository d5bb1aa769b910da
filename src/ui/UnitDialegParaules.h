// The prompt of the experiment: the vowel to say, in big blue letters, always on top and centred on the
// screen. It has no close box: a click on the letter is the speaker's way to stop the run, and from the
// keyboard the letter takes the focus when the prompt shows, where Space or Enter (or Escape) stops it.
// The letter carries its design name, LabelParaula, as its object name, for the tests.
#pragma once

#include "EtiquetaLletra.h"
#include "TextsIdioma.h"

#include <QDialog>

namespace tessora {

class TFormDiguesParaula : public QDialog {
    Q_OBJECT
public:
    explicit TFormDiguesParaula(QWidget* parent = nullptr);

    // Shows `vocal` and brings the prompt to the front, centred on the screen, with the keyboard's focus.
    void Indicar(const QString& vocal);
    void AplicarTexts(Idioma idioma);

signals:
    // The letter was clicked or pressed (or the prompt closed by the desktop): the run must stop.
    void LabelParaulaClick();

protected:
    bool eventFilter(QObject* objecte, QEvent* event) override;
    void reject() override;

private:
    EtiquetaLletra* LabelParaula;
};

} // namespace tessora
