#include "EinesFinestra.h"

#include <QFont>
#include <QLocale>
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

} // namespace tessora
