// The graphs window's picture, rendered into an image from known arrays, and the window's refresh.
#include "AplicacioQtDeProva.h"
#include "Arrencada.h"
#include "DialegsDeProva.h"
#include "DibuixFFT.h"
#include "DispositiuGuionat.h"
#include "EinesFinestra.h"
#include "UnitFormFFT.h"
#include "VocalSintetica.h"

#include <QAction>
#include <QImage>
#include <QLineEdit>

#include <limits>
#include <memory>

namespace tessora {
namespace {

const QSize kClient(569, 265); // BaseY = 225
const QColor kGris(128, 128, 128), kVermell(Qt::red), kVerd(0, 128, 0), kPorpra(128, 0, 128),
    kGroc(Qt::yellow), kBlau(Qt::blue);

// Axis of 21.533 Hz steps; envelope at 35 (y 155), spectrum at 1.5 (y 195); peaks at 500 Hz (x 50) and
// 1500 Hz (x 150); band limits at positions 11 and 31 (x 22 and 65). E[256] stays 0, so the half-sum
// mark falls at point 127, 2735 Hz (x 273).
std::unique_ptr<EstatAnalisi> Estat() {
    auto e = std::make_unique<EstatAnalisi>();
    for (int k = 0; k < kMidaFFT; ++k)
        e->FrequenciesEspectre[k] = static_cast<float>(k * (kFrequenciaMostreig * 0.001953125));
    for (int k = 0; k < kPuntsAnalisi; ++k)
        e->EnvolupantLPC[k] = 35.0f, e->ModulEspectre[k] = 1.5f;
    e->PicsLPC[1][1] = 500, e->PicsLPC[2][1] = 80, e->PicsLPC[1][2] = 1500, e->PicsLPC[2][2] = 40;
    e->LimitInferiorF1 = 11, e->LimitSuperiorF1 = 31, e->MigLPC = 1234;
    return e;
}

QImage Pintar(EstatAnalisi& estat, const OpcionsDibuixFFT& opcions = {}) {
    QImage imatge(kClient, QImage::Format_RGB32);
    imatge.fill(Qt::white);
    QPainter pintor(&imatge);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11), font.setStyleStrategy(QFont::NoAntialias); // text in its plain colour
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
    void DibuixaCadaCosaOnToca_data() { // marks shown, where, in which colour, and whether it is there
        QTest::addColumn<bool>("marques"), QTest::addColumn<QRect>("zona");
        QTest::addColumn<QColor>("color"), QTest::addColumn<bool>("hiEs");
        QTest::addRow("TickSenseElPuntFinal") << true << QRect(10, 223, 1, 4) << kGris << true;
        QTest::addRow("PuntFinalDelTick") << true << QRect(10, 227, 1, 1) << kGris << false;
        QTest::addRow("DivisioDe10ABaseYMes4") << true << QRect(500, 10, 1, 220) << kGris << true;
        QTest::addRow("EtiquetaDeLaCinquena") << true << QRect(480, 237, 41, 16) << kGris << true;
        QTest::addRow("CapSisenaDivisio") << true << QRect(560, 237, 9, 16) << kGris << false;
        QTest::addRow("EtiquetaParellaADreta") << true << QRect(555, 177, 12, 8) << kGris << true;
        QTest::addRow("Envolupant") << true << QRect(310, 155, 238, 1) << kVermell << true;
        QTest::addRow("Espectre") << true << QRect(310, 195, 1, 1) << kBlau << true;
        QTest::addRow("EtiquetaPicSenarA64") << true << QRect(52, 64, 30, 12) << kVerd << true;
        QTest::addRow("EtiquetaPicParellA80") << true << QRect(152, 80, 30, 12) << kVerd << true;
        QTest::addRow("MarcaMeitat") << true << QRect(273, 100, 1, 1) << kPorpra << true;
        QTest::addRow("SenseMarquesCapPic") << false << QRect(0, 0, 569, 265) << kVerd << false;
        QTest::addRow("SenseMarquesElsLimits") << false << QRect(65, 100, 1, 1) << kGroc << true;
    }
    void DibuixaCadaCosaOnToca() {
        QFETCH(bool, marques);
        QFETCH(QRect, zona);
        QFETCH(QColor, color);
        QFETCH(bool, hiEs);
        auto estat = Estat();
        const QRect tinta = Tinta(Pintar(*estat, {.VeureMarquesLPC = marques}), zona, color);
        QCOMPARE(!tinta.isEmpty(), hiEs);
        if (hiEs && zona.width() == 1) QCOMPARE(tinta, zona); // a line covers the whole zone
    }

    void EnvolupantZeroSobreLEixISenseMeitat() {
        auto estat = Estat();
        estat->EnvolupantLPC.fill(0.0f);
        const QImage imatge = Pintar(*estat);
        QCOMPARE(Tinta(imatge, QRect(300, 225, 1, 1), kVermell), QRect(300, 225, 1, 1));
        QVERIFY(Tinta(imatge, QRect(QPoint(0, 0), kClient), kPorpra).isEmpty());
    }

    void ValorsExtremsEsRetallen() {
        auto estat = Estat();
        estat->EnvolupantLPC[0] = 0; // from the axis straight up past the top
        Pintar(*estat,
               {.UnitatX = std::numeric_limits<std::int32_t>::max()}); // labels k x UnitatX past 32 bits
        QCOMPARE(Tinta(Pintar(*estat, {.UnitatY = 1e-30f}), QRect(0, 0, 1, 225), kVermell),
                 QRect(0, 0, 1, 225));
    }

    // Through the program as a person uses it: an option shows at once (the spectrum goes); with "No
    // Repintar" the curves of two utterances pile up until the window is resized.
    void UnaOpcioDeSeguidaINoRepintarApila() {
        proves::DispositiuGuionat dispositiu;
        proves::DialegsDeProva dialegs;
        AplicacioTessora app(dispositiu, dialegs, "/no/such/Tessora.ini", "qevrun");
        QVERIFY(app.Arrencar(0));
        TFormFFT& finestra = *app.FormFFT;
        finestra.show();
        QVERIFY(QTest::qWaitForWindowExposed(&finestra));
        QWidget* client = finestra.centralWidget();
        const auto tinta = [&](const QColor& color) {
            return Tinta(client->grab().toImage(), client->rect(), color);
        };
        const auto emissio = [&](int periode, double f1, double f2) { // the second block is analysed
            const auto bloc = proves::BytesVocalSintetica(periode, f1, f2, 80);
            for (const auto& b : {std::vector<std::uint8_t>(512, 127), bloc, bloc})
                dispositiu.Lliurar(b), QCoreApplication::processEvents();
        };
        emissio(88, 800, 1200);
        QVERIFY(!tinta(kBlau).isEmpty());
        proves::Fill<QAction>(&finestra, "MenuVeureFFT")->trigger();
        QVERIFY(tinta(kBlau).isEmpty());
        proves::Fill<QAction>(&finestra, "MenuNoRepintar")->trigger();
        emissio(110, 300, 2200);
        const QRect apilades = tinta(kVermell);
        finestra.resize(finestra.width() + 10, finestra.height()), QCoreApplication::processEvents();
        QVERIFY(tinta(kVermell) != apilades);
    }

    void LaLiniaDeDadesPortaElSeparadorDeLaRegio() {
        QLocale::setDefault(QLocale(QLocale::Catalan, QLocale::Spain));
        const char separador = SeparadorDecimal();
        QLocale::setDefault(QLocale::c());
        QCOMPARE(separador, ',');
    }

    void LaUnitatYNoAcceptaInfinit() {
        proves::DispositiuGuionat dispositiu;
        const auto sessio = Sessio::Crear({dispositiu, {}, "/no/such/Tessora.ini", ""});
        TFormFFT finestra(*sessio);
        auto* edit = proves::Fill<QLineEdit>(&finestra, "EditUnitatY");
        edit->setText(QStringLiteral("inf")), finestra.EditUnitatYExit();
        QCOMPARE(edit->text(), QStringLiteral("5"));
    }
};

} // namespace tessora

TESSORA_QTEST_MAIN(tessora::ProvaFormFFT)
#include "test_form_fft.moc"
