#include "EtiquetaLletra.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

#include <algorithm>

namespace tessora {

namespace {

// Every text the big letter can show, in either vowel set.
constexpr const char* kLletres[] = {"A", "AE", "È", "É", "E", "I", "O", "U"};

// The ink of every vowel on one baseline at y = 0.
QRectF TintaDeTotes(const QFontMetricsF& mides) {
    QRectF totes;
    for (const char* lletra : kLletres)
        totes |= mides.tightBoundingRect(QString::fromUtf8(lletra));
    return totes;
}

} // namespace

QSizeF EtiquetaLletra::Tinta(const QFont& lletra) {
    const QFontMetricsF mides(lletra);
    qreal amplada = 0;
    for (const char* text : kLletres)
        amplada = std::max(amplada, mides.tightBoundingRect(QString::fromUtf8(text)).width());
    return {amplada, TintaDeTotes(mides).height()};
}

QPointF EtiquetaLletra::Origen(const QString& text) const {
    // One baseline for every letter, so a letter keeps its line while the accents of "È" and "É" fit.
    const QFontMetricsF mides(font());
    const QRectF totes = TintaDeTotes(mides) | mides.tightBoundingRect(text);
    const QRectF tinta = mides.tightBoundingRect(text);
    return {(width() - tinta.width()) / 2 - tinta.left(), (height() - totes.height()) / 2 - totes.top()};
}

void EtiquetaLletra::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (hasFocus()) {
        QStyleOptionFocusRect opcio;
        opcio.initFrom(this);
        opcio.state |= QStyle::State_KeyboardFocusChange; // shown whatever gave the focus
        opcio.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opcio, &p, this);
    }
    if (text().isEmpty()) return;
    p.setFont(font());
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(Origen(text()), text());
}

} // namespace tessora
