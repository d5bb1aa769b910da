// The request to mail the exported files to the maker, with a button that opens the desktop's mail
// program on a mailto: link. Its controls carry the design's names as object names, for the tests.
#pragma once

#include "Dialegs.h"
#include "TextsIdioma.h"

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tessora {

class TFormEmail : public QDialog {
    Q_OBJECT
public:
    // Tells the person through `dialegs` when the mail program cannot be started.
    explicit TFormEmail(Dialegs& dialegs, QWidget* parent = nullptr);

    // The text of the request for the two exported files.
    void EscriureText(const QString& nomWav, const QString& nomText);
    // The language of its message; its own texts read the same in both.
    void AplicarTexts(Idioma idioma) { idioma_ = idioma; }

public slots:
    void BitBtn2Click();
    void BitBtn1Click() { close(); }

private:
    Dialegs& dialegs_;
    Idioma idioma_ = Idioma::Catala;
    QPlainTextEdit* Memo; // read-only: Enter reaches the default button
    QPushButton* BitBtn2; // opens the mail program
    QPushButton* BitBtn1; // closes the window
};

} // namespace tessora
