#include "DibuixSessio.h"

#include "Constants.h"
#include "DibuixCarta.h"
#include "EinesFinestra.h"

#include <QFont>

#include <algorithm>
#include <array>
#include <cmath>

namespace tessora {

namespace {

constexpr double kMargeEsquerre = 62, kMargeDret = 10, kMargeDalt = 8, kMargeBaix = 20;
constexpr double kAlcadaEmissions = 34, kAlcadaNivell = 44, kSeparacio = 4;
constexpr double kAlcadaBarra = 10;
constexpr double kNivellPle = 128; // the level that fills the envelope's band

// Where blocks fall across the bands, computed once per picture.
struct EscalaX {
    double Esquerra, PixelsPerBloc;
    std::int64_t Inici;
    double operator()(std::int64_t bloc) const {
        return Esquerra + static_cast<double>(bloc - Inici) * PixelsPerBloc;
    }
};

double Segons(std::int64_t bloc) {
    return static_cast<double>(bloc) * kMidaBloc / kFrequenciaMostreig;
}

// The pitch grid: every C and A of octaves 1 to 6 that falls on the axis, with its name and frequency.
void GraellaPitch(QPainter& p, QSize mida, const QRectF& area, Idioma idioma) {
    p.setFont(LletraDibuix(10));
    const QFontMetricsF m(p.font());
    for (int octava = 1; octava <= 6; ++octava) {
        const std::array<std::pair<IdText, double>, 2> notes = {
            {{IdText::NotaDo, 440.0 * std::pow(2.0, octava - 4 - 9.0 / 12.0)},
             {IdText::NotaLa, 440.0 * std::pow(2.0, octava - 4)}}};
        for (const auto& [nom, hz] : notes) {
            if (hz < kFrequenciaMinimaSessio || hz > kFrequenciaMaximaSessio) continue;
            const double y = YFrequencia(mida, hz);
            p.setPen(QPen(nom == IdText::NotaLa ? QColor(200, 200, 200) : QColor(225, 225, 225), 1));
            p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
            const QString text = T(idioma, nom) + QString::number(octava) + QLatin1Char(' ') +
                                 QString::number(std::lround(hz));
            p.setPen(QColor(60, 60, 60));
            p.drawText(QPointF(area.left() - 4 - m.horizontalAdvance(text), y + m.ascent() / 2 - 1), text);
        }
    }
}

// Vertical lines every so many seconds, at least 70 pixels apart, labelled below the bands.
void GraellaTemps(QPainter& p, const VistaSessio& v, const Arees& a) {
    const double pixelsPerSegon = a.Pitch.width() / Segons(v.Blocs);
    constexpr std::array<int, 10> passos = {1, 2, 5, 10, 15, 30, 60, 120, 300, 600};
    int pas = passos.back();
    for (int candidat : passos)
        if (candidat * pixelsPerSegon >= 70) {
            pas = candidat;
            break;
        }
    p.setFont(LletraDibuix(10));
    const QFontMetricsF m(p.font());
    const double inici = Segons(v.Inici()), final = Segons(v.Final);
    for (auto s = static_cast<std::int64_t>(std::ceil(std::max(0.0, inici) / pas)) * pas; s <= final;
         s += pas) {
        const double x = a.Pitch.left() + (s - inici) * pixelsPerSegon;
        p.setPen(QPen(QColor(225, 225, 225), 1));
        p.drawLine(QPointF(x, a.Pitch.top()), QPointF(x, a.Nivell.bottom()));
        const QString text = s >= 60
                                 ? QStringLiteral("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QLatin1Char('0'))
                                 : QString::number(s) + QStringLiteral(" s");
        p.setPen(QColor(60, 60, 60));
        p.drawText(QPointF(x - m.horizontalAdvance(text) / 2, a.Nivell.bottom() + 4 + m.ascent()), text);
    }
}

// The envelope: per pixel column, the highest level of the blocks that start in it; red where a block
// clipped.
void Envolupant(QPainter& p, const EscalaX& X, const LiniaTemps& linia, const VistaSessio& v,
                const QRectF& area) {
    const std::int64_t primer = std::max(v.Inici(), linia.PrimerBlocDisponible());
    const std::int64_t darrer = std::min(v.Final, linia.BlocsRebuts()); // exclusive
    const auto columna = [&](double x0, double x1, std::int32_t nivell) {
        const double h = std::min(1.0, nivell / kNivellPle) * area.height();
        p.fillRect(QRectF(x0, area.bottom() - h, std::max(1.0, x1 - x0), h),
                   nivell >= kNivellSaturacio ? QColor(213, 0, 0) : QColor(120, 120, 120));
    };
    double x0 = 0;
    std::int32_t maxim = -1;
    for (std::int64_t b = primer; b < darrer; ++b) {
        const double x = X(b);
        if (maxim >= 0 && std::floor(x) != std::floor(x0)) {
            columna(x0, x, maxim);
            maxim = -1;
        }
        if (maxim < 0) x0 = x;
        maxim = std::max(maxim, linia.Nivell(b).value_or(0));
    }
    if (maxim >= 0) columna(x0, X(darrer), maxim);
    const double y = area.bottom() - kNivellSilenci / kNivellPle * area.height();
    p.setPen(QPen(QColor(0, 114, 178), 1, Qt::DotLine));
    p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
}

} // namespace

std::int64_t BlocsEnSegons(double segons) {
    return static_cast<std::int64_t>(std::ceil(segons * kFrequenciaMostreig / kMidaBloc));
}

Arees AreesSessio(QSize mida) {
    const double esquerra = kMargeEsquerre,
                 amplada = std::max(1.0, mida.width() - kMargeEsquerre - kMargeDret);
    const double baix = mida.height() - kMargeBaix;
    const QRectF nivell(esquerra, baix - kAlcadaNivell, amplada, kAlcadaNivell);
    const QRectF emissions(esquerra, nivell.top() - kSeparacio - kAlcadaEmissions, amplada, kAlcadaEmissions);
    const double dalt = kMargeDalt;
    return {QRectF(esquerra, dalt, amplada, std::max(1.0, emissions.top() - kSeparacio - dalt)), emissions,
            nivell};
}

double XBloc(QSize mida, const VistaSessio& vista, std::int64_t bloc) {
    const QRectF area = AreesSessio(mida).Pitch;
    return area.left() +
           static_cast<double>(bloc - vista.Inici()) * area.width() / static_cast<double>(vista.Blocs);
}

std::int64_t BlocEnX(QSize mida, const VistaSessio& vista, double x) {
    const QRectF area = AreesSessio(mida).Pitch;
    return vista.Inici() +
           static_cast<std::int64_t>(std::floor((x - area.left()) * vista.Blocs / area.width()));
}

double YFrequencia(QSize mida, double hz) {
    const QRectF area = AreesSessio(mida).Pitch;
    const double f = std::clamp(hz, kFrequenciaMinimaSessio, kFrequenciaMaximaSessio);
    return area.top() + std::log(kFrequenciaMaximaSessio / f) /
                            std::log(kFrequenciaMaximaSessio / kFrequenciaMinimaSessio) * area.height();
}

void DibuixarSessio(QPainter& p, QSize mida, const LiniaTemps& linia, const VistaSessio& v) {
    p.fillRect(QRect(QPoint(0, 0), mida), Qt::white);
    const Arees a = AreesSessio(mida);
    const QRectF tot(a.Pitch.topLeft(), a.Nivell.bottomRight());
    const EscalaX X{a.Pitch.left(), a.Pitch.width() / static_cast<double>(v.Blocs), v.Inici()};
    // Zoomed out, a block is less than a pixel wide: the pitch is drawn as plain squares, one per pixel,
    // which keeps a picture of the whole session cheap.
    const bool dens = X.PixelsPerBloc < 1;

    // The utterances in view: they follow each other without overlapping, so both ends grow in order.
    const auto& emissions = linia.Emissions();
    const auto primera =
        std::lower_bound(emissions.begin(), emissions.end(), v.Inici(),
                         [](const EmissioLinia& e, std::int64_t b) { return e.DarrerBloc < b; });
    // What a frozen view shows stays as it was while the utterance at its end goes on: its vowel only
    // when decided inside the view.
    const auto vocal = [&](const EmissioLinia& e) {
        const AnalisiBloc* principal = e.AnalisiPrincipal();
        return principal != nullptr && principal->Bloc < v.Final ? principal->Vocal : std::string();
    };
    const auto extrems = [&](const EmissioLinia& e) {
        const double x0 = X(e.PrimerBloc);
        return std::pair(x0, std::max(x0 + 2, X(std::min(e.DarrerBloc, v.Final - 1) + 1)));
    };

    p.save();
    p.setClipRect(tot);
    // Before the first block held, nothing was heard (or kept): grey.
    if (const std::int64_t primer = linia.PrimerBlocDisponible(); primer > v.Inici())
        p.fillRect(QRectF(tot.left(), tot.top(), X(primer) - tot.left(), tot.height()),
                   QColor(240, 240, 240));
    if (v.Seleccio)
        if (const EmissioLinia* e = linia.EmissioEn(*v.Seleccio);
            e != nullptr && e->PrimerBloc == *v.Seleccio) {
            const auto [x0, x1] = extrems(*e);
            p.fillRect(QRectF(x0 - 3, tot.top(), x1 - x0 + 6, tot.height()), QColor(255, 244, 200));
        }
    p.restore();
    GraellaPitch(p, mida, a.Pitch, v.Llengua);
    GraellaTemps(p, v, a);

    p.save();
    p.setClipRect(tot);
    Envolupant(p, X, linia, v, a.Nivell);
    p.setFont(LletraDibuix(14, true));
    const QFontMetricsF m(p.font());
    double finalLletra = -1e9; // the right edge of the last letter drawn: letters never overlap
    for (auto it = primera; it != emissions.end() && it->PrimerBloc < v.Final; ++it) {
        const EmissioLinia& e = *it;
        const std::string lletra = vocal(e);
        const QColor color = ColorVocal(lletra);
        const auto [x0, x1] = extrems(e);
        const QRectF barra(x0, a.Emissions.bottom() - kAlcadaBarra, x1 - x0, kAlcadaBarra);
        p.fillRect(barra, color);
        if (e.Saturada) {
            p.setPen(QPen(QColor(213, 0, 0), 2));
            p.setBrush(Qt::NoBrush);
            p.drawRect(barra.adjusted(-1, -1, 1, 1));
        }
        if (v.Seleccio == e.PrimerBloc) {
            p.setPen(QPen(Qt::black, 2));
            p.setBrush(Qt::NoBrush);
            p.drawRect(barra.adjusted(-3, -3, 3, 3));
        }
        if (!lletra.empty() && (x0 + x1) / 2 >= finalLletra + 2) {
            const QString text = Q(lletra);
            const double w = m.horizontalAdvance(text), x = (x0 + x1 - w) / 2;
            if (x >= finalLletra + 2) {
                p.setPen(QColor(30, 30, 30));
                p.drawText(QPointF(x, barra.top() - 6), text);
                finalLletra = x + w;
            }
        }
        // The pitch of each analysed block in view, joined along the utterance.
        const QColor traca = color.darker(130);
        p.setRenderHint(QPainter::Antialiasing, !dens);
        p.setPen(QPen(traca, 2));
        p.setBrush(traca);
        std::optional<QPointF> anterior;
        for (const AnalisiBloc& an : e.Analisis) {
            if (an.Bloc >= v.Final || an.Frequencia <= 0) continue;
            const QPointF punt(X(an.Bloc) + X.PixelsPerBloc / 2, YFrequencia(mida, an.Frequencia));
            if (dens) {
                if (!anterior || std::floor(anterior->x()) != std::floor(punt.x()))
                    p.fillRect(QRectF(punt.x() - 1.5, punt.y() - 1.5, 3, 3), traca);
            } else {
                if (anterior) p.drawLine(*anterior, punt);
                p.drawEllipse(punt, 2.5, 2.5);
            }
            anterior = punt;
        }
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.restore();

    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(a.Pitch);
    p.drawRect(a.Emissions);
    p.drawRect(a.Nivell);
}

} // namespace tessora
