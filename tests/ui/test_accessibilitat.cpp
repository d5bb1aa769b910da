// What a screen reader finds in the windows: every control named in the language shown, the letter that
// says each new vowel, the level meter's value, and the prompt stopped from the keyboard.
#include "AplicacioQtDeProva.h"
#include "Arrencada.h"
#include "CarpetaTemporal.h"
#include "DialegsDeProva.h"
#include "DispositiuGuionat.h"
#include "EinesFinestra.h"
#include "UnitFormCarta.h"
#include "UnitFormExperimentacio.h"
#include "UnitFormFFT.h"
#include "UnitFormSessio.h"
#include "UnitTessora.h"
#include "Unitabout.h"
#include "VocalSintetica.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QStackedWidget>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

namespace tessora {

namespace {

// What a screen reader passes through unnamed: what holds or lays out other controls (a plain area with
// none is a picture of ours, which must say what it shows), frames, pictures, a label without text.
bool SenseNomNecessari(QAccessibleInterface* interficie) {
    switch (interficie->role()) {
    case QAccessible::Client:
    case QAccessible::Pane:
    case QAccessible::Grouping:
    case QAccessible::LayeredPane:
        return interficie->childCount() > 0;
    case QAccessible::Separator:
    case QAccessible::Whitespace:
    case QAccessible::ScrollBar:
    case QAccessible::Border:
    case QAccessible::Graphic:
        return true;
    case QAccessible::StaticText:
        return interficie->text(QAccessible::Value).isEmpty();
    default:
        return false;
    }
}

// The controls under `interficie` that a screen reader would find without a name, as "role class name".
void SenseNom(QAccessibleInterface* interficie, QStringList& trobats) {
    const auto* widget = qobject_cast<const QWidget*>(interficie->object());
    // A control hidden where it is is never read; the pages behind the current one are.
    if (widget != nullptr && !widget->isWindow() && widget->isHidden() &&
        qobject_cast<const QStackedWidget*>(widget->parentWidget()) == nullptr)
        return;
    const QAccessible::Role rol = interficie->role();
    if (!SenseNomNecessari(interficie) && interficie->text(QAccessible::Name).trimmed().isEmpty())
        trobats << QStringLiteral("%1 %2 %3")
                       .arg(rol)
                       .arg(QLatin1String(interficie->object()->metaObject()->className()),
                            interficie->object()->objectName());
    // The parts of a control are its own: a table's cells, a tab bar's tabs, a combo box's list, an edit's
    // viewport.
    if (rol == QAccessible::Table || rol == QAccessible::PageTabList || rol == QAccessible::ComboBox ||
        rol == QAccessible::EditableText)
        return;
    for (int i = 0; i < interficie->childCount(); ++i)
        SenseNom(interficie->child(i), trobats);
}

// Every accessibility event, as the desktop's bridge would receive it.
QList<std::pair<QObject*, QAccessible::Event>>& Esdeveniments() {
    static QList<std::pair<QObject*, QAccessible::Event>> llista;
    return llista;
}

} // namespace

class ProvaAccessibilitat : public QObject {
    Q_OBJECT

    proves::CarpetaTemporal carpeta;
    proves::DispositiuGuionat dispositiu;
    proves::DialegsDeProva dialegs;
    std::unique_ptr<AplicacioTessora> app;

    QAccessibleInterface* Interficie(const char* nom) {
        return QAccessible::queryAccessibleInterface(proves::Fill<QWidget>(app->FormPrincipal.get(), nom));
    }
    // One utterance of a synthetic "A" (two loud blocks decide it) at the peak level `nivell`.
    void Emissio(int nivell) {
        auto bloc = proves::BytesVocalSintetica(88, 800, 1200, 80);
        *std::max_element(bloc.begin(), bloc.end()) = static_cast<std::uint8_t>(127 + nivell);
        for (const auto& b : {bloc, bloc, std::vector<std::uint8_t>(512, 127)}) {
            dispositiu.Lliurar(b);
            QCoreApplication::processEvents();
        }
    }
    bool Anunciat(QObject* objecte, QAccessible::Event tipus) {
        return Esdeveniments().contains({objecte, tipus});
    }

private slots:
    void initTestCase() {
        QAccessible::installUpdateHandler([](QAccessibleEvent* e) {
            Esdeveniments().append({e->object(), e->type()});
        });
        // Active as it is when a screen reader listens (the offscreen platform never turns it on).
        QGuiApplicationPrivate::platformIntegration()->accessibility()->setActive(true);
    }
    void init() {
        dispositiu = {};
        app = std::make_unique<AplicacioTessora>(dispositiu, dialegs, carpeta.Cami() / "Tessora.ini", "");
        QVERIFY(app->Arrencar(0));
        Esdeveniments().clear();
    }
    void cleanup() { app.reset(); }

    // Every window of the program, in each language: no control is left without a name.
    void CapControlSenseNom_data() {
        QTest::addColumn<bool>("castella");
        QTest::addRow("catala") << false;
        QTest::addRow("castella") << true;
    }
    void CapControlSenseNom() {
        QFETCH(bool, castella);
        castella ? app->FormPrincipal->MenuCastellanoClick() : app->FormPrincipal->MenuCatalaClick();
        auto* e = app->FormExperimentacio.get();
        QStringList trobats;
        for (QWidget* finestra : std::initializer_list<QWidget*>{
                 app->FormPrincipal.get(), app->FormFFT.get(), app->AboutBox.get(), e, app->FormCarta,
                 app->FormSessio, proves::Fill<QWidget>(e, "FormDiguesParaula"),
                 proves::Fill<QWidget>(e, "FormEmail")})
            SenseNom(QAccessible::queryAccessibleInterface(finestra), trobats);
        QVERIFY2(trobats.isEmpty(), qPrintable(trobats.join(QLatin1String(", "))));
        QCOMPARE(Interficie("LabelVocalReconeguda")->text(QAccessible::Name),
                 T(castella ? Idioma::Castella : Idioma::Catala, IdText::AccLletra));
    }

    // A decided vowel is said at once; a clipped one a moment later, when its second is up, with the
    // warning the red letter gives; the meter reads the level, and warns while it clips.
    void LaVocalESAnunciaIElNivellEsLlegeix() {
        QAccessibleInterface* lletra = Interficie("LabelVocalReconeguda");
        QAccessibleInterface* nivell = Interficie("Nivell");
        app->FormPrincipal->MenuCatalaClick();
        Emissio(90);
        QVERIFY(Anunciat(lletra->object(), QAccessible::NameChanged));
        QCOMPARE(lletra->text(QAccessible::Name), QStringLiteral("Vocal reconeguda: A"));
        QCOMPARE(nivell->valueInterface()->currentValue().toInt(), 0); // the silence that ended it
        Esdeveniments().clear();
        Emissio(128);
        QVERIFY(!Anunciat(lletra->object(), QAccessible::NameChanged));
        QVERIFY(Anunciat(nivell->object(), QAccessible::ValueChanged));
        const QString avis = T(Idioma::Catala, IdText::AvisSaturacio);
        QTRY_COMPARE(lletra->text(QAccessible::Name), "Vocal reconeguda: A. " + avis);
        QVERIFY(Anunciat(lletra->object(), QAccessible::NameChanged));
        dispositiu.Lliurar(std::vector<std::uint8_t>(512, 255));
        QCoreApplication::processEvents();
        QCOMPARE(nivell->text(QAccessible::Description), avis);
    }

    // The experiment's prompt from the keyboard: it takes the focus, and Space, Enter or Escape stop the
    // run as a click on its letter does.
    void LaIndicacioEsParaAmbElTeclat_data() {
        QTest::addColumn<int>("tecla");
        QTest::addRow("espai") << int(Qt::Key_Space);
        QTest::addRow("retorn") << int(Qt::Key_Return);
        QTest::addRow("escapada") << int(Qt::Key_Escape);
    }
    void LaIndicacioEsParaAmbElTeclat() {
        QFETCH(int, tecla);
        TFormExperimentacio& e = *app->FormExperimentacio;
        auto* indicacio = proves::Fill<QWidget>(&e, "FormDiguesParaula");
        auto* lletra = proves::Fill<QWidget>(indicacio, "LabelParaula");
        auto* parar = proves::Fill<QAction>(&e, "MenuExperimentacioParar");
        proves::QuanSObriUnModal([&](QWidget*) {
            proves::Fill<QAction>(&e, "MenuExperimentacioExperimentar")->trigger();
            QTRY_VERIFY(lletra->hasFocus());
            QVERIFY(parar->isEnabled());
            QTest::keyClick(lletra, static_cast<Qt::Key>(tecla));
            QVERIFY(!indicacio->isVisible() && !parar->isEnabled());
            e.close();
        });
        app->FormPrincipal->MenuExperimentarClick();
    }
};

} // namespace tessora

TESSORA_QTEST_MAIN(tessora::ProvaAccessibilitat)
#include "test_accessibilitat.moc"
