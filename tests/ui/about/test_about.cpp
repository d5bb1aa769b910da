// The About window: its layout, the picture cycle driven beat by beat through Timer1Timer, the clicks
// that each component takes for itself, and the timer that runs only while the window is shown.
#include "Fabricant.h"
#include "Unitabout.h"

#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include <memory>
#include <vector>

namespace tessora {
namespace {

// Stands in for the system's browser: keeps every address it is asked to open.
class Navegador : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> Obertes;
public slots:
    void Obrir(const QUrl& adreca) { Obertes.push_back(adreca); }
};

QWidget* Component(TAboutBox& about, const QString& nom) {
    if (nom == QLatin1String("AboutBox")) return &about;
    return about.findChild<QWidget*>(nom);
}

// The one picture of the cycle that is shown, by name; empty when none or several are.
QString ImatgeDelCicle(const TAboutBox& about) {
    QString visible;
    for (const QLabel* imatge : about.Cicle()) {
        if (imatge->isHidden()) continue;
        if (!visible.isEmpty()) return {};
        visible = imatge->objectName();
    }
    return visible;
}

void MostrarNomes(TAboutBox& about, QLabel* imatge) {
    for (QLabel* altra : about.Cicle())
        altra->setVisible(altra == imatge);
}

} // namespace

class TestAbout : public QObject {
    Q_OBJECT

private slots:
    void init() { about = std::make_unique<TAboutBox>(); }
    void cleanup() { about.reset(); }

    void Finestra() {
        QCOMPARE(about->windowTitle(), QStringLiteral("Parlant de..."));
        QCOMPARE(about->size(), QSize(305, 385));
        QCOMPARE(about->minimumSize(), about->maximumSize()); // a dialog border: not resizable
        QCOMPARE(about->OKButton->text(), QStringLiteral("D'acord"));
        QCOMPARE(about->Version->text(), QStringLiteral("Versió 18 - 05/01/2004"));
        QVERIFY(about->OKButton->isDefault());
        QVERIFY(about->Memo1->isReadOnly());
        QVERIFY(!about->ProductName->toolTip().isEmpty());
        QVERIFY(!about->Image3->toolTip().isEmpty());
    }

    void Geometria_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("pare");
        QTest::addColumn<QRect>("lloc");
        QTest::addRow("OKButton") << "OKButton"
                                  << "AboutBox" << QRect(111, 352, 77, 27);
        QTest::addRow("Panel1") << "Panel1"
                                << "AboutBox" << QRect(16, 16, 273, 150);
        QTest::addRow("Panel2") << "Panel2"
                                << "AboutBox" << QRect(16, 180, 273, 161);
        QTest::addRow("Image3") << "Image3"
                                << "AboutBox" << QRect(70, 2, 172, 338);
        QTest::addRow("ImageOrella") << "ImageOrella"
                                     << "Panel1" << QRect(12, 20, 33, 33);
        QTest::addRow("ImageOrdinador") << "ImageOrdinador"
                                        << "Panel1" << QRect(12, 20, 33, 33);
        QTest::addRow("Bevel2") << "Bevel2"
                                << "Panel1" << QRect(8, 16, 40, 41);
        QTest::addRow("ProductName") << "ProductName"
                                     << "Panel1" << QRect(80, 2, 185, 48);
        QTest::addRow("Image4") << "Image4"
                                << "Panel1" << QRect(68, 6, 188, 51);
        QTest::addRow("Image1") << "Image1"
                                << "Panel2" << QRect(24, 16, 226, 131);
        QTest::addRow("Image2") << "Image2"
                                << "Panel2" << QRect(24, 16, 226, 131);
        QTest::addRow("ImageInteligencia") << "ImageInteligencia"
                                           << "Panel2" << QRect(0, 0, 273, 161);
        QTest::addRow("ImageQuadre") << "ImageQuadre"
                                     << "Panel2" << QRect(8, 8, 257, 145);
        QTest::addRow("Memo1") << "Memo1"
                               << "Panel2" << QRect(0, 0, 273, 161);
    }
    void Geometria() {
        QFETCH(QString, nom);
        QFETCH(QString, pare);
        QFETCH(QRect, lloc);
        QWidget* component = Component(*about, nom);
        QVERIFY(component != nullptr);
        QCOMPARE(component->parentWidget(), Component(*about, pare));
        QCOMPARE(component->geometry(), lloc);
    }

    // The pictures that the form shows "sized to their picture" come at the size of their place, so the
    // place stays as laid out; the others must at least fit in theirs.
    void MidaDeLesImatges_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<bool>("exacta");
        QTest::addRow("ImageOrella") << "ImageOrella" << true;
        QTest::addRow("ImageOrdinador") << "ImageOrdinador" << true;
        QTest::addRow("Image4") << "Image4" << true;
        QTest::addRow("Image1") << "Image1" << true;
        QTest::addRow("Image2") << "Image2" << true;
        QTest::addRow("Image3") << "Image3" << true;
        QTest::addRow("ImageInteligencia") << "ImageInteligencia" << false;
        QTest::addRow("ImageQuadre") << "ImageQuadre" << false;
    }
    void MidaDeLesImatges() {
        QFETCH(QString, nom);
        QFETCH(bool, exacta);
        const auto* imatge = qobject_cast<QLabel*>(Component(*about, nom));
        QVERIFY(imatge != nullptr);
        const QSize mida = imatge->pixmap().size();
        QVERIFY2(!mida.isEmpty(), "the picture is missing from the resources");
        if (exacta)
            QCOMPARE(mida, imatge->size());
        else
            QVERIFY(mida.width() <= imatge->width() && mida.height() <= imatge->height());
    }

    void Lletres_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("familia");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<bool>("negreta");
        QTest::addColumn<QColor>("color"); // of the text; for Memo1, of its background
        QTest::addRow("ProductName") << "ProductName"
                                     << "Comic Sans MS" << 32 << true << QColor(0, 128, 0);
        QTest::addRow("Version") << "Version"
                                 << "Comic Sans MS" << 11 << true << QColor(0, 0, 0);
        QTest::addRow("Comments") << "Comments"
                                  << "Comic Sans MS" << 11 << true << QColor(128, 128, 128);
        QTest::addRow("Label2") << "Label2"
                                << "Comic Sans MS" << 27 << true << QColor(0, 0, 128);
        QTest::addRow("Memo1") << "Memo1"
                               << "Comic Sans MS" << 13 << true << QColor(192, 192, 192);
        QTest::addRow("OKButton") << "OKButton"
                                  << "MS Sans Serif" << 11 << true << QColor();
        QTest::addRow("Label1") << "Label1"
                                << "Comic Sans MS" << 19 << false << QColor();
        QTest::addRow("AboutBox") << "AboutBox"
                                  << "System" << 13 << false << QColor();
    }
    void Lletres() {
        QFETCH(QString, nom);
        QFETCH(QString, familia);
        QFETCH(int, pixels);
        QFETCH(bool, negreta);
        QFETCH(QColor, color);
        const QWidget* component = Component(*about, nom);
        QCOMPARE(component->font().family(), familia);
        QCOMPARE(component->font().pixelSize(), pixels);
        QCOMPARE(component->font().bold(), negreta);
        if (!color.isValid()) return;
        const QPalette::ColorRole rol =
            (nom == QLatin1String("Memo1")) ? QPalette::Base : QPalette::WindowText;
        QCOMPARE(component->palette().color(rol), color);
    }

    void VisibilitatInicial_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<bool>("visible");
        for (const char* nom :
             {"Panel1", "Panel2", "Image2", "ImageOrella", "OKButton", "ProductName", "Image4"})
            QTest::addRow("%s shown", nom) << nom << true;
        for (const char* nom : {"Image1", "ImageInteligencia", "ImageQuadre", "Memo1", "Image3", "Label1",
                                "Label2", "ImageOrdinador"})
            QTest::addRow("%s hidden", nom) << nom << false;
    }
    void VisibilitatInicial() {
        QFETCH(QString, nom);
        QFETCH(bool, visible);
        about->show();
        QCOMPARE(Component(*about, nom)->isVisible(), visible);
    }

    void Timer1NomesAmbLaFinestraVisible_data() {
        QTest::addColumn<int>("tancament");
        QTest::addRow("OKButton") << 0;
        QTest::addRow("close") << 1;
        QTest::addRow("reject (Escape)") << 2;
        QTest::addRow("hide") << 3;
    }
    void Timer1NomesAmbLaFinestraVisible() {
        QFETCH(int, tancament);
        QCOMPARE(about->Timer1->interval(), 3500);
        QVERIFY(!about->Timer1->isActive());
        about->show();
        QVERIFY(about->Timer1->isActive());
        switch (tancament) {
        case 0:
            QTest::mouseClick(about->OKButton, Qt::LeftButton);
            QCOMPARE(about->result(), int(QDialog::Accepted));
            break;
        case 1:
            about->close();
            break;
        case 2:
            QTest::keyClick(about.get(), Qt::Key_Escape);
            break;
        default:
            about->hide();
            break;
        }
        QVERIFY(about->isHidden());
        QVERIFY(!about->Timer1->isActive());
        about->show(); // every showing starts it again
        QVERIFY(about->Timer1->isActive());
    }

    // The splash: shown without its button row, the timer stopped straight after showing. Nothing else
    // may lie in the row that the shorter window cuts off.
    void PresentacioSenseBoto() {
        const int alcada = about->height();
        about->OKButton->hide();
        about->setFixedHeight(alcada - 28);
        about->show();
        about->Timer1->stop();
        QCOMPARE(about->height(), 357);
        for (QWidget* component : about->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (component != about->OKButton)
                QVERIFY2(component->geometry().bottom() < 357, qPrintable(component->objectName()));
        about->hide();
        about->setFixedHeight(alcada);
        about->OKButton->show();
        QCOMPARE(about->size(), QSize(305, 385));
        QVERIFY(!about->Timer1->isActive());
    }

    void CicleDeLesImatges_data() {
        QTest::addColumn<int>("batecs");
        QTest::addColumn<QString>("imatge");
        QTest::addColumn<bool>("ordinador");
        QTest::addRow("at first") << 0 << "Image2" << false;
        QTest::addRow("1 beat") << 1 << "Image1" << true;
        QTest::addRow("2 beats") << 2 << "ImageInteligencia" << false;
        QTest::addRow("3 beats") << 3 << "ImageQuadre" << true;
        QTest::addRow("4 beats") << 4 << "Image2" << false;
        QTest::addRow("5 beats") << 5 << "Image1" << true;
    }
    void CicleDeLesImatges() {
        QFETCH(int, batecs);
        QFETCH(QString, imatge);
        QFETCH(bool, ordinador);
        about->show();
        for (int i = 0; i < batecs; ++i) // the timer's own signal, without waiting 3.5 s for it
            QVERIFY(QMetaObject::invokeMethod(about->Timer1, "timeout", Qt::DirectConnection));
        QCOMPARE(ImatgeDelCicle(*about), imatge);
        QCOMPARE(!about->ImageOrdinador->isHidden(), ordinador);
        QCOMPARE(about->ImageOrella->isHidden(), ordinador);
    }

    // The first shown picture in the cycle's order is the one that moves on, should several be shown.
    void BatecAmbDuesImatgesVisibles() {
        about->Image1->show(); // Image1 and Image2 both shown
        about->Timer1Timer();
        QVERIFY(about->Image1->isHidden());
        QVERIFY(!about->ImageInteligencia->isHidden());
        QVERIFY(!about->Image2->isHidden());
    }

    void BatecSenseCapImatge() {
        MostrarNomes(*about, nullptr);
        about->Timer1Timer();
        for (const QLabel* imatge : about->Cicle())
            QVERIFY(imatge->isHidden());
        QVERIFY(!about->ImageOrdinador->isHidden()); // the small icon still swaps
        QVERIFY(about->ImageOrella->isHidden());
    }

    void ClicEnUnaImatge_data() {
        QTest::addColumn<QString>("mostrada");
        QTest::addColumn<QString>("clicada");
        QTest::addColumn<QString>("seguent");
        QTest::addRow("Image1") << "Image1"
                                << "Image1"
                                << "ImageInteligencia";
        QTest::addRow("ImageInteligencia") << "ImageInteligencia"
                                           << "ImageInteligencia"
                                           << "ImageQuadre";
        QTest::addRow("ImageQuadre") << "ImageQuadre"
                                     << "ImageQuadre"
                                     << "Image2";
        QTest::addRow("Image2") << "Image2"
                                << "Image2"
                                << "Image1";
        QTest::addRow("Label1") << "ImageInteligencia"
                                << "Label1"
                                << "ImageQuadre";
        QTest::addRow("Label2") << "ImageQuadre"
                                << "Label2"
                                << "Image2";
    }
    void ClicEnUnaImatge() {
        QFETCH(QString, mostrada);
        QFETCH(QString, clicada);
        QFETCH(QString, seguent);
        about->show();
        MostrarNomes(*about, qobject_cast<QLabel*>(Component(*about, mostrada)));
        QTest::mouseClick(Component(*about, clicada), Qt::LeftButton);
        QCOMPARE(ImatgeDelCicle(*about), seguent);
        QVERIFY(about->Label1->isHidden());
        QVERIFY(about->Label2->isHidden());
        QVERIFY(about->Memo1->isHidden()); // the click stayed with the picture, not the panel beneath
        QVERIFY(!about->ImageOrella->isHidden());
    }

    void ClicQueMostraElMemo_data() {
        QTest::addColumn<QString>("nom");
        QTest::addRow("window background") << "AboutBox";
        QTest::addRow("Panel2") << "Panel2";
    }
    void ClicQueMostraElMemo() {
        QFETCH(QString, nom);
        about->show();
        QWidget* component = Component(*about, nom);
        const QPoint vora(4, 4); // off every component of the window, inside the lower panel's margin
        QTest::mouseClick(component, Qt::LeftButton, {}, vora);
        QVERIFY(!about->Memo1->isHidden());
        QCOMPARE(ImatgeDelCicle(*about), QStringLiteral("Image2"));
        about->Timer1Timer(); // the cycle goes on underneath
        QCOMPARE(ImatgeDelCicle(*about), QStringLiteral("Image1"));
        QTest::mouseClick(component, Qt::LeftButton, {}, vora);
        QVERIFY(about->Memo1->isHidden());
    }

    // A double click is one click, as in the form toolkit: the release that ends it does not toggle again.
    void DobleClicAlFons() {
        about->show();
        const QPoint fons(4, 4);
        QTest::mouseClick(about.get(), Qt::LeftButton, {}, fons);
        QTest::mouseDClick(about.get(), Qt::LeftButton, {}, fons); // the second press, as the system sends it
        QTest::mouseRelease(about.get(), Qt::LeftButton, {}, fons);
        QVERIFY(!about->Memo1->isHidden());
        QTest::mouseClick(about.get(), Qt::LeftButton, {}, fons);
        QVERIFY(about->Memo1->isHidden());
    }

    void ClicAltreBotoNoCompta() {
        about->show();
        QTest::mouseClick(about.get(), Qt::RightButton, {}, QPoint(4, 4));
        QTest::mouseClick(about->Panel1, Qt::RightButton);
        QVERIFY(about->Memo1->isHidden());
        QVERIFY(!about->Panel1->isHidden());
    }

    void ClicQueMostraImage3_data() {
        QTest::addColumn<QString>("nom");
        QTest::addRow("Panel1") << "Panel1";
        QTest::addRow("Image4") << "Image4";
        QTest::addRow("Version") << "Version";
    }
    void ClicQueMostraImage3() {
        QFETCH(QString, nom);
        about->show();
        QTest::mouseClick(Component(*about, nom), Qt::LeftButton);
        QVERIFY(about->Panel1->isHidden());
        QVERIFY(about->Panel2->isHidden());
        QVERIFY(!about->Image3->isHidden());
        QVERIFY(about->Memo1->isHidden());
        QTest::mouseClick(about->Image3, Qt::LeftButton);
        QVERIFY(!about->Panel1->isHidden());
        QVERIFY(!about->Panel2->isHidden());
        QVERIFY(about->Image3->isHidden());
        QVERIFY(about->Memo1->isHidden());
    }

    // Components without a click of their own keep the click from the panel beneath.
    void ClicSenseEfecte_data() {
        QTest::addColumn<QString>("nom");
        QTest::addRow("ImageOrella") << "ImageOrella";
        QTest::addRow("Bevel2") << "Bevel2";
        QTest::addRow("Comments") << "Comments";
        QTest::addRow("Memo1") << "Memo1";
    }
    void ClicSenseEfecte() {
        QFETCH(QString, nom);
        about->show();
        if (nom == QLatin1String("Memo1")) about->Memo1->show();
        QWidget* component = Component(*about, nom);
        if (auto* memo = qobject_cast<QPlainTextEdit*>(component)) component = memo->viewport();
        QTest::mouseClick(component, Qt::LeftButton);
        QVERIFY(!about->Panel1->isHidden());
        QVERIFY(about->Image3->isHidden());
        QCOMPARE(about->Memo1->isHidden(), nom != QLatin1String("Memo1"));
        QCOMPARE(ImatgeDelCicle(*about), QStringLiteral("Image2"));
    }

    void AdrecaWeb_data() {
        QTest::addColumn<bool>("perElNom");
        QTest::addRow("ProductName click") << true;
        QTest::addRow("CopyrightClick") << false;
    }
    void AdrecaWeb() {
        QFETCH(bool, perElNom);
        Navegador navegador;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &navegador, "Obrir");
        about->show();
        if (perElNom)
            QTest::mouseClick(about->ProductName, Qt::LeftButton);
        else
            about->CopyrightClick();
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QCOMPARE(navegador.Obertes.size(), std::size_t(1));
        QCOMPARE(navegador.Obertes.front(),
                 QUrl(QString::fromUtf8(kAdrecaWeb.data(), static_cast<qsizetype>(kAdrecaWeb.size()))));
        QVERIFY(!about->Panel1->isHidden()); // the click did not reach the panel beneath
    }

    // The next showing starts where the last one ended.
    void EstatEntreMostres() {
        about->show();
        about->Timer1Timer();
        QTest::mouseClick(about.get(), Qt::LeftButton, {}, QPoint(4, 4));
        QTest::mouseClick(about->Panel1, Qt::LeftButton);
        QTest::mouseClick(about->OKButton, Qt::LeftButton);
        about->show();
        QCOMPARE(ImatgeDelCicle(*about), QStringLiteral("Image1"));
        QVERIFY(!about->ImageOrdinador->isHidden());
        QVERIFY(!about->Memo1->isHidden());
        QVERIFY(about->Panel1->isHidden());
        QVERIFY(!about->Image3->isHidden());
    }

private:
    std::unique_ptr<TAboutBox> about;
};

} // namespace tessora

QTEST_MAIN(tessora::TestAbout)
#include "test_about.moc"
