#include "LlocFinestra.h"

#include <QApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace tessora {

namespace {

QMargins MarcPropi(const QWidget& finestra) {
    return finestra.windowHandle() != nullptr ? finestra.windowHandle()->frameMargins() : QMargins();
}

// The frame the desktop draws around `finestra`: its own once it has been shown, else that of another
// shown window (the desktop frames them alike), else none.
QMargins MarcFinestra(const QWidget& finestra) {
    if (const QMargins propi = MarcPropi(finestra); !propi.isNull()) return propi;
    for (const QWidget* altra : QApplication::topLevelWidgets())
        if (altra->isVisible())
            if (const QMargins marc = MarcPropi(*altra); !marc.isNull()) return marc;
    return {};
}

// `finestra` with its frame at `marc`, made no larger than `disponible` and then moved as little as needed
// to lie within it.
void Situar(QWidget& finestra, QRect marc, const QRect& disponible) {
    marc.setSize(marc.size().boundedTo(disponible.size()));
    marc.moveLeft(std::clamp(marc.left(), disponible.left(), disponible.right() - marc.width() + 1));
    marc.moveTop(std::clamp(marc.top(), disponible.top(), disponible.bottom() - marc.height() + 1));
    finestra.resize(marc.size().shrunkBy(MarcFinestra(finestra)));
    finestra.move(marc.topLeft());
}

} // namespace

void AjustarALaPantalla(QWidget& finestra) {
    const QRect marc(finestra.pos(), finestra.size().grownBy(MarcFinestra(finestra)));
    Situar(finestra, marc, finestra.screen()->availableGeometry());
}

void PosarAlCostat(QWidget& finestra, const QWidget& principal) {
    const QRect disponible = principal.screen()->availableGeometry();
    const QRect costat = principal.frameGeometry();
    const QSize mida = finestra.size().grownBy(MarcFinestra(finestra));
    QRect marc(QPoint(costat.right() + 1, costat.top()), mida);
    if (marc.right() > disponible.right() && costat.left() - mida.width() >= disponible.left())
        marc.moveRight(costat.left() - 1);
    Situar(finestra, marc, disponible);
}

} // namespace tessora
