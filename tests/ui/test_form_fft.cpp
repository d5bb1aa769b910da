// The graphs window's picture, rendered into an image from known arrays, and the window's refresh.
#include "AplicacioQtDeProva.h"
#include "DibuixFFT.h"
#include "UnitFormFFT.h"
#include "VocalSintetica.h"

#include <QImage>

#include <limits>
#include <memory>

namespace tessora {

namespace {

const QSize kClient(569, 265); // BaseY = 225
const QColor kGris(128, 128, 128), kVermell(Qt::red), kVerd(0, 128, 0), kPorpra(128, 0, 128),
    kGroc(Qt::yellow), kBlau(Qt::blue), kBlanc(Qt::white);

// Axis of 21.533 Hz steps; envelope at 35 (y 155), spectrum at 1.5 (y 195); peaks at 500 Hz (x 50) and
// 1500 Hz (x 150); band limits at positions 11 and 31 (x 22 and 65). E[256] stays 0, so the half-sum
// mark falls at point 127, 2735 Hz (x 273).
std::unique_ptr<EstatAnalisi> Estat(float envolupant = 35.0f) {
    auto e = std::make_unique<EstatAnalisi>();
    for (int k = 0; k < kMidaFFT; ++k)
        e->FrequenciesEspectre[k] = static_cast<float>(k * (kFrequenciaMostreig * 0.001953125));
    for (int k = 0; k < kPuntsAnalisi; ++k)
        e->EnvolupantLPC[k] = envolupant, e->ModulEspectre[k] = 1.5f;
    e->PicsLPC[1][1] = 500, e->PicsLPC[2][1] = 80, e->PicsLPC[1][2] = 1500, e->PicsLPC[2][2] = 40;
    e->LimitInferiorF1 = 11, e->LimitSuperiorF1 = 31, e->MigLPC = 1234;
    return e;
}

QImage Pintar(EstatAnalisi& estat, const OpcionsDibuixFFT& opcions) {
    QImage imatge(kClient, QImage::Format_RGB32);
    imatge.fill(Qt::white);
    QPainter pintor(&imatge);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    font.setStyleStrategy(QFont::NoAntialias); // text in its plain colour
    pintor.setFont(font);
    DibuixarFFT(pintor, kClient, estat, opcions);
    return imatge;
}

// The bounding box of the pixels of colour `color` within `zona`; empty when there are none.
QRect Tinta(const QImage& imatge, QRect zona, const QColor& color) {
    QRect caixa;
    for (int y = zona.top(); y <= zona.bottom(); ++y)
        for (int x = zona.left(); x <= zona.right(); ++x)
            if (imatge.pixelColor(x, y) == color) caixa |= QRect(x, y, 1, 1);
    return caixa;
}

} // namespace

class ProvaFormFFT : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void DibuixaCadaCosaOnToca_data() {
        QTest::addColumn<bool>("marques");
        QTest::addColumn<QRect>("zona");
        QTest::addColumn<QColor>("color");
        QTest::addColumn<bool>("hiEs");
        QTest::addRow("EixABaseY") << true << QRect(55, 225, 1, 1) << kGris << true;
        QTest::addRow("TickSenseElPuntFinal") << true << QRect(10, 223, 1, 4) << kGris << true;
        QTest::addRow("PuntFinalDelTick") << true << QRect(10, 227, 1, 1) << kGris << false;
        QTest::addRow("DivisioDe10ABaseYMes4") << true << QRect(500, 10, 1, 220) << kGris << true;
        QTest::addRow("QuadriculaCada20") << true << QRect(310, 25, 1, 1) << kGris << true;
        QTest::addRow("SenseQuadriculaAlDamunt") << true << QRect(310, 5, 1, 1) << kGris << false;
        QTest::addRow("EtiquetaParellaADreta") << true << QRect(555, 177, 12, 8) << kGris << true;
        QTest::addRow("EtiquetaSenarNo") << true << QRect(555, 197, 12, 7) << kGris << false;
        QTest::addRow("Envolupant") << true << QRect(310, 155, 238, 1) << kVermell << true;
        QTest::addRow("EnvolupantSenseElPuntFinal") << true << QRect(549, 155, 1, 1) << kVermell << false;
        QTest::addRow("Espectre") << true << QRect(310, 195, 1, 1) << kBlau << true;
        QTest::addRow("Pic") << true << QRect(50, 1, 1, 224) << kVerd << true;
        QTest::addRow("EtiquetaPicSenarA64") << true << QRect(52, 64, 30, 12) << kVerd << true;
        QTest::addRow("EtiquetaPicParellA80") << true << QRect(152, 80, 30, 12) << kVerd << true;
        QTest::addRow("EtiquetaPicParellNoA64") << true << QRect(152, 64, 30, 12) << kVerd << false;
        QTest::addRow("MarcaMeitat") << true << QRect(273, 100, 1, 1) << kPorpra << true;
        QTest::addRow("LimitsDeBanda") << true << QRect(22, 100, 1, 1) << kGroc << true;
        QTest::addRow("SenseMarquesCapPic") << false << QRect(0, 0, 569, 265) << kVerd << false;
        QTest::addRow("SenseMarquesCapMeitat") << false << QRect(0, 0, 569, 265) << kPorpra << false;
        QTest::addRow("SenseMarquesElsLimits") << false << QRect(65, 100, 1, 1) << kGroc << true;
    }
    void DibuixaCadaCosaOnToca() {
        QFETCH(bool, marques);
        QFETCH(QRect, zona);
        QFETCH(QColor, color);
        QFETCH(bool, hiEs);
        auto estat = Estat();
        OpcionsDibuixFFT opcions;
        opcions.VeureMarquesLPC = marques;
        const QRect tinta = Tinta(Pintar(*estat, opcions), zona, color);
        QCOMPARE(!tinta.isEmpty(), hiEs);
        if (hiEs && zona.width() == 1) QCOMPARE(tinta, zona); // a line covers the whole zone
    }

    void LesDivisionsPortenElValorCentrat() {
        auto estat = Estat();
        const QImage imatge = Pintar(*estat, {});
        for (int k = 1; k <= 5; ++k) {
            const QRect text = Tinta(imatge, QRect(100 * k - 40, 237, 81, 16), kGris);
            QVERIFY(std::abs(text.center().x() - 100 * k) <= 2); // glyph ink sits within its advance
            QVERIFY(text.width() >= 4 * 5);                      // four digits: "1000" .. "5000"
        }
        QVERIFY(Tinta(imatge, QRect(560, 237, 9, 16), kGris).isEmpty()); // no sixth division
    }

    void MigLPCLAposaElDibuix_data() {
        QTest::addColumn<bool>("marques");
        QTest::addColumn<float>("envolupant");
        QTest::addColumn<int>("migLPC");
        QTest::addRow("AmbMarques") << true << 35.0f << 2735;
        QTest::addRow("SenseMarques") << false << 35.0f << 2735;
        QTest::addRow("EnvolupantZeroElDeixa") << true << 0.0f << 1234;
    }
    void MigLPCLAposaElDibuix() {
        QFETCH(bool, marques);
        QFETCH(float, envolupant);
        QFETCH(int, migLPC);
        auto estat = Estat(envolupant);
        OpcionsDibuixFFT opcions;
        opcions.VeureMarquesLPC = marques;
        const QImage imatge = Pintar(*estat, opcions);
        QCOMPARE(estat->MigLPC, migLPC);
        if (envolupant == 0.0f) { // the curve along the axis, no mark
            QCOMPARE(Tinta(imatge, QRect(300, 225, 1, 1), kVermell), QRect(300, 225, 1, 1));
            QVERIFY(Tinta(imatge, QRect(QPoint(0, 0), kClient), kPorpra).isEmpty());
        }
    }

    void ValorsExtremsEsRetallen() {
        auto estat = Estat();
        estat->EnvolupantLPC[0] = 0; // from the axis straight up past the top
        OpcionsDibuixFFT opcions;
        opcions.UnitatY = 1e-30f;
        opcions.UnitatX = std::numeric_limits<std::int32_t>::max(); // labels k x UnitatX beyond 32 bits
        Pintar(*estat, opcions);
        opcions.UnitatX = 1000;
        QCOMPARE(Tinta(Pintar(*estat, opcions), QRect(0, 0, 1, 225), kVermell), QRect(0, 0, 1, 225));
    }

    void NoRepintarApilaIRedimensionarEsborra() {
        auto estat = Estat();
        TFormFFT finestra;
        finestra.EnllacarAnalisi(*estat, [] {});
        finestra.show();
        QVERIFY(QTest::qWaitForWindowExposed(&finestra));
        finestra.findChild<QAction*>(QStringLiteral("MenuNoRepintar"))->trigger();
        ResultatReconeixement r;
        r.Completa = true;
        r.Refresc = RefrescGrafics::DibuixarDirecte;
        QWidget* client = finestra.centralWidget();
        const int baseY = client->height() - 40;
        const auto vermell = [&](float e) {
            return client->grab().toImage().pixelColor(310, baseY - static_cast<int>(e) * 2) == kVermell;
        };
        finestra.MostrarResultat(r);
        estat->EnvolupantLPC.fill(50.0f);
        finestra.MostrarResultat(r);
        QVERIFY(vermell(35) && vermell(50));
        finestra.resize(finestra.width() + 10, finestra.height());
        QCoreApplication::processEvents();
        QVERIFY(!vermell(35) && vermell(50));
        r.Refresc = RefrescGrafics::Repintar; // "No Repintar" unchecked: every block on a clean picture
        estat->EnvolupantLPC.fill(35.0f);
        finestra.MostrarResultat(r);
        QVERIFY(vermell(35) && !vermell(50));
    }

    void LaLiniaDeDadesPortaElSeparadorDeLaRegio() {
        QLocale::setDefault(QLocale(QLocale::Catalan, QLocale::Spain));
        TFormFFT finestra;
        auto estat = Estat();
        const auto v = proves::VocalSintetica(88, 800, 1200, 100.0);
        std::copy(v.begin(), v.end(), estat->Mostres.begin());
        finestra.MostrarResultat(CalcularReconeixement(*estat, finestra.LlegirConfiguracio(false, false)));
        QLocale::setDefault(QLocale::c());
        const QString linia = finestra.findChild<QLabel*>(QStringLiteral("LabelDades1"))->text();
        QVERIFY2(QRegularExpression(QStringLiteral("YF1/YF2:\\d+,\\d\\d - A$")).match(linia).hasMatch(),
                 qPrintable(linia));
    }

    void LaUnitatYNoAcceptaInfinit() {
        TFormFFT finestra;
        auto* edit = finestra.findChild<QLineEdit*>(QStringLiteral("EditUnitatY"));
        edit->setText(QStringLiteral("inf"));
        finestra.EditUnitatYExit();
        QCOMPARE(edit->text(), QStringLiteral("5"));
    }
};

} // namespace tessora

TESSORA_QTEST_MAIN(tessora::ProvaFormFFT)
#include "test_form_fft.moc"
