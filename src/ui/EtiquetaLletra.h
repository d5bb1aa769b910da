// A vowel shown as one big letter (the main window's result, the experiment's prompt), placed by its ink
// rather than by the font's line box, so that the accent of "È" and "É" (what tells them apart) stays
// inside the label. One that takes the keyboard's focus shows it with the style's focus frame.
#pragma once

#include <QLabel>

namespace tessora {

class EtiquetaLletra : public QLabel {
public:
    using QLabel::QLabel;

    // The room the ink of every vowel of either set needs in `lletra`: the widest one's width, and the
    // height from the highest accent to the lowest foot on their shared baseline.
    static QSizeF Tinta(const QFont& lletra);
    // Where `text` is drawn: the start of its baseline, in the label's coordinates. Centred across by its
    // own ink; down, on one baseline for every vowel, with the ink of them all centred.
    QPointF Origen(const QString& text) const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace tessora
