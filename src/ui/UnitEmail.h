// The request to mail the exported files to the maker, with a button that opens the desktop's mail
// program on a mailto: link.
#pragma once

#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tessora {

class TFormEmail : public QDialog {
    Q_OBJECT
public:
    explicit TFormEmail(QWidget* parent = nullptr);

    // The text of the request for the two exported files.
    void EscriureText(const QString& nomWav, const QString& nomText);

    QPlainTextEdit* Memo;
    QPushButton* BitBtn2; // opens the mail program
    QPushButton* BitBtn1; // closes the window

public slots:
    void BitBtn2Click();
    void BitBtn1Click() { close(); }
};

} // namespace tessora
