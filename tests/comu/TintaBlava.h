// Where the blue ink of a big letter lies in a picture of it (the main window's, the prompt's).
#pragma once

#include <QImage>
#include <QRect>

namespace tessora::proves {

// The smallest rectangle that holds every blue pixel of `imatge`; empty when there is none.
inline QRect TintaBlava(const QImage& imatge) {
    QRect tinta;
    for (int y = 0; y < imatge.height(); ++y)
        for (int x = 0; x < imatge.width(); ++x)
            if (const QRgb p = imatge.pixel(x, y); qAlpha(p) > 128 && qBlue(p) > 160 && qRed(p) < 96)
                tinta |= QRect(x, y, 1, 1);
    return tinta;
}

// There is ink, and it touches no edge of a picture of size `mida`.
inline bool TintaSenseVores(const QRect& tinta, QSize mida) {
    return !tinta.isEmpty() && QRect(QPoint(1, 1), mida - QSize(2, 2)).contains(tinta);
}

} // namespace tessora::proves
