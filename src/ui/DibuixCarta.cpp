#include "DibuixCarta.h"

#include "EinesFinestra.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

namespace tessora {

namespace {

constexpr double kMargeEsquerre = 14, kMargeDalt = 36, kMargeDret = 58, kMargeBaix = 20;
constexpr int kCostatsElipse = 48;

void Eixos(QPainter& p, const QRectF& area, const EixosCarta& eixos, QSize mida,
           const OpcionsDibuixCarta& o) {
    p.setFont(LletraDibuix(11));
    const QFontMetricsF m(p.font());
    const QPen graella(QColor(220, 220, 220), 1);
    const QPen text(QColor(60, 60, 60));
    for (int f2 = 500; f2 <= static_cast<int>(eixos.F2Max); f2 += 500) {
        const double x = PuntDibuix(mida, eixos, eixos.F1Min, f2).x();
        p.setPen(graella);
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        p.setPen(text);
        const QString t = QString::number(f2);
        p.drawText(QPointF(x - m.horizontalAdvance(t) / 2, area.top() - 5), t);
    }
    for (int f1 = 200; f1 <= static_cast<int>(eixos.F1Max); f1 += 100) {
        const double y = PuntDibuix(mida, eixos, f1, eixos.F2Max).y();
        p.setPen(graella);
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        p.setPen(text);
        p.drawText(QPointF(area.right() + 5, y + m.ascent() / 2 - 1), QString::number(f1));
    }
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area);
    p.setFont(LletraDibuix(12, true));
    p.drawText(QPointF(area.left(), area.top() - 20), T(o.Llengua, IdText::EixF2Carta));
    const QString f1 = T(o.Llengua, IdText::EixF1Carta);
    p.drawText(QPointF(mida.width() - 4 - QFontMetricsF(p.font()).horizontalAdvance(f1), area.top() - 20),
               f1);
}

QColor AmbAlfa(QColor c, int alfa) {
    c.setAlpha(alfa);
    return c;
}

// The letters of one picture, each shaped once: the outlines of a font's glyphs cost far more to work out
// than to fill.
class Lletres {
public:
    // `text` in bold of `pixels`, its baseline starting at `origen`, filled in `color` and outlined in dark
    // grey as opaque as the colour: the light colours of the palette (AE's orange, É's sky blue) read on
    // white by the outline, and the colour inside still tells the vowel. With `halo`, a white halo first,
    // to read over other marks.
    void Escriure(QPainter& p, QPointF origen, int pixels, const QString& text, const QColor& color,
                  bool halo = false) {
        const auto [lloc, nou] = camins_.try_emplace({text, pixels});
        if (nou) lloc->second.addText(QPointF(), LletraDibuix(pixels, true), text);
        const QPainterPath cami = lloc->second.translated(origen);
        if (halo) p.strokePath(cami, QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.strokePath(cami, QPen(QColor(40, 40, 40, color.alpha()), 1.0));
        p.fillPath(cami, color);
    }

private:
    std::map<std::pair<QString, int>, QPainterPath> camins_;
};

// Each vowel's ellipse; with `creus`, the mean of two or more points marked by a cross and the letter.
void Elipses(QPainter& p, Lletres& lletres, const QRectF& area, const EixosCarta& eixos, QSize mida,
             const std::vector<EstadisticaVocal>& estadistiques, bool creus) {
    for (const EstadisticaVocal& e : estadistiques) {
        const QColor color = ColorVocal(e.Vocal);
        if (e.TeElipse) {
            QPolygonF vora;
            const double c = std::cos(e.Angle), s = std::sin(e.Angle);
            for (int i = 0; i < kCostatsElipse; ++i) {
                const double t = 2 * std::numbers::pi * i / kCostatsElipse;
                const double a = e.Semieix1 * std::cos(t), b = e.Semieix2 * std::sin(t);
                vora << PuntDibuix(mida, eixos, e.MitjanaF1 + a * s + b * c, e.MitjanaF2 + a * c - b * s);
            }
            p.setPen(QPen(AmbAlfa(color, 200), 1.5));
            p.setBrush(AmbAlfa(color, 36));
            p.drawPolygon(vora);
        }
        // A single point shows itself; the mean of several is marked.
        const QPointF mitjana = PuntDibuix(mida, eixos, e.MitjanaF1, e.MitjanaF2);
        if (!creus || e.Punts < 2 || !area.contains(mitjana)) continue;
        p.setPen(QPen(color, 2));
        p.drawLine(mitjana - QPointF(5, 0), mitjana + QPointF(5, 0));
        p.drawLine(mitjana - QPointF(0, 5), mitjana + QPointF(0, 5));
        lletres.Escriure(p, mitjana + QPointF(6, -6), 12, Q(e.Vocal), color);
    }
}

// The letter of each vowel with two or more points, centred on its mean and haloed, so it reads over the
// marks of the trials.
void LletresMitjanes(QPainter& p, Lletres& lletres, const QRectF& area, const EixosCarta& eixos, QSize mida,
                     const std::vector<EstadisticaVocal>& estadistiques) {
    const QFontMetricsF m(LletraDibuix(16, true));
    for (const EstadisticaVocal& e : estadistiques) {
        const QPointF mitjana = PuntDibuix(mida, eixos, e.MitjanaF1, e.MitjanaF2);
        if (e.Punts < 2 || !area.contains(mitjana)) continue;
        const QString text = Q(e.Vocal);
        lletres.Escriure(p, mitjana + QPointF(-m.horizontalAdvance(text) / 2, m.capHeight() / 2), 16, text,
                         ColorVocal(e.Vocal), true);
    }
}

QPointF DinsArea(QPointF lloc, const QRectF& area) {
    return {std::clamp(lloc.x(), area.left(), area.right()), std::clamp(lloc.y(), area.top(), area.bottom())};
}

constexpr double kRadiPunt = 4.0, kMidaCreu = 5.0;

// A dot: filled, or hollow when it stands for a place beyond the plot.
void Punt(QPainter& p, QPointF lloc, const QColor& color, bool ple) {
    p.setPen(QPen(color, 1.5));
    p.setBrush(ple ? QBrush(color) : QBrush(Qt::NoBrush));
    p.drawEllipse(lloc, kRadiPunt, kRadiPunt);
}

void Creu(QPainter& p, QPointF lloc, const QColor& color) {
    p.setPen(QPen(color, 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(lloc - QPointF(kMidaCreu, kMidaCreu), lloc + QPointF(kMidaCreu, kMidaCreu));
    p.drawLine(lloc + QPointF(-kMidaCreu, kMidaCreu), lloc + QPointF(kMidaCreu, -kMidaCreu));
}

void Rastre(QPainter& p, Lletres& lletres, const QRectF& area, const EixosCarta& eixos, QSize mida,
            const std::deque<PuntCarta>& punts) {
    const std::size_t n = punts.size();
    for (std::size_t i = 0; i < n; ++i) {
        const PuntCarta& punt = punts[i];
        const bool darrer = i + 1 == n;
        const QPointF lloc = PuntDibuix(mida, eixos, punt.F1, punt.F2);
        const QPointF dins = DinsArea(lloc, area);
        // Older points fade, down to half strength for the oldest of a full trail, so they still read.
        const int alfa = darrer ? 255 : 128 + static_cast<int>(100.0 * static_cast<double>(i + 1) / n);
        const QColor color = AmbAlfa(ColorVocal(punt.Vocal), alfa);
        const double radi = darrer ? 7.0 : kRadiPunt;
        p.setPen(darrer ? QPen(Qt::black, 2) : QPen(color, 1.5));
        p.setBrush(dins == lloc ? QBrush(color) : QBrush(Qt::NoBrush));
        p.drawEllipse(dins, radi, radi);
        lletres.Escriure(p, dins + QPointF(radi + 1, -radi), darrer ? 20 : 13, Q(punt.Vocal), color);
    }
}

// A ring around a place, clamped to the plot.
void Anella(QPainter& p, const QRectF& area, const EixosCarta& eixos, QSize mida, double f1, double f2,
            const QPen& llapis, double radi) {
    p.setPen(llapis);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(DinsArea(PuntDibuix(mida, eixos, f1, f2), area), radi, radi);
}

void Models(QPainter& p, const QRectF& area, const EixosCarta& eixos, QSize mida,
            const ModelsVocals* models) {
    if (models == nullptr) return;
    for (const auto& [vocal, model] : models->Tots())
        Anella(p, area, eixos, mida, model.F1, model.F2, QPen(ColorVocal(vocal), 3), 11);
}

// From each point of the trail whose vowel has a model, a thin line to it; beside the newest such point,
// the distance.
void LiniesModels(QPainter& p, const QRectF& area, const EixosCarta& eixos, QSize mida,
                  const std::deque<PuntCarta>& punts, const OpcionsDibuixCarta& o) {
    if (o.Models == nullptr) return;
    const PuntCarta* darrer = nullptr;
    std::optional<ModelVocal> modelDarrer;
    for (const PuntCarta& punt : punts) {
        const std::optional<ModelVocal> model = o.Models->Model(punt.Vocal);
        if (!model) continue;
        p.setPen(QPen(AmbAlfa(ColorVocal(punt.Vocal), 150), 1));
        p.drawLine(DinsArea(PuntDibuix(mida, eixos, punt.F1, punt.F2), area),
                   DinsArea(PuntDibuix(mida, eixos, model->F1, model->F2), area));
        darrer = &punt;
        modelDarrer = model;
    }
    if (darrer == nullptr) return;
    const double bark = DistanciaBark(darrer->F1, darrer->F2, modelDarrer->F1, modelDarrer->F2);
    const QString text = T(o.Llengua, IdText::DistanciaModel).arg(QString::number(bark, 'f', 1));
    const QPointF lloc = DinsArea(PuntDibuix(mida, eixos, darrer->F1, darrer->F2), area);
    p.setFont(LletraDibuix(12, true));
    p.setPen(QColor(40, 40, 40));
    p.drawText(lloc + QPointF(10, 20), text);
}

void Seleccionat(QPainter& p, const QRectF& area, const EixosCarta& eixos, QSize mida,
                 const std::optional<PuntCarta>& punt) {
    if (!punt) return;
    const QPointF lloc = PuntDibuix(mida, eixos, punt->F1, punt->F2);
    const QPointF dins = DinsArea(lloc, area);
    Punt(p, dins, ColorVocal(punt->Vocal), dins == lloc);
    Anella(p, area, eixos, mida, punt->F1, punt->F2, QPen(Qt::black, 2, Qt::DashLine), 13);
}

// The background, the plot and its axes; then drawing is clipped to the plot and a little beyond.
void Fons(QPainter& p, const QRectF& area, const EixosCarta& eixos, QSize mida, const OpcionsDibuixCarta& o) {
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(QPointF(0, 0), QSizeF(mida)), QColor(245, 245, 245));
    p.fillRect(area, Qt::white);
    Eixos(p, area, eixos, mida, o);
    p.setClipRect(area.adjusted(-8, -8, 8, 8));
}

// The legend below the plot: the two marks and how many of each.
void Llegenda(QPainter& p, QSize mida, Idioma llengua, int encerts, int errors) {
    const QColor gris(60, 60, 60);
    p.setFont(LletraDibuix(11));
    const QFontMetricsF m(p.font());
    const double base = mida.height() - 5;
    QPointF lloc(kMargeEsquerre + 5, base - m.ascent() / 2 + 1);
    Punt(p, lloc, gris, true);
    QString text = T(llengua, IdText::LlegendaEncerts) + QStringLiteral(": ") + QString::number(encerts);
    p.setPen(gris);
    p.drawText(QPointF(lloc.x() + 8, base), text);
    lloc.rx() += 8 + m.horizontalAdvance(text) + 24;
    Creu(p, lloc, gris);
    text = T(llengua, IdText::LlegendaErrors) + QStringLiteral(": ") + QString::number(errors);
    p.setPen(gris);
    p.drawText(QPointF(lloc.x() + 9, base), text);
}

} // namespace

OpcionsDibuixCarta OpcionsCartaSessio(const Sessio& sessio) {
    OpcionsDibuixCarta o{sessio.VeuAguda(), sessio.Llengua(), &sessio.Models(), std::nullopt};
    const EmissioLinia* emissio = sessio.EmissioSeleccionada();
    if (const AnalisiBloc* a = emissio != nullptr ? emissio->AnalisiPrincipal() : nullptr)
        o.Seleccionat = PuntCarta{a->F1, a->F1 + static_cast<float>(a->S2F), a->Vocal, a->Frequencia, 0.0};
    return o;
}

QRectF AreaCarta(QSize mida) {
    return QRectF(kMargeEsquerre, kMargeDalt, std::max(1.0, mida.width() - kMargeEsquerre - kMargeDret),
                  std::max(1.0, mida.height() - kMargeDalt - kMargeBaix));
}

QColor ColorVocal(const std::string& vocal) {
    struct Parella {
        const char* Vocal;
        QRgb Color;
    };
    static constexpr Parella kColors[] = {
        {"A", 0xD55E00}, {"AE", 0xE69F00}, {"È", 0xCC79A7}, {"É", 0x56B4E9},
        {"E", 0x8E5BB5}, {"I", 0x0072B2},  {"O", 0x009E73}, {"U", 0x000000},
    };
    for (const Parella& c : kColors)
        if (vocal == c.Vocal) return QColor::fromRgb(c.Color);
    return QColor(128, 128, 128);
}

QPointF PuntDibuix(QSize mida, const EixosCarta& eixos, double f1, double f2) {
    const QRectF area = AreaCarta(mida);
    const PosicioCarta p = MaparCarta(eixos, f1, f2, area.width(), area.height());
    return {area.left() + p.X, area.top() + p.Y};
}

void DibuixarCarta(QPainter& pintor, QSize mida, const CartaVocals& carta,
                   const OpcionsDibuixCarta& opcions) {
    const EixosCarta eixos = EixosPerVeu(opcions.VeuAguda);
    const QRectF area = AreaCarta(mida);
    pintor.save();
    Fons(pintor, area, eixos, mida, opcions);
    Lletres lletres;
    Elipses(pintor, lletres, area, eixos, mida, carta.Estadistiques(), true);
    Models(pintor, area, eixos, mida, opcions.Models);
    LiniesModels(pintor, area, eixos, mida, carta.Punts(), opcions);
    Rastre(pintor, lletres, area, eixos, mida, carta.Punts());
    Seleccionat(pintor, area, eixos, mida, opcions.Seleccionat);
    pintor.restore();
}

void DibuixarCartaExperiment(QPainter& pintor, QSize mida, const Experiment& experiment,
                             const OpcionsDibuixCarta& opcions) {
    std::vector<ProvaDibuix> proves;
    for (const ProvaCarta& prova : experiment.ProvesCarta())
        proves.push_back({prova.F1, prova.F2, experiment.VocalExperiment(prova.Demanada),
                          experiment.VocalExperiment(prova.Reconeguda)});
    DibuixarCartaProves(pintor, mida, proves, opcions);
}

void DibuixarCartaProves(QPainter& pintor, QSize mida, std::span<const ProvaDibuix> proves,
                         const OpcionsDibuixCarta& opcions) {
    const EixosCarta eixos = EixosPerVeu(opcions.VeuAguda);
    const QRectF area = AreaCarta(mida);
    pintor.save();
    Fons(pintor, area, eixos, mida, opcions);
    // The spread of what the speaker said for each prompt, hits and errors together.
    CartaVocals demanades(0);
    for (const ProvaDibuix& prova : proves)
        demanades.Afegir(PuntCarta{prova.F1, prova.F2, prova.Demanada, 0, 0.0});
    const std::vector<EstadisticaVocal> estadistiques = demanades.Estadistiques();
    Lletres lletres;
    Elipses(pintor, lletres, area, eixos, mida, estadistiques, false);
    Models(pintor, area, eixos, mida, opcions.Models);

    // A hit is a dot in the prompted vowel's colour; an error a cross in that colour, with the letter
    // recognised in its own colour.
    int encerts = 0;
    for (const ProvaDibuix& prova : proves) {
        const QPointF lloc = PuntDibuix(mida, eixos, prova.F1, prova.F2);
        const QPointF dins = DinsArea(lloc, area);
        const QColor color = AmbAlfa(ColorVocal(prova.Demanada), 210);
        if (prova.Demanada == prova.Reconeguda) {
            ++encerts;
            Punt(pintor, dins, color, dins == lloc);
        } else {
            Creu(pintor, dins, color);
            lletres.Escriure(pintor, dins + QPointF(kMidaCreu + 1, -kMidaCreu), 12, Q(prova.Reconeguda),
                             ColorVocal(prova.Reconeguda));
        }
    }
    LletresMitjanes(pintor, lletres, area, eixos, mida, estadistiques);
    Seleccionat(pintor, area, eixos, mida, opcions.Seleccionat);
    pintor.setClipping(false);
    Llegenda(pintor, mida, opcions.Llengua, encerts, static_cast<int>(proves.size()) - encerts);
    pintor.restore();
}

QByteArray ImatgePng(QSize mida, const std::function<void(QPainter&)>& dibuix) {
    QImage imatge(mida, QImage::Format_RGB32);
    QPainter pintor(&imatge);
    dibuix(pintor);
    pintor.end();
    QByteArray bytes;
    QBuffer sortida(&bytes);
    sortida.open(QIODevice::WriteOnly);
    imatge.save(&sortida, "PNG");
    return bytes;
}

QFont LletraDibuix(int pixels, bool negreta) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(negreta);
    return f;
}

} // namespace tessora
