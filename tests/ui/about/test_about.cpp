// The About window: the splash's shorter window, the picture cycle, the clicks each component takes,
// and its timer.
#include "AplicacioQtDeProva.h"
#include "Unitabout.h"

#include <QtTest>

#include <memory>

namespace tessora {
namespace {

// One row of test data; text values go into QString columns.
template <typename... Valors>
void Fila(const char* nom, const Valors&... valors) {
    (QTest::newRow(nom) << ... << valors);
}

QWidget* Component(TAboutBox& about, const QString& nom) {
    if (nom == QLatin1String("AboutBox")) return &about;
    return about.findChild<QWidget*>(nom);
}

// The components that change visibility whose own flag says shown, in a fixed order.
QString Visibles(TAboutBox& about) {
    QStringList visibles;
    for (const char* nom : {"Image1", "ImageInteligencia", "ImageQuadre", "Image2", "ImageOrella",
                            "ImageOrdinador", "Label1", "Label2", "Memo1", "Panel1", "Panel2", "Image3"})
        if (!Component(about, QString::fromLatin1(nom))->isHidden()) visibles << QString::fromLatin1(nom);
    return visibles.join(QLatin1Char(' '));
}

// The timer's own signal, without waiting 3.5 s for it.
bool Batec(TAboutBox& about) {
    return QMetaObject::invokeMethod(about.Timer1, "timeout", Qt::DirectConnection);
}

const QPoint kFons(4, 4); // off every component, inside the lower panel's margin
const QString kInici = QStringLiteral("Image2 ImageOrella Panel1 Panel2");

} // namespace

class TestAbout : public QObject {
    Q_OBJECT

private slots:
    void init() {
        about = std::make_unique<TAboutBox>();
        about->show();
    }
    void cleanup() { about.reset(); }

    // The splash cuts the button row off with the window's last 28 pixels: nothing else may lie there.
    // The texts behind the lower panel are there and cannot be edited.
    void Presentacio() {
        for (QWidget* component : about->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (component != about->OKButton)
                QVERIFY2(component->geometry().bottom() < about->height() - 28,
                         qPrintable(component->objectName()));
        QVERIFY(about->Memo1->isReadOnly() && !about->Memo1->toPlainText().isEmpty());
    }

    // The button closes the window and stops the timer; the next showing starts it again and finds the
    // window as the last one left it.
    void Timer1NomesAmbLaFinestraVisible() {
        QVERIFY(about->Timer1->isActive());
        QVERIFY(Batec(*about));
        QTest::mouseClick(about.get(), Qt::LeftButton, {}, kFons);
        QTest::mouseClick(about->Panel1, Qt::LeftButton);
        QTest::mouseClick(about->OKButton, Qt::LeftButton);
        QVERIFY(about->isHidden() && !about->Timer1->isActive());
        about->show();
        QVERIFY(about->Timer1->isActive());
        QCOMPARE(Visibles(*about), QStringLiteral("Image1 ImageOrdinador Memo1 Image3"));
    }

    // The cycle moves on by beats of the timer, each also swapping the ear and the computer, or by a click
    // on the picture shown (or on the label over it), which leaves the icon alone; with no picture of the
    // cycle shown, a beat only swaps the icon. A click on the background or Panel2 toggles the memo; one
    // on Panel1 (or its name picture or version) swaps both panels for Image3, and one on Image3 swaps
    // them back. A click never counts as one on the panel beneath, even where it does nothing (Comments).
    void BatecsIClics_data() {
        QTest::addColumn<int>("batecs");
        QTest::addColumn<QString>("clics"); // after the beats; "cap": every picture hidden first
        QTest::addColumn<QString>("visibles");
        Fila("1 batec", 1, "", "Image1 ImageOrdinador Panel1 Panel2");
        Fila("4 batecs", 4, "", kInici);
        Fila("batec sense cap imatge", 1, "cap", "ImageOrdinador Panel1 Panel2");
        Fila("clic a Image2", 0, "Image2", "Image1 ImageOrella Panel1 Panel2");
        Fila("clic a Image1", 1, "Image1", "ImageInteligencia ImageOrdinador Panel1 Panel2");
        Fila("clic a ImageQuadre", 3, "ImageQuadre", "Image2 ImageOrdinador Panel1 Panel2");
        Fila("clic a Label1", 2, "Label1", "ImageQuadre ImageOrella Panel1 Panel2");
        Fila("clic a Label2", 3, "Label2", "Image2 ImageOrdinador Panel1 Panel2");
        Fila("fons", 0, "AboutBox", "Image2 ImageOrella Memo1 Panel1 Panel2");
        Fila("Panel2", 0, "Panel2", "Image2 ImageOrella Memo1 Panel1 Panel2");
        Fila("Panel1", 0, "Panel1", "Image2 ImageOrella Image3");
        Fila("Image4 i Image3", 0, "Image4 Image3", kInici);
        Fila("Comments", 0, "Comments", kInici);
    }
    void BatecsIClics() {
        QFETCH(int, batecs);
        QFETCH(QString, clics);
        QFETCH(QString, visibles);
        if (clics == QLatin1String("cap"))
            for (QLabel* imatge : about->Cicle())
                imatge->hide();
        for (int i = 0; i < batecs; ++i)
            QVERIFY(Batec(*about));
        for (const QString& nom : clics.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            if (nom != QLatin1String("cap"))
                QTest::mouseClick(Component(*about, nom), Qt::LeftButton, {}, kFons);
        QCOMPARE(Visibles(*about), visibles);
    }

private:
    std::unique_ptr<TAboutBox> about;
};

} // namespace tessora

TESSORA_QTEST_MAIN(tessora::TestAbout)
#include "test_about.moc"
