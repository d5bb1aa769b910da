// Where windows go on the screen: within its available area (the screen less the desktop's panels),
// and beside another window. A window's place is that of the frame the desktop draws around it, as
// QWidget::move takes it; its size is that of its own area, as QWidget::resize takes it.
#pragma once

class QWidget;

namespace tessora {

// `finestra` fitted to the available area of its screen: as it is where it fits, else shrunk and moved
// as little as needed.
void AjustarALaPantalla(QWidget& finestra);

// `finestra` beside `principal`, top edges level, on the available area of `principal`'s screen: to its
// right where it fits, else to its left where it fits there, else as near the right as fits.
void PosarAlCostat(QWidget& finestra, const QWidget& principal);

} // namespace tessora
