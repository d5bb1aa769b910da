#include "DibuixProgres.h"

#include "ConfusioDiari.h"
#include "DibuixCarta.h"
#include "EinesFinestra.h"
#include "Experiment.h"

#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <vector>

namespace tessora {

namespace {

constexpr int kMargeEsquerre = 48, kMargeDalt = 28, kMargeDret = 96, kMargeBaix = 26;
constexpr double kFraccioEncerts = 0.4; // of the height, for the hit-rate plot and its axes
constexpr int kTitolCarta = 38;         // above each chart: its title and its note
constexpr double kMargeInterior = 10;   // inside the plot, so that the points at its edges show whole
const QColor kColorTotal(64, 64, 64);
const QColor kColorText(60, 60, 60);

// A run's rates, in %: overall, and per vowel of the set (1..N; none for a vowel it did not ask).
struct EncertsCursa {
    const CursaDiari* Cursa = nullptr;
    std::int64_t Inici = 0;
    double Total = 0;
    std::array<std::optional<double>, kMaximVocalsExperiment + 1> Vocal{};
};

// The runs of `llengua`'s vowel set that scored a trial, with their rates.
std::vector<EncertsCursa> Encerts(std::span<const CursaDiari> curses, Idioma llengua) {
    std::vector<EncertsCursa> encerts;
    for (const CursaDiari& cursa : curses) {
        const TaulaAvaluacio taula = TaulaCurses(std::span(&cursa, 1), llengua);
        if (taula.Puntuats == 0) continue;
        EncertsCursa e{&cursa, cursa.Inici,
                       100.0 * static_cast<double>(taula.Encerts) / static_cast<double>(taula.Puntuats)};
        for (int i = 1; i <= taula.N; ++i)
            if (const std::int64_t vegades = taula.Etiquetats(i); vegades > 0)
                e.Vocal[static_cast<std::size_t>(i)] = static_cast<double>(PercentatgeVocal(
                    taula.Confusio[static_cast<std::size_t>(i)][static_cast<std::size_t>(i)], vegades));
        encerts.push_back(e);
    }
    return encerts;
}

// A run's date, as the language writes it short.
QString Data(std::int64_t inici, Idioma llengua) {
    const QLocale local(llengua == Idioma::Castella ? QLocale::Spanish : QLocale::Catalan, QLocale::Spain);
    return local.toString(QDateTime::fromSecsSinceEpoch(inici).date(), QLocale::ShortFormat);
}

// The plot's grid, axes and dates: a tick per run, each date where it does not overlap the one before.
void EixosEncerts(QPainter& p, const QRectF& area, const std::vector<EncertsCursa>& encerts, Idioma llengua) {
    p.fillRect(area, Qt::white);
    p.setFont(LletraDibuix(11));
    const QFontMetricsF m(p.font());
    const std::int64_t primer = encerts.front().Inici, darrer = encerts.back().Inici;
    for (int percentatge = 0; percentatge <= 100; percentatge += 25) {
        const double y = PuntEncerts(area, primer, darrer, primer, percentatge).y();
        p.setPen(QPen(QColor(220, 220, 220), 1));
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        const QString t = QString::number(percentatge);
        p.setPen(kColorText);
        p.drawText(QPointF(area.left() - 5 - m.horizontalAdvance(t), y + m.ascent() / 2 - 1), t);
    }
    double lliure = -std::numeric_limits<double>::infinity();
    for (const EncertsCursa& e : encerts) {
        const double x = PuntEncerts(area, primer, darrer, e.Inici, 0).x();
        p.setPen(kColorText);
        p.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 4));
        const QString t = Data(e.Inici, llengua);
        const double amplada = m.horizontalAdvance(t);
        const double esquerra = std::max(x - amplada / 2, 0.0);
        if (esquerra < lliure) continue;
        p.drawText(QPointF(esquerra, area.bottom() + 6 + m.ascent()), t);
        lliure = esquerra + amplada + 8;
    }
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area);
    p.setFont(LletraDibuix(12, true));
    p.drawText(QPointF(area.left(), area.top() - 8), T(llengua, IdText::EixEncertsProgres));
}

// One line of rates with a dot per run.
void Linia(QPainter& p, const QPolygonF& punts, const QColor& color, double gruix, double radi) {
    p.setPen(QPen(color, gruix, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(punts);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(color);
    for (const QPointF& punt : punts)
        p.drawEllipse(punt, radi, radi);
}

void LiniesEncerts(QPainter& p, const QRectF& area, const std::vector<EncertsCursa>& encerts,
                   Idioma llengua) {
    const std::span<const std::string_view> vocals = VocalsIdioma(llengua);
    const std::int64_t primer = encerts.front().Inici, darrer = encerts.back().Inici;
    const auto lloc = [&](const EncertsCursa& e, double percentatge) {
        return PuntEncerts(area, primer, darrer, e.Inici, percentatge);
    };
    // The legend at the right: a stroke of each line and its name.
    p.setFont(LletraDibuix(12, true));
    const QFontMetricsF m(p.font());
    QPointF llegenda(area.right() + 14, area.top() + 8);
    const auto entrada = [&](const QString& nom, const QColor& color, double gruix) {
        p.setPen(QPen(color, gruix, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(llegenda, llegenda + QPointF(18, 0));
        p.setPen(kColorText);
        p.drawText(llegenda + QPointF(24, m.ascent() / 2 - 1), nom);
        llegenda.ry() += 17;
    };
    p.setRenderHint(QPainter::Antialiasing);
    for (std::size_t i = 1; i <= vocals.size(); ++i) {
        const std::string vocal(vocals[i - 1]);
        QPolygonF punts;
        for (const EncertsCursa& e : encerts)
            if (e.Vocal[i]) punts << lloc(e, *e.Vocal[i]);
        if (punts.empty()) continue; // a vowel no run asked has neither a line nor a legend
        Linia(p, punts, ColorVocal(vocal), 1.5, 3);
        entrada(Q(vocal), ColorVocal(vocal), 2);
    }
    QPolygonF total;
    for (const EncertsCursa& e : encerts)
        total << lloc(e, e.Total);
    Linia(p, total, kColorTotal, 4, 5);
    entrada(T(llengua, IdText::TotalProgres), kColorTotal, 4);
}

// A run's vowel chart in `lloc`, its title above it.
void Carta(QPainter& p, const QRectF& lloc, const CursaDiari& cursa, IdText titol, Idioma llengua) {
    std::vector<ProvaDibuix> proves;
    int senseFormants = 0;
    for (const ProvaDiari& prova : cursa.Proves) {
        if (!prova.F1 || !prova.S2F) {
            ++senseFormants;
            continue;
        }
        proves.push_back({*prova.F1, *prova.F1 + *prova.S2F, prova.Demanada, prova.Reconeguda.value_or("")});
    }
    p.setFont(LletraDibuix(12, true));
    p.setPen(Qt::black);
    p.drawText(QPointF(lloc.left() + 14, lloc.top() - kTitolCarta + 14),
               T(llengua, titol).arg(Data(cursa.Inici, llengua)));
    if (senseFormants > 0) {
        p.setFont(LletraDibuix(11));
        p.setPen(kColorText);
        p.drawText(QPointF(lloc.left() + 14, lloc.top() - kTitolCarta + 30),
                   T(llengua, IdText::ProvesSenseFormants).arg(senseFormants));
    }
    p.save();
    p.translate(lloc.topLeft());
    DibuixarCartaProves(p, lloc.size().toSize(), proves, {cursa.VeuAguda, llengua});
    p.restore();
}

} // namespace

DisposicioProgres DisposarProgres(QSize mida) {
    const int amplada = mida.width(), alcada = mida.height();
    const int dalt = static_cast<int>(alcada * kFraccioEncerts);
    const int cartes = dalt + kTitolCarta, meitat = amplada / 2;
    return {QRectF(kMargeEsquerre, kMargeDalt, std::max(1, amplada - kMargeEsquerre - kMargeDret),
                   std::max(1, dalt - kMargeDalt - kMargeBaix)),
            QRectF(0, cartes, std::max(1, meitat), std::max(1, alcada - cartes)),
            QRectF(meitat, cartes, std::max(1, amplada - meitat), std::max(1, alcada - cartes))};
}

QPointF PuntEncerts(const QRectF& area, std::int64_t primer, std::int64_t darrer, std::int64_t inici,
                    double percentatge) {
    const QRectF dins = area.adjusted(kMargeInterior, kMargeInterior, -kMargeInterior, -kMargeInterior);
    const double x = darrer > primer ? dins.left() + dins.width() * static_cast<double>(inici - primer) /
                                                         static_cast<double>(darrer - primer)
                                     : dins.center().x();
    return {x, dins.bottom() - dins.height() * percentatge / 100.0};
}

void DibuixarProgres(QPainter& pintor, QSize mida, std::span<const CursaDiari> curses, Idioma llengua) {
    pintor.save();
    pintor.fillRect(QRectF(QPointF(0, 0), QSizeF(mida)), QColor(245, 245, 245));
    const std::vector<EncertsCursa> encerts = Encerts(curses, llengua);
    if (encerts.empty()) {
        pintor.setFont(LletraDibuix(13));
        pintor.setPen(kColorText);
        pintor.drawText(QRectF(QPointF(0, 0), QSizeF(mida)), Qt::AlignCenter | Qt::TextWordWrap,
                        T(llengua, IdText::CapCursaProgres));
        pintor.restore();
        return;
    }
    const DisposicioProgres disposicio = DisposarProgres(mida);
    EixosEncerts(pintor, disposicio.Encerts, encerts, llengua);
    LiniesEncerts(pintor, disposicio.Encerts, encerts, llengua);
    // The charts of the runs drawn above: the first, and the latest when it is another.
    Carta(pintor, disposicio.CartaPrimera, *encerts.front().Cursa, IdText::PrimeraCursa, llengua);
    if (encerts.size() > 1)
        Carta(pintor, disposicio.CartaDarrera, *encerts.back().Cursa, IdText::DarreraCursa, llengua);
    pintor.restore();
}

} // namespace tessora
