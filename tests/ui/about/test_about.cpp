// The About window: the splash's shorter window, the picture cycle, the clicks each component takes,
// and its timer.
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
    // on the picture shown (or on the label over it), which leaves the icon alone and the memo hidden.
    // With no picture of the cycle shown, a beat only swaps the icon.
    void CicleDeLesImatges_data() {
        QTest::addColumn<int>("batecs");
        QTest::addColumn<QString>("clicada"); // after the beats; "none": every picture hidden first
        QTest::addColumn<QString>("visibles");
        Fila("1 beat", 1, "", "Image1 ImageOrdinador");
        Fila("2 beats", 2, "", "ImageInteligencia ImageOrella");
        Fila("3 beats", 3, "", "ImageQuadre ImageOrdinador");
        Fila("4 beats", 4, "", "Image2 ImageOrella");
        Fila("click Image2", 0, "Image2", "Image1 ImageOrella");
        Fila("click Image1", 1, "Image1", "ImageInteligencia ImageOrdinador");
        Fila("click ImageInteligencia", 2, "ImageInteligencia", "ImageQuadre ImageOrella");
        Fila("click ImageQuadre", 3, "ImageQuadre", "Image2 ImageOrdinador");
        Fila("click Label1", 2, "Label1", "ImageQuadre ImageOrella");
        Fila("click Label2", 3, "Label2", "Image2 ImageOrdinador");
        Fila("beat with no picture shown", 1, "none", "ImageOrdinador");
    }
    void CicleDeLesImatges() {
        QFETCH(int, batecs);
        QFETCH(QString, clicada);
        QFETCH(QString, visibles);
        if (clicada == QLatin1String("none"))
            for (QLabel* imatge : about->Cicle())
                imatge->hide();
        for (int i = 0; i < batecs; ++i)
            QVERIFY(Batec(*about));
        if (!clicada.isEmpty() && clicada != QLatin1String("none"))
            QTest::mouseClick(Component(*about, clicada), Qt::LeftButton);
        QCOMPARE(Visibles(*about), visibles + QStringLiteral(" Panel1 Panel2"));
    }

    // A click on the background or Panel2 toggles the memo; one on Panel1 (or its name picture or version)
    // swaps both panels for Image3, and one on Image3 swaps them back.
    void ClicAlsPanells_data() {
        QTest::addColumn<QString>("anada");
        QTest::addColumn<QString>("tornada");
        QTest::addColumn<QString>("visibles");
        Fila("window background", "AboutBox", "AboutBox", "Image2 ImageOrella Memo1 Panel1 Panel2");
        Fila("Panel2", "Panel2", "Panel2", "Image2 ImageOrella Memo1 Panel1 Panel2");
        for (const char* nom : {"Panel1", "Image4", "Version"})
            Fila(nom, nom, "Image3", "Image2 ImageOrella Image3");
        // A click on a component never counts as one on the panel beneath, even where it does nothing.
        Fila("Comments", "Comments", "Comments", kInici);
    }
    void ClicAlsPanells() {
        QFETCH(QString, anada);
        QFETCH(QString, tornada);
        QFETCH(QString, visibles);
        QTest::mouseClick(Component(*about, anada), Qt::LeftButton, {}, kFons);
        QCOMPARE(Visibles(*about), visibles);
        QTest::mouseClick(Component(*about, tornada), Qt::LeftButton, {}, kFons);
        QCOMPARE(Visibles(*about), kInici);
    }

private:
    std::unique_ptr<TAboutBox> about;
};

} // namespace tessora

QTEST_MAIN(tessora::TestAbout)
#include "test_about.moc"
