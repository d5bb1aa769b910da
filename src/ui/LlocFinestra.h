// Where windows go on the screen: within its available area (the screen less the desktop's panels),
// and beside another window. A window's place is that of the frame the desktop draws around it, as
// QWidget::move takes it; its size is that of its own area, as QWidget::resize takes it.
#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

namespace tessora {

// The frame the desktop draws around `finestra`: its own once it has been shown, else that of another
// shown window (the desktop frames them alike), else none.
QMargins MarcFinestra(const QWidget& finestra);

// `marc` (a frame) no larger than `disponible`, then moved as little as needed to lie within it.
QRect DinsDe(QRect marc, const QRect& disponible);

// `finestra` fitted to the available area of its screen: as it is where it fits, else shrunk and moved
// as little as needed.
void AjustarALaPantalla(QWidget& finestra);

// `finestra` beside `principal`, top edges level, on the available area of `principal`'s screen: to its
// right where it fits, else to its left where it fits there, else as near the right as fits.
void PosarAlCostat(QWidget& finestra, const QWidget& principal);

} // namespace tessora
