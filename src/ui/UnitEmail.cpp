#include "UnitEmail.h"

#include "EinesFinestra.h"
#include "Fabricant.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QUrl>

namespace tessora {

namespace {
// The window's texts are the same in both languages.
QString T(IdText id) {
    return tessora::T(Idioma::Castella, id);
}
} // namespace

TFormEmail::TFormEmail(Dialegs& dialegs, QWidget* parent) : QDialog(parent), dialegs_(dialegs) {
    PosarLletraFinestra(*this);
    resize(549, 311);
    setWindowTitle(T(IdText::TitolEmail));
    Memo = new QPlainTextEdit(this);
    Memo->setObjectName(QStringLiteral("Memo"));
    Memo->setGeometry(8, 16, 529, 209);
    Memo->setReadOnly(true);
    Memo->setAccessibleName(T(IdText::AccMissatgeCorreu));
    BitBtn2 =
        new QPushButton(style()->standardIcon(QStyle::SP_DialogOpenButton), T(IdText::BotoObrirCorreu), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(16, 240, 241, 33);
    BitBtn2->setAutoDefault(false);
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCloseButton),
                              T(IdText::BotoTancarCorreu), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(432, 240, 89, 33);
    BitBtn1->setDefault(true);
    connect(BitBtn2, &QPushButton::clicked, this, &TFormEmail::BitBtn2Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormEmail::BitBtn1Click);
    if (const QScreen* pantalla = QGuiApplication::primaryScreen()) {
        QRect lloc = geometry();
        lloc.moveCenter(pantalla->availableGeometry().center());
        move(lloc.topLeft());
    }
}

void TFormEmail::EscriureText(const QString& nomWav, const QString& nomText) {
    const QStringList linies = {T(IdText::CorreuEnviar),
                                QString(),
                                nomWav,
                                nomText,
                                QString(),
                                T(IdText::CorreuAdreca),
                                QString(),
                                QStringLiteral("    ") + Q(kAdrecaCorreu),
                                QString(),
                                T(IdText::CorreuInstruccions),
                                T(IdText::CorreuManual),
                                T(IdText::CorreuGracies),
                                T(IdText::CorreuSignatura)};
    Memo->setPlainText(linies.join(QLatin1Char('\n')));
}

void TFormEmail::BitBtn2Click() {
    if (!dialegs_.ObrirEnllac(QUrl(QStringLiteral("mailto:") + Q(kAdrecaCorreu))))
        dialegs_.Error(this, Q(kTitolAplicacio), tessora::T(idioma_, IdText::CorreuNoArrenca));
}

} // namespace tessora
