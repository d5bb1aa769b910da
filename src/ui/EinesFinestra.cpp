#include "EinesFinestra.h"

#include <QFont>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>

namespace tessora {

char SeparadorDecimal() {
    const QString punt = QLocale().decimalPoint();
    return punt.size() == 1 && punt[0].unicode() < 0x80 ? static_cast<char>(punt[0].unicode()) : '.';
}

void PosarLletraFinestra(QWidget& finestra) {
    QFont lletra(QStringLiteral("MS Sans Serif"));
    lletra.setPixelSize(11);
    finestra.setFont(lletra);
}

void Nomenar(QWidget& control, Idioma idioma, IdText nom, IdText descripcio) {
    control.setAccessibleName(T(idioma, nom));
    control.setAccessibleDescription(T(idioma, descripcio));
}

void NomenarMenus(QWidget& finestra, Idioma idioma) {
    for (QMenuBar* barra : finestra.findChildren<QMenuBar*>())
        barra->setAccessibleName(T(idioma, IdText::AccBarraMenus));
    for (QMenu* menu : finestra.findChildren<QMenu*>())
        menu->setAccessibleName(QString(menu->title()).remove(QLatin1Char('&')));
}

} // namespace tessora
