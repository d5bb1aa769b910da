// Draws the About box's pictures and the application icon into PNG files.
//
// Run once by hand after changing a drawing; the PNG files it writes are kept beside the sources and
// compiled into the program as resources:
//     tessora_dibuixos src/ui/about/imatges   (see CMakeLists.txt beside this file)
// The build also runs it as `tessora_dibuixos --icones FOLDER SIZE...` for the icon at every size the
// desktops' icon theme has, written as FOLDER/SIZExSIZE/tessora.png and installed from there.
// Letters are stroked paths of our own rather than text, so the pictures come out the same whatever
// fonts the machine has. Half-transparent pixels are another matter: Qt rounds them for the PNG file
// in a way that may change by one level between Qt builds and processors, so a run elsewhere can move
// a few pixels of titol.png and of the icons by one level.
#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QString>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numbers>

namespace tessora {
namespace {

constexpr double kPi = std::numbers::pi;

QImage Transparent(int amplada, int alcada) {
    QImage imatge(amplada, alcada, QImage::Format_ARGB32_Premultiplied);
    imatge.fill(Qt::transparent);
    return imatge;
}

void Suavitzat(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
}

// Strokes of a letter in a unit box (x to the right, y downwards). Accents sit above the box.
QPainterPath Lletra(char c) {
    QPainterPath t;
    switch (c) {
    case 'A':
        t.moveTo(0.0, 1.0);
        t.lineTo(0.5, 0.0);
        t.lineTo(1.0, 1.0);
        t.moveTo(0.22, 0.62);
        t.lineTo(0.78, 0.62);
        break;
    case 'E':
        t.moveTo(0.85, 0.0);
        t.lineTo(0.1, 0.0);
        t.lineTo(0.1, 1.0);
        t.lineTo(0.85, 1.0);
        t.moveTo(0.1, 0.5);
        t.lineTo(0.7, 0.5);
        break;
    case 'I':
        t.moveTo(0.5, 0.0);
        t.lineTo(0.5, 1.0);
        break;
    case 'O':
        t.addEllipse(QRectF(0.0, 0.0, 1.0, 1.0));
        break;
    case 'U':
        t.moveTo(0.05, 0.0);
        t.lineTo(0.05, 0.55);
        t.arcTo(QRectF(0.05, 0.1, 0.9, 0.9), 180.0, 180.0);
        t.lineTo(0.95, 0.0);
        break;
    case 'F':
        t.moveTo(0.85, 0.0);
        t.lineTo(0.1, 0.0);
        t.lineTo(0.1, 1.0);
        t.moveTo(0.1, 0.5);
        t.lineTo(0.7, 0.5);
        break;
    case '1':
        t.moveTo(0.2, 0.25);
        t.lineTo(0.6, 0.0);
        t.lineTo(0.6, 1.0);
        break;
    case '2':
        t.moveTo(0.05, 0.25);
        t.cubicTo(0.1, -0.08, 0.95, -0.08, 0.9, 0.3);
        t.cubicTo(0.85, 0.55, 0.2, 0.75, 0.05, 1.0);
        t.lineTo(0.95, 1.0);
        break;
    case '3':
        t.moveTo(0.1, 0.12);
        t.cubicTo(0.35, -0.06, 0.95, 0.0, 0.85, 0.25);
        t.cubicTo(0.78, 0.45, 0.5, 0.47, 0.4, 0.47);
        t.cubicTo(0.7, 0.47, 1.0, 0.6, 0.9, 0.8);
        t.cubicTo(0.8, 1.05, 0.25, 1.05, 0.05, 0.88);
        break;
    case '`': // grave accent
        t.moveTo(0.3, -0.42);
        t.lineTo(0.62, -0.18);
        break;
    case '\'': // acute accent
        t.moveTo(0.7, -0.42);
        t.lineTo(0.38, -0.18);
        break;
    default:
        break;
    }
    return t;
}

// Strokes a text of letters from `Lletra`, each `alcada` pixels tall, from the top-left corner `lloc`.
// A letter followed by an accent mark carries the accent above it.
void Escriure(QPainter& p, const char* text, QPointF lloc, double alcada, const QColor& color, double gruix) {
    QPen ploma(color, gruix, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(ploma);
    p.setBrush(Qt::NoBrush);
    const double amplada = alcada * 0.62;
    double x = lloc.x();
    for (const char* c = text; *c; ++c) {
        if (*c == ' ') {
            x += amplada * 0.8;
            continue;
        }
        const bool accent = (*c == '`' || *c == '\'');
        const double xLletra = accent ? x - amplada * 1.35 : x;
        const double ampladaLletra = (*c == 'I' || *c == '1') ? amplada * 0.5 : amplada;
        QTransform t;
        t.translate(xLletra, lloc.y());
        t.scale(accent ? amplada : ampladaLletra, alcada);
        p.drawPath(t.map(Lletra(*c)));
        if (!accent) x += ampladaLletra + amplada * 0.35;
    }
}

// A quaver: note head, stem and flag, its head's centre at `cap`.
void Nota(QPainter& p, QPointF cap, double mida, const QColor& color) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.save();
    p.translate(cap);
    p.rotate(-20.0);
    p.drawEllipse(QRectF(-mida * 0.6, -mida * 0.42, mida * 1.2, mida * 0.84));
    p.restore();
    p.setPen(QPen(color, mida * 0.18, Qt::SolidLine, Qt::RoundCap));
    const QPointF dalt(cap.x() + mida * 0.52, cap.y() - mida * 2.6);
    p.drawLine(QPointF(cap.x() + mida * 0.52, cap.y() - mida * 0.1), dalt);
    QPainterPath bandera;
    bandera.moveTo(dalt);
    bandera.cubicTo(dalt + QPointF(mida * 0.2, mida * 0.6), dalt + QPointF(mida * 1.1, mida * 0.8),
                    dalt + QPointF(mida * 0.7, mida * 1.7));
    p.setBrush(Qt::NoBrush);
    p.drawPath(bandera);
}

void FonsVertical(QPainter& p, const QRectF& r, const QColor& dalt, const QColor& baix) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0.0, dalt);
    g.setColorAt(1.0, baix);
    p.fillRect(r, g);
}

// The small ear, seen from the side, with sound coming in from the left.
QImage Orella() {
    QImage imatge = Transparent(33, 33);
    QPainter p(&imatge);
    Suavitzat(p);
    QPainterPath contorn;
    contorn.moveTo(13.0, 10.0);
    contorn.cubicTo(13.0, 1.0, 29.0, 0.0, 29.0, 12.0);
    contorn.cubicTo(29.0, 19.0, 24.0, 20.0, 23.0, 25.0);
    contorn.cubicTo(22.0, 31.0, 15.0, 32.0, 14.0, 26.0);
    contorn.cubicTo(13.5, 22.0, 13.0, 17.0, 13.0, 10.0);
    p.setPen(QPen(QColor(150, 90, 55), 1.4));
    p.setBrush(QColor(243, 196, 156));
    p.drawPath(contorn);
    QPainterPath helix;
    helix.moveTo(17.0, 11.0);
    helix.cubicTo(17.0, 5.0, 25.5, 5.0, 25.0, 12.0);
    helix.cubicTo(24.8, 15.0, 21.0, 16.0, 20.0, 19.0);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(180, 110, 70), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(helix);
    p.drawArc(QRectF(17.5, 14.0, 5.0, 6.0), 90 * 16, 180 * 16);
    p.setPen(QPen(QColor(40, 90, 200), 1.3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const double r = 3.0 + 3.0 * i;
        p.drawArc(QRectF(9.0 - r, 17.0 - r, 2 * r, 2 * r), 135 * 16, 90 * 16);
    }
    return imatge;
}

// The small computer: a monitor showing a wave, on its stand.
QImage Ordinador() {
    QImage imatge = Transparent(33, 33);
    QPainter p(&imatge);
    Suavitzat(p);
    p.setPen(QPen(QColor(70, 70, 80), 1.0));
    p.setBrush(QColor(200, 200, 205));
    p.drawRoundedRect(QRectF(2.5, 3.5, 28.0, 20.0), 2.0, 2.0);
    p.setBrush(QColor(20, 40, 110));
    p.drawRect(QRectF(5.0, 6.0, 23.0, 15.0));
    p.setPen(QPen(QColor(110, 240, 120), 1.2));
    QPainterPath ona;
    for (int i = 0; i <= 44; ++i) {
        const double x = 6.0 + i * 0.5;
        const double y = 13.5 + 5.0 * std::sin(i * 0.55) * std::exp(-std::abs(i - 22) / 14.0);
        if (i == 0)
            ona.moveTo(x, y);
        else
            ona.lineTo(x, y);
    }
    p.setBrush(Qt::NoBrush);
    p.drawPath(ona);
    p.setPen(QPen(QColor(70, 70, 80), 1.0));
    p.setBrush(QColor(170, 170, 178));
    p.drawRect(QRectF(14.0, 24.0, 5.0, 3.5));
    p.drawRoundedRect(QRectF(8.5, 27.5, 16.0, 3.5), 1.5, 1.5);
    return imatge;
}

// The strip over the name: sound arcs at the left and a fading wave under the name. It is transparent
// elsewhere so that the name beneath shows through.
QImage Titol() {
    QImage imatge = Transparent(188, 51);
    QPainter p(&imatge);
    Suavitzat(p);
    p.setPen(QPen(QColor(40, 90, 200), 2.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const double r = 6.0 + 7.0 * i;
        p.drawArc(QRectF(2.0 - r, 22.0 - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
    }
    QPainterPath ona;
    for (int x = 30; x <= 184; ++x) {
        const double fase = (x - 30) / 154.0;
        const double y = 46.0 + 3.2 * std::sin((x - 30) * 0.32) * (1.0 - fase);
        if (x == 30)
            ona.moveTo(x, y);
        else
            ona.lineTo(x, y);
    }
    QLinearGradient g(30, 0, 184, 0);
    g.setColorAt(0.0, QColor(40, 90, 200));
    g.setColorAt(1.0, QColor(0, 128, 0, 60));
    p.setPen(QPen(QBrush(g), 2.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(ona);
    return imatge;
}

// A sound wave with the vowels above its bursts.
QImage Ona() {
    QImage imatge(226, 131, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&imatge);
    Suavitzat(p);
    FonsVertical(p, imatge.rect(), QColor(226, 240, 255), QColor(250, 252, 255));
    p.setPen(QPen(QColor(180, 200, 230), 1.0));
    p.drawLine(QPointF(6, 86.5), QPointF(220, 86.5));
    QPainterPath ona;
    for (int x = 6; x <= 220; ++x) {
        const double posicio = (x - 6) / 214.0 * 5.0;
        const double dinsEsclat = posicio - std::floor(posicio);
        const double envolupant = std::pow(std::sin(dinsEsclat * kPi), 1.5);
        const double y = 86.5 - 30.0 * envolupant * std::sin(x * 0.9) * (0.7 + 0.3 * std::sin(x * 0.23));
        if (x == 6)
            ona.moveTo(x, y);
        else
            ona.lineTo(x, y);
    }
    p.setPen(QPen(QColor(30, 60, 150), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(ona);
    const char* vocals[] = {"A", "E", "I", "O", "U"};
    const QColor colors[] = {QColor(210, 50, 50), QColor(230, 140, 20), QColor(40, 150, 60),
                             QColor(40, 90, 200), QColor(140, 60, 170)};
    for (int i = 0; i < 5; ++i) {
        const double centre = 6.0 + (i + 0.5) * 214.0 / 5.0;
        const double amplada = 18.0 * 0.62 * (vocals[i][0] == 'I' ? 0.5 : 1.0);
        Escriure(p, vocals[i], QPointF(centre - amplada / 2.0, 14.0), 18.0, colors[i], 3.0);
    }
    return imatge;
}

// Someone singing an "A", with notes flying off.
QImage Cantant() {
    QImage imatge(226, 131, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&imatge);
    Suavitzat(p);
    FonsVertical(p, imatge.rect(), QColor(255, 244, 226), QColor(255, 252, 246));
    // Shoulders and head.
    p.setPen(QPen(QColor(60, 60, 90), 1.5));
    p.setBrush(QColor(70, 110, 190));
    QPainterPath cos;
    cos.moveTo(20, 131);
    cos.cubicTo(22, 104, 44, 96, 62, 96);
    cos.cubicTo(80, 96, 102, 104, 104, 131);
    p.drawPath(cos);
    p.setBrush(QColor(243, 196, 156));
    p.drawEllipse(QRectF(38, 28, 50, 60));
    // Hair.
    p.setBrush(QColor(110, 70, 40));
    QPainterPath cabell;
    cabell.moveTo(37, 56);
    cabell.cubicTo(34, 22, 88, 16, 89, 50);
    cabell.cubicTo(80, 38, 60, 34, 37, 56);
    p.drawPath(cabell);
    // Closed eyes and an open singing mouth.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(60, 40, 30), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(66, 52, 9, 6), 200 * 16, 140 * 16);
    p.drawArc(QRectF(50, 52, 9, 6), 200 * 16, 140 * 16);
    p.setPen(QPen(QColor(120, 30, 30), 1.2));
    p.setBrush(QColor(170, 40, 50));
    p.drawEllipse(QRectF(70, 66, 11, 13));
    // Sound arcs and what comes out.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 90, 200), 2.0, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const double r = 12.0 + 9.0 * i;
        p.drawArc(QRectF(82 - r, 72 - r, 2 * r, 2 * r), -35 * 16, 70 * 16);
    }
    Escriure(p, "A", QPointF(132, 52), 34.0, QColor(210, 50, 50), 4.5);
    Nota(p, QPointF(178, 46), 7.0, QColor(40, 120, 60));
    Nota(p, QPointF(196, 92), 6.0, QColor(140, 60, 170));
    Nota(p, QPointF(150, 112), 5.0, QColor(230, 140, 20));
    return imatge;
}

// A spectrum: the harmonics of a voice under the smooth curve whose peaks are the formants.
QImage Espectre() {
    QImage imatge(226, 131, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&imatge);
    Suavitzat(p);
    FonsVertical(p, imatge.rect(), QColor(236, 248, 236), QColor(252, 255, 252));
    const double base = 116.0;
    auto envolupant = [](double x) {
        const double f1 = 34.0 * std::exp(-std::pow((x - 52.0) / 13.0, 2.0));
        const double f2 = 26.0 * std::exp(-std::pow((x - 112.0) / 15.0, 2.0));
        const double f3 = 18.0 * std::exp(-std::pow((x - 170.0) / 14.0, 2.0));
        return 14.0 + 40.0 * std::exp(-(x - 12.0) / 160.0) + f1 + f2 + f3;
    };
    p.setPen(QPen(QColor(150, 160, 170), 1.0));
    for (int x = 14; x <= 214; x += 8)
        p.drawLine(QPointF(x + 0.5, base), QPointF(x + 0.5, base - envolupant(x) * 0.88));
    QPainterPath corba;
    for (int x = 12; x <= 216; ++x) {
        const double y = base - envolupant(x);
        if (x == 12)
            corba.moveTo(x, y);
        else
            corba.lineTo(x, y);
    }
    p.setPen(QPen(QColor(200, 40, 40), 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(corba);
    p.setPen(QPen(QColor(60, 60, 60), 1.2));
    p.drawLine(QPointF(10, base + 0.5), QPointF(218, base + 0.5));
    p.drawLine(QPointF(10.5, 10), QPointF(10.5, base + 0.5));
    const double pics[] = {52.0, 112.0, 170.0};
    const char* noms[] = {"F1", "F2", "F3"};
    for (int i = 0; i < 3; ++i) {
        const double y = base - envolupant(pics[i]);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 60, 150));
        p.drawEllipse(QPointF(pics[i], y), 3.0, 3.0);
        Escriure(p, noms[i], QPointF(pics[i] - 8.0, y - 20.0), 11.0, QColor(30, 60, 150), 1.8);
    }
    return imatge;
}

// A framed painting: the vowels where the first two formants put them.
QImage Quadre() {
    QImage imatge(257, 145, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&imatge);
    Suavitzat(p);
    const QRectF marc(0, 0, 257, 145);
    QLinearGradient fusta(marc.topLeft(), marc.bottomRight());
    fusta.setColorAt(0.0, QColor(176, 120, 60));
    fusta.setColorAt(1.0, QColor(120, 72, 30));
    p.fillRect(marc, fusta);
    p.setPen(QPen(QColor(230, 190, 120), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(4.5, 4.5, 248, 136));
    p.setPen(QPen(QColor(90, 50, 20), 1.0));
    p.drawRect(QRectF(11.5, 11.5, 234, 122));
    p.fillRect(QRectF(12, 12, 234, 122), QColor(250, 244, 226));
    // The vowel quadrilateral, front vowels to the left, open vowels at the bottom.
    const QPointF i(48, 32), e(68, 60), ee(90, 88), a(128, 114), oo(168, 88), o(188, 60), u(208, 32);
    p.setPen(QPen(QColor(150, 130, 100), 1.2, Qt::DashLine));
    QPainterPath vora;
    vora.moveTo(i);
    vora.lineTo(a);
    vora.lineTo(u);
    p.drawPath(vora);
    struct Vocal {
        QPointF Lloc;
        const char* Text;
        QColor Color;
    };
    const Vocal vocals[] = {
        {i, "I", QColor(40, 150, 60)},  {e, "E'", QColor(230, 140, 20)}, {ee, "E`", QColor(210, 100, 30)},
        {a, "A", QColor(210, 50, 50)},  {oo, "O", QColor(40, 90, 200)},  {o, "O", QColor(70, 70, 200)},
        {u, "U", QColor(140, 60, 170)},
    };
    for (const Vocal& v : vocals) {
        p.setPen(Qt::NoPen);
        p.setBrush(v.Color);
        p.drawEllipse(v.Lloc, 3.5, 3.5);
        const bool esquerra = v.Lloc.x() < 128.0;
        const double x = (v.Lloc.x() == a.x()) ? v.Lloc.x() - 5.0
                         : esquerra            ? v.Lloc.x() - 17.0
                                               : v.Lloc.x() + 8.0;
        const double y = (v.Lloc.x() == a.x()) ? v.Lloc.y() - 22.0 : v.Lloc.y() - 7.0;
        Escriure(p, v.Text, QPointF(x, y), 13.0, v.Color, 2.2);
    }
    return imatge;
}

// The large picture: a microphone on its stand, with the vowels rising from it.
QImage Gran() {
    QImage imatge(172, 338, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&imatge);
    Suavitzat(p);
    FonsVertical(p, imatge.rect(), QColor(40, 60, 130), QColor(160, 190, 235));
    // Stand and base.
    p.setPen(QPen(QColor(50, 50, 60), 1.0));
    p.setBrush(QColor(90, 90, 100));
    p.drawRect(QRectF(82, 196, 8, 118));
    p.drawRoundedRect(QRectF(46, 312, 80, 12), 6, 6);
    // The microphone: grille, ring and handle.
    p.setBrush(QColor(60, 60, 70));
    p.drawRoundedRect(QRectF(76, 160, 20, 40), 6, 6);
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(QRectF(72, 154, 28, 8));
    QRadialGradient reixa(QPointF(80, 126), 30);
    reixa.setColorAt(0.0, QColor(235, 235, 240));
    reixa.setColorAt(1.0, QColor(120, 120, 135));
    p.setBrush(reixa);
    p.drawEllipse(QRectF(62, 106, 48, 52));
    p.setPen(QPen(QColor(90, 90, 105), 1.0));
    for (int k = 0; k < 5; ++k)
        p.drawLine(QPointF(66 + k * 10, 112 + (k == 0 || k == 4 ? 10 : 0)),
                   QPointF(66 + k * 10, 152 - (k == 0 || k == 4 ? 10 : 0)));
    // Sound arcs above it.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 230, 140), 2.0, Qt::SolidLine, Qt::RoundCap));
    for (int k = 0; k < 3; ++k) {
        const double r = 34.0 + 10.0 * k;
        p.drawArc(QRectF(86 - r, 132 - r, 2 * r, 2 * r), 55 * 16, 70 * 16);
    }
    // The vowels, rising and growing smaller.
    struct Vocal {
        const char* Text;
        double X, Y, Alcada;
        QColor Color;
    };
    const Vocal vocals[] = {
        {"A", 26, 56, 28, QColor(255, 120, 110)},   {"E", 118, 60, 24, QColor(255, 200, 90)},
        {"I", 78, 30, 22, QColor(140, 230, 140)},   {"O", 20, 14, 18, QColor(150, 200, 255)},
        {"U", 128, 14, 18, QColor(220, 160, 255)},  {"E`", 24, 210, 16, QColor(255, 200, 90)},
        {"E'", 128, 226, 16, QColor(255, 170, 90)},
    };
    for (const Vocal& v : vocals)
        Escriure(p, v.Text, QPointF(v.X, v.Y), v.Alcada, v.Color, v.Alcada / 7.0);
    return imatge;
}

// The application icon: a big blue "A" beside a small level meter, drawn at 256 x 256 and scaled.
QImage Icona(int mida) {
    QImage imatge = Transparent(mida, mida);
    QPainter p(&imatge);
    Suavitzat(p);
    p.scale(mida / 256.0, mida / 256.0);
    QLinearGradient fons(0, 0, 0, 256);
    fons.setColorAt(0.0, QColor(246, 250, 255));
    fons.setColorAt(1.0, QColor(214, 228, 250));
    p.setPen(QPen(QColor(120, 150, 200), 4.0));
    p.setBrush(fons);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 40, 40);
    // The meter: a black frame and its bar, green low, yellow above, red at the top.
    p.setPen(QPen(Qt::black, 5.0));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(30, 58, 30, 162));
    const QColor segments[] = {QColor(40, 170, 60), QColor(40, 170, 60),  QColor(40, 170, 60),
                               QColor(40, 170, 60), QColor(240, 200, 30), QColor(240, 200, 30),
                               QColor(220, 50, 40)};
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 7; ++k) {
        p.setBrush(segments[k]);
        p.drawRect(QRectF(36, 200 - k * 22, 18, 16));
    }
    // The letter, as a filled outline so it stays crisp at 64 pixels.
    QPainterPath a;
    a.moveTo(74, 220);
    a.lineTo(136, 40);
    a.lineTo(174, 40);
    a.lineTo(236, 220);
    a.lineTo(198, 220);
    a.lineTo(184, 176);
    a.lineTo(126, 176);
    a.lineTo(112, 220);
    a.closeSubpath();
    a.moveTo(136, 144);
    a.lineTo(174, 144);
    a.lineTo(155, 84);
    a.closeSubpath();
    QLinearGradient blau(0, 40, 0, 220);
    blau.setColorAt(0.0, QColor(40, 110, 230));
    blau.setColorAt(1.0, QColor(10, 50, 170));
    p.setPen(QPen(QColor(10, 40, 130), 4.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(blau);
    p.drawPath(a);
    return imatge;
}

bool Desar(const QImage& imatge, const QDir& carpeta, const QString& nom) {
    const QString cami = carpeta.filePath(nom);
    if (!QDir().mkpath(QFileInfo(cami).path()) || !imatge.save(cami, "PNG", 9)) {
        std::fprintf(stderr, "no s'ha pogut desar %s\n", qPrintable(cami));
        return false;
    }
    return true;
}

} // namespace
} // namespace tessora

int main(int argc, char** argv) {
    using namespace tessora;
    if (argc >= 3 && std::strcmp(argv[1], "--icones") == 0) {
        const QDir carpeta(QString::fromLocal8Bit(argv[2]));
        bool correcte = true;
        for (int i = 3; i < argc; ++i) {
            const int mida = std::atoi(argv[i]);
            correcte &=
                mida > 0 && Desar(Icona(mida), carpeta, QStringLiteral("%1x%1/tessora.png").arg(mida));
        }
        return correcte ? 0 : 1;
    }
    if (argc != 2) {
        std::fprintf(stderr, "ús: %s CARPETA | --icones CARPETA MIDA...\n", argv[0]);
        return 2;
    }
    const QDir carpeta(QString::fromLocal8Bit(argv[1]));
    bool correcte = true;
    correcte &= Desar(Orella(), carpeta, "orella.png");
    correcte &= Desar(Ordinador(), carpeta, "ordinador.png");
    correcte &= Desar(Titol(), carpeta, "titol.png");
    correcte &= Desar(Ona(), carpeta, "ona.png");
    correcte &= Desar(Cantant(), carpeta, "cantant.png");
    correcte &= Desar(Espectre(), carpeta, "espectre.png");
    correcte &= Desar(Quadre(), carpeta, "quadre.png");
    correcte &= Desar(Gran(), carpeta, "gran.png");
    correcte &= Desar(Icona(64), carpeta, "64x64/tessora.png");
    correcte &= Desar(Icona(256), carpeta, "256x256/tessora.png");
    return correcte ? 0 : 1;
}
