#include "DibuixFFT.h"

#include "EinesFinestra.h"

#include "Numeric.h"
#include "Tools.h"
#include "UnitCalculsReconeixement.h"

#include <QPolygon>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace tessora {

namespace {

const QColor kGris(128, 128, 128);
const QColor kVermell(255, 0, 0);
const QColor kVerd(0, 128, 0);
const QColor kPorpra(128, 0, 128);
const QColor kGroc(255, 255, 0);
const QColor kBlau(0, 0, 255);

// nearest(v), ties to even, clipped to what a picture can hold; a value that is no number lies at 0.
int Pixel(Estesa v) {
    if (std::isnan(v)) return 0;
    if (v > kLimitPixel) return kLimitPixel;
    if (v < -kLimitPixel) return -kLimitPixel;
    return static_cast<int>(std::nearbyint(v));
}

class Tracador {
public:
    Tracador(QPainter& pintor, QSize client, const OpcionsDibuixFFT& o)
        : BaseY(client.height() - kMargeEixX), pintor_(pintor), client_(client), o_(o) {}

    const int BaseY;

    int X(Estesa hz) const { return Pixel(hz / o_.UnitatX * 100.0L); }
    int YEnvolupant(float e) const { return BaseY - Pixel(static_cast<Estesa>(e) / o_.UnitatY * 2.0L); }
    int YEspectre(float m) const { return BaseY - Pixel(static_cast<Estesa>(m) * 20.0L / o_.UnitatY); }

    void Color(const QColor& color) { pintor_.setPen(QPen(color, 1)); }

    // The pixels from `a` towards `b`, `b` left out; only those that can fall inside the client area are
    // handed to the painter, so a clipped coordinate costs no more than the area's size.
    void Linia(QPoint a, QPoint b) {
        const long long dx = b.x() - a.x(), dy = b.y() - a.y();
        const bool horitzontal = std::llabs(dx) >= std::llabs(dy);
        const long long n = std::max(std::llabs(dx), std::llabs(dy));
        if (n == 0) return;
        // The steps of the main axis that stay within the area: inici + i x pas in [0, mida).
        const long long inici = horitzontal ? a.x() : a.y();
        const long long pas = (horitzontal ? dx : dy) > 0 ? 1 : -1;
        const long long mida = horitzontal ? client_.width() : client_.height();
        long long primer = pas > 0 ? -inici : inici - (mida - 1);
        long long darrer = pas > 0 ? mida - 1 - inici : inici;
        primer = std::max(primer, 0LL);
        darrer = std::min(darrer, n - 1);
        const long long menor = horitzontal ? dy : dx;
        QPolygon punts;
        for (long long i = primer; i <= darrer; ++i) {
            // The minor axis, rounded half up: floor((2 i d + n) / 2n).
            const long long num = 2 * i * menor + n;
            const long long desplacament = num >= 0 ? num / (2 * n) : -((-num + 2 * n - 1) / (2 * n));
            const long long principal = inici + i * pas;
            punts << (horitzontal
                          ? QPoint(static_cast<int>(principal), a.y() + static_cast<int>(desplacament))
                          : QPoint(a.x() + static_cast<int>(desplacament), static_cast<int>(principal)));
        }
        pintor_.drawPoints(punts);
    }

    // A line to `b` from where the last one ended.
    void MoureA(QPoint p) { actual_ = p; }
    void LiniaA(QPoint b) {
        Linia(actual_, b);
        actual_ = b;
    }

    // Text with its top left corner at (x, dalt).
    void Text(int x, int dalt, const QString& text) {
        pintor_.drawText(QPoint(x, dalt + pintor_.fontMetrics().ascent()), text);
    }
    int Amplada(const QString& text) const { return pintor_.fontMetrics().horizontalAdvance(text); }

private:
    QPainter& pintor_;
    QSize client_;
    const OpcionsDibuixFFT& o_;
    QPoint actual_;
};

} // namespace

void DibuixarFFT(QPainter& pintor, QSize client, const EstatAnalisi& estat, const OpcionsDibuixFFT& o) {
    Tracador t(pintor, client, o);
    const int W = client.width(), H = client.height(), BaseY = t.BaseY;
    const auto& F = estat.FrequenciesEspectre;
    const auto& E = estat.EnvolupantLPC;

    t.Color(kGris);
    t.Linia({0, BaseY}, {W, BaseY});
    for (int k = 1; W > 10 * k; ++k)
        t.Linia({10 * k, BaseY - 2}, {10 * k, BaseY + 2});
    for (int k = 1; W > 100 * k; ++k) {
        t.Linia({100 * k, 10}, {100 * k, BaseY + 5});
        const QString text = QString::number(static_cast<long long>(k) * o.UnitatX);
        t.Text(100 * k - ArrodonirLimitat(t.Amplada(text) * 0.5), H - 28, text);
    }
    for (int k = 1, y = BaseY - 20; y > 10; ++k, y = BaseY - 20 * k) {
        t.Linia({0, y}, {W, y});
        if (k % 2 == 0) {
            const QString text = Q(FormatarValor(k * static_cast<double>(o.UnitatY)));
            t.Text(W - 2 - t.Amplada(text), y - 8, text);
        }
    }

    if (o.VeureLPC) {
        t.Color(kVermell);
        t.MoureA({0, t.YEnvolupant(E[0])});
        for (int k = 0; k < kPuntsAnalisi; ++k)
            t.LiniaA({t.X(F[k]), t.YEnvolupant(E[k])});
    }

    if (o.VeureMarquesLPC) {
        t.Color(kVerd);
        for (int s = 1; s <= kPicsUsats; ++s) {
            const float f = estat.PicsLPC[1][s];
            if (!(f > 0.0f)) continue;
            const int x = t.X(f);
            t.Linia({x, BaseY}, {x, 0});
            const std::string text = std::to_string(ArrodonirLimitat(f)) + "-" +
                                     FormatFix(estat.PicsLPC[2][s] * 0.125, 1, o.SeparadorDecimal);
            t.Text(x, s % 2 == 1 ? 64 : 80, Q(text));
        }
    }

    // Half-sum mark: the point just below the one at which the running sum of E[1..256] passes half.
    if (const std::optional<int> j = PuntMeitatEnvolupant(estat); j && o.VeureMarquesLPC) {
        t.Color(kPorpra);
        const int x = t.X(F[*j]);
        t.Linia({x, BaseY}, {x, 0});
        t.Text(x, 48, QString::number(ArrodonirLimitat(F[*j])));
    }

    // Band limits, whatever the options: envelope position p lies at F[p - 1], position 0 at 0 Hz.
    t.Color(kGroc);
    for (const std::int32_t p : {estat.LimitInferiorF1, estat.LimitSuperiorF1}) {
        if (p < 0 || p > kMidaFFT) continue;
        const int x = t.X(p == 0 ? 0.0f : F[p - 1]);
        t.Linia({x, BaseY}, {x, 0});
    }

    if (o.VeureFFT) {
        t.Color(kBlau);
        t.MoureA({0, t.YEspectre(estat.ModulEspectre[0])});
        for (int k = 0; k < kPuntsAnalisi; ++k)
            t.LiniaA({t.X(F[k]), t.YEspectre(estat.ModulEspectre[k])});
    }
}

} // namespace tessora
