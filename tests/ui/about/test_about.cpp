// The About window: layout, picture cycle, the clicks each component takes, and its timer.
#include "Fabricant.h"
#include "Unitabout.h"

#include <QDesktopServices>
#include <QUrl>
#include <QtTest>

#include <memory>

namespace tessora {
namespace {

// Stands in for the system's browser: keeps every address it is asked to open.
class Navegador : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Obertes;
public slots:
    void Obrir(const QUrl& adreca) { Obertes.push_back(adreca); }
};

// One row of test data; text values go into QString columns.
template <typename... Valors>
void Fila(const char* nom, const Valors&... valors) {
    (QTest::newRow(nom) << ... << valors);
}

QWidget* Component(TAboutBox& about, const QString& nom) {
    if (nom == QLatin1String("AboutBox")) return &about;
    return about.findChild<QWidget*>(nom);
}

// The one picture of the cycle that is shown, by name; empty when none is.
QString ImatgeDelCicle(const TAboutBox& about) {
    QString visible;
    for (const QLabel* imatge : about.Cicle()) {
        if (imatge->isHidden()) continue;
        if (!visible.isEmpty()) return QStringLiteral("several");
        visible = imatge->objectName();
    }
    return visible;
}

void MostrarNomes(TAboutBox& about, const QWidget* imatge) {
    for (QLabel* altra : about.Cicle())
        altra->setVisible(altra == imatge);
}

// The timer's own signal, without waiting 3.5 s for it.
bool Batec(TAboutBox& about) {
    return QMetaObject::invokeMethod(about.Timer1, "timeout", Qt::DirectConnection);
}

const QPoint kFons(4, 4); // off every component, inside the lower panel's margin

} // namespace

class TestAbout : public QObject {
    Q_OBJECT

private slots:
    void init() { about = std::make_unique<TAboutBox>(); }
    void cleanup() { about.reset(); }

    void Finestra() {
        QCOMPARE(about->windowTitle(), QStringLiteral("Parlant de..."));
        QCOMPARE(about->size(), QSize(305, 385));
        QCOMPARE(about->minimumSize(), about->maximumSize()); // not resizable
        QVERIFY(about->Memo1->isReadOnly());
        // The splash shows it without its button row and stops the timer straight after showing. Nothing
        // else may lie in the row that the shorter window cuts off.
        about->OKButton->hide();
        about->setFixedHeight(about->height() - 28);
        about->show();
        about->Timer1->stop();
        QCOMPARE(about->height(), 357);
        for (QWidget* component : about->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (component != about->OKButton)
                QVERIFY2(component->geometry().bottom() < 357, qPrintable(component->objectName()));
    }

    // Where each component sits, and whether it is shown when the window first is.
    void Components_data() {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("pare");
        QTest::addColumn<QRect>("lloc");
        QTest::addColumn<bool>("visible");
        Fila("OKButton", "OKButton", "AboutBox", QRect(111, 352, 77, 27), true);
        Fila("Panel1", "Panel1", "AboutBox", QRect(16, 16, 273, 150), true);
        Fila("Panel2", "Panel2", "AboutBox", QRect(16, 180, 273, 161), true);
        Fila("Image3", "Image3", "AboutBox", QRect(70, 2, 172, 338), false);
        Fila("ImageOrella", "ImageOrella", "Panel1", QRect(12, 20, 33, 33), true);
        Fila("ImageOrdinador", "ImageOrdinador", "Panel1", QRect(12, 20, 33, 33), false);
        Fila("Image2", "Image2", "Panel2", QRect(24, 16, 226, 131), true);
        Fila("Image1", "Image1", "Panel2", QRect(24, 16, 226, 131), false);
        Fila("ImageInteligencia", "ImageInteligencia", "Panel2", QRect(0, 0, 273, 161), false);
        Fila("ImageQuadre", "ImageQuadre", "Panel2", QRect(8, 8, 257, 145), false);
        Fila("Label1", "Label1", "Panel2", QRect(24, 12, 233, 136), false);
        Fila("Label2", "Label2", "Panel2", QRect(56, 16, 185, 129), false);
        Fila("Memo1", "Memo1", "Panel2", QRect(0, 0, 273, 161), false);
    }
    void Components() {
        QFETCH(QString, nom);
        QFETCH(QString, pare);
        QFETCH(QRect, lloc);
        QFETCH(bool, visible);
        QWidget* component = Component(*about, nom);
        QVERIFY(component != nullptr);
        QCOMPARE(component->parentWidget(), Component(*about, pare));
        QCOMPARE(component->geometry(), lloc);
        about->show();
        QCOMPARE(component->isVisible(), visible);
    }

    void Timer1NomesAmbLaFinestraVisible_data() {
        QTest::addColumn<QString>("objecte");
        QTest::addColumn<QString>("metode");
        Fila("OKButton", "OKButton", "click");
        Fila("close", "AboutBox", "close");
        Fila("reject (Escape)", "AboutBox", "reject");
        Fila("hide", "AboutBox", "hide");
    }
    // The next showing starts the timer again and finds the window as the last one left it.
    void Timer1NomesAmbLaFinestraVisible() {
        QFETCH(QString, objecte);
        QFETCH(QString, metode);
        QVERIFY(!about->Timer1->isActive());
        about->show();
        QVERIFY(about->Timer1->isActive());
        QVERIFY(Batec(*about));
        QTest::mouseClick(about.get(), Qt::LeftButton, {}, kFons);
        QTest::mouseClick(about->Panel1, Qt::LeftButton);
        QVERIFY(QMetaObject::invokeMethod(Component(*about, objecte), qPrintable(metode)));
        QVERIFY(about->isHidden());
        QVERIFY(!about->Timer1->isActive());
        about->show();
        QVERIFY(about->Timer1->isActive());
        QCOMPARE(ImatgeDelCicle(*about), QStringLiteral("Image1"));
        QVERIFY(!about->ImageOrdinador->isHidden());
        QVERIFY(!about->Memo1->isHidden());
        QVERIFY(about->Panel1->isHidden());
        QVERIFY(!about->Image3->isHidden());
    }

    // The cycle moves on by beats of the timer, each also swapping the ear and the computer, or by a click
    // on the picture shown (or on the label over it), which leaves the icon alone.
    void CicleDeLesImatges_data() {
        QTest::addColumn<QString>("mostrada"); // shown alone first
        QTest::addColumn<QString>("clicada");
        QTest::addColumn<int>("batecs");
        QTest::addColumn<QString>("seguent");
        QTest::addColumn<bool>("ordinador");
        const char* ordre[] = {"Image2", "Image1", "ImageInteligencia", "ImageQuadre", "Image2", "Image1"};
        const QString tal; // as the window starts; no click
        for (int batecs = 0; batecs <= 5; ++batecs)
            QTest::addRow("%d beats", batecs) << tal << tal << batecs << ordre[batecs] << (batecs % 2 == 1);
        Fila("beat with no picture shown", "none", "", 1, "", true);
        for (int i = 1; i <= 4; ++i)
            QTest::addRow("click %s", ordre[i]) << ordre[i] << ordre[i] << 0 << ordre[i + 1] << false;
        Fila("click Label1", "ImageInteligencia", "Label1", 0, "ImageQuadre", false);
        Fila("click Label2", "ImageQuadre", "Label2", 0, "Image2", false);
    }
    void CicleDeLesImatges() {
        QFETCH(QString, mostrada);
        QFETCH(QString, clicada);
        QFETCH(int, batecs);
        QFETCH(QString, seguent);
        QFETCH(bool, ordinador);
        about->show();
        if (!mostrada.isEmpty()) MostrarNomes(*about, Component(*about, mostrada)); // "none": no such one
        if (!clicada.isEmpty()) QTest::mouseClick(Component(*about, clicada), Qt::LeftButton);
        for (int i = 0; i < batecs; ++i)
            QVERIFY(Batec(*about));
        QCOMPARE(ImatgeDelCicle(*about), seguent);
        QCOMPARE(about->ImageOrdinador->isHidden(), !ordinador);
        QCOMPARE(about->ImageOrella->isHidden(), ordinador);
        QVERIFY(about->Label1->isHidden() && about->Label2->isHidden());
        QVERIFY(about->Memo1->isHidden()); // a click stays with the picture, not the panel beneath
    }

    // A click on the background or Panel2 toggles the memo; one on Panel1 (or its name picture or version)
    // swaps both panels for Image3, and one on Image3 swaps them back.
    void ClicAlsPanells_data() {
        QTest::addColumn<QString>("anada");
        QTest::addColumn<QString>("tornada");
        QTest::addColumn<bool>("memo");
        Fila("window background", "AboutBox", "AboutBox", true);
        Fila("Panel2", "Panel2", "Panel2", true);
        for (const char* nom : {"Panel1", "Image4", "Version"})
            Fila(nom, nom, "Image3", false);
    }
    void ClicAlsPanells() {
        QFETCH(QString, anada);
        QFETCH(QString, tornada);
        QFETCH(bool, memo);
        about->show();
        for (const bool anat : {true, false}) {
            QTest::mouseClick(Component(*about, anat ? anada : tornada), Qt::LeftButton, {}, kFons);
            QCOMPARE(about->Memo1->isHidden(), !(anat && memo));
            QCOMPARE(about->Panel1->isHidden(), anat && !memo);
            QCOMPARE(about->Panel2->isHidden(), anat && !memo);
            QCOMPARE(about->Image3->isHidden(), !(anat && !memo));
        }
    }

    void AdrecaWeb() {
        Navegador navegador;
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &navegador, "Obrir");
        about->show();
        QTest::mouseClick(about->ProductName, Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        const QUrl adreca(QString::fromUtf8(kAdrecaWeb.data(), static_cast<qsizetype>(kAdrecaWeb.size())));
        QCOMPARE(navegador.Obertes, QList<QUrl>{adreca});
        QVERIFY(!about->Panel1->isHidden()); // the click did not reach the panel beneath
    }

private:
    std::unique_ptr<TAboutBox> about;
};

} // namespace tessora

QTEST_MAIN(tessora::TestAbout)
#include "test_about.moc"
